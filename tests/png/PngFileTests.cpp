// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of a PNG file we write: signature, chunks, CRCs, the image data stream and its chunks,
// and what a failed write leaves behind.

#include "../picture/TestFiles.h"
#include "ByteSink.h"
#include "Errors.h"
#include "PngExport.h"
#include "PngObject.h"
#include "PngTestSupport.h"

#include <csignal>
#include <sys/resource.h>

namespace {

TBytes Exported(const TBitmap& picture) {
    TMemorySink sink;
    ExportPng(picture, sink);
    return sink.Bytes;
}

TBytes Written(const TBitmap& picture, TFilterSet filters = FilterBit(TFilterType::Sub),
               std::uint32_t limit = 65535) {
    TPNGObject png;
    png.AllowedFilters = filters;
    png.DataChunkLimit = limit;
    png.AssignBitmap(picture);
    TMemorySink sink;
    png.SaveToStream(sink);
    return sink.Bytes;
}

TBitmap TwoColourPicture(int width, int height) {
    TBitmap picture(width, height, TPixelFormat::pf8bit);
    picture.SetColorTable({QuadOf(RGB(10, 20, 30)), QuadOf(RGB(200, 100, 50))});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.ScanLine(y)[x] = std::uint8_t((x + y) % 2);
    return picture;
}

TEST(PngFile, ExportIsHeaderFullPaletteDataAndEndEachWithValidCrc) {
    TBitmap picture = TwoColourPicture(300, 2);
    picture.Transparent = true; // the export leaves transparency out
    picture.TransparentColor = RGB(200, 100, 50);
    const TBytes file = Exported(picture);
    const auto chunks = SplitChunks(file);
    ASSERT_EQ(ChunkTypes(chunks), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
    for (const auto& c : chunks)
        EXPECT_TRUE(c.CrcMatches) << c.Type;
    // Width 300, height 2, bit depth 8, palette, compression 0, filter 0, no interlace.
    EXPECT_EQ(chunks[0].Data, (TBytes{0, 0, 1, 44, 0, 0, 0, 2, 8, 3, 0, 0, 0}));
    // The picture's own two colours, then black up to 256 entries.
    ASSERT_EQ(chunks[1].Data.size(), 768u);
    EXPECT_EQ(TBytes(chunks[1].Data.begin(), chunks[1].Data.begin() + 6), (TBytes{10, 20, 30, 200, 100, 50}));
    EXPECT_EQ(std::count(chunks[1].Data.begin() + 6, chunks[1].Data.end(), 0), 762);
    EXPECT_EQ(TBytes(file.end() - 12, file.end()),
              (TBytes{0, 0, 0, 0, 'I', 'E', 'N', 'D', 174, 66, 96, 130}));
}

TEST(PngFile, EachRowFromTheTopIsSubFilteredBehindTypeOne) {
    TBitmap picture(5, 3, TPixelFormat::pf8bit);
    const std::uint8_t indices[3][5] = {{0, 3, 3, 255, 1}, {9, 9, 9, 9, 9}, {200, 100, 0, 100, 200}};
    for (int y = 0; y < 3; ++y)
        std::copy_n(indices[y], 5, picture.ScanLine(y));
    // Each index minus the one on its left, modulo 256; the first row against zeros.
    EXPECT_EQ(InflateImageData(SplitChunks(Exported(picture))),
              (TBytes{1, 0, 3, 0, 252, 2, 1, 9, 0, 0, 0, 0, 1, 200, 156, 156, 100, 100}));

    // Rows of two bytes score nothing under any filter, so all of them go out unfiltered.
    TBitmap pairs(2, 3, TPixelFormat::pf8bit);
    for (int y = 0; y < 3; ++y)
        pairs.ScanLine(y)[0] = pairs.ScanLine(y)[1] = std::uint8_t(y + 1);
    EXPECT_EQ(InflateImageData(SplitChunks(Written(pairs, AllFilterTypes))),
              (TBytes{0, 1, 1, 0, 2, 2, 0, 3, 3}));
}

TEST(PngFile, ImageObjectWritesTheTransparentEntryAsTheLastAlpha) {
    TBitmap picture = TwoColourPicture(4, 4);
    picture.Transparent = true;
    picture.TransparentColor = RGB(200, 100, 50); // entry 1
    const auto chunks = SplitChunks(Written(picture));
    ASSERT_EQ(ChunkTypes(chunks), (std::vector<std::string>{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));
    EXPECT_EQ(chunks[2].Data, (TBytes{255, 0}));
}

TEST(PngFile, WhatCannotBeAValidFileIsRefusedNotWritten) {
    TMemorySink sink;
    EXPECT_THROW(ExportPng(TBitmap(), sink), EInvalidGraphic);
    EXPECT_THROW(ExportPng(TBitmap(0, 5, TPixelFormat::pf24bit), sink), EInvalidGraphic);
    EXPECT_TRUE(sink.Bytes.empty());

    TPNGObject png;
    png.AssignBitmap(TwoColourPicture(4, 4));
    png.InterlaceMethod = 1; // Adam7 rows are not written
    EXPECT_THROW(png.SaveToStream(sink), EPictureError);
}

std::vector<std::size_t> IdatSizes(const std::vector<TPngChunkSeen>& chunks) {
    std::vector<std::size_t> sizes;
    for (const auto& c : chunks)
        if (c.Type == "IDAT") sizes.push_back(c.Data.size());
    return sizes;
}

TEST(PngFile, ImageDataFillsEveryChunkButTheLastAndNoneIsEmpty) {
    const TBitmap picture = NoisePicture(30, 21);
    const auto whole = SplitChunks(Written(picture));
    const std::size_t n = JoinedImageData(whole).size();
    EXPECT_EQ(IdatSizes(whole), std::vector<std::size_t>{n}) << "a small stream is one chunk";
    // A limit that divides the stream gives only full chunks; one that does not, a short last one.
    for (const auto& [limit, sizes] : std::vector<std::pair<std::size_t, std::vector<std::size_t>>>{
             {n, {n}}, {n - 1, {n - 1, 1}}, {1, std::vector<std::size_t>(n, 1)}}) {
        const TBytes file = Written(picture, FilterBit(TFilterType::Sub), std::uint32_t(limit));
        EXPECT_EQ(IdatSizes(SplitChunks(file)), sizes) << limit;
        ExpectDecodesTo(file, picture);
    }
    const auto sizes =
        IdatSizes(SplitChunks(Written(NoisePicture(200, 200)))); // 120 KB that does not compress
    EXPECT_EQ(std::vector<std::size_t>(sizes.begin(), sizes.end() - 1), std::vector<std::size_t>{65535});
}

TEST(PngFile, FullDiskFailsWithWriteErrorAndKeepsTheEarlierFile) {
    TTempFolder folder;
    const std::string target = folder.File("map.png");
    WriteFileBytes(target, {'o', 'l', 'd'});
    // In a child process that may write only 8 KB to a file, like a disk that fills up.
    const auto exportOnAlmostFullDisk = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8192, 8192};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            ExportPngFile(NoisePicture(300, 300), target);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            std::exit(3);
        }
        std::exit(0);
    };
    EXPECT_EXIT(exportOnAlmostFullDisk(), ::testing::ExitedWithCode(3), "Stream write error");
    EXPECT_EQ(ReadFileBytes(target), (TBytes{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1)
        << "a temporary file was left";
}

} // namespace
