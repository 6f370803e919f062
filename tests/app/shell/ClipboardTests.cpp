// The real system clipboard in and out, and what the floating image looks like on screen.

#include "ShellFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

namespace {

class Clipboard : public ShellTest {};

TEST_F(Clipboard, CtrlVTakesTheImageFromTheSystemClipboard) {
    PutOnClipboard(PatternImage(7, 3));
    QTest::keyClick(Form.get(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(Document().Floating);
    EXPECT_EQ(Form->Image2->size(), QSize(7, 3));
    EXPECT_TRUE(Form->Image2->isVisible());
    EXPECT_TRUE(HoldsPattern(Document().CopyFloating(), 0, 0, 7, 3));
}

class CopyRoundTrip : public ShellTest, public testing::WithParamInterface<int> {};

// What Copy puts on the clipboard comes back through Paste with the same pixels, whatever the
// picture's depth, and it is a plain image other programs can take.
TEST_P(CopyRoundTrip, CtrlCThenCtrlVGivesBackTheSamePixels) {
    UsePicture(64, 48);
    PutOnClipboard(PatternImage(24, 16));
    QTest::keyClick(Form.get(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(Form.get(), Qt::Key_Return);
    ASSERT_TRUE(Document().SetColorDepth(GetParam()));
    Drag(Form->Image1, QPoint(1, 2), QPoint(21, 14));
    ASSERT_TRUE(Document().Floating);
    const TBitmap copied = Document().CopyFloating();

    QGuiApplication::clipboard()->clear();
    Form->Timer1Timer(); // Copy and Clear Selection are enabled at the next tick
    QTest::keyClick(Form.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
    QTest::keyClick(Form.get(), Qt::Key_Delete);
    ASSERT_FALSE(Document().Floating);
    Form->Timer1Timer();
    QTest::keyClick(Form.get(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(Document().Floating);
    const TBitmap pasted = Document().CopyFloating();
    ASSERT_EQ(pasted.Width(), 20);
    ASSERT_EQ(pasted.Height(), 12);
    EXPECT_EQ(pasted.PixelFormat(), Document().Picture.PixelFormat());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(pasted.Pixel(x, y), copied.Pixel(x, y)) << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, CopyRoundTrip, testing::Values(24, 16, 8, 4, 1));

TEST_F(Clipboard, CutEmptiesTheFloatingImageAndKeepsItOnTheClipboard) {
    PutOnClipboard(PatternImage(5, 5));
    QTest::keyClick(Form.get(), Qt::Key_V, Qt::ControlModifier);
    QGuiApplication::clipboard()->clear();
    Form->Timer1Timer();
    QTest::keyClick(Form.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(Document().Floating);
    EXPECT_FALSE(Form->Image2->isVisible());
    const QImage image = QGuiApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(5, 5));
    EXPECT_EQ(image.pixel(0, 0), PatternImage(5, 5).pixel(0, 0)); // no frame on the ring
}

// With the switch on, the picture shows through the transparent colour while the image moves.
TEST_F(Clipboard, TransparentFloatingImageLetsThePictureShowThrough) {
    UsePicture(32, 32);
    const TColor red = RGB(255, 0, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            Document().Picture.SetPixel(x, y, red);
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(qRgb(0, 200, 0));
    tile.setPixel(4, 4, qRgb(0, 0, 0)); // the transparent colour, black
    PutOnClipboard(tile);
    QTest::keyClick(Form.get(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(Form.get(), Qt::Key_T, Qt::ControlModifier);
    const QImage shown = Form->Image1->grab().toImage();
    EXPECT_EQ(shown.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 200, 0)); // no frame on a transparent image
    EXPECT_EQ(shown.pixel(20, 20), qRgb(0, 0, 0));

    QTest::keyClick(Form.get(), Qt::Key_T, Qt::ControlModifier);
    const QImage framed = Form->Image1->grab().toImage();
    EXPECT_EQ(framed.pixel(4, 4), qRgb(0, 0, 0));
    EXPECT_NE(framed.pixel(0, 0), qRgb(0, 200, 0)); // the frame is back
}

} // namespace
