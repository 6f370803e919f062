// SPDX-License-Identifier: GPL-3.0-or-later
// tessimap-export --png on real files.

#include "../picture/TestFiles.h"
#include "BmpFile.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "PngTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

int RunPng(const TTempFolder& folder, const std::vector<std::string>& files, std::string& out,
           std::string& err) {
    std::vector<std::string> args{"--png"};
    for (const std::string& file : files)
        args.push_back(folder.File(file));
    std::ostringstream o, e;
    const int status = RunExport(ParseExportArguments(args), o, e);
    out = o.str();
    err = e.str();
    return status;
}

TEST(PngCommand, WritesEachPictureBesideItselfAndNamesEachFailure) {
    TTempFolder folder;
    const TBitmap tiles = TilePicture(40, 24), noise = NoisePicture(17, 9).Converted(TPixelFormat::pf4bit);
    SaveBitmapToFile(tiles, folder.File("level1.bmp"));
    SaveBitmapToFile(noise, folder.File("level2.bmp"));
    SaveBitmapToFile(tiles, folder.File("blocked.bmp"));
    WriteFileBytes(folder.File("broken.bmp"), {'B', 'M', 1, 2, 3});
    WriteFileBytes(folder.File("level1.png"), {'o', 'l', 'd'});
    std::filesystem::create_directory(folder.File("blocked.png")); // the file cannot be made there

    std::string out, err;
    EXPECT_EQ(RunPng(folder, {"level1.bmp", "broken.bmp", "blocked.bmp", "level2.bmp"}, out, err), 1);
    EXPECT_NE(err.find("broken.bmp: Stream read error"), std::string::npos) << err;
    EXPECT_NE(err.find("Cannot create file " + folder.File("blocked.png")), std::string::npos) << err;
    EXPECT_EQ(out, folder.File("level1.png") + "\n" + folder.File("level2.png") + "\n");
    ExpectDecodesTo(ReadFileBytes(folder.File("level1.png")), tiles.Converted(TPixelFormat::pf8bit));
    ExpectDecodesTo(ReadFileBytes(folder.File("level2.png")), noise.Converted(TPixelFormat::pf8bit));
    // The four inputs, the folder in the way and the two exports: no half-written file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 7);
    EXPECT_EQ(RunPng(folder, {"level2.bmp"}, out, err), 0) << err;
}

} // namespace
