// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever we write, an independent decoder reads back to exactly the colours we put in; and
// tessimap-export --gif on real files.

#include "BmpFile.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "GifExport.h"
#include "GifTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

namespace {

enum class TContent { Flat, Tiles, Noise };

struct TRoundTrip {
    int Width, Height, Colors;
    TContent Content;
};

std::uint32_t Key(const TGIFColor& c) {
    return c.Red | c.Green << 8 | c.Blue << 16;
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
    const unsigned flat = seed;
    std::vector<std::uint8_t> indices;
    for (int y = 0; y < c.Height; ++y)
        for (int x = 0; x < c.Width; ++x) {
            const unsigned tile = unsigned(x / 16 * 7 + y / 16 * 13 + (x % 16 == 3));
            const unsigned v = c.Content == TContent::Flat    ? flat
                               : c.Content == TContent::Tiles ? tile
                                                              : NextRandom(seed);
            indices.push_back(std::uint8_t(v % unsigned(c.Colors)));
        }
    TTempFolder folder;
    ExportGifFile(IndexedBitmap(c.Width, c.Height, colors, indices), folder.File("out.gif"));
    const TDecodedGif decoded = DecodeGifFile(folder.File("out.gif"));

    ASSERT_EQ((std::vector<std::size_t>{std::size_t(decoded.Width), std::size_t(decoded.Height),
                                        decoded.Indices.size()}),
              (std::vector<std::size_t>{std::size_t(c.Width), std::size_t(c.Height), indices.size()}));
    std::set<std::uint32_t> used, listed;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        ASSERT_EQ(decoded.GlobalColors.at(decoded.Indices[i]), colors[indices[i]]) << "pixel " << i;
        used.insert(Key(colors[indices[i]]));
    }
    // Only the colours in use, each once, padded with black to the power of two.
    auto& table = decoded.GlobalColors;
    ASSERT_EQ(table.size(), std::size_t(1) << BitsForColorCount(int(used.size())));
    for (std::size_t i = 0; i < used.size(); ++i)
        listed.insert(Key(table[i]));
    EXPECT_EQ(listed, used);
    EXPECT_EQ(std::vector<TGIFColor>(table.begin() + std::ptrdiff_t(used.size()), table.end()),
              std::vector<TGIFColor>(table.size() - used.size()));
}

std::vector<TRoundTrip> Cases() {
    using enum TContent;
    std::vector<TRoundTrip> cases = {{1, 1, 1, Flat},     {1, 1, 256, Noise},       {5000, 1, 256, Noise},
                                     {1, 5000, 2, Noise}, {3000, 1200, 256, Noise}, {4096, 900, 6, Tiles},
                                     {2, 3, 5, Noise},    {640, 480, 1, Flat},      {1000, 1000, 129, Tiles}};
    std::uint32_t seed = 2026;
    for (int i = 0; i < 12; ++i) // a braced list is evaluated left to right
        cases.push_back({1 + int(NextRandom(seed) % 1500), 1 + int(NextRandom(seed) % 700),
                         1 + int(NextRandom(seed) % 256), TContent(NextRandom(seed) % 3)});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(SizesColoursContents, GifRoundTrip, testing::ValuesIn(Cases()));

void SavePicture(int width, int height, TColor a, TColor b, const std::string& path) {
    TBitmap picture(width, height, TPixelFormat::pf24bit);
    picture.Brush.Color = a;
    picture.FillRect(Bounds(0, 0, width, height));
    picture.Brush.Color = b;
    picture.FillRect(Bounds(0, 0, width / 2, height / 2));
    SaveBitmapToFile(picture, path);
}

struct TRun {
    int Status;
    std::string Out, Err;
};

TRun RunGifExport(std::vector<std::string> inputs) {
    std::ostringstream out, err;
    inputs.insert(inputs.begin(), "--gif");
    const int status = RunExport(ParseExportArguments(inputs), out, err);
    return {status, out.str(), err.str()};
}

TEST(ExportGifCommand, WritesAGifBesideEachInputAndNamesEachFailureLeavingNoPartialFile) {
    TTempFolder folder;
    const auto file = [&](const char* name) { return folder.File(name); };
    SavePicture(30, 20, RGB(255, 255, 255), RGB(0, 0, 0), file("level1.v2.bmp"));
    SavePicture(7, 9, RGB(0, 0, 0), RGB(255, 0, 0), file("map.bitmap"));
    const TRun good = RunGifExport({file("level1.v2.bmp"), file("map.bitmap")});
    EXPECT_EQ(good.Status, 0) << good.Err;
    EXPECT_EQ(good.Out, file("level1.v2.gif") + "\n" + file("map.gif") + "\n");
    // 600 pixels, 150 of them black: white first.
    const TDecodedGif first = DecodeGifFile(file("level1.v2.gif"));
    EXPECT_EQ((std::vector<int>{first.Width, first.Height, first.Indices[0], first.Indices.back()}),
              (std::vector<int>{30, 20, 1, 0}));
    EXPECT_EQ(first.GlobalColors, (std::vector<TGIFColor>{{255, 255, 255}, {0, 0, 0}}));
    EXPECT_EQ(DecodeGifFile(file("map.gif")).Indices.size(), 7u * 9u);

    SavePicture(65536, 1, RGB(1, 2, 3), RGB(4, 5, 6), file("wide.bmp"));
    WriteFileBytes(file("wide.gif"), {'o', 'l', 'd'});
    SavePicture(4, 4, RGB(0, 0, 255), RGB(0, 0, 0), file("blocked.bmp"));
    std::filesystem::create_directory(file("blocked.gif"));
    const TRun bad = RunGifExport({file("wide.bmp"), file("blocked.bmp"), file("map.bitmap")});
    EXPECT_EQ(bad.Status, 1);
    EXPECT_EQ(bad.Out, file("map.gif") + "\n");
    const std::string tooLarge =
        file("wide.bmp") + ": A GIF image cannot be larger than 65535 x 65535 pixels";
    EXPECT_NE(bad.Err.find(tooLarge), std::string::npos) << bad.Err;
    EXPECT_NE(bad.Err.find("Cannot create file " + file("blocked.gif")), std::string::npos) << bad.Err;
    EXPECT_EQ(ReadFileBytes(file("wide.gif")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_TRUE(std::filesystem::is_directory(file("blocked.gif")));
    // Four inputs and their four outputs (two kept from before): no temporary file is left.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 8);
}

// An 8-bit file with one table entry (red) and pixels 0 5 5 0: the indices past the table show
// black in the editor, the PNG and the exact exports, and so in the GIF.
TEST(ExportGifCommand, IndicesPastAShortColourTableAreBlack) {
    TTempFolder folder;
    TBitmap picture(4, 1, TPixelFormat::pf8bit);
    picture.SetColorTable({TRGBQuad{0, 0, 255, 0}});
    const std::uint8_t indices[] = {0, 5, 5, 0};
    std::copy(std::begin(indices), std::end(indices), picture.ScanLine(0));
    SaveBitmapToFile(picture, folder.File("short.bmp"));
    ASSERT_EQ(RunGifExport({folder.File("short.bmp")}).Status, 0);

    const TDecodedGif gif = DecodeGifFile(folder.File("short.gif"));
    std::vector<TGIFColor> shown;
    for (const std::uint8_t index : gif.Indices)
        shown.push_back(gif.GlobalColors.at(index));
    const TGIFColor red{255, 0, 0}, black{0, 0, 0};
    EXPECT_EQ(shown, (std::vector<TGIFColor>{red, black, black, red}));
}

} // namespace
