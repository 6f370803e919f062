// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom, the grid and the quarter turns in the window, with real events: at 25 % and 400 %
// every editing operation counts picture pixels, and the view never reaches the picture.

#include "ShellFixture.h"

#include "PictureFile.h"

#include <QCursor>
#include <QLineEdit>

namespace {

const char* const kLevelItems[] = {"Zoom12", "Zoom25", "Zoom50", "Zoom100", "Zoom200", "Zoom400", "Zoom800"};

QAction* LevelItem(const std::unique_ptr<TForm1>& form, int level) {
    return Named(form, kLevelItems[level + 3]);
}

class Zoomed : public ShellTest, public testing::WithParamInterface<int> {
  protected:
    int Level() const { return GetParam(); }
    // A picture length on screen; the tests use lengths that fill whole screen pixels.
    int Screen(int length) const { return Level() >= 0 ? length << Level() : length >> -Level(); }
    QPoint Screen(int x, int y) const { return QPoint(Screen(x), Screen(y)); }
    QWidget* Image1() { return Named<QWidget>(Form, "Image1"); }
    QWidget* Image2() { return Named<QWidget>(Form, "Image2"); }
    QPoint FloatCorner() { return QPoint(Document().Floating().Left, Document().Floating().Top); }
    void ScrollTo(QPoint at) {
        Named<QScrollArea>(Form, "ScrollBox1")->horizontalScrollBar()->setValue(at.x());
        Named<QScrollArea>(Form, "ScrollBox1")->verticalScrollBar()->setValue(at.y());
    }
    QString CursorText() {
        Refresh(Form);
        return Named<QLabel>(Form, "StatusPanel2")->text();
    }
};

TEST_P(Zoomed, PasteArrowsAndAZoomChangeKeepToPicturePixels) {
    UsePicture(4096, 4096);
    SetSteps(Document(), 16, 16);
    LevelItem(Form, Level())->trigger();
    // The first pixel wholly in sight is (40, 68) or (40, 70); the grid's next point is (48, 80).
    ScrollTo(Screen(40, 68) + QPoint(0, Level() > 0 ? Screen(2) : 0));
    Paste(PatternImage(16, 16));
    EXPECT_EQ(FloatCorner(), QPoint(48, 80));
    EXPECT_EQ(Image2()->geometry(), QRect(Screen(48, 80), QSize(Screen(16), Screen(16))));
    Press(Qt::Key_Right);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(FloatCorner(), QPoint(64, 81));

    LevelItem(Form, 0)->trigger();
    EXPECT_TRUE(Document().Floating().Active) << "a zoom keeps the floating image";
    EXPECT_EQ(Image2()->geometry(), QRect(64, 81, 16, 16));
    LevelItem(Form, Level())->trigger();
    EXPECT_FALSE(Document().Modified());
    Press(Qt::Key_Return);
    EXPECT_TRUE(HoldsPattern(Document().Picture(), 64, 81, 16, 16));
}

TEST_P(Zoomed, MouseDragsClicksFillAndTheCursorTextTakePicturePixels) {
    UsePicture(1024, 1024);
    EditPicture(Document(), [](TBitmap& p) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                p.SetPixel(8 + x, 8 + y, PatternColor(x, y));
    });
    LevelItem(Form, Level())->trigger();
    Drag(Image1(), Screen(8, 8), Screen(40, 24));
    const TBitmap lifted = Document().CopyFloating().Bitmap();
    EXPECT_EQ(QSize(lifted.Width(), lifted.Height()), QSize(32, 16));
    EXPECT_TRUE(HoldsPattern(lifted, 0, 0, 32, 16));

    Mouse(Image2(), QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton);
    Mouse(Image2(), QEvent::MouseMove, QPoint(1, 1) + Screen(16, 8), Qt::LeftButton);
    Mouse(Image2(), QEvent::MouseButtonRelease, QPoint(1, 1) + Screen(16, 8), Qt::NoButton);
    EXPECT_EQ(FloatCorner(), QPoint(24, 16));
    Click(Image1(), Screen(500, 500));
    EXPECT_FALSE(Document().Floating().Active);
    EXPECT_TRUE(HoldsPattern(Document().Picture(), 24, 16, 32, 16));

    Click(Image1(), Screen(600, 600), Qt::AltModifier);
    EXPECT_EQ(Document().Picture().Pixel(600, 600), Document().Options().FillColor);
    EXPECT_TRUE(HoldsPattern(Document().Picture(), 24, 16, 32, 16)) << "the fill stops at the tile";

    Mouse(Image1(), QEvent::MouseMove, Screen(124, 44), Qt::NoButton);
    EXPECT_EQ(CursorText(), QStringLiteral("X=124, Y=44"));
}

// F and Shift+F do what Alt+left and Alt+right click do, at the pixel under the pointer, through
// the zoom; over the floating image, outside the picture or while a text field has the keys, nothing.
TEST_P(Zoomed, FAndShiftFFillAndPickAtThePointer) {
    UsePicture(1024, 1024);
    const TColor green = RGB(0, 200, 0);
    EditPicture(Document(), [&](TBitmap& p) {
        for (int x = 0; x < 1024; ++x)
            p.SetPixel(x, 60, green); // a line that keeps the fill above it
    });
    LevelItem(Form, Level())->trigger();
    ScrollTo(QPoint(0, 0));
    const auto pointAt = [&](QPoint picture) {
        QCursor::setPos(Image1()->mapToGlobal(Screen(picture.x(), picture.y())));
    };
    pointAt({40, 60});
    Press(Qt::Key_F, Qt::ShiftModifier);
    EXPECT_EQ(Document().Options().FillColor, green);
    pointAt({40, 20});
    Press(Qt::Key_F);
    EXPECT_EQ(Document().Picture().Pixel(1000, 59), green);
    EXPECT_EQ(Document().Picture().Pixel(1000, 61), clBlack) << "the fill stops at the line";
    Named(Form, "Undo1")->trigger();

    Paste(PatternImage(16, 16));
    pointAt({8, 8}); // over the floating image: a click there would take hold of it
    Press(Qt::Key_F);
    QCursor::setPos(Named<QScrollArea>(Form, "ScrollBox1")->mapToGlobal(QPoint(-5, -5)));
    Press(Qt::Key_F);
    Named(Form, "Delete1")->trigger();
    auto* field = new QLineEdit(Form.get());
    field->show();
    field->setFocus();
    pointAt({40, 20});
    Press(Qt::Key_F);
    EXPECT_EQ(field->text(), "f");
    EXPECT_EQ(Document().Picture().Pixel(40, 20), clBlack);
}

INSTANTIATE_TEST_SUITE_P(At, Zoomed, testing::Values(-2, 2), [](const testing::TestParamInfo<int>& info) {
    return info.param < 0 ? "Quarter" : "FourTimes";
});

class ZoomWheel : public Zoomed {};

// Ctrl+wheel zooms about the pointer, Shift+wheel scrolls sideways, and the cursor text follows
// the picture that moved under the pointer; none of it touches the picture. The keys step from
// level to level, and Fit to Window takes the largest that shows all of the picture.
TEST_F(ZoomWheel, KeysWheelAndFitToWindow) {
    UsePicture(4096, 4096);
    QWidget* viewport = Named<QScrollArea>(Form, "ScrollBox1")->viewport();
    ScrollTo(QPoint(1000, 1000));
    const auto wheel = [&](int turn, Qt::KeyboardModifiers keys) {
        QWheelEvent event(QPointF(100, 100), QPointF(viewport->mapToGlobal(QPoint(100, 100))), QPoint(),
                          QPoint(0, turn), Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    const auto scroll = [&] {
        return QPoint(Named<QScrollArea>(Form, "ScrollBox1")->horizontalScrollBar()->value(),
                      Named<QScrollArea>(Form, "ScrollBox1")->verticalScrollBar()->value());
    };
    wheel(120, Qt::ControlModifier);
    EXPECT_TRUE(LevelItem(Form, 1)->isChecked());
    EXPECT_EQ(scroll(), QPoint(2100, 2100)) << "picture point (1100, 1100) stays under the pointer";
    wheel(-120, Qt::ShiftModifier);
    EXPECT_EQ(scroll(), QPoint(2170, 2100));
    EXPECT_EQ(CursorText(), QStringLiteral("X=1135, Y=1100"));
    EXPECT_FALSE(Document().Modified());

    Named(Form, "Newpicture1")->trigger();
    EXPECT_TRUE(LevelItem(Form, 0)->isChecked()) << "a new picture starts at 100 %";
    EXPECT_EQ(Image1()->size(), QSize(4096, 4096));

    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Minus, -1}, {Qt::Key_Minus, -2}, {Qt::Key_Plus, -1},
                                            {Qt::Key_Equal, 0},  {Qt::Key_Equal, 1},  {Qt::Key_0, 0}};
    for (const auto& [key, level] : keys) {
        Press(key, Qt::ControlModifier);
        EXPECT_TRUE(LevelItem(Form, level)->isChecked()) << "after key " << key;
    }
    Named(Form, "FitToWindow1")->trigger();
    EXPECT_TRUE(LevelItem(Form, -3)->isChecked()) << "512 x 512 at 12.5 % is the nearest to fitting";
}

// The status bar shows the zoom and the floating image's place beside its size; the cursor text
// follows the picture when a scroll bar moves it under a pointer that stood still.
TEST_F(ZoomWheel, TheStatusBarShowsTheZoomTheFloatingImagesPlaceAndFollowsTheScrollBars) {
    UsePicture(4096, 4096);
    SetSteps(Document(), 16, 16);
    LevelItem(Form, -2)->trigger();
    Paste(PatternImage(24, 8));
    Press(Qt::Key_Right);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    Refresh(Form);
    EXPECT_EQ(Named<QLabel>(Form, "StatusPanel3")->text(), "24 x 8 (X=16, Y=1)");
    EXPECT_EQ(Named<QLabel>(Form, "StatusPanel4")->text(), "25 %");

    QCursor::setPos(Image1()->mapToGlobal(QPoint(50, 30)));
    Mouse(Image1(), QEvent::MouseMove, QPoint(50, 30), Qt::NoButton);
    EXPECT_EQ(CursorText(), QStringLiteral("X=200, Y=120"));
    Named<QScrollArea>(Form, "ScrollBox1")->horizontalScrollBar()->setValue(100);
    Named<QScrollArea>(Form, "ScrollBox1")->verticalScrollBar()->setValue(10);
    EXPECT_EQ(CursorText(), QStringLiteral("X=600, Y=160"));
}

// The keys zoom about the floating image's centre, so an image near the view's corner stays in
// view at every level; without one they zoom about the view's centre.
TEST_F(ZoomWheel, KeyboardZoomKeepsTheFloatingImageInView) {
    UsePicture(4096, 4096);
    QWidget* viewport = Named<QScrollArea>(Form, "ScrollBox1")->viewport();
    Paste(PatternImage(8, 8));
    const QPoint corner =
        Image1()->mapFrom(viewport, QPoint(viewport->width() - 12, viewport->height() - 12));
    Mouse(Image2(), QEvent::MouseButtonPress, QPoint(0, 0), Qt::LeftButton);
    Mouse(Image2(), QEvent::MouseMove, corner, Qt::LeftButton);
    Mouse(Image2(), QEvent::MouseButtonRelease, corner, Qt::NoButton);
    ASSERT_EQ(FloatCorner(), corner);
    for (const auto& [key, times] : {std::pair{Qt::Key_Plus, 3}, std::pair{Qt::Key_Minus, 6}})
        for (int i = 0; i < times; ++i) {
            Press(key, Qt::ControlModifier);
            const QRect shown(Image2()->mapTo(viewport, QPoint(0, 0)), Image2()->size());
            EXPECT_TRUE(viewport->rect().intersects(shown)) << "key " << key << " press " << i;
        }
}

// The grid shows on screen only: the saved file and the export hold the picture's own pixels.
TEST_F(ZoomWheel, TheGridIsKeptAsASettingAndNeverReachesAFile) {
    Form.reset();
    const std::string settings = "[View]\nGrid=1\n";
    WriteFileBytes(AppFolder.File("Tessimap.ini"),
                   std::vector<std::uint8_t>(settings.begin(), settings.end()));
    StartWindow();
    EXPECT_TRUE(Named(Form, "Grid1")->isChecked());
    UsePicture(64, 48);
    SetSteps(Document(), 16, 16);
    Image1()->update();
    const QImage shown = Image1()->grab().toImage();
    EXPECT_NE(shown.pixel(16, 2), shown.pixel(17, 2)) << "a dot of the line at x = 16";

    const std::string file = AppFolder.File("map.bmp");
    Modal.FileChoices.push_back(file);
    Named(Form, "Saveas1")->trigger();
    EXPECT_EQ(OpenPictureForEditing(file).PixelBuffer(), Document().Picture().PixelBuffer());
    Named(Form, "ExportToPNG1")->trigger();
    const auto withGrid = ReadFileBytes(AppFolder.File("map.png"));
    Named(Form, "Grid1")->trigger();
    Named(Form, "ExportToPNG1")->trigger();
    EXPECT_EQ(ReadFileBytes(AppFolder.File("map.png")), withGrid);

    Named(Form, "Grid1")->trigger();
    ASSERT_TRUE(Form->close());
    const auto ini = ReadFileBytes(AppFolder.File("Tessimap.ini"));
    EXPECT_NE(std::string(ini.begin(), ini.end()).find("Grid=1"), std::string::npos);
}

// Rotate about 90 and 270 are shown, enabled exactly while an image floats, and turn it about
// its corner.
// At 12.5 % a floating image moved off the block grid covers the screen pixels whose blocks have
// their centre on it, and nothing beyond: no column past its end drawn black.
TEST_F(ZoomWheel, AFloatingImageOffTheBlockGridStaysOnItsOwnScreenPixels) {
    UsePicture(256, 256);
    LevelItem(Form, -3)->trigger();
    Paste(PatternImage(16, 16));
    for (int i = 0; i < 4; ++i)
        Press(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(FloatCorner(), QPoint(4, 0));
    EXPECT_EQ(Image2()->geometry(), QRect(0, 0, 2, 2));
    const QImage shown = Image2()->grab().toImage();
    for (int x = 0; x < 2; ++x)
        EXPECT_NE(shown.pixel(x, 0) & 0xFFFFFF, 0u) << "column " << x;
}

TEST_F(ZoomWheel, QuarterTurnsFromThePictureMenu) {
    UsePicture(64, 48);
    Refresh(Form);
    EXPECT_TRUE(Named(Form, "Degrees90")->isVisible());
    EXPECT_FALSE(Named(Form, "Degrees90")->isEnabled());
    Paste(PatternImage(6, 4));
    Refresh(Form);
    ASSERT_TRUE(Named(Form, "Degrees270")->isEnabled());
    Named(Form, "Degrees90")->trigger();
    EXPECT_EQ(Image2()->geometry(), QRect(0, 0, 4, 6));
    Named(Form, "Degrees270")->trigger();
    EXPECT_EQ(Image2()->geometry(), QRect(0, 0, 6, 4));
}

} // namespace
