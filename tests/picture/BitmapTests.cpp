// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap itself: sizes, row layout, formats and memory failures.

#include "Bitmap.h"
#include "Errors.h"

#include <gtest/gtest.h>

namespace {

TEST(Bitmap, RowsArePaddedToFourBytesForEveryDepth) {
    EXPECT_EQ(TBitmap(3, 1, TPixelFormat::pf24bit).RowBytes(), 12u);
    EXPECT_EQ(TBitmap(3, 1, TPixelFormat::pf16bit).RowBytes(), 8u);
    EXPECT_EQ(TBitmap(5, 1, TPixelFormat::pf8bit).RowBytes(), 8u);
    EXPECT_EQ(TBitmap(9, 1, TPixelFormat::pf4bit).RowBytes(), 8u);
    EXPECT_EQ(TBitmap(33, 1, TPixelFormat::pf1bit).RowBytes(), 8u);
}

TEST(Bitmap, ResizingKeepsThePixelsInsideBothSizes) {
    for (TPixelFormat f : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf24bit}) {
        TBitmap b(9, 3, f);
        b.SetPixel(8, 2, clWhite);
        b.SetPixel(2, 1, clWhite);
        b.SetSize(3, 2);
        EXPECT_EQ(b.Pixel(2, 1), clWhite);
        b.SetSize(20, 20);
        EXPECT_EQ(b.Pixel(2, 1), clWhite);
        EXPECT_EQ(b.Pixel(8, 2), clBlack) << "cut off, then new area";
        EXPECT_EQ(b.Pixel(19, 19), clBlack);
    }
}

TEST(Bitmap, APictureTooLargeForMemoryIsRefusedAndTheOldOneStays) {
    TBitmap b(10, 10, TPixelFormat::pf24bit);
    b.SetPixel(0, 0, clWhite);
    EXPECT_THROW(b.SetSize(2000000000, 2000000000), EOutOfMemory);
    EXPECT_EQ(b.Width(), 10);
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_THROW(TBitmap(1 << 30, 1 << 30), EOutOfMemory);
}

} // namespace
