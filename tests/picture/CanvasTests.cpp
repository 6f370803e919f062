// SPDX-License-Identifier: GPL-3.0-or-later
// Canvas operations: rectangles, copies, drawing with transparency, flood fill.

#include "Bitmap.h"
#include "Errors.h"

#include <gtest/gtest.h>

namespace {

const TColor Red = RGB(255, 0, 0), Green = RGB(0, 255, 0), Blue = RGB(0, 0, 255);

TBitmap Filled(int w, int h, TColor c, TPixelFormat f = TPixelFormat::pf24bit) {
    TBitmap b(w, h, f);
    b.Brush.Color = c;
    b.FillRect(TRect{0, 0, w, h});
    return b;
}

TEST(Canvas, PixelOutsideTheBitmapIsInvalidAndEqualsNoColour) {
    const TBitmap b = Filled(2, 2, clWhite);
    EXPECT_EQ(b.Pixel(-1, 0), clInvalid);
    EXPECT_EQ(b.Pixel(2, 0), clInvalid);
    EXPECT_EQ(b.Pixel(0, 2), clInvalid);
    EXPECT_NE(clInvalid, clWhite);
}

TEST(Canvas, FillRectClipsAtTheEdges) {
    TBitmap b = Filled(4, 4, clBlack);
    b.Brush.Color = Red;
    b.FillRect(TRect{-5, 2, 2, 99});
    EXPECT_EQ(b.Pixel(0, 3), Red);
    EXPECT_EQ(b.Pixel(1, 2), Red);
    EXPECT_EQ(b.Pixel(2, 2), clBlack);
    EXPECT_EQ(b.Pixel(0, 1), clBlack);
}

TEST(Canvas, FrameOfSolidBlackThenDottedWhiteCoversOnlyTheOuterRing) {
    TBitmap b = Filled(10, 5, Green);
    b.Brush.Style = TBrushStyle::bsClear;
    b.Pen.Color = clBlack;
    b.Rectangle(TRect{0, 0, 10, 5});
    b.Pen.Color = clWhite;
    b.Pen.Style = TPenStyle::psDot;
    b.Rectangle(TRect{0, 0, 10, 5});
    // Top edge from the corner: three white, three black.
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(2, 0), clWhite);
    EXPECT_EQ(b.Pixel(3, 0), clBlack);
    EXPECT_EQ(b.Pixel(5, 0), clBlack);
    EXPECT_EQ(b.Pixel(6, 0), clWhite);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 9; ++x)
            EXPECT_EQ(b.Pixel(x, y), Green) << x << "," << y;
    for (int y = 0; y < 5; ++y) {
        EXPECT_NE(b.Pixel(0, y), Green);
        EXPECT_NE(b.Pixel(9, y), Green);
    }
}

TEST(Canvas, RectangleWithSolidBrushFillsInsideAndOutlinesWithThePen) {
    TBitmap b = Filled(5, 5, clBlack);
    b.Brush.Color = Blue;
    b.Pen.Color = Red;
    b.Rectangle(TRect{1, 1, 4, 4});
    EXPECT_EQ(b.Pixel(2, 2), Blue);
    EXPECT_EQ(b.Pixel(1, 1), Red);
    EXPECT_EQ(b.Pixel(3, 2), Red);
    EXPECT_EQ(b.Pixel(4, 4), clBlack);
}

TEST(Canvas, DrawLeavesOutTheTransparentColourOnlyWhenMarked) {
    TBitmap tile = Filled(2, 1, clBlack);
    tile.SetPixel(1, 0, Red);
    tile.TransparentColor = clBlack;

    TBitmap opaque = Filled(3, 3, Green);
    opaque.Draw(1, 1, tile);
    EXPECT_EQ(opaque.Pixel(1, 1), clBlack);

    tile.Transparent = true;
    TBitmap seeThrough = Filled(3, 3, Green);
    seeThrough.Draw(1, 1, tile);
    EXPECT_EQ(seeThrough.Pixel(1, 1), Green);
    EXPECT_EQ(seeThrough.Pixel(2, 1), Red);
}

TEST(Canvas, DrawClipsAtEveryEdgeAndAcrossFormats) {
    TBitmap tile = Filled(3, 3, Red, TPixelFormat::pf8bit);
    TBitmap picture = Filled(4, 4, clBlack, TPixelFormat::pf4bit);
    picture.Draw(-2, 2, tile);
    EXPECT_EQ(picture.Pixel(0, 2), Red);
    EXPECT_EQ(picture.Pixel(0, 3), Red);
    EXPECT_EQ(picture.Pixel(1, 3), clBlack);
    picture.Draw(3, -2, tile);
    EXPECT_EQ(picture.Pixel(3, 0), Red);
    EXPECT_EQ(picture.Pixel(3, 1), clBlack);
    picture.Draw(10, 10, tile); // wholly outside: nothing
}

TEST(Canvas, CopyRectScalesByNearestNeighbour) {
    TBitmap source(2, 1, TPixelFormat::pf24bit);
    source.SetPixel(0, 0, Red);
    source.SetPixel(1, 0, Blue);
    TBitmap dest = Filled(4, 2, clBlack);
    dest.CopyRect(TRect{0, 0, 4, 2}, source, TRect{0, 0, 2, 1});
    EXPECT_EQ(dest.Pixel(0, 0), Red);
    EXPECT_EQ(dest.Pixel(1, 1), Red);
    EXPECT_EQ(dest.Pixel(2, 0), Blue);
    EXPECT_EQ(dest.Pixel(3, 1), Blue);
}

TEST(Canvas, CopyRectWithinOneBitmapReadsTheAreaBeforeWritingIt) {
    TBitmap b(4, 1, TPixelFormat::pf24bit);
    for (int x = 0; x < 4; ++x)
        b.SetPixel(x, 0, RGB(std::uint8_t(x), 0, 0));
    b.CopyRect(TRect{1, 0, 4, 1}, b, TRect{0, 0, 3, 1});
    EXPECT_EQ(b.Pixel(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(b.Pixel(2, 0), RGB(1, 0, 0));
    EXPECT_EQ(b.Pixel(3, 0), RGB(2, 0, 0));
}

TEST(FloodFill, FillsTheFourConnectedSurfaceOnly) {
    // A diagonal wall: corners do not connect.
    TBitmap b = Filled(3, 3, clWhite);
    b.SetPixel(1, 0, clBlack);
    b.SetPixel(0, 1, clBlack);
    b.Brush.Color = Red;
    b.FloodFill(2, 2, clWhite);
    EXPECT_EQ(b.Pixel(2, 2), Red);
    EXPECT_EQ(b.Pixel(1, 1), Red);
    EXPECT_EQ(b.Pixel(0, 0), clWhite) << "reached only through a corner";
    EXPECT_EQ(b.Pixel(1, 0), clBlack);
}

TEST(FloodFill, AHugeRegionAndASpiralDoNotExhaustTheStack) {
    TBitmap big = Filled(10000, 10000, clBlack, TPixelFormat::pf8bit);
    big.Brush.Color = clWhite;
    big.FloodFill(5000, 5000, clBlack);
    EXPECT_EQ(big.Pixel(0, 0), clWhite);
    EXPECT_EQ(big.Pixel(9999, 9999), clWhite);

    // A comb: every second column is a wall open at alternating ends.
    TBitmap comb = Filled(301, 300, clWhite);
    comb.Brush.Color = clBlack;
    for (int x = 1; x < 300; x += 2)
        comb.FillRect(TRect{x, (x / 2) % 2 ? 1 : 0, x + 1, (x / 2) % 2 ? 300 : 299});
    comb.Brush.Color = Red;
    comb.FloodFill(0, 0, clWhite);
    EXPECT_EQ(comb.Pixel(300, 150), Red);
}

TEST(FloodFill, NothingHappensWhenTheStartPixelHasAnotherColour) {
    TBitmap b = Filled(2, 2, clWhite);
    b.Brush.Color = Red;
    b.FloodFill(0, 0, clBlack);
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
}

} // namespace
