// The bytes of an exported PNG file: signature, chunk order and contents, CRCs, image data.

#include "ByteSink.h"
#include "ChunkIHDR.h"
#include "ChunktRNS.h"
#include "Errors.h"
#include "Palettes.h"
#include "PngExport.h"
#include "PngObject.h"
#include "PngTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Exported(const TBitmap& picture) {
    TMemorySink sink;
    ExportPng(picture, sink);
    return sink.Bytes;
}

TBitmap TwoColourEightBitPicture(int width, int height) {
    TBitmap picture(width, height, TPixelFormat::pf8bit);
    picture.SetColorTable({QuadOf(RGB(10, 20, 30)), QuadOf(RGB(200, 100, 50))});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.ScanLine(y)[x] = std::uint8_t((x + y) % 2);
    return picture;
}

TEST(PngFile, ExportHasSignatureHeaderFullPaletteDataAndEndWithValidCrcs) {
    const auto file = Exported(TwoColourEightBitPicture(300, 2));
    ASSERT_TRUE(std::equal(PngSignatureBytes().begin(), PngSignatureBytes().end(), file.begin()));
    const auto chunks = SplitChunks(file);
    EXPECT_EQ(ChunkTypes(chunks), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
    for (const auto& c : chunks) EXPECT_TRUE(c.CrcMatches) << c.Type;

    // Width 300, height 2, bit depth 8, palette, compression 0, filter 0, no interlace.
    EXPECT_EQ(chunks[0].Data, (std::vector<std::uint8_t>{0, 0, 1, 44, 0, 0, 0, 2, 8, 3, 0, 0, 0}));
    // Two colours used, 256 entries written; the unused entries are black.
    ASSERT_EQ(chunks[1].Data.size(), 768u);
    EXPECT_EQ(std::vector<std::uint8_t>(chunks[1].Data.begin(), chunks[1].Data.begin() + 7),
              (std::vector<std::uint8_t>{10, 20, 30, 200, 100, 50, 0}));
    EXPECT_TRUE(std::all_of(chunks[1].Data.begin() + 6, chunks[1].Data.end(), [](auto b) { return b == 0; }));
}

TEST(PngFile, EndChunkIsTheTwelveFixedBytes) {
    const auto file = Exported(TwoColourEightBitPicture(3, 3));
    ASSERT_GE(file.size(), 12u);
    EXPECT_EQ(std::vector<std::uint8_t>(file.end() - 12, file.end()),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 'I', 'E', 'N', 'D', 174, 66, 96, 130}));
}

TEST(PngFile, ImageDataIsOneRowPerLineEachSubFilteredFromTheTop) {
    // A picture whose rows differ, so an upside-down or shifted row shows.
    TBitmap picture(5, 3, TPixelFormat::pf8bit);
    const std::uint8_t indices[3][5] = {{0, 3, 3, 255, 1}, {9, 9, 9, 9, 9}, {200, 100, 0, 100, 200}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) picture.ScanLine(y)[x] = indices[y][x];
    const auto data = InflateImageData(SplitChunks(Exported(picture)));
    // Each row: filter type 1, then each index minus the one on its left, modulo 256.
    EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 0, 3, 0, 252, 2,  //
                                                 1, 9, 0, 0, 0, 0,    //
                                                 1, 200, 156, 156, 100, 100}));
}

TEST(PngFile, OnePixelWidePictureGivesRowsOfTypeAndIndex) {
    TBitmap picture(1, 4, TPixelFormat::pf8bit);
    for (int y = 0; y < 4; ++y) picture.ScanLine(y)[0] = std::uint8_t(40 + y);
    const auto chunks = SplitChunks(Exported(picture));
    EXPECT_EQ(std::vector<std::uint8_t>(chunks[0].Data.begin(), chunks[0].Data.begin() + 8),
              (std::vector<std::uint8_t>{0, 0, 0, 1, 0, 0, 0, 4}));
    EXPECT_EQ(InflateImageData(chunks), (std::vector<std::uint8_t>{1, 40, 1, 41, 1, 42, 1, 43}));
}

TEST(PngFile, EveryDepthExportsAsEightBitPaletteOfTheHalftoneConversion) {
    for (const TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf16bit,
                                      TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        SCOPED_TRACE(BitsOfPixelFormat(format));
        TBitmap picture = NoisePicture(37, 11);
        picture.SetPixelFormat(format);
        const auto file = Exported(picture);
        const auto chunks = SplitChunks(file);
        ASSERT_EQ(ChunkTypes(chunks), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
        EXPECT_EQ(std::vector<std::uint8_t>(chunks[0].Data.begin() + 8, chunks[0].Data.end()),
                  (std::vector<std::uint8_t>{8, 3, 0, 0, 0}));
        ASSERT_EQ(chunks[1].Data.size(), 768u);
        const auto& halftone = HalftonePalette();
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_EQ(RGB(chunks[1].Data[3 * i], chunks[1].Data[3 * i + 1], chunks[1].Data[3 * i + 2]),
                      ColorOf(halftone[i]))
                << "entry " << i;
        EXPECT_EQ(InflateImageData(chunks).size(), std::size_t(1 + 37) * 11);

        TBitmap expected(picture);
        expected.SetPixelFormat(TPixelFormat::pf8bit);
        ExpectSamePixels(DecodeWithLibpng(file), expected);
        EXPECT_EQ(picture.PixelFormat(), format) << "the export must not change the picture";
    }
}

TEST(PngFile, EightBitPictureKeepsItsOwnTableAndIndices) {
    TBitmap picture(16, 16, TPixelFormat::pf8bit);
    std::vector<TRGBQuad> table;
    for (int i = 0; i < 256; ++i) table.push_back(QuadOf(RGB(std::uint8_t(255 - i), std::uint8_t(i * 7), 3)));
    picture.SetColorTable(table);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) picture.ScanLine(y)[x] = std::uint8_t(y * 16 + x);
    const auto file = Exported(picture);
    const auto chunks = SplitChunks(file);
    for (std::size_t i = 0; i < 256; ++i)
        ASSERT_EQ(RGB(chunks[1].Data[3 * i], chunks[1].Data[3 * i + 1], chunks[1].Data[3 * i + 2]), ColorOf(table[i]));
    const auto data = InflateImageData(chunks);
    ASSERT_EQ(data.size(), 17u * 16);
    for (int y = 0; y < 16; ++y) {
        ASSERT_EQ(data[std::size_t(y) * 17], 1);
        std::uint8_t left = 0;
        for (int x = 0; x < 16; ++x) {
            left = std::uint8_t(left + data[std::size_t(y) * 17 + 1 + std::size_t(x)]);
            EXPECT_EQ(left, picture.ScanLine(y)[x]) << x << ", " << y;
        }
    }
    ExpectSamePixels(DecodeWithLibpng(file), picture);
}

TEST(PngFile, TransparentPictureExportsWithoutTransparency) {
    TBitmap picture = TwoColourEightBitPicture(4, 4);
    picture.Transparent = true;
    picture.TransparentColor = RGB(10, 20, 30);
    const auto file = Exported(picture);
    EXPECT_EQ(ChunkTypes(SplitChunks(file)), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
    ExpectSamePixels(DecodeWithLibpng(file), picture);
}

TEST(PngFile, ImageObjectOfTransparentBitmapMarksItsColourTransparent) {
    TBitmap picture = TwoColourEightBitPicture(4, 4);
    picture.Transparent = true;
    picture.TransparentColor = RGB(200, 100, 50); // entry 1
    TPNGObject png;
    png.AssignBitmap(picture);
    TMemorySink sink;
    png.SaveToStream(sink);
    const auto chunks = SplitChunks(sink.Bytes);
    ASSERT_EQ(ChunkTypes(chunks), (std::vector<std::string>{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));
    EXPECT_EQ(chunks[2].Data, (std::vector<std::uint8_t>{255, 0}));
    const TDecodedPng decoded = DecodeWithLibpng(sink.Bytes);
    ASSERT_TRUE(decoded.Ok) << decoded.Message;
    EXPECT_EQ(decoded.AlphaAt(0, 0), 255);
    EXPECT_EQ(decoded.AlphaAt(1, 0), 0);

    png.RemoveTransparency();
    EXPECT_EQ(png.Chunks.ItemFromClass<TChunktRNS>(), nullptr);
    EXPECT_EQ(png.Chunks.Count(), 4u);
}

TEST(PngFile, PictureWithoutPixelsIsRefusedAndNothingIsWritten) {
    TMemorySink sink;
    EXPECT_THROW(ExportPng(TBitmap(), sink), EInvalidGraphic);
    EXPECT_THROW(ExportPng(TBitmap(0, 5, TPixelFormat::pf8bit), sink), EInvalidGraphic);
    EXPECT_TRUE(sink.Bytes.empty());
}

TEST(PngFile, InterlacedImageIsRefusedRatherThanWrittenWrong) {
    TPNGObject png;
    png.AssignBitmap(TwoColourEightBitPicture(4, 4));
    png.InterlaceMethod = 1;
    TMemorySink sink;
    EXPECT_THROW(png.SaveToStream(sink), EPictureError);
}

} // namespace
