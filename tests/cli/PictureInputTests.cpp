// SPDX-License-Identifier: GPL-3.0-or-later
// tessimap-export with PNG and GIF inputs, written by libpng and giflib.

#include "../picture/TestFiles.h"
#include "../readers/ReaderTestFiles.h"
#include "BmpFile.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "PictureFile.h"
#include "PictureReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

int RunCli(const std::vector<std::string>& args, std::string* errors = nullptr) {
    std::ostringstream out, err;
    const int status = RunExport(ParseExportArguments(args), out, err);
    if (errors) *errors = err.str();
    return status;
}

TEST(PictureInputs, EveryModeTakesPngAndGifInputsAsTheEditorOpensThem) {
    const TTempFolder folder;
    std::vector<std::string> inputs;
    const struct {
        int ColorType, Depth;
        bool Interlaced;
    } pngs[] = {{PNG_COLOR_TYPE_PALETTE, 4, false},
                {PNG_COLOR_TYPE_GRAY, 16, true},
                {PNG_COLOR_TYPE_RGB_ALPHA, 8, false}};
    for (const auto& p : pngs) {
        TPngSpec spec;
        spec.ColorType = p.ColorType;
        spec.BitDepth = p.Depth;
        spec.Interlaced = p.Interlaced;
        if (p.ColorType == PNG_COLOR_TYPE_PALETTE)
            for (int i = 0; i < 16; ++i)
                spec.Palette.push_back({png_byte(i * 16), png_byte(i), png_byte(255 - i)});
        spec.FillRandom(unsigned(inputs.size() + 1));
        inputs.push_back(folder.File("in" + std::to_string(inputs.size()) + ".png"));
        ASSERT_TRUE(WritePngFile(inputs.back(), spec));
    }
    TGifSpec gif;
    gif.Colors = {{1, 2, 3}, {4, 5, 6}};
    gif.Pixels.assign(std::size_t(gif.Width * gif.Height), 1);
    inputs.push_back(folder.File("in.gif"));
    ASSERT_TRUE(WriteGifFile(inputs.back(), gif));

    for (const std::string& input : inputs) {
        SCOPED_TRACE(input);
        TReadReport report;
        const TBitmap opened = ReadPictureFile(input, clBlack, report);
        const std::string output = folder.File("out.bmp");
        ASSERT_EQ(RunCli({"--depth", "24", "--output", output, input}), 0);
        const TBitmap converted = LoadBitmapFromFile(output);
        ASSERT_EQ(converted.Width(), opened.Width());
        for (int y = 0; y < opened.Height(); ++y)
            for (int x = 0; x < opened.Width(); ++x)
                ASSERT_EQ(converted.Pixel(x, y), opened.Pixel(x, y));
        const bool isGif = input.ends_with(".gif");
        EXPECT_EQ(RunCli({isGif ? "--png" : "--gif", "--exact", input}), 0);
        EXPECT_TRUE(std::filesystem::exists(WithExtension(input, isGif ? ".png" : ".gif")));
    }
}

TEST(PictureInputs, ATruncatedPngFailsWithoutOutputAndPipesAndFoldersAreRefusedAtOnce) {
    const TTempFolder folder;
    TPngSpec spec;
    spec.Width = 300;
    spec.Height = 100;
    spec.FillRandom(4);
    const std::string cut = folder.File("cut.png");
    ASSERT_TRUE(WritePngFile(cut, spec));
    std::vector<std::uint8_t> bytes = ReadFileBytes(cut);
    bytes.resize(bytes.size() / 2);
    WriteFileBytes(cut, bytes);
    ASSERT_EQ(::mkfifo(folder.File("pipe.png").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.File("folder.png"));

    for (const std::string& input : {cut, folder.File("pipe.png"), folder.File("folder.png")}) {
        SCOPED_TRACE(input);
        std::string errors;
        EXPECT_EQ(RunCli({"--depth", "24", "--output", folder.File("out.bmp"), input}, &errors), 1);
        EXPECT_NE(errors.find(input), std::string::npos) << errors;
        EXPECT_EQ(RunCli({"--gif", input}), 1);
    }
    EXPECT_EQ(RunCli({"--depth", "8", "--output", folder.File("out.bmp"), cut}), 1);
    EXPECT_FALSE(std::filesystem::exists(folder.File("out.bmp")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("cut.gif")));
}

#if !defined(__SANITIZE_ADDRESS__)
// A 16384 x 16384 RGB PNG is 768 MiB of pixels; the program gets 64 MiB of address space.
TEST(PictureInputs, ALargePngIsExportedRowByRowInSixtyFourMebibytes) {
    constexpr int Side = 16384;
    const TTempFolder folder;
    const std::string big = folder.File("big.png");
    {
        std::FILE* file = std::fopen(big.c_str(), "wb");
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        ASSERT_FALSE(setjmp(png_jmpbuf(png)));
        png_init_io(png, file);
        png_set_compression_level(png, 1);
        png_set_IHDR(png, info, Side, Side, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row(std::size_t(Side) * 3);
        for (int y = 0; y < Side; ++y) {
            row[std::size_t(y) % row.size()] = png_byte(y);
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{64u << 20, 64u << 20};
        ::setrlimit(RLIMIT_AS, &limit);
        std::freopen("/dev/null", "w", stdout);
        const char* argv[] = {TESSIMAP_EXPORT, "--gif", big.c_str(), nullptr};
        ::execv(TESSIMAP_EXPORT, const_cast<char**>(argv));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(std::filesystem::exists(folder.File("big.gif")));
}
#endif

} // namespace
