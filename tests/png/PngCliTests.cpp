// tessimap-export --png on real files.

#include "BmpFile.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "PngTestSupport.h"
#include "../picture/TestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

int RunPng(const std::vector<std::string>& inputs, std::string& out, std::string& err) {
    std::vector<std::string> args{"--png"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    std::ostringstream o, e;
    const int status = RunExport(ParseExportArguments(args), o, e);
    out = o.str();
    err = e.str();
    return status;
}

TEST(PngCommand, WritesEachPictureBesideItselfReplacingAnEarlierExport) {
    TTempFolder folder;
    TBitmap tiles = TilePicture(40, 24), noise = NoisePicture(17, 9);
    noise.SetPixelFormat(TPixelFormat::pf4bit);
    SaveBitmapToFile(tiles, folder.File("level1.bmp"));
    SaveBitmapToFile(noise, folder.File("level2.bmp"));
    WriteFileBytes(folder.File("level1.png"), {'o', 'l', 'd'});

    std::string out, err;
    EXPECT_EQ(RunPng({folder.File("level1.bmp"), folder.File("level2.bmp")}, out, err), 0) << err;
    EXPECT_EQ(out, folder.File("level1.png") + "\n" + folder.File("level2.png") + "\n");
    for (auto [picture, name] : {std::pair{tiles, "level1.png"}, std::pair{noise, "level2.png"}}) {
        picture.SetPixelFormat(TPixelFormat::pf8bit);
        ExpectDecodesTo(ReadFileBytes(folder.File(name)), picture);
    }
}

TEST(PngCommand, FailureNamesTheFileAndTheOtherPicturesAreStillWritten) {
    TTempFolder folder;
    WriteFileBytes(folder.File("broken.bmp"), {'B', 'M', 1, 2, 3});
    SaveBitmapToFile(TilePicture(8, 8), folder.File("good.bmp"));
    SaveBitmapToFile(TilePicture(8, 8), folder.File("blocked.bmp"));
    std::filesystem::create_directory(folder.File("blocked.png")); // the file cannot be made there

    std::string out, err;
    EXPECT_EQ(RunPng({folder.File("broken.bmp"), folder.File("blocked.bmp"), folder.File("good.bmp")}, out, err), 1);
    EXPECT_NE(err.find("broken.bmp: Stream read error"), std::string::npos) << err;
    EXPECT_NE(err.find("Cannot create file " + folder.File("blocked.png")), std::string::npos) << err;
    EXPECT_EQ(out, folder.File("good.png") + "\n");
    EXPECT_TRUE(DecodeWithLibpng(ReadFileBytes(folder.File("good.png"))).Ok);
    // The three inputs, the folder in the way and the one export: no half-written file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 5);
}

} // namespace
