// SPDX-License-Identifier: GPL-3.0-or-later
// Exports with the picture's own colours, read back by giflib and libpng: the exact colours
// up to 256, the PNG's smallest depth, the reduction past 256, and the command line's --exact
// writing the very bytes the editor's export writes.

#include "../gif/GifTestSupport.h"
#include "../picture/ColorMaps.h"
#include "../png/PngTestSupport.h"
#include "BmpFile.h"
#include "ColorMatcher.h"
#include "Errors.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "GifExport.h"
#include "MemoryGuard.h"
#include "PngExport.h"
#include "RowSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

struct TExactCase {
    int Colors;
    int PngBits;
    bool Reduced;
};

class ExactExport : public testing::TestWithParam<TExactCase> {};

// The colour each pixel must come back as: its own, or its nearest entry of the reduced table.
TColor Expected(const TBitmap& picture, const TOwnColors& own, int x, int y) {
    const TColor c = picture.Pixel(x, y);
    return own.Reduced() ? ColorOf(own.Table[NearestIndex(own.Table, c)]) : c;
}

TEST_P(ExactExport, DecodersGiveBackThePictureColoursAndTheCommandLineWritesTheSameBytes) {
    const TExactCase& c = GetParam();
    TTempFolder folder;
    const TBitmap picture = MakeColorMap(c.Colors);
    SaveBitmapToFile(picture, folder.File("map.bmp"));

    TBitmapRows rows(picture);
    const TOwnColors gifColors = ExportGifExactFile(rows, folder.File("editor.gif"));
    const TOwnColors pngColors = ExportPngExactFile(rows, folder.File("editor.png"));
    EXPECT_EQ(gifColors.Table, pngColors.Table);
    EXPECT_EQ(pngColors.Reduced(), c.Reduced);
    EXPECT_EQ(pngColors.PictureColors, std::uint64_t(c.Colors));
    EXPECT_EQ(pngColors.Table.size(), std::size_t(std::min(c.Colors, 256)));

    TBitmap expected(picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            expected.SetPixel(x, y, Expected(picture, pngColors, x, y));

    const TBytes png = ReadFileBytes(folder.File("editor.png"));
    ExpectDecodesTo(png, expected);
    const auto chunks = SplitChunks(png);
    EXPECT_EQ(ChunkTypes(chunks), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
    EXPECT_EQ(chunks[0].Data[8], c.PngBits); // bit depth
    EXPECT_EQ(chunks[0].Data[9], 3);         // colour type: palette
    EXPECT_EQ(chunks[1].Data.size(), 3 * pngColors.Table.size());

    const TDecodedGif gif = DecodeGifFile(folder.File("editor.gif"));
    ASSERT_EQ(gif.Indices.size(), std::size_t(picture.Width()) * std::size_t(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TGIFColor g = gif.GlobalColors.at(gif.Indices[std::size_t(y * picture.Width() + x)]);
            ASSERT_EQ(RGB(g.Red, g.Green, g.Blue), expected.Pixel(x, y)) << x << ", " << y;
        }

    for (const char* mode : {"--gif", "--png"}) {
        std::ostringstream out, err;
        EXPECT_EQ(RunExport(ParseExportArguments({"--exact", mode, folder.File("map.bmp")}), out, err), 0)
            << err.str();
        EXPECT_EQ(err.str().find("reduced") != std::string::npos, c.Reduced) << err.str();
        const std::string ext = std::string(".") + (mode + 2);
        EXPECT_EQ(ReadFileBytes(folder.File("map" + ext)), ReadFileBytes(folder.File("editor" + ext)))
            << mode;
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, ExactExport,
                         testing::Values(TExactCase{2, 1, false}, TExactCase{3, 2, false},
                                         TExactCase{9, 4, false}, TExactCase{23, 8, false},
                                         TExactCase{300, 8, true}),
                         [](const auto& info) { return std::to_string(info.param.Colors) + "Colours"; });

TEST(ExactExport, DepthEightOnTheCommandLineKeepsThePictureColours) {
    TTempFolder folder;
    const TBitmap picture = MakeColorMap(23);
    SaveBitmapToFile(picture, folder.File("map.bmp"));
    std::ostringstream out, err;
    const auto args = ParseExportArguments(
        {"--exact", "--depth", "8", "--output", folder.File("out.bmp"), folder.File("map.bmp")});
    ASSERT_EQ(RunExport(args, out, err), 0) << err.str();
    const TBitmap back = LoadBitmapFromFile(folder.File("out.bmp"));
    ASSERT_EQ(back.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(back.ColorTable().size(), 23u);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            ASSERT_EQ(back.Pixel(x, y), picture.Pixel(x, y)) << x << ", " << y;
}

// Every allocation of the exact path may fail: the user gets the out-of-memory message and no
// file, never a half-written one or another error.
TEST(ExactExport, RunningOutOfMemoryAnywhereReportsItAndWritesNothing) {
    TTempFolder folder;
    const TBitmap picture = MakeColorMap(300);
    using TExport = TOwnColors (*)(TRowSource&, const std::string&);
    for (const TExport exportFile : {&ExportGifExactFile, &ExportPngExactFile}) {
        const std::string path = folder.File(exportFile == &ExportGifExactFile ? "out.gif" : "out.png");
        int failures = 0;
        for (std::uint64_t allowed = 0;; ++allowed) {
            TBitmapRows rows(picture);
            try {
                TForcedOutOfMemory forced(allowed);
                exportFile(rows, path);
            } catch (const EOutOfMemory&) {
                ++failures;
                ASSERT_FALSE(std::filesystem::exists(path)) << allowed;
                continue;
            }
            break;
        }
        EXPECT_GT(failures, 0);
        EXPECT_TRUE(std::filesystem::exists(path));
    }
}

} // namespace
