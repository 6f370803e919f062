// tessimap-export --png on real files.

#include "BmpFile.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "PngTestSupport.h"
#include "../picture/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
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

TEST(PngCommand, WritesEachPictureBesideItselfAndNamesIt) {
    TTempFolder folder;
    TBitmap tiles = TilePicture(40, 24);
    TBitmap noise = NoisePicture(17, 9);
    noise.SetPixelFormat(TPixelFormat::pf4bit);
    SaveBitmapToFile(tiles, folder.File("level1.bmp"));
    SaveBitmapToFile(noise, folder.File("level2.bmp"));

    std::string out, err;
    EXPECT_EQ(RunPng({folder.File("level1.bmp"), folder.File("level2.bmp")}, out, err), 0) << err;
    EXPECT_EQ(out, folder.File("level1.png") + "\n" + folder.File("level2.png") + "\n");

    for (TBitmap* picture : {&tiles, &noise}) {
        const std::string name = picture == &tiles ? "level1.png" : "level2.png";
        SCOPED_TRACE(name);
        TBitmap expected(*picture);
        expected.SetPixelFormat(TPixelFormat::pf8bit);
        const auto file = ReadFileBytes(folder.File(name));
        const auto chunks = SplitChunks(file);
        ASSERT_FALSE(chunks.empty());
        EXPECT_EQ(chunks[0].Data[8], 8);
        EXPECT_EQ(chunks[0].Data[9], 3);
        ExpectSamePixels(DecodeWithLibpng(file), expected);
    }
}

TEST(PngCommand, ReplacesAnEarlierExportWithoutAsking) {
    TTempFolder folder;
    const TBitmap picture = TilePicture(16, 16);
    SaveBitmapToFile(picture, folder.File("map.bmp"));
    WriteFileBytes(folder.File("map.png"), {'o', 'l', 'd'});
    std::string out, err;
    ASSERT_EQ(RunPng({folder.File("map.bmp")}, out, err), 0) << err;
    TBitmap expected(picture);
    expected.SetPixelFormat(TPixelFormat::pf8bit);
    ExpectSamePixels(DecodeWithLibpng(ReadFileBytes(folder.File("map.png"))), expected);
}

TEST(PngCommand, FailureNamesTheFileAndTheOtherPicturesAreStillWritten) {
    TTempFolder folder;
    WriteFileBytes(folder.File("broken.bmp"), {'B', 'M', 1, 2, 3});
    SaveBitmapToFile(TilePicture(8, 8), folder.File("good.bmp"));
    SaveBitmapToFile(TilePicture(8, 8), folder.File("blocked.bmp"));
    // Where blocked.png should go there is a folder: the file cannot be made.
    std::filesystem::create_directory(folder.File("blocked.png"));

    std::string out, err;
    EXPECT_EQ(RunPng({folder.File("broken.bmp"), folder.File("blocked.bmp"), folder.File("good.bmp")}, out, err), 1);
    EXPECT_NE(err.find("broken.bmp: Stream read error"), std::string::npos) << err;
    EXPECT_NE(err.find("Cannot create file " + folder.File("blocked.png")), std::string::npos) << err;
    EXPECT_EQ(out, folder.File("good.png") + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("broken.png")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("blocked.png")));
    EXPECT_TRUE(DecodeWithLibpng(ReadFileBytes(folder.File("good.png"))).Ok);
    // Nothing but the inputs, the folder in the way and the one good export.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 5);
}

} // namespace
