// SPDX-License-Identifier: GPL-3.0-or-later
// Quarter turns of a bitmap at every colour depth.

#include "QuarterTurn.h"

#include "RowCodec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Stored values, row by row, so that palette depths are checked without any colour matching.
TBitmap WithValues(TPixelFormat format, int width, int height, const std::vector<std::uint32_t>& values) {
    TBitmap bitmap(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            RowCodec::SetValue(format, bitmap.ScanLine(y), x, values[std::size_t(y * width + x)]);
    return bitmap;
}

std::vector<std::uint32_t> ValuesOf(const TBitmap& bitmap) {
    std::vector<std::uint32_t> values;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            values.push_back(bitmap.PixelValue(x, y));
    return values;
}

struct TTurnCase {
    TPixelFormat Format;
    std::uint32_t A, B, C, D, E, F;
};

class QuarterTurn : public testing::TestWithParam<TTurnCase> {};

// [A B C / D E F] turned clockwise is [D A / E B / F C], counter-clockwise [C F / B E / A D].
TEST_P(QuarterTurn, TurnsTheThreeByTwoExampleBothWays) {
    const TTurnCase c = GetParam();
    const TBitmap source = WithValues(c.Format, 3, 2, {c.A, c.B, c.C, c.D, c.E, c.F});

    const TBitmap clockwise = QuarterTurned(source, TQuarterTurn::Clockwise);
    ASSERT_EQ(clockwise.Width(), 2);
    ASSERT_EQ(clockwise.Height(), 3);
    EXPECT_EQ(clockwise.PixelFormat(), c.Format);
    EXPECT_EQ(ValuesOf(clockwise), (std::vector<std::uint32_t>{c.D, c.A, c.E, c.B, c.F, c.C}));

    const TBitmap counter = QuarterTurned(source, TQuarterTurn::CounterClockwise);
    EXPECT_EQ(ValuesOf(counter), (std::vector<std::uint32_t>{c.C, c.F, c.B, c.E, c.A, c.D}));
}

// Random pixels across several blocks and, for the packed depths, across byte boundaries: a
// turn and its opposite, and four turns one way, give back every byte of every row.
TEST_P(QuarterTurn, FourTurnsAndATurnBackGiveTheBitmapBack) {
    const TPixelFormat format = GetParam().Format;
    const int width = 131, height = 67;
    std::mt19937 random(7);
    std::vector<std::uint32_t> values(std::size_t(width * height));
    const std::uint32_t mask =
        BitsOfPixelFormat(format) >= 24 ? 0xFFFFFF : (1u << BitsOfPixelFormat(format)) - 1;
    for (std::uint32_t& v : values)
        v = random() & mask;
    const TBitmap source = WithValues(format, width, height, values);

    TBitmap turned = source;
    for (int i = 0; i < 4; ++i)
        turned = QuarterTurned(turned, TQuarterTurn::Clockwise);
    EXPECT_EQ(turned.PixelBuffer(), source.PixelBuffer());
    const TBitmap back =
        QuarterTurned(QuarterTurned(source, TQuarterTurn::CounterClockwise), TQuarterTurn::Clockwise);
    EXPECT_EQ(back.PixelBuffer(), source.PixelBuffer());
}

INSTANTIATE_TEST_SUITE_P(
    EveryDepth, QuarterTurn,
    testing::Values(
        TTurnCase{TPixelFormat::pf1bit, 1, 0, 0, 0, 1, 1}, TTurnCase{TPixelFormat::pf4bit, 1, 2, 3, 4, 5, 6},
        TTurnCase{TPixelFormat::pf8bit, 10, 20, 30, 40, 50, 60},
        TTurnCase{TPixelFormat::pf16bit, 0x0001, 0x0100, 0xF800, 0x07E0, 0x001F, 0xFFFF},
        TTurnCase{TPixelFormat::pf24bit, 0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112},
        TTurnCase{TPixelFormat::pf32bit, 0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010101}),
    [](const testing::TestParamInfo<TTurnCase>& info) {
        return "Bits" + std::to_string(BitsOfPixelFormat(info.param.Format));
    });

TEST(QuarterTurnState, KeepsTheColourTableAndTheTransparency) {
    TBitmap source(5, 2, TPixelFormat::pf8bit);
    std::vector<TRGBQuad> table(256, TRGBQuad{1, 2, 3, 0});
    table[9] = TRGBQuad{200, 100, 50, 0};
    source.SetColorTable(table);
    source.Transparent = true;
    source.TransparentColor = RGB(50, 100, 200);
    const TBitmap turned = QuarterTurned(source, TQuarterTurn::CounterClockwise);
    EXPECT_EQ(turned.ColorTable(), table);
    EXPECT_TRUE(turned.Transparent);
    EXPECT_EQ(turned.TransparentColor, RGB(50, 100, 200));
}

} // namespace
