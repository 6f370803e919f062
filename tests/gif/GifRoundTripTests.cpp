// Whatever we write, an independent decoder reads back to exactly the colours we put in.

#include "GifExport.h"
#include "GifTestSupport.h"
#include "Palettes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

enum class TContent { Flat, Tiles, Noise };

struct TRoundTrip {
    int Width;
    int Height;
    int Colors;
    TContent Content;
};

std::ostream& operator<<(std::ostream& out, const TRoundTrip& c) {
    static const char* names[] = {"flat", "tiles", "noise"};
    return out << c.Width << "x" << c.Height << " " << c.Colors << " colours " << names[int(c.Content)];
}

std::vector<std::uint8_t> Indices(const TRoundTrip& c, std::uint32_t seed) {
    std::vector<std::uint8_t> indices(std::size_t(c.Width) * std::size_t(c.Height));
    const unsigned colors = unsigned(c.Colors);
    for (int y = 0; y < c.Height; ++y)
        for (int x = 0; x < c.Width; ++x) {
            unsigned v = 0;
            switch (c.Content) {
            case TContent::Flat:
                v = seed;
                break;
            case TContent::Tiles:
                v = unsigned(x / 16 * 7 + y / 16 * 13) + ((x % 16 == 3 && y % 16 > 4) ? 1u : 0u);
                break;
            case TContent::Noise:
                v = NextRandom(seed);
                break;
            }
            indices[std::size_t(y) * std::size_t(c.Width) + std::size_t(x)] = std::uint8_t(v % colors);
        }
    return indices;
}

// The colour a decoded pixel shows.
TGIFColor Shown(const TDecodedGif& gif, std::size_t i) {
    return gif.GlobalColors.at(gif.Indices[i]);
}

class GifRoundTrip : public testing::TestWithParam<TRoundTrip> {};

TEST_P(GifRoundTrip, GiflibDecodesEveryPixelToItsColourAndTheTableToTheColoursInUse) {
    const TRoundTrip c = GetParam();
    std::uint32_t seed = std::uint32_t(c.Width * 31 + c.Height * 7 + c.Colors);
    std::vector<TGIFColor> colors;
    for (int i = 0; i < c.Colors; ++i) {
        const std::uint32_t v = NextRandom(seed);
        colors.push_back({std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16)});
    }
    const auto indices = Indices(c, seed);
    TMemorySink sink;
    ExportGif(IndexedBitmap(c.Width, c.Height, colors, indices), sink);
    const TDecodedGif decoded = DecodeGif(sink.Bytes);

    ASSERT_EQ(decoded.Width, c.Width);
    ASSERT_EQ(decoded.Height, c.Height);
    ASSERT_EQ(decoded.Indices.size(), indices.size());
    std::set<std::uint32_t> used;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const TGIFColor want = colors[indices[i]];
        ASSERT_EQ(Shown(decoded, i), want) << "pixel " << i;
        used.insert(want.Red | want.Green << 8 | want.Blue << 16);
    }
    // Only the colours in use, each once, padded with black to the power of two.
    const std::size_t n = used.size();
    ASSERT_EQ(decoded.GlobalColors.size(), std::size_t(1) << BitsForColorCount(int(n)));
    std::set<std::uint32_t> listed;
    for (std::size_t i = 0; i < n; ++i) {
        const TGIFColor g = decoded.GlobalColors[i];
        listed.insert(g.Red | g.Green << 8 | g.Blue << 16);
    }
    EXPECT_EQ(listed, used);
    for (std::size_t i = n; i < decoded.GlobalColors.size(); ++i)
        EXPECT_EQ(decoded.GlobalColors[i], TGIFColor{});
}

std::vector<TRoundTrip> Cases() {
    std::vector<TRoundTrip> cases = {
        {1, 1, 1, TContent::Flat},     {1, 1, 256, TContent::Noise},       {5000, 1, 256, TContent::Noise},
        {1, 5000, 2, TContent::Noise}, {3000, 1200, 256, TContent::Noise}, {4096, 900, 6, TContent::Tiles},
        {2, 3, 5, TContent::Noise},    {640, 480, 1, TContent::Flat},      {1000, 1000, 129, TContent::Tiles},
    };
    std::uint32_t seed = 2026;
    for (int i = 0; i < 12; ++i) {
        const int width = 1 + int(NextRandom(seed) % 1500);
        const int height = 1 + int(NextRandom(seed) % 700);
        const int colors = 1 + int(NextRandom(seed) % 256);
        cases.push_back({width, height, colors, TContent(NextRandom(seed) % 3)});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(SizesColoursContents, GifRoundTrip, testing::ValuesIn(Cases()));

class GifExportDepth : public testing::TestWithParam<TPixelFormat> {};

// Every depth goes through the same 8-bit conversion, so the file shows the converted colours;
// the palettes of 1 and 4 bits lie inside the halftone table, so they arrive unchanged.
TEST_P(GifExportDepth, TheFileShowsThePictureAsItsEightBitConversionDoes) {
    const TPixelFormat format = GetParam();
    TBitmap picture(300, 200, TPixelFormat::pf24bit);
    std::uint32_t seed = 5;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const std::uint32_t v = NextRandom(seed);
            picture.SetPixel(x, y,
                             format == TPixelFormat::pf4bit   ? ColorOf(SixteenColorPalette()[v % 16])
                             : format == TPixelFormat::pf1bit ? (v & 1 ? clWhite : clBlack)
                                                              : TColor(v & 0xFFFFFF));
        }
    picture.SetPixelFormat(format);
    TBitmap converted = picture;
    converted.SetPixelFormat(TPixelFormat::pf8bit);

    TMemorySink sink;
    ExportGif(picture, sink);
    EXPECT_EQ(picture.PixelFormat(), format);
    const TDecodedGif decoded = DecodeGif(sink.Bytes);
    EXPECT_EQ(std::string(sink.Bytes.begin(), sink.Bytes.begin() + 6), "GIF87a");
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const TGIFColor shown = Shown(decoded, std::size_t(y) * 300 + std::size_t(x));
            const TColor color = RGB(shown.Red, shown.Green, shown.Blue);
            ASSERT_EQ(color, converted.Pixel(x, y)) << x << "," << y;
            if (IsPaletteFormat(format)) {
                ASSERT_EQ(color, picture.Pixel(x, y)) << x << "," << y;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Depths, GifExportDepth,
                         testing::Values(TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf24bit));

} // namespace
