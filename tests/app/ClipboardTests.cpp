// SPDX-License-Identifier: GPL-3.0-or-later
// The real system clipboard in and out, and what the floating image looks like on screen.

#include "ShellFixture.h"

namespace {

class CopyRoundTrip : public ShellTest, public testing::WithParamInterface<int> {};

// Copy puts a plain image other programs can take, and Paste brings back the same pixels
// whatever the picture's depth; Cut does the same and takes the floating image away.
TEST_P(CopyRoundTrip, CtrlCThenCtrlVGivesBackTheSamePixels) {
    UsePicture(64, 48);
    Paste(PatternImage(24, 16));
    ASSERT_TRUE(HoldsPattern(Document().CopyFloating().Bitmap(), 0, 0, 24, 16));
    Press(Qt::Key_Return);
    ASSERT_TRUE(Document().SetColorDepth(GetParam()));
    Drag(Named<TPictureControl>(Form, "Image1"), QPoint(1, 2), QPoint(21, 14));
    const TBitmap copied = Document().CopyFloating().Bitmap();

    QGuiApplication::clipboard()->clear();
    Refresh(Form); // Copy and Cut are enabled at the next tick
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
    Press(Qt::Key_Delete);
    ASSERT_FALSE(Document().Floating().Active);
    Refresh(Form);
    Press(Qt::Key_V, Qt::ControlModifier);
    const TBitmap pasted = Document().CopyFloating().Bitmap();
    ASSERT_EQ(QSize(pasted.Width(), pasted.Height()), QSize(20, 12));
    EXPECT_EQ(pasted.PixelFormat(), Document().Picture().PixelFormat());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(pasted.Pixel(x, y), copied.Pixel(x, y)) << x << ", " << y;

    QGuiApplication::clipboard()->clear();
    Refresh(Form);
    Press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(Named<TFloatingControl>(Form, "Image2")->isVisible());
    const QImage cut = QGuiApplication::clipboard()->image();
    const TColor corner = copied.Pixel(0, 0);
    ASSERT_EQ(cut.size(), QSize(20, 12));
    EXPECT_EQ(cut.pixel(0, 0), qRgb(GetRValue(corner), GetGValue(corner), GetBValue(corner)));
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, CopyRoundTrip, testing::Values(24, 16, 8, 4, 1));

// With the switch on, the picture shows through the transparent colour while the image moves.
class FloatingPainting : public ShellTest {};

TEST_F(FloatingPainting, TransparentImageLetsThePictureShowThroughAndHasNoFrame) {
    UsePicture(32, 32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EditPicture(Document(), [&](TBitmap& p) { p.SetPixel(x, y, RGB(255, 0, 0)); });
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(qRgb(0, 200, 0));
    tile.setPixel(4, 4, qRgb(0, 0, 0)); // the transparent colour, black
    Paste(tile);
    Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(Named(Form, "Transparent1")->isChecked());
    const QImage shown = Named<TPictureControl>(Form, "Image1")->grab().toImage();
    EXPECT_EQ(shown.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 200, 0));
    EXPECT_EQ(shown.pixel(20, 20), qRgb(0, 0, 0));

    Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(Named(Form, "Transparent1")->isChecked());
    const QImage framed = Named<TPictureControl>(Form, "Image1")->grab().toImage();
    EXPECT_EQ(framed.pixel(4, 4), qRgb(0, 0, 0));
    EXPECT_NE(framed.pixel(0, 0), qRgb(0, 200, 0));
}

} // namespace
