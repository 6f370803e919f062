// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a real X display (run-on-display starts a virtual one): what other programs see.

#include "ShellFixture.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

namespace {

class DisplayTest : public ShellTest {};

// Runs a program while the window keeps answering the display, as the clipboard's owner must.
QByteArray OutputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && clock.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// Copy leaves the pixels with the clipboard; another program asking for a PNG gets them all.
TEST_F(DisplayTest, AnotherProgramReadsTheCopiedImageAsPng) {
    const QString xclip = QStandardPaths::findExecutable("xclip");
    if (xclip.isEmpty()) GTEST_SKIP() << "xclip is not installed; tools/dev install puts it there";
    UsePicture(64, 48);
    Paste(PatternImage(40, 30));
    Press(Qt::Key_Return);
    Drag(Named<TPictureControl>(Form, "Image1"), QPoint(3, 2), QPoint(37, 27));
    Refresh(Form);
    Press(Qt::Key_C, Qt::ControlModifier);

    EXPECT_TRUE(OutputOf(xclip, {"-selection", "clipboard", "-t", "TARGETS", "-o"}).contains("image/png"));
    const QImage png =
        QImage::fromData(OutputOf(xclip, {"-selection", "clipboard", "-t", "image/png", "-o"}), "PNG");
    ASSERT_EQ(png.size(), QSize(34, 25));
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) {
            const TColor c = PatternColor(3 + x, 2 + y);
            ASSERT_EQ(png.pixel(x, y), qRgb(GetRValue(c), GetGValue(c), GetBValue(c))) << x << ", " << y;
        }
}

} // namespace
