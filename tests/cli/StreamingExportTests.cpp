// SPDX-License-Identifier: GPL-3.0-or-later
// tessimap-export reads uncompressed input a row at a time: its files are the editor's, byte for
// byte, and a file too large to hold is still exported within a small address space.

#include "../picture/TestFiles.h"
#include "BmpFile.h"
#include "BmpFileRows.h"
#include "ByteSink.h"
#include "Errors.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "GifExport.h"
#include "PictureFile.h"
#include "PngExport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int RunCommand(const std::vector<std::string>& args, std::string* err = nullptr) {
    std::ostringstream out, errors;
    const int status = RunExport(ParseExportArguments(args), out, errors);
    if (err) *err = errors.str();
    return status;
}

// Tiles of a few colours with noise across the middle rows, so that the colour table is packed
// from uneven counts and some rows compress differently from their neighbours.
TBitmap Picture(int width, int height, TPixelFormat format, bool topDown) {
    TBitmap p(width, height, TPixelFormat::pf24bit);
    std::mt19937 random(unsigned(width * 131 + height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool noisy = y > height / 3 && y < height / 2;
            p.SetPixel(x, y,
                       noisy ? TColor(random() & 0xFFFFFF)
                             : RGB(std::uint8_t((x / 4) * 60), std::uint8_t((y / 3) * 90), 200));
        }
    p.SetPixelFormat(format);
    p.FileLayout.TopDown = topDown;
    p.FileLayout.XPelsPerMeter = 2835;
    return p;
}

std::vector<std::uint8_t> InMemory(const std::string& input, const std::string& mode) {
    const TBitmap picture = OpenPictureForEditing(input);
    TMemorySink sink;
    if (mode == "--gif") {
        ExportGif(picture, sink);
    } else if (mode == "--png") {
        ExportPng(picture, sink);
    } else {
        TBitmap converted = picture;
        converted.SetPixelFormat(*PixelFormatOfBits(std::stoi(mode)));
        WriteBitmap(converted, sink);
    }
    return sink.Bytes;
}

TEST(StreamingExport, WritesTheBytesOfTheExportFromMemory) {
    TTempFolder folder;
    const std::vector<std::string> modes = {"--gif", "--png", "1", "4", "8", "16", "24"};
    for (const TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                      TPixelFormat::pf16bit, TPixelFormat::pf24bit})
        for (const int width : {1, 13, 70})
            for (const bool topDown : {false, true}) {
                const std::string name = "in" + std::to_string(BitsOfPixelFormat(format)) + "_" +
                                         std::to_string(width) + (topDown ? "td" : "bu");
                const std::string input = folder.File(name + ".bmp");
                SaveBitmapToFile(Picture(width, 29, format, topDown), input);
                for (const std::string& mode : modes) {
                    const bool depth = mode[0] != '-';
                    const std::string output = depth ? folder.File(name + "_" + mode + ".bmp")
                                                     : WithExtension(input, "." + mode.substr(2));
                    const auto args = depth ? std::vector<std::string>{"--depth", mode, "-o", output, input}
                                            : std::vector<std::string>{mode, input};
                    std::string err;
                    ASSERT_EQ(RunCommand(args, &err), 0) << name << " " << mode << ": " << err;
                    EXPECT_EQ(ReadFileBytes(output), InMemory(input, mode)) << name << " " << mode;
                }
            }
}

TEST(StreamingExport, InputWhoseRowsEndEarlyFailsNamingTheRowsAndWritesNothing) {
    TTempFolder folder;
    const std::string input = folder.File("cut.bmp");
    SaveBitmapToFile(Picture(10, 8, TPixelFormat::pf24bit, false), input);
    auto bytes = ReadFileBytes(input);
    bytes.resize(bytes.size() - 3 * 32 - 5); // three whole rows and part of a fourth are gone
    WriteFileBytes(input, bytes);

    for (const auto& args :
         {std::vector<std::string>{"--gif", input}, std::vector<std::string>{"--png", input},
          std::vector<std::string>{"--depth", "8", "-o", folder.File("out.bmp"), input}}) {
        std::string err;
        EXPECT_EQ(RunCommand(args, &err), 1) << args[0];
        EXPECT_NE(err.find(input + ": the pixel data ends after 4 of 8 rows"), std::string::npos) << err;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "only the input";
}

// The input loses its last rows after the header was read, as a file another program rewrites:
// the export fails halfway and the partial output goes with it.
TEST(StreamingExport, InputThatShrinksWhileReadFailsAndLeavesNoOutput) {
    TTempFolder folder;
    const std::string input = folder.File("big.bmp");
    for (const bool gif : {false, true}) {
        SaveBitmapToFile(Picture(600, 2000, TPixelFormat::pf24bit, true), input);
        const std::string output = folder.File(gif ? "big.gif" : "big.png");
        TBmpFileRows rows(input);
        ASSERT_EQ(rows.RowsInFile(), 2000);
        std::filesystem::resize_file(input, 54 + 1800 * 3 * 600);
        if (gif)
            EXPECT_THROW(ExportGifFile(rows, output), EReadError);
        else
            EXPECT_THROW(ExportPngFile(rows, output), EReadError);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1)
            << "only the input";
    }
}

#if defined(__SANITIZE_ADDRESS__)
#define TESSIMAP_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSIMAP_ASAN 1
#endif
#endif

// Runs the real program in a child whose address space is limited; returns its exit status.
[[maybe_unused]] int RunLimited(std::uint64_t addressSpace, const std::vector<std::string>& args) {
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{addressSpace, addressSpace};
        ::setrlimit(RLIMIT_AS, &limit);
        std::freopen("/dev/null", "w", stdout);
        std::vector<char*> argv{const_cast<char*>(TESSIMAP_EXPORT)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(TESSIMAP_EXPORT, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A 16384 x 16384 24-bit picture is 768 MiB; the program gets 128 MiB of address space. Held
// whole, as a run-length file of the same size must be, it cannot even be opened.
TEST(StreamingExport, APictureSixTimesTheAddressSpaceIsExportedWithinIt) {
#ifdef TESSIMAP_ASAN
    GTEST_SKIP() << "the sanitizer reserves terabytes of address space for itself";
#else
    constexpr int Side = 16384;
    constexpr std::uint64_t Limit = 128u << 20;
    TTempFolder folder;
    // The header of a 24-bit file, the rest left to the file system as a hole of zeros: the big
    // input costs no disk and no time to make.
    TBitmap corner(1, 1);
    TMemorySink header;
    WriteBitmap(corner, header);
    header.Bytes.resize(54);
    const auto setSize = [&](std::size_t at, std::int32_t value) {
        for (int i = 0; i < 4; ++i)
            header.Bytes[at + std::size_t(i)] = std::uint8_t(std::uint32_t(value) >> (8 * i));
    };
    setSize(18, Side);
    setSize(22, Side);
    setSize(34, 0); // image size: from the width and height
    const std::string big = folder.File("big.bmp");
    WriteFileBytes(big, header.Bytes);
    std::filesystem::resize_file(big, 54 + std::uint64_t(Side) * Side * 3);

    EXPECT_EQ(RunLimited(Limit, {"--png", big}), 0);
    EXPECT_EQ(RunLimited(Limit, {"--gif", big}), 0);
    EXPECT_EQ(RunLimited(Limit, {"--depth", "8", "-o", folder.File("small.bmp"), big}), 0);
    EXPECT_EQ(std::filesystem::file_size(folder.File("small.bmp")), 1078 + std::uint64_t(Side) * Side);

    // The same size run-length encoded: one end-of-picture code, decoded whole.
    auto rle = header.Bytes;
    rle[28] = 8;  // bits per pixel
    rle[30] = 1;  // run-length 8
    rle[46] = 1;  // one colour
    rle[10] = 58; // the pixels follow the one entry
    for (const std::uint8_t b : {0, 0, 0, 0, 0, 1})
        rle.push_back(b);
    const std::string packed = folder.File("packed.bmp");
    WriteFileBytes(packed, rle);
    EXPECT_EQ(RunLimited(Limit, {"--png", packed}), 1) << "the limit is low enough to matter";
#endif
}

} // namespace
