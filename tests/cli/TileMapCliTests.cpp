// SPDX-License-Identifier: GPL-3.0-or-later
// tessimap-export --tilemap: its arguments, its refusals with exit status 2, and what it prints.

#include "../picture/TestFiles.h"
#include "BmpFile.h"
#include "ExportArguments.h"
#include "ExportCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace {

TEST(TileMapArguments, RefusesWhatIsNotATileMapCommand) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--tilemap", "8", "a.bmp"},
        {"--tilemap", "8xa", "a.bmp"},
        {"--tilemap", "8x8", "a.bmp", "b.bmp"},
        {"--png", "--flips", "a.bmp"},
        {"--tilemap", "8x8", "--transparent", "ff00ff", "a.bmp"},
        {"--tilemap", "8x8", "--empty", "--transparent", "red", "a.bmp"},
    };
    for (const auto& args : wrong)
        EXPECT_THROW(ParseExportArguments(args), std::invalid_argument) << args[1];
    const TExportArguments parsed = ParseExportArguments(
        {"--tilemap", "16X8", "--flips", "--empty", "--transparent", "#FF8000", "a.bmp"});
    EXPECT_EQ(std::tuple(parsed.TileWidth, parsed.TileHeight, parsed.Flips, parsed.Empty, parsed.EmptyColor),
              std::tuple(16, 8, true, true, RGB(0xFF, 0x80, 0x00)));
}

TEST(TileMapCommand, RefusesATileSizeThatDoesNotCutThePictureWithStatusTwo) {
    TTempFolder folder;
    TBitmap picture(40, 24, TPixelFormat::pf24bit);
    picture.SetPixel(3, 3, RGB(9, 9, 9));
    SaveBitmapToFile(picture, folder.File("level.bmp"));
    const std::string input = folder.File("level.bmp");

    std::ostringstream out, err;
    EXPECT_EQ(RunExport(ParseExportArguments({"--tilemap", "16x8", input}), out, err), ExportUsageExitStatus);
    EXPECT_NE(err.str().find("8 pixels are left over"), std::string::npos) << err.str();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

    std::ostringstream out2, err2;
    EXPECT_EQ(RunExport(ParseExportArguments({"--tilemap", "8x8", "--empty", input}), out2, err2), 0)
        << err2.str();
    EXPECT_NE(out2.str().find("level.tmj\n"), std::string::npos);
    EXPECT_NE(out2.str().find("15 cells, 1 tiles, 2 colours"), std::string::npos) << out2.str();
}

} // namespace
