// SPDX-License-Identifier: GPL-3.0-or-later
// The box-averaged copies a zoomed-out view shows: their means, and edits kept up to date by
// rectangle.

#include "ReducedCopies.h"

#include "Errors.h"
#include "MemoryGuard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

namespace {

TBitmap Noise(int width, int height, TPixelFormat format, unsigned seed) {
    TBitmap bitmap(width, height, TPixelFormat::pf24bit);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, random() & 0xFFFFFF);
    bitmap.SetPixelFormat(format);
    return bitmap;
}

// The mean of one channel over a block, straight from the picture's colours.
int BlockMean(const TBitmap& picture, int shift, int bx, int by, int channelShift) {
    int sum = 0, count = 0;
    for (int y = by << shift; y < std::min(picture.Height(), (by + 1) << shift); ++y)
        for (int x = bx << shift; x < std::min(picture.Width(), (bx + 1) << shift); ++x, ++count)
            sum += int((picture.Pixel(x, y) >> channelShift) & 0xFF);
    return (sum + count / 2) / count;
}

class ReducedCopyMeans : public testing::TestWithParam<TPixelFormat> {};

// Sizes that are no multiple of a block, so the short blocks along the edges count too. The
// coarser copy is made from the finer one and may round differently by one.
TEST_P(ReducedCopyMeans, EachPixelIsTheMeanOfTheBlockItCovers) {
    const TBitmap picture = Noise(21, 13, GetParam(), 3);
    TReducedCopies copies;
    copies.Rebuild(picture);
    for (int shift = TReducedCopies::FirstShift; shift <= TReducedCopies::LastShift; ++shift) {
        const TReducedImage* copy = copies.Find(shift, 21, 13);
        ASSERT_NE(copy, nullptr);
        ASSERT_EQ(copy->Width, (21 + (1 << shift) - 1) >> shift);
        ASSERT_EQ(copy->Height, (13 + (1 << shift) - 1) >> shift);
        const int tolerance = shift == TReducedCopies::FirstShift ? 0 : 1;
        for (int by = 0; by < copy->Height; ++by)
            for (int bx = 0; bx < copy->Width; ++bx) {
                const std::uint32_t p = copy->Row(by)[bx];
                EXPECT_EQ(p >> 24, 0xFFu);
                EXPECT_NEAR(int((p >> 16) & 0xFF), BlockMean(picture, shift, bx, by, 0), tolerance);
                EXPECT_NEAR(int((p >> 8) & 0xFF), BlockMean(picture, shift, bx, by, 8), tolerance);
                EXPECT_NEAR(int(p & 0xFF), BlockMean(picture, shift, bx, by, 16), tolerance);
            }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, ReducedCopyMeans,
                         testing::Values(TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                         TPixelFormat::pf16bit, TPixelFormat::pf24bit),
                         [](const testing::TestParamInfo<TPixelFormat>& info) {
                             return "Bits" + std::to_string(BitsOfPixelFormat(info.param));
                         });

// A change is reported for one rectangle only; a second change elsewhere is not. The copies
// must then equal copies made afresh of a picture with just the reported change: every block
// under the rectangle is redone, and nothing outside its blocks is touched.
TEST(ReducedCopies, AnUpdateRedoesExactlyTheBlocksUnderTheChangedRectangle) {
    const TRect rects[] = {{5, 3, 14, 9}, {37, 17, 43, 30}, {-4, -4, 3, 2}, {0, 0, 43, 30}, {40, 29, 41, 30}};
    for (const TRect& changed : rects) {
        const TBitmap before = Noise(43, 30, TPixelFormat::pf24bit, 1);
        const TBitmap tile = Noise(changed.Width(), changed.Height(), TPixelFormat::pf24bit, 2);
        TBitmap reported = before;
        reported.Draw(changed.Left, changed.Top, tile);
        TBitmap edited = reported;
        const bool farAway = changed.Right < 30;
        if (farAway) edited.SetPixel(42, 29, clWhite);

        TReducedCopies updated;
        updated.Rebuild(before);
        updated.Update(edited, changed);
        TReducedCopies expected;
        expected.Rebuild(reported);
        for (int shift = TReducedCopies::FirstShift; shift <= TReducedCopies::LastShift; ++shift)
            EXPECT_EQ(updated.Find(shift, 43, 30)->Pixels, expected.Find(shift, 43, 30)->Pixels)
                << "rectangle " << changed.Left << "," << changed.Top << " shift " << shift;
    }
}

TEST(ReducedCopies, CopiesOfAnotherSizeAreNotOfferedAndAFailedBuildLeavesNone) {
    TReducedCopies copies;
    copies.Rebuild(Noise(16, 16, TPixelFormat::pf24bit, 1));
    EXPECT_EQ(copies.Find(2, 17, 16), nullptr);
    EXPECT_EQ(copies.Find(1, 16, 16), nullptr) << "no copy is kept at half size";
    copies.Update(Noise(20, 16, TPixelFormat::pf24bit, 1), TRect{0, 0, 4, 4});
    EXPECT_EQ(copies.Find(2, 16, 16), nullptr) << "a resized picture needs a rebuild";

    const TBitmap picture = Noise(16, 16, TPixelFormat::pf24bit, 1);
    copies.Rebuild(picture);
    {
        TForcedOutOfMemory refused;
        EXPECT_THROW(copies.Rebuild(picture), EOutOfMemory);
    }
    EXPECT_EQ(copies.Find(2, 16, 16), nullptr);
    EXPECT_EQ(copies.Find(3, 16, 16), nullptr);
}

} // namespace
