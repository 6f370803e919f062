// tessimap-export --gif on real files.

#include "BmpFile.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "GifTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

TBitmap Picture(int width, int height, TColor a, TColor b) {
    TBitmap picture(width, height, TPixelFormat::pf24bit);
    picture.Brush.Color = a;
    picture.FillRect(Bounds(0, 0, width, height));
    picture.Brush.Color = b;
    picture.FillRect(Bounds(0, 0, width / 2, height / 2));
    return picture;
}

int RunGifExport(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::ostringstream o, e;
    const int status = RunExport(ParseExportArguments(args), o, e);
    out = o.str();
    err = e.str();
    return status;
}

TEST(ExportGifCommand, WritesAGifBesideEachInputWithTheExtensionReplaced) {
    TTempFolder folder;
    SaveBitmapToFile(Picture(30, 20, RGB(255, 255, 255), RGB(0, 0, 0)), folder.File("level1.v2.bmp"));
    SaveBitmapToFile(Picture(7, 9, RGB(0, 0, 0), RGB(255, 0, 0)), folder.File("map.bitmap"));
    std::string out, err;
    ASSERT_EQ(RunGifExport({"--gif", folder.File("level1.v2.bmp"), folder.File("map.bitmap")}, out, err), 0)
        << err;
    EXPECT_EQ(out, folder.File("level1.v2.gif") + "\n" + folder.File("map.gif") + "\n");

    const TDecodedGif first = DecodeGif(ReadFileBytes(folder.File("level1.v2.gif")));
    EXPECT_EQ(first.Width, 30);
    EXPECT_EQ(first.Height, 20);
    // 600 pixels, 150 of them black: white first.
    EXPECT_EQ(first.GlobalColors, (std::vector<TGIFColor>{{255, 255, 255}, {0, 0, 0}}));
    EXPECT_EQ(first.Indices[0], 1);
    EXPECT_EQ(first.Indices.back(), 0);
    const TDecodedGif second = DecodeGif(ReadFileBytes(folder.File("map.gif")));
    EXPECT_EQ(second.Width, 7);
    EXPECT_EQ(second.Height, 9);
}

TEST(ExportGifCommand, AFailureNamesTheFileLeavesNoPartialFileAndTheOthersAreStillWritten) {
    TTempFolder folder;
    WriteFileBytes(folder.File("broken.bmp"), {'B', 'M', 1, 2, 3});
    SaveBitmapToFile(Picture(65536, 1, RGB(1, 2, 3), RGB(4, 5, 6)), folder.File("wide.bmp"));
    WriteFileBytes(folder.File("wide.gif"), {'o', 'l', 'd'});
    SaveBitmapToFile(Picture(4, 4, RGB(0, 0, 255), RGB(0, 0, 0)), folder.File("good.bmp"));
    std::string out, err;
    EXPECT_EQ(
        RunGifExport({"--gif", folder.File("broken.bmp"), folder.File("wide.bmp"), folder.File("good.bmp")},
                     out, err),
        1);
    EXPECT_NE(err.find("broken.bmp"), std::string::npos);
    EXPECT_NE(err.find("wide.bmp"), std::string::npos);
    EXPECT_NE(err.find("65535"), std::string::npos);
    EXPECT_EQ(out, folder.File("good.gif") + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("broken.gif")));
    // The earlier file survives a refused export, and no temporary file is left beside it.
    EXPECT_EQ(ReadFileBytes(folder.File("wide.gif")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 5); // the three inputs, the old wide.gif, good.gif
}

TEST(ExportGifCommand, ATargetThatCannotBeReplacedIsReportedAsCannotCreate) {
    TTempFolder folder;
    SaveBitmapToFile(Picture(4, 4, RGB(0, 0, 255), RGB(0, 0, 0)), folder.File("in.bmp"));
    std::filesystem::create_directory(folder.File("in.gif"));
    std::string out, err;
    EXPECT_EQ(RunGifExport({"--gif", folder.File("in.bmp")}, out, err), 1);
    EXPECT_NE(err.find("Cannot create file " + folder.File("in.gif")), std::string::npos) << err;
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("in.gif")));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 2);
}

} // namespace
