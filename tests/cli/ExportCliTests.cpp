// SPDX-License-Identifier: GPL-3.0-or-later
// tessimap-export: the arguments, and the depth conversion run on real files.

#include "../picture/TestFiles.h"
#include "BmpFile.h"
#include "ExportArguments.h"
#include "ExportCommands.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(ExportArguments, RefusesWhatIsNotACommandWithAMessage) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"--depth", "eight", "--output", "o.bmp", "i.bmp"},
        {"--depth", "12", "--output", "o.bmp", "i.bmp"},
        {"--depth", "8", "i.bmp"},
        {"--depth", "8", "--output", "o.bmp", "a.bmp", "b.bmp"},
        {"--gif", "--png", "a.bmp"},
        {"--gif"},
        {"--frobnicate", "a.bmp"},
        {"--depth"},
        {"--exact", "--depth", "4", "--output", "o.bmp", "i.bmp"},
    };
    for (const auto& args : wrong)
        EXPECT_THROW(ParseExportArguments(args), std::invalid_argument);
    try {
        ParseExportArguments({"--depth", "eight", "--output", "o.bmp", "i.bmp"});
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("number"), std::string::npos);
    }
}

TEST(ExportCommand, ConvertsThirtyTwoBitInputToTheAskedDepth) {
    TTempFolder folder;
    TBitmap picture(4, 2, TPixelFormat::pf24bit);
    picture.SetPixel(0, 0, RGB(250, 0, 0));
    picture.SetPixelFormat(TPixelFormat::pf16bit);
    SaveBitmapToFile(picture, folder.File("in.bmp"));

    std::ostringstream out, err;
    const auto args =
        ParseExportArguments({"--depth", "4", "--output", folder.File("out.bmp"), folder.File("in.bmp")});
    EXPECT_EQ(RunExport(args, out, err), 0) << err.str();
    const TBitmap back = LoadBitmapFromFile(folder.File("out.bmp"));
    EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(back.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_NE(out.str().find("out.bmp"), std::string::npos);
}

TEST(ExportCommand, ABrokenInputFailsNamingTheFileAndWritesNothing) {
    TTempFolder folder;
    WriteFileBytes(folder.File("broken.bmp"), {'B', 'M', 1, 2, 3});
    std::ostringstream out, err;
    const auto args =
        ParseExportArguments({"--depth", "8", "--output", folder.File("out.bmp"), folder.File("broken.bmp")});
    EXPECT_EQ(RunExport(args, out, err), 1);
    EXPECT_NE(err.str().find("broken.bmp"), std::string::npos);
    EXPECT_NE(err.str().find("Stream read error"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.File("out.bmp")));
}

// A picture stored as map.png would be replaced by its own export: that file is refused and
// named, the others are exported; a depth conversion onto its own input is what was asked.
TEST(ExportCommand, AnExportNeverReplacesItsInput) {
    TTempFolder folder;
    TBitmap picture(3, 2, TPixelFormat::pf24bit);
    picture.SetPixel(1, 1, RGB(200, 10, 10));
    for (const char* name : {"map.png", "map.gif", "tiles.bmp"})
        SaveBitmapToFile(picture, folder.File(name));
    const auto stored = ReadFileBytes(folder.File("map.png"));

    for (const auto& [mode, name] : {std::pair{"--png", "map.png"}, std::pair{"--gif", "map.gif"}}) {
        std::ostringstream out, err;
        const std::string own = folder.File(name);
        const auto args = ParseExportArguments({mode, own, folder.File("tiles.bmp")});
        EXPECT_EQ(RunExport(args, out, err), 1) << mode;
        EXPECT_NE(err.str().find(own), std::string::npos) << err.str();
        EXPECT_EQ(ReadFileBytes(own)[0], 'B') << mode << ": still the picture file";
        EXPECT_EQ(out.str().find(own), std::string::npos);
        EXPECT_NE(out.str().find("tiles."), std::string::npos) << "the other input is still exported";
    }
    EXPECT_EQ(ReadFileBytes(folder.File("map.png")), stored);

    std::ostringstream out, err;
    const auto args =
        ParseExportArguments({"--depth", "8", "--output", folder.File("map.png"), folder.File("map.png")});
    EXPECT_EQ(RunExport(args, out, err), 0) << err.str();
    EXPECT_EQ(LoadBitmapFromFile(folder.File("map.png")).PixelFormat(), TPixelFormat::pf8bit);
}

// Runs the real program; an alarm stops it should it wait for ever. Its exit status, or -1 when
// it was stopped, and what it wrote to the error stream.
std::pair<int, std::string> RunProgram(const std::vector<std::string>& args, const std::string& errFile) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(10);
        std::freopen("/dev/null", "w", stdout);
        std::freopen(errFile.c_str(), "w", stderr);
        std::vector<char*> argv{const_cast<char*>(TESSIMAP_EXPORT)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(TESSIMAP_EXPORT, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::vector<std::uint8_t> err = ReadFileBytes(errFile);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(err.begin(), err.end())};
}

// A named pipe given as a picture would hold the program until something wrote to it.
TEST(ExportCommand, AnInputThatIsNotARegularFileFailsAtOnceSayingWhatItIs) {
    TTempFolder folder;
    const std::string pipe = folder.File("pipe.bmp"), sub = folder.File("folder.bmp");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directory(sub);
    for (const auto& [input, reason] :
         {std::pair{pipe, "it is a named pipe"}, std::pair{sub, "it is a folder"}}) {
        const auto [status, err] = RunProgram({"--png", input}, folder.File("err.txt"));
        EXPECT_EQ(status, 1) << input;
        EXPECT_NE(err.find(input + ": " + reason), std::string::npos) << err;
    }
}

} // namespace
