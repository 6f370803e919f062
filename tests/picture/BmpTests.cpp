// SPDX-License-Identifier: GPL-3.0-or-later
// The BMP file: the layout every colour depth saves, what opening accepts, and malformed files.

#include "BmpFile.h"
#include "BmpFileRows.h"
#include "BmpTestBytes.h"
#include "ByteSink.h"
#include "ByteSource.h"
#include "Errors.h"
#include "Palettes.h"
#include "PictureFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// A picture with a different colour in every pixel position pattern, at the given depth.
TBitmap Sample(int width, int height, TPixelFormat format) {
    TBitmap bitmap(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y,
                            RGB(std::uint8_t(x * 40), std::uint8_t(y * 60), std::uint8_t((x + y) * 25)));
    bitmap.SetPixelFormat(format);
    return bitmap;
}

struct TLayoutCase {
    TPixelFormat Format;
    int Bits;
    std::uint32_t Compression;
    std::uint32_t Entries;
    std::uint32_t Offset;
};

class SavedLayout : public testing::TestWithParam<TLayoutCase> {};

TEST_P(SavedLayout, HeaderFieldsOffsetsAndRowPaddingMatchTheColourDepth) {
    const TLayoutCase c = GetParam();
    const TBitmap picture = Sample(5, 3, c.Format);
    const auto file = Encode(picture);
    const std::uint32_t rowBytes = (5 * std::uint32_t(c.Bits) + 31) / 32 * 4;

    ASSERT_EQ(file.size(), c.Offset + rowBytes * 3);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), file.size());
    EXPECT_EQ(Le32(file, 6), 0u);
    EXPECT_EQ(Le32(file, 10), c.Offset);
    EXPECT_EQ(Le32(file, 14), 40u);
    EXPECT_EQ(Le32(file, 18), 5u);
    EXPECT_EQ(Le32(file, 22), 3u) << "positive height: bottom row first";
    EXPECT_EQ(Le16(file, 26), 1);
    EXPECT_EQ(Le16(file, 28), c.Bits);
    EXPECT_EQ(Le32(file, 30), c.Compression);
    EXPECT_EQ(Le32(file, 34), rowBytes * 3);
    EXPECT_EQ(Le32(file, 38), 0u);
    EXPECT_EQ(Le32(file, 42), 0u);
    EXPECT_EQ(Le32(file, 46), c.Entries);
    EXPECT_EQ(Le32(file, 50), 0u);
    if (c.Compression == 3) {
        EXPECT_EQ(Le32(file, 54), 0xF800u);
        EXPECT_EQ(Le32(file, 58), 0x07E0u);
        EXPECT_EQ(Le32(file, 62), 0x001Fu);
    }
    // Padding bytes at the end of every row are zero.
    const std::uint32_t used = (5 * std::uint32_t(c.Bits) + 7) / 8;
    for (int row = 0; row < 3; ++row)
        for (std::uint32_t i = used; i < rowBytes; ++i)
            EXPECT_EQ(file[c.Offset + row * rowBytes + i], 0) << row;
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, SavedLayout,
                         testing::Values(TLayoutCase{TPixelFormat::pf24bit, 24, 0, 0, 54},
                                         TLayoutCase{TPixelFormat::pf16bit, 16, 3, 0, 66},
                                         TLayoutCase{TPixelFormat::pf8bit, 8, 0, 256, 1078},
                                         TLayoutCase{TPixelFormat::pf4bit, 4, 0, 16, 118},
                                         TLayoutCase{TPixelFormat::pf1bit, 1, 0, 2, 62}));

TEST(BmpSave, ThreeByTwoTwentyFourBitPictureIsSeventyEightBytesBottomRowFirst) {
    TBitmap picture(3, 2, TPixelFormat::pf24bit);
    picture.SetPixel(0, 0, RGB(1, 2, 3));    // top-left
    picture.SetPixel(0, 1, RGB(10, 20, 30)); // bottom-left
    const auto file = Encode(picture);
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(Le32(file, 10), 54u);
    // The first stored row is the bottom one, blue first.
    EXPECT_EQ(file[54], 30);
    EXPECT_EQ(file[55], 20);
    EXPECT_EQ(file[56], 10);
    EXPECT_EQ(file[54 + 12], 3);
    EXPECT_EQ(file[54 + 12 + 2], 1);
}

TEST(BmpSave, ColourTablesAreTheFixedTablesOfEachPaletteDepth) {
    const auto eight = Encode(Sample(2, 2, TPixelFormat::pf8bit));
    const auto& halftone = HalftonePalette();
    for (std::size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(eight[54 + 4 * i], halftone[i].Blue);
        EXPECT_EQ(eight[54 + 4 * i + 1], halftone[i].Green);
        EXPECT_EQ(eight[54 + 4 * i + 2], halftone[i].Red);
        EXPECT_EQ(eight[54 + 4 * i + 3], 0);
    }
    const auto four = Encode(Sample(2, 2, TPixelFormat::pf4bit));
    EXPECT_EQ(Le32(four, 54 + 4 * 1), 0x00800000u) << "entry 1 is red 128, stored blue-green-red";
    EXPECT_EQ(Le32(four, 54 + 4 * 8), 0x00C0C0C0u);
    EXPECT_EQ(Le32(four, 54 + 4 * 12), 0x000000FFu) << "entry 12 is blue 255";
    const auto one = Encode(Sample(2, 2, TPixelFormat::pf1bit));
    EXPECT_EQ(Le32(one, 54), 0x00000000u);
    EXPECT_EQ(Le32(one, 58), 0x00FFFFFFu);
}

TEST(BmpSave, PaletteDepthConvertedToDirectColourCarriesItsTableIntoTheFile) {
    TBitmap picture = Sample(4, 2, TPixelFormat::pf4bit);
    picture.SetPixelFormat(TPixelFormat::pf24bit);
    const auto file24 = Encode(picture);
    EXPECT_EQ(Le32(file24, 10), 54u + 4 * 16);
    EXPECT_EQ(Le32(file24, 46), 16u);
    picture.SetPixelFormat(TPixelFormat::pf16bit);
    const auto file16 = Encode(picture);
    EXPECT_EQ(Le32(file16, 10), 66u + 4 * 16);
    EXPECT_EQ(Decode(file16).ColorTable().size(), 16u);
}

TEST(BmpSave, BitmapWithoutPixelsSavesAnEmptyFileAndAnEmptyFileOpensEmpty) {
    EXPECT_TRUE(Encode(TBitmap()).empty());
    EXPECT_TRUE(Decode({}).Empty());
}

class RoundTrip : public testing::TestWithParam<TPixelFormat> {};

TEST_P(RoundTrip, EveryPixelComesBackAtEveryDepth) {
    for (int width : {1, 3, 8, 33}) {
        const TBitmap picture = Sample(width, 5, GetParam());
        const TBitmap back = Decode(Encode(picture));
        ASSERT_EQ(back.PixelFormat(), GetParam());
        ASSERT_EQ(back.Width(), width);
        ASSERT_EQ(back.Height(), 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(back.Pixel(x, y), picture.Pixel(x, y)) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, RoundTrip,
                         testing::Values(TPixelFormat::pf24bit, TPixelFormat::pf16bit, TPixelFormat::pf8bit,
                                         TPixelFormat::pf4bit, TPixelFormat::pf1bit));

TEST(BmpOpen, CoreHeaderFileOpensAndSavesAgainInItsOwnLayout) {
    TBytes f;
    f.fileHeader(14 + 12 + 6).u32(12).u16(2).u16(2).u16(1).u16(1);
    f.u8(0).u8(0).u8(255);        // entry 0: red
    f.u8(255).u8(0).u8(0);        // entry 1: blue
    f.u8(0x40).u8(0).u8(0).u8(0); // bottom row: 0 1
    f.u8(0x80).u8(0).u8(0).u8(0); // top row: 1 0
    const TBitmap picture = Decode(f.b);
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::pf1bit);
    EXPECT_EQ(picture.Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(picture.Pixel(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(picture.Pixel(1, 1), RGB(0, 0, 255));

    TBitmap changed = picture;
    changed.SetPixelFormat(TPixelFormat::pf8bit);
    const auto saved = Encode(changed);
    EXPECT_EQ(Le32(saved, 14), 12u);
    EXPECT_EQ(Le32(saved, 10), 14u + 12 + 3 * 256);
    EXPECT_EQ(saved.size(), 14u + 12 + 3 * 256 + 4 * 2);
    const TBitmap again = Decode(saved);
    EXPECT_EQ(again.Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_TRUE(again.FileLayout.CoreHeader);
}

// A writer that stores only the colours an 8-bit picture uses says so by where its pixels
// begin: 4 entries of 3 bytes, then the pixels. Taking 256 entries would swallow the pixels.
TEST(BmpOpen, CoreHeaderFileWithAShortTableReadsThePixelsWhereTheOffsetPuts) {
    TBytes f;
    f.fileHeader(14 + 12 + 4 * 3).u32(12).u16(3).u16(2).u16(1).u16(8);
    f.u8(0).u8(0).u8(0).u8(0).u8(0).u8(255).u8(0).u8(255).u8(0).u8(255).u8(0).u8(0); // black red green blue
    f.u8(1).u8(2).u8(3).u8(0); // bottom row: red green blue
    f.u8(3).u8(3).u8(1).u8(0); // top row: blue blue red
    const TColor red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
    const std::vector<TColor> expected = {blue, blue, red, red, green, blue};

    TTempFolder folder;
    WriteFileBytes(folder.File("short.bmp"), f.b);
    TBmpFileRows rows(folder.File("short.bmp"));
    for (const TBitmap& picture : {Decode(f.b), OpenPictureForEditing(folder.File("short.bmp"))}) {
        EXPECT_EQ(picture.ColorTable().size(), 4u);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(picture.Pixel(i % 3, i / 3), expected[std::size_t(i)]) << i;
    }
    ASSERT_TRUE(rows.Streamable());
    rows.Rewind(TRowOrder::TopFirst);
    EXPECT_EQ(rows.NextRow()[0], 3) << "the row read from the file is the same top row";
    EXPECT_EQ(rows.ColorTable().size(), 4u);
}

TEST(BmpOpen, FilesThatReadAsThirtyTwoBitsBecomeTwentyFourBitPicturesWithTheirColours) {
    TTempFolder folder;
    // 5-5-5 without masks: pure red and a mid grey.
    TBytes fifteen;
    fifteen.fileHeader().info(2, 1, 16).u16(0x7C00).u16(0x4210);
    // 32 bits, compression 0, blue-green-red-x.
    TBytes thirtyTwo;
    thirtyTwo.fileHeader().info(1, 1, 32).u8(1).u8(2).u8(3).u8(0);
    // Run-length 8 bits: a run of 3 of entry 1 (green).
    TBytes rle;
    rle.fileHeader().info(3, 1, 8, 1, 2).u32(0).u32(0x0000FF00).u8(3).u8(1).u8(0).u8(1);

    const TBitmap fromFifteen = Decode(fifteen.b);
    EXPECT_EQ(BitsOfPixelFormat(fromFifteen.PixelFormat()), 32);
    WriteFileBytes(folder.File("a.bmp"), fifteen.b);
    const TBitmap a = OpenPictureForEditing(folder.File("a.bmp"));
    EXPECT_EQ(a.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(a.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(a.Pixel(1, 0), RGB(132, 132, 132));

    WriteFileBytes(folder.File("b.bmp"), thirtyTwo.b);
    const TBitmap b = OpenPictureForEditing(folder.File("b.bmp"));
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(b.Pixel(0, 0), RGB(3, 2, 1));

    WriteFileBytes(folder.File("c.bmp"), rle.b);
    const TBitmap c = OpenPictureForEditing(folder.File("c.bmp"));
    EXPECT_EQ(c.PixelFormat(), TPixelFormat::pf24bit);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(c.Pixel(x, 0), RGB(0, 255, 0));
}

TEST(BmpOpen, RunLengthFourBitWithAbsoluteRunAndJump) {
    TBytes f;
    f.fileHeader().info(4, 2, 4, 2, 3).u32(0).u32(0x00FF0000).u32(0x000000FF); // black, red, blue
    // Bottom row: absolute run of 3 nibbles 1 2 1, then end of line.
    f.u8(0).u8(3).u8(0x12).u8(0x10).u8(0).u8(0);
    // Top row: jump right by 2, a run of 2 alternating 2 and 1, end of bitmap.
    f.u8(0).u8(2).u8(2).u8(0).u8(2).u8(0x21).u8(0).u8(1);
    const TBitmap p = Decode(f.b);
    const TColor red = RGB(255, 0, 0), blue = RGB(0, 0, 255), zero = 0;
    EXPECT_EQ(p.Pixel(0, 1), red);
    EXPECT_EQ(p.Pixel(1, 1), blue);
    EXPECT_EQ(p.Pixel(2, 1), red);
    EXPECT_EQ(p.Pixel(3, 1), zero);
    EXPECT_EQ(p.Pixel(0, 0), zero);
    EXPECT_EQ(p.Pixel(2, 0), blue);
    EXPECT_EQ(p.Pixel(3, 0), red);
}

TEST(BmpOpen, ShortColourTableTopDownRowsAndMissingPixelsStayZero) {
    TBytes f;
    // 8 bits with only 2 colours, top-down, declaring 2 rows but holding one.
    f.fileHeader().info(2, -2, 8, 0, 2).u32(0x00112233).u32(0x00445566);
    f.u8(1).u8(0).u8(0).u8(0);
    const TBitmap p = Decode(f.b);
    ASSERT_EQ(p.Height(), 2);
    EXPECT_EQ(p.ColorTable().size(), 2u);
    EXPECT_EQ(p.Pixel(0, 0), RGB(0x44, 0x55, 0x66)) << "first stored row is the top one";
    EXPECT_EQ(p.Pixel(1, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(p.PixelValue(0, 1), 0u) << "rows the file lacks stay zero";
    EXPECT_TRUE(p.FileLayout.TopDown);
    // Saved again, it keeps its row order and its two entries.
    const auto saved = Encode(p);
    EXPECT_EQ(std::int32_t(Le32(saved, 22)), -2);
    EXPECT_EQ(Le32(saved, 46), 2u);
    EXPECT_EQ(saved[Le32(saved, 10)], 1);
}

TEST(BmpOpen, PixelsAreTakenFromTheOffsetTheHeaderGives) {
    TBytes f;
    f.fileHeader(54 + 4).info(1, 1, 24).u32(0xDEADBEEF).u8(9).u8(8).u8(7).u8(0);
    EXPECT_EQ(Decode(f.b).Pixel(0, 0), RGB(7, 8, 9));
}

struct TMalformed {
    const char* Name;
    std::vector<std::uint8_t> Bytes;
    const char* Message;
};

std::vector<TMalformed> MalformedFiles() {
    std::vector<TMalformed> cases;
    cases.push_back(
        {"NotBM", TBytes().u8('P').u8('K').u32(0).u32(0).u32(0).u32(40).b, "Bitmap image is not valid"});
    cases.push_back({"TextFile", TBytes().u8('h').u8('i').b, "Bitmap image is not valid"});
    cases.push_back({"TruncatedFileHeader", TBytes().u8('B').u8('M').u32(0).b, "Stream read error"});
    cases.push_back({"TruncatedInfoHeader", TBytes().fileHeader().u32(40).u32(1).b, "Stream read error"});
    cases.push_back({"TwoPlanes",
                     TBytes()
                         .fileHeader()
                         .u32(40)
                         .u32(1)
                         .u32(1)
                         .u16(2)
                         .u16(24)
                         .u32(0)
                         .u32(0)
                         .u32(0)
                         .u32(0)
                         .u32(0)
                         .u32(0)
                         .b,
                     "Bitmap image is not valid"});
    cases.push_back({"SevenBits", TBytes().fileHeader().info(1, 1, 7).b, "Bitmap image is not valid"});
    cases.push_back(
        {"JpegCompression", TBytes().fileHeader().info(1, 1, 24, 4).b, "Bitmap image is not valid"});
    cases.push_back({"ZeroWidth", TBytes().fileHeader().info(0, 1, 24).b, "Bitmap image is not valid"});
    cases.push_back(
        {"TruncatedColourTable", TBytes().fileHeader().info(1, 1, 8).u32(0).u32(0).b, "Stream read error"});
    cases.push_back(
        {"HugeColourCount", TBytes().fileHeader().info(1, 1, 8, 0, 0x40000000).b, "Stream read error"});
    cases.push_back(
        {"TruncatedMasks", TBytes().fileHeader().info(1, 1, 16, 3).u32(0xF800).b, "Stream read error"});
    return cases;
}

void PrintTo(const TMalformed& m, std::ostream* os) {
    *os << m.Name;
}

class Malformed : public testing::TestWithParam<TMalformed> {};

TEST_P(Malformed, FailsWithTheMessageAndTouchesNothingOutsideItsBuffers) {
    try {
        Decode(GetParam().Bytes);
        FAIL() << "no error";
    } catch (const EPictureError& e) {
        EXPECT_STREQ(e.what(), GetParam().Message);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Malformed, testing::ValuesIn(MalformedFiles()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BmpFiles, MissingFileAndUncreatableFileNameThePath) {
    try {
        LoadBitmapFromFile("/nonexistent-folder/picture.bmp");
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file /nonexistent-folder/picture.bmp");
    }
    try {
        SaveBitmapToFile(TBitmap(2, 2), "/nonexistent-folder/picture.bmp");
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_STREQ(e.what(), "Cannot create file /nonexistent-folder/picture.bmp");
    }
}

TEST(BmpFiles, FailedSaveOnAFullDeviceKeepsTheEarlierFileAndLeavesNoTemporary) {
    TTempFolder folder;
    const std::string path = folder.File("map.bmp");
    SaveBitmapToFile(TBitmap(4, 4), path);
    const auto before = ReadFileBytes(path);

    // A file-size limit makes the device refuse bytes the way a full disk does.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveBitmapToFile(TBitmap(200, 200), path), EWriteError);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(BmpFiles, SavedFileReplacesTheOldOneAndReadsBack) {
    TTempFolder folder;
    const std::string path = folder.File("map.bmp");
    SaveBitmapToFile(Sample(7, 3, TPixelFormat::pf8bit), path);
    const TBitmap picture = Sample(9, 4, TPixelFormat::pf4bit);
    SaveBitmapToFile(picture, path);
    const TBitmap back = LoadBitmapFromFile(path);
    ASSERT_EQ(back.Width(), 9);
    EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(back.Pixel(8, 3), picture.Pixel(8, 3));
}

} // namespace
