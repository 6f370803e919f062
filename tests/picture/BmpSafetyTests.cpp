// SPDX-License-Identifier: GPL-3.0-or-later
// The BMP reader and writer against hostile and unusual files: run-length rows that run into
// their padding, headers whose sizes do not fit, headers without their rows, size fields that
// understate the rows, names that are not regular files, the core header's limits, and saving
// through symbolic links.

#include "BmpFileRows.h"
#include "BmpTestBytes.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "PictureFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t RLE8 = 1, RLE4 = 2;

// Requests above the ceiling fail for the life of the scope, whatever memory the machine has.
class TMemoryCeiling {
  public:
    explicit TMemoryCeiling(std::uint64_t bytes) {
        MemoryGuardHook::Reset();
        MemoryGuardHook::SetCeiling(bytes);
    }
    ~TMemoryCeiling() { MemoryGuardHook::Reset(); }
};

// Four colours: 0 black, 1 red, 2 green, 3 blue; the rest of a 16-entry table stays black.
TBytes& FourColours(TBytes& f, int entries) {
    f.u32(0).u32(0x00FF0000).u32(0x0000FF00).u32(0x000000FF);
    for (int i = 4; i < entries; ++i)
        f.u32(0);
    return f;
}

constexpr TColor Black = 0, Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000;

void ExpectRow(const TBitmap& p, int y, std::vector<TColor> colours) {
    for (int x = 0; x < int(colours.size()); ++x)
        EXPECT_EQ(p.Pixel(x, y), colours[std::size_t(x)]) << x << "," << y;
}

} // namespace

// Writers that encode whole padded rows: width 3 stores 4 bytes (RLE8) or 8 nibbles (RLE4) a row.
TEST(BmpRunLength, RunsIntoTheRowPaddingOpenWithThePixelsOfTheRow) {
    TBytes rle8;
    FourColours(rle8.fileHeader().info(3, 2, 8, RLE8, 4), 4);
    rle8.u8(4).u8(1).u8(0).u8(0);                         // bottom row: a run of 4 red
    rle8.u8(0).u8(4).u8(2).u8(3).u8(2).u8(1).u8(0).u8(1); // top row: absolute green blue green red
    const TBitmap p8 = Decode(rle8.b);
    ExpectRow(p8, 1, {Red, Red, Red});
    ExpectRow(p8, 0, {Green, Blue, Green});

    TBytes rle4;
    FourColours(rle4.fileHeader().info(3, 2, 4, RLE4, 16), 16);
    rle4.u8(8).u8(0x12).u8(0).u8(0);                                  // bottom: 8 nibbles red green ...
    rle4.u8(0).u8(8).u8(0x31).u8(0x23).u8(0x10).u8(0x00).u8(0).u8(1); // top: absolute 3 1 2 3 1 0 0 0
    const TBitmap p4 = Decode(rle4.b);
    ExpectRow(p4, 1, {Red, Green, Red});
    ExpectRow(p4, 0, {Blue, Red, Green});
}

TEST(BmpRunLength, PixelsPastThePictureEndTheReadingAndKeepWhatWasRead) {
    // A run into a row past the last one.
    TBytes pastLastRow;
    FourColours(pastLastRow.fileHeader().info(2, 1, 8, RLE8, 4), 4);
    pastLastRow.u8(2).u8(3).u8(0).u8(0).u8(2).u8(1);
    ExpectRow(Decode(pastLastRow.b), 0, {Blue, Blue});

    // A jump to the right of the picture ends it; what came before stays.
    TBytes jumpOut;
    FourColours(jumpOut.fileHeader().info(3, 2, 8, RLE8, 4), 4);
    jumpOut.u8(1).u8(2).u8(0).u8(2).u8(9).u8(0).u8(1).u8(1);
    const TBitmap p = Decode(jumpOut.b);
    ExpectRow(p, 1, {Green, Black, Black});

    // An absolute run cut short by the end of the file keeps the pixels before it.
    TBytes cut;
    FourColours(cut.fileHeader().info(4, 1, 8, RLE8, 4), 4);
    cut.u8(1).u8(1).u8(0).u8(5).u8(3);
    ExpectRow(Decode(cut.b), 0, {Red, Blue, Black, Black});
}

// The 66-byte file that declares 60000 x 60000 pixels: decoding asks for the picture and for
// nothing else, so a ceiling below the picture's size refuses it at that one request.
TEST(BmpRunLength, DecodingNeedsNoBufferBeyondThePicture) {
    TBytes f;
    f.fileHeader().info(60000, 60000, 8, RLE8, 1).u32(0x00FF0000);
    f.u8(255).u8(0).u8(255).u8(0).u8(0).u8(0).u8(0).u8(1);
    ASSERT_EQ(f.b.size(), 66u);
    {
        const TMemoryCeiling ceiling(std::uint64_t(1) << 30);
        EXPECT_THROW(Decode(f.b), EOutOfMemory);
        EXPECT_EQ(MemoryGuardHook::Requests(), 1u);
    }
    // A smaller one decodes with a single request, so no index buffer sits beside the picture.
    TBytes small;
    FourColours(small.fileHeader().info(600, 400, 8, RLE8, 4), 4);
    small.u8(200).u8(1).u8(0).u8(1);
    const TMemoryCeiling ceiling(600u * 400u * 4u);
    const TBitmap p = Decode(small.b);
    EXPECT_EQ(MemoryGuardHook::Requests(), 1u);
    EXPECT_EQ(p.Pixel(199, 399), Red);
    EXPECT_EQ(p.Pixel(200, 399), Black);
}

// The editor holds it at 24 bits: opened for editing, it is decoded into that bitmap alone, with
// no 32-bit picture before it.
TEST(BmpRunLength, OpensForEditingIntoOneTwentyFourBitBitmap) {
    TBytes small;
    FourColours(small.fileHeader().info(600, 400, 8, RLE8, 4), 4);
    small.u8(200).u8(1).u8(0).u8(1);
    TTempFolder folder;
    WriteFileBytes(folder.File("small.bmp"), small.b);
    const TMemoryCeiling ceiling(std::uint64_t(RowBytesFor(600, 24)) * 400);
    const TBitmap p = OpenPictureForEditing(folder.File("small.bmp"));
    EXPECT_EQ(p.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(MemoryGuardHook::Requests(), 1u);
    EXPECT_EQ(p.Pixel(199, 399), Red);
    EXPECT_EQ(p.Pixel(200, 399), Black);
}

struct TBadHeader {
    const char* Name;
    std::int32_t Width;
    std::int32_t Height;
    int Bits;
    std::uint32_t Compression;
};

void PrintTo(const TBadHeader& c, std::ostream* os) {
    *os << c.Name;
}

class BmpBadHeader : public testing::TestWithParam<TBadHeader> {};

// Every allocation fails here: a header refused as invalid was refused before asking for any.
TEST_P(BmpBadHeader, IsRefusedAsInvalidBeforeAnythingIsAllocated) {
    const TBadHeader c = GetParam();
    TBytes f;
    f.fileHeader().info(c.Width, c.Height, c.Bits, c.Compression, c.Bits <= 8 ? 1 : 0);
    if (c.Bits <= 8) f.u32(0);
    f.u32(0).u32(0);
    const TForcedOutOfMemory nothingAllocates;
    try {
        Decode(f.b);
        FAIL() << "accepted";
    } catch (const EOutOfMemory&) {
        FAIL() << "an allocation was tried";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BmpBadHeader,
                         testing::Values(TBadHeader{"BothNear2To31", INT_MAX, INT_MAX, 24, 0},
                                         TBadHeader{"BothNear2To31OneBit", INT_MAX, INT_MAX - 1, 1, 0},
                                         TBadHeader{"TopDownNear2To31", INT_MAX, -INT_MAX, 32, 0},
                                         TBadHeader{"RunLengthNear2To31", INT_MAX, INT_MAX, 8, RLE8},
                                         TBadHeader{"MaskedRowsOverflow", 0x40000000, 0x40000000, 16, 0},
                                         TBadHeader{"MostNegativeHeight", 16, INT_MIN, 24, 0},
                                         TBadHeader{"NegativeWidth", -5, 5, 24, 0},
                                         TBadHeader{"WidthPast2To31", INT_MIN, 1, 24, 0},
                                         TBadHeader{"ZeroHeight", 5, 0, 24, 0},
                                         TBadHeader{"ZeroWidth", 0, 5, 8, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

// 54 bytes that declare one row of hundreds of millions of pixels and hold none of it: the file
// is opened by the row and found short without a byte asked for its rows.
TEST(BmpFileRows, AHeaderWithoutItsRowsAllocatesNothingForThem) {
    TTempFolder folder;
    for (const std::int32_t width : {300000000, INT_MAX})
        for (const int bits : {24, 32}) {
            SCOPED_TRACE(std::to_string(width) + " pixels at " + std::to_string(bits) + " bits");
            TBytes f;
            f.fileHeader(54).info(width, 1, bits);
            ASSERT_EQ(f.b.size(), 54u);
            WriteFileBytes(folder.File("wide.bmp"), f.b);
            const TForcedOutOfMemory nothingAllocates;
            const TBmpFileRows rows(folder.File("wide.bmp"));
            EXPECT_TRUE(rows.Streamable());
            EXPECT_EQ(rows.RowsInFile(), 0);
            EXPECT_EQ(rows.Height(), 1);
        }
}

// Writers that leave out the row padding put the unpadded size in the image-size field: 7 x 100
// at 24 bits says 2100 bytes where the rows take 2400. Every row is read, by either reader.
TEST(BmpOpen, AnImageSizeFieldSmallerThanTheRowsIsAHint) {
    TBitmap picture(7, 100, TPixelFormat::pf24bit);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 7; ++x)
            picture.SetPixel(x, y, RGB(std::uint8_t(x * 30 + 1), std::uint8_t(y), 200));
    std::vector<std::uint8_t> bytes = Encode(picture);
    ASSERT_EQ(bytes.size(), 54u + 2400u);
    bytes[34] = 2100 & 0xFF, bytes[35] = 2100 >> 8;
    TTempFolder folder;
    WriteFileBytes(folder.File("unpadded.bmp"), bytes);

    EXPECT_EQ(OpenPictureForEditing(folder.File("unpadded.bmp")).PixelBuffer(), picture.PixelBuffer());
    TBmpFileRows rows(folder.File("unpadded.bmp"));
    EXPECT_EQ(rows.RowsInFile(), 100);
    rows.Rewind(TRowOrder::TopFirst);
    for (int y = 0; y < 100; ++y)
        ASSERT_TRUE(std::equal(picture.ScanLine(y), picture.ScanLine(y) + 21, rows.NextRow())) << "row " << y;
}

// A pipe would hold the reader until something writes to it, and a folder or a device is no
// picture: each is refused at once, saying what it is, by the editor's reader and the row reader.
TEST(BmpFiles, WhatIsNotARegularFileIsRefusedAtOnceSayingWhatItIs) {
    TTempFolder folder;
    const std::string pipe = folder.File("pipe.bmp"), sub = folder.File("folder.bmp");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directory(sub);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {pipe, "it is a named pipe"}, {sub, "it is a folder"}, {"/dev/null", "it is a device"}};
    for (const auto& [path, reason] : cases)
        for (const bool byRow : {false, true}) {
            SCOPED_TRACE(path + (byRow ? " by the row" : " whole"));
            auto open = std::async(std::launch::async, [&, path = path] {
                try {
                    if (byRow)
                        TBmpFileRows rows(path);
                    else
                        OpenPictureForEditing(path);
                } catch (const EFOpenError& e) {
                    return std::string(e.what());
                }
                return std::string("opened");
            });
            if (open.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
                // A writer end lets the hanging open return, so the test can end.
                const int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
                open.wait();
                ::close(writer);
                ADD_FAILURE() << "the reader waited on the pipe";
                continue;
            }
            EXPECT_EQ(open.get(), "Cannot open file " + path + ": " + reason);
        }
}

// An OS/2 picture keeps its 12-byte header only while the header can describe it.
TEST(BmpCoreHeader, PicturesItCannotDescribeAreSavedWithTheInfoHeader) {
    TBytes core;
    core.fileHeader().u32(12).u16(2).u16(2).u16(1).u16(24);
    core.u8(0).u8(0).u8(255).u8(0).u8(255).u8(0).u8(0).u8(0);     // bottom: red, green
    core.u8(255).u8(0).u8(0).u8(255).u8(255).u8(255).u8(0).u8(0); // top: blue, white
    TBitmap picture = Decode(core.b);
    ASSERT_TRUE(picture.FileLayout.CoreHeader);
    EXPECT_EQ(Le32(Encode(picture), 14), 12u) << "a 24-bit picture of small size stays in its layout";

    TBitmap sixteen = picture.Converted(TPixelFormat::pf16bit);
    const auto saved16 = Encode(sixteen);
    EXPECT_EQ(Le32(saved16, 14), 40u);
    EXPECT_EQ(Le32(saved16, 30), 3u) << "bit fields, with the 5-6-5 masks";
    EXPECT_EQ(Le32(saved16, 54), 0xF800u);
    const TBitmap back16 = Decode(saved16);
    EXPECT_EQ(back16.PixelFormat(), TPixelFormat::pf16bit);
    EXPECT_EQ(back16.PixelBuffer(), sixteen.PixelBuffer());
    EXPECT_EQ(back16.Pixel(0, 1), RGB(255, 0, 0));

    for (const auto& [width, height] : {std::pair{70000, 2}, std::pair{2, 70000}}) {
        TBitmap large = picture.Converted(TPixelFormat::pf1bit);
        large.SetSize(width, height);
        large.SetPixel(width - 1, height - 1, clWhite);
        const auto saved = Encode(large);
        EXPECT_EQ(Le32(saved, 14), 40u);
        EXPECT_EQ(Le32(saved, 18), std::uint32_t(width));
        EXPECT_EQ(Le32(saved, 22), std::uint32_t(height));
        const TBitmap back = Decode(saved);
        EXPECT_EQ(back.PixelBuffer(), large.PixelBuffer());
        EXPECT_EQ(back.Pixel(width - 1, height - 1), clWhite);
    }
}

TEST(BmpSave, ThroughASymbolicLinkReplacesTheFileItPointsToAndKeepsTheLink) {
    TTempFolder folder;
    std::filesystem::create_directory(folder.Path() / "pictures");
    SaveBitmapToFile(TBitmap(1, 1), folder.File("pictures/map.bmp"));
    std::filesystem::create_symlink("pictures/map.bmp", folder.Path() / "link.bmp");
    std::filesystem::create_symlink(folder.Path() / "link.bmp", folder.Path() / "link-to-link.bmp");

    TBitmap picture(3, 2);
    picture.SetPixel(2, 1, clWhite);
    SaveBitmapToFile(picture, folder.File("link-to-link.bmp"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() / "link.bmp"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() / "link-to-link.bmp"));
    EXPECT_EQ(LoadBitmapFromFile(folder.File("pictures/map.bmp")).Pixel(2, 1), clWhite);
    // Nothing is left behind in either folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path() / "pictures"), {}), 1);

    // A link to a file not made yet: the file is made where the link points.
    std::filesystem::create_symlink("pictures/new.bmp", folder.Path() / "dangling.bmp");
    SaveBitmapToFile(picture, folder.File("dangling.bmp"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() / "dangling.bmp"));
    EXPECT_EQ(LoadBitmapFromFile(folder.File("pictures/new.bmp")).Width(), 3);
}

TEST(BmpSave, NewFilesFollowTheCreationMaskAndReplacedFilesKeepTheirMode) {
    TTempFolder folder;
    const mode_t before = ::umask(027);
    SaveBitmapToFile(TBitmap(1, 1), folder.File("new.bmp"));
    const mode_t during = ::umask(before);
    EXPECT_EQ(during, mode_t(027)) << "saving changed the process's file-creation mask";
    struct stat st {};
    ASSERT_EQ(::stat(folder.File("new.bmp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    ASSERT_EQ(::chmod(folder.File("new.bmp").c_str(), 0604), 0);
    SaveBitmapToFile(TBitmap(2, 2), folder.File("new.bmp"));
    ASSERT_EQ(::stat(folder.File("new.bmp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
}
