// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel-format conversion: the fixed tables, the nearest-colour rule and 5-6-5 packing.

#include "Bitmap.h"
#include "ColorMatcher.h"
#include "Palettes.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TBitmap OnePixel(TColor c, TPixelFormat format = TPixelFormat::pf24bit) {
    TBitmap b(1, 1, format);
    b.SetPixel(0, 0, c);
    return b;
}

TEST(HalftonePalette, HoldsTheSixteenColoursTheCubeAndTheGreys) {
    const auto& t = HalftonePalette();
    ASSERT_EQ(t.size(), 256u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(t[i], SixteenColorPalette()[i]);
    EXPECT_EQ(ColorOf(t[16]), RGB(0, 0, 0));
    EXPECT_EQ(ColorOf(t[16 + 36 * 1 + 6 * 2 + 3]), RGB(51, 102, 153));
    EXPECT_EQ(ColorOf(t[231]), RGB(255, 255, 255));
    EXPECT_EQ(ColorOf(t[232]), RGB(8, 8, 8));
    EXPECT_EQ(ColorOf(t[255]), RGB(238, 238, 238));
}

TEST(NearestColour, MatcherAgreesWithAPlainSearchOnEveryTable) {
    std::mt19937 random(7);
    std::vector<TRGBQuad> odd;
    for (int i = 0; i < 37; ++i)
        odd.push_back(TRGBQuad{std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), 0});
    odd.push_back(odd[3]); // a duplicate: the lower index must win
    for (const auto* table : {&HalftonePalette(), &SixteenColorPalette(), &MonochromePalette(),
                              static_cast<const std::vector<TRGBQuad>*>(&odd)}) {
        TColorMatcher matcher(*table);
        for (int i = 0; i < 20000; ++i) {
            const TColor c = TColor(random()) & 0xFFFFFF;
            ASSERT_EQ(matcher.Nearest(c), NearestIndex(*table, c)) << std::hex << c;
        }
    }
}

TEST(NearestColour, TiesGoToTheLowerIndex) {
    EXPECT_EQ(NearestIndex(HalftonePalette(), RGB(128, 128, 128)), 7);
    // Black is in entry 0 and entry 16: entry 0 wins.
    EXPECT_EQ(NearestIndex(HalftonePalette(), RGB(0, 0, 0)), 0);
    // Half way between black and white in one bit: black wins.
    const std::vector<TRGBQuad> two = {QuadOf(RGB(0, 0, 0)), QuadOf(RGB(2, 0, 0))};
    EXPECT_EQ(NearestIndex(two, RGB(1, 0, 0)), 0);
}

TEST(Conversion, TwentyFourToSixteenTruncatesAndBackReplicatesBits) {
    TBitmap b = OnePixel(RGB(0xFF, 0x87, 0x0F));
    b.SetPixelFormat(TPixelFormat::pf16bit);
    EXPECT_EQ(b.PixelValue(0, 0), (0x1Fu << 11) | (0x21u << 5) | 0x01u);
    b.SetPixelFormat(TPixelFormat::pf24bit);
    // 5 bits 00001 -> 00001000 | 000 = 8; 6 bits 100001 -> 10000110 = 134.
    EXPECT_EQ(b.Pixel(0, 0), RGB(0xFF, 134, 8));
}

TEST(Conversion, ToPaletteDepthsUsesTheirTablesAndNearestColours) {
    TBitmap b = OnePixel(RGB(250, 10, 10));
    b.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_EQ(b.ColorTable(), HalftonePalette());
    EXPECT_EQ(b.PixelValue(0, 0), 9u) << "pure red of the sixteen colours";
    b.SetPixelFormat(TPixelFormat::pf4bit);
    EXPECT_EQ(b.ColorTable(), SixteenColorPalette());
    EXPECT_EQ(b.Pixel(0, 0), RGB(255, 0, 0));
    b.SetPixelFormat(TPixelFormat::pf1bit);
    EXPECT_EQ(b.Pixel(0, 0), clBlack) << "red is nearer black than white";
    TBitmap light = OnePixel(RGB(200, 200, 200));
    light.SetPixelFormat(TPixelFormat::pf1bit);
    EXPECT_EQ(light.Pixel(0, 0), clWhite);
}

TEST(Conversion, PaletteToDirectHandsTheTableOnAndKeepsPixels) {
    TBitmap b(3, 1, TPixelFormat::pf4bit);
    b.SetPixel(0, 0, RGB(0, 128, 128));
    b.SetPixel(2, 0, RGB(192, 192, 192));
    b.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(b.ColorTable(), SixteenColorPalette());
    EXPECT_EQ(b.Pixel(0, 0), RGB(0, 128, 128));
    EXPECT_EQ(b.Pixel(2, 0), RGB(192, 192, 192));
    b.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_EQ(b.ColorTable(), HalftonePalette()) << "a palette depth takes its own table";
    EXPECT_EQ(b.Pixel(0, 0), RGB(0, 128, 128));
}

TEST(Conversion, SameFormatChangesNothingAndKeepsAnOwnTable) {
    TBitmap b(2, 1, TPixelFormat::pf8bit);
    std::vector<TRGBQuad> own(256, QuadOf(RGB(1, 2, 3)));
    b.SetColorTable(own);
    b.FileLayout.XPelsPerMeter = 3780;
    b.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_EQ(b.ColorTable(), own);
    EXPECT_EQ(b.FileLayout.XPelsPerMeter, 3780);
    b.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(b.FileLayout.XPelsPerMeter, 0) << "a picture whose depth was set writes no resolution";
}

TEST(Monochrome, ExactlyTheBrushColourTurnsWhiteEverythingElseBlack) {
    TBitmap b(3, 1, TPixelFormat::pf24bit);
    b.SetPixel(0, 0, clBlack);
    b.SetPixel(1, 0, RGB(0, 0, 1));
    b.SetPixel(2, 0, clWhite);
    b.Brush.Color = clBlack;
    b.MakeMonochrome();
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf1bit);
    EXPECT_EQ(b.ColorTable(), MonochromePalette());
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(1, 0), clBlack);
    EXPECT_EQ(b.Pixel(2, 0), clBlack);

    TBitmap never(2, 1, TPixelFormat::pf24bit); // default brush is white
    never.SetPixel(0, 0, clWhite);
    never.MakeMonochrome();
    EXPECT_EQ(never.Pixel(0, 0), clWhite);
    EXPECT_EQ(never.Pixel(1, 0), clBlack);
}

} // namespace
