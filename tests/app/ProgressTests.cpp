// SPDX-License-Identifier: GPL-3.0-or-later
// Long work on a large picture: the progress bar in the status bar, the window painting
// meanwhile, and Escape stopping a file being written.

#include "BmpFile.h"
#include "ProgressPanel.h"
#include "ShellFixture.h"

#include <QProgressBar>
#include <QStatusBar>

#include <fstream>
#include <iterator>
#include <set>

namespace {

class ProgressTest : public ShellTest {};

std::string BytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Counts the paint events a widget gets.
class TPaintCounter : public QObject {
  public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Paints;
        return false;
    }
};

// While Save writes a large picture the bar shows and moves and the window paints; Escape stops
// the write, the file keeps its old bytes and the picture stays unsaved. A second Save finishes,
// and the bar goes away with the status bar the user had hidden.
TEST_F(ProgressTest, SaveShowsProgressAndEscapeKeepsTheOldFile) {
    const std::string path = AppFolder.File("large.bmp");
    TBitmap picture(4000, 3000, TPixelFormat::pf24bit);
    SaveBitmapToFile(picture, path);
    ASSERT_TRUE(Document().OpenPictureFile(path));
    const std::string before = BytesOf(path);
    EditPicture(Document(), [](TBitmap& p) {
        p.Brush.Color = RGB(10, 200, 30);
        p.FillRect(Bounds(0, 0, p.Width(), p.Height()));
    });

    auto* bar = Named<QProgressBar>(Form, "ProgressBar1");
    // Hidden by the user, the status bar shows for the work and goes again.
    Named<QStatusBar>(Form, "StatusBar1")->hide();
    TPaintCounter painted;
    bar->installEventFilter(&painted);
    std::set<int> seen;
    bool escaped = false;
    // Runs whenever the save lets the window handle its events.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!bar->isVisible()) return;
        seen.insert(bar->value());
        if (seen.size() >= 2 && !escaped) {
            escaped = true;
            QTest::keyClick(Form.get(), Qt::Key_Escape);
        }
    });
    watch.start(0);
    Named(Form, "Savepicture1")->trigger();
    watch.stop();

    EXPECT_TRUE(escaped) << "the bar never moved; values seen: " << seen.size();
    EXPECT_GT(painted.Paints, 0);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(BytesOf(path) == before) << "the cancelled save changed the file";
    for (const auto& entry : std::filesystem::directory_iterator(AppFolder.Path()))
        EXPECT_NE(entry.path().filename().string().rfind(".large.bmp", 0), 0u) << "a temporary file stayed";

    Named(Form, "Savepicture1")->trigger();
    EXPECT_EQ(LoadBitmapFromFile(path).Pixel(3999, 2999), RGB(10, 200, 30));
    EXPECT_FALSE(Named<QStatusBar>(Form, "StatusBar1")->isVisible());
}

// Work most often over in an instant (a fill, a small conversion) shows its bar only once it has
// gone on for a moment, so that a click does not flash it; a file being written shows it at once.
TEST(ProgressPanel, QuietWorkShowsItsBarOnlyAfterAMoment) {
    QStatusBar status;
    status.show();
    TProgressPanel panel(&status);
    auto* bar = status.findChild<QProgressBar*>("ProgressBar1");
    panel.Begin(false);
    panel.Show(10);
    EXPECT_FALSE(bar->isVisible());
    QTest::qWait(300);
    panel.Show(20);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), 20);
    panel.End();
    EXPECT_FALSE(bar->isVisible());

    panel.Begin(true);
    panel.Show(0);
    EXPECT_TRUE(bar->isVisible());
    panel.End();
}

} // namespace
