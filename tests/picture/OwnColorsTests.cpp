// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion to 8 bits with the picture's own colours: the census, the exact table, the
// quantiser for pictures of more than 256 colours, and the mapping of every pixel.

#include "Bitmap.h"
#include "ColorMaps.h"
#include "ColorMatcher.h"
#include "OwnColors.h"
#include "PaletteMapper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace {

std::map<TColor, int> PixelCounts(const TBitmap& b) {
    std::map<TColor, int> counts;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            ++counts[b.Pixel(x, y)];
    return counts;
}

struct TOwnColorsCase {
    int Colors;
    TPixelFormat Format;
    std::size_t TableSize; // 0: as many as the converted picture shows
    bool Exact;
};

class OwnColors : public ::testing::TestWithParam<TOwnColorsCase> {};

TEST_P(OwnColors, TableHoldsThePictureColoursOrTheNearestOfTheChosenOnes) {
    const TOwnColorsCase& c = GetParam();
    TBitmap picture = MakeColorMap(c.Colors);
    picture.SetPixelFormat(c.Format);
    const std::map<TColor, int> before = PixelCounts(picture);

    const TOwnColors own = OwnColorsOf(picture);
    ASSERT_EQ(own.Table.size(), c.TableSize ? c.TableSize : before.size());
    EXPECT_EQ(own.PictureColors, before.size());
    EXPECT_EQ(own.Reduced(), !c.Exact);
    // The background, used most, comes first.
    EXPECT_EQ(ColorOf(own.Table[0]), picture.Pixel(0, 0));

    const TBitmap converted = ConvertedToTable(picture, own.Table);
    ASSERT_EQ(converted.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(converted.ColorTable(), own.Table);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor original = picture.Pixel(x, y);
            const std::uint32_t index = converted.PixelValue(x, y);
            if (c.Exact)
                ASSERT_EQ(converted.Pixel(x, y), original) << x << "," << y;
            else
                ASSERT_EQ(index, NearestIndex(own.Table, original)) << x << "," << y;
        }
    if (!c.Exact) {
        // Colours of large areas stay exact: the background here.
        EXPECT_EQ(converted.Pixel(0, 0), picture.Pixel(0, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, OwnColors,
    ::testing::Values(
        TOwnColorsCase{2, TPixelFormat::pf24bit, 2, true}, TOwnColorsCase{9, TPixelFormat::pf24bit, 9, true},
        TOwnColorsCase{23, TPixelFormat::pf24bit, 23, true},
        TOwnColorsCase{256, TPixelFormat::pf24bit, 256, true},
        TOwnColorsCase{257, TPixelFormat::pf24bit, 256, false},
        TOwnColorsCase{300, TPixelFormat::pf24bit, 256, false},
        TOwnColorsCase{300, TPixelFormat::pf32bit, 256, false},
        // Other depths keep the colours they show, whatever their own table.
        TOwnColorsCase{23, TPixelFormat::pf16bit, 0, true}, TOwnColorsCase{23, TPixelFormat::pf8bit, 0, true},
        TOwnColorsCase{9, TPixelFormat::pf4bit, 0, true}, TOwnColorsCase{2, TPixelFormat::pf1bit, 0, true}),
    [](const auto& info) {
        return std::to_string(info.param.Colors) + "ColoursAt" +
               std::to_string(BitsOfPixelFormat(info.param.Format)) + "Bits";
    });

TEST(ColourCensus, StopsAtTheFirstColourPastTheLimit) {
    TColorCensus census;
    std::vector<std::uint8_t> row;
    for (int i = 0; i < 300; ++i)
        for (std::uint8_t v : {std::uint8_t(i), std::uint8_t(i >> 8), std::uint8_t(7)})
            row.push_back(v);
    census.AddBgr(row.data(), 256);
    EXPECT_FALSE(census.Overflowed());
    EXPECT_EQ(census.ColorCount(), 256u);
    census.AddBgr(row.data(), 300);
    EXPECT_TRUE(census.Overflowed());
    EXPECT_EQ(census.ColorCount(), 257u);
}

// A noisy picture has far more colours than the quantiser tallies exactly; a flat area in it
// must still keep its colour, and the colour count must stay exact.
TEST(ColourQuantizer, KeepsALargeAreaExactAmongMoreColoursThanItTallies) {
    TBitmap picture(700, 700, TPixelFormat::pf24bit);
    std::mt19937 random(11);
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (int i = 0; i < picture.Width() * 3; ++i)
            row[i] = std::uint8_t(random());
    }
    const TColor flat = RGB(0xE0, 0x70, 0x10);
    picture.Brush.Color = flat;
    picture.FillRect(Bounds(300, 300, 200, 200));
    std::vector<TColor> distinct;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            distinct.push_back(picture.Pixel(x, y));
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());

    const TOwnColors own = OwnColorsOf(picture);
    EXPECT_EQ(own.PictureColors, distinct.size());
    ASSERT_EQ(own.Table.size(), 256u);
    EXPECT_EQ(ColorOf(own.Table[0]), flat);
    TPaletteMapper mapper(own.Table);
    std::mt19937 pick(3);
    for (int i = 0; i < 20000; ++i) {
        const TColor c = picture.Pixel(int(pick() % 700), int(pick() % 700));
        ASSERT_EQ(mapper.IndexOf(c), NearestIndex(own.Table, c));
    }
}

} // namespace
