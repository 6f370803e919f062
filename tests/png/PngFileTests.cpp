// The bytes of an exported PNG file: signature, chunks, CRCs and the image data stream.

#include "ByteSink.h"
#include "ChunktRNS.h"
#include "Errors.h"
#include "PngExport.h"
#include "PngObject.h"
#include "PngTestSupport.h"

#include <gtest/gtest.h>

namespace {

TBytes Exported(const TBitmap& picture) {
    TMemorySink sink;
    ExportPng(picture, sink);
    return sink.Bytes;
}

TBitmap TwoColourPicture(int width, int height) {
    TBitmap picture(width, height, TPixelFormat::pf8bit);
    picture.SetColorTable({QuadOf(RGB(10, 20, 30)), QuadOf(RGB(200, 100, 50))});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.ScanLine(y)[x] = std::uint8_t((x + y) % 2);
    return picture;
}

TEST(PngFile, ExportIsHeaderFullPaletteDataAndEndEachWithValidCrc) {
    const TBytes file = Exported(TwoColourPicture(300, 2));
    const auto chunks = SplitChunks(file);
    ASSERT_EQ(ChunkTypes(chunks), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
    for (const auto& c : chunks) EXPECT_TRUE(c.CrcMatches) << c.Type;
    // Width 300, height 2, bit depth 8, palette, compression 0, filter 0, no interlace.
    EXPECT_EQ(chunks[0].Data, (TBytes{0, 0, 1, 44, 0, 0, 0, 2, 8, 3, 0, 0, 0}));
    // The picture's own two colours, then black up to 256 entries.
    ASSERT_EQ(chunks[1].Data.size(), 768u);
    EXPECT_EQ(TBytes(chunks[1].Data.begin(), chunks[1].Data.begin() + 6), (TBytes{10, 20, 30, 200, 100, 50}));
    EXPECT_EQ(std::count(chunks[1].Data.begin() + 6, chunks[1].Data.end(), 0), 762);
    EXPECT_EQ(TBytes(file.end() - 12, file.end()), (TBytes{0, 0, 0, 0, 'I', 'E', 'N', 'D', 174, 66, 96, 130}));
}

TEST(PngFile, EachRowFromTheTopIsSubFilteredBehindTypeOne) {
    TBitmap picture(5, 3, TPixelFormat::pf8bit);
    const std::uint8_t indices[3][5] = {{0, 3, 3, 255, 1}, {9, 9, 9, 9, 9}, {200, 100, 0, 100, 200}};
    for (int y = 0; y < 3; ++y) std::copy_n(indices[y], 5, picture.ScanLine(y));
    // Each index minus the one on its left, modulo 256; the first row against zeros.
    EXPECT_EQ(InflateImageData(SplitChunks(Exported(picture))),
              (TBytes{1, 0, 3, 0, 252, 2, 1, 9, 0, 0, 0, 0, 1, 200, 156, 156, 100, 100}));

    TBitmap column(1, 3, TPixelFormat::pf8bit);
    for (int y = 0; y < 3; ++y) column.ScanLine(y)[0] = std::uint8_t(40 + y);
    const auto chunks = SplitChunks(Exported(column));
    EXPECT_EQ(TBytes(chunks[0].Data.begin(), chunks[0].Data.begin() + 8), (TBytes{0, 0, 0, 1, 0, 0, 0, 3}));
    EXPECT_EQ(InflateImageData(chunks), (TBytes{1, 40, 1, 41, 1, 42}));
}

TEST(PngFile, TransparencyIsWrittenByTheImageObjectButNeverExported) {
    TBitmap picture = TwoColourPicture(4, 4);
    picture.Transparent = true;
    picture.TransparentColor = RGB(200, 100, 50); // entry 1
    EXPECT_EQ(ChunkTypes(SplitChunks(Exported(picture))), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));

    TPNGObject png;
    png.AssignBitmap(picture);
    TMemorySink sink;
    png.SaveToStream(sink);
    const auto chunks = SplitChunks(sink.Bytes);
    ASSERT_EQ(ChunkTypes(chunks), (std::vector<std::string>{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));
    EXPECT_EQ(chunks[2].Data, (TBytes{255, 0}));
    const TDecodedPng decoded = DecodeWithLibpng(sink.Bytes);
    ASSERT_TRUE(decoded.Ok) << decoded.Message;
    EXPECT_EQ(decoded.At(0, 0)[3], 255);
    EXPECT_EQ(decoded.At(1, 0)[3], 0);

    png.RemoveTransparency();
    EXPECT_EQ(png.Chunks.ItemFromClass<TChunktRNS>(), nullptr);
    EXPECT_EQ(png.Chunks.Count(), 4u);
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

} // namespace
