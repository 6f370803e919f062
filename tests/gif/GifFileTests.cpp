// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes we write: the LZW code stream and its sub-blocks, the file around it, the refusals.

#include "GifExport.h"
#include "GifExtension.h"
#include "GifImage.h"
#include "GifTestSupport.h"
#include "HashTable.h"
#include "LZWEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Encode(const TBytes& pixels, int bitsPerPixel, int colorLimit, int width, int height,
              bool interlaced = false) {
    TMemorySink sink;
    TLZWEncoder().Compress(sink, bitsPerPixel, colorLimit, pixels.data(), interlaced, width, height);
    return sink.Bytes;
}

TBytes Noise(std::size_t count, std::uint32_t seed) {
    TBytes pixels(count);
    for (auto& p : pixels)
        p = std::uint8_t(NextRandom(seed));
    return pixels;
}

TEST(LzwEncoder, ShortStreamsComeOutByteForByte) {
    // Clear code 4, index 0, end code 5, each 3 bits wide.
    EXPECT_EQ(Encode({0}, 1, 2, 1, 1), (TBytes{0x02, 0x02, 0x44, 0x01, 0x00}));
    EXPECT_EQ(Encode({1, 2, 3}, 2, 4, 3, 0), (TBytes{0x02, 0x01, 0x05, 0x00})); // the end code alone
    // Interlace passes take rows 0, 8 / 4 / 2, 6 / 1, 3, 5, 7, 9.
    EXPECT_EQ(Encode({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 4, 16, 1, 10, true),
              Encode({0, 8, 4, 2, 6, 1, 3, 5, 7, 9}, 4, 16, 1, 10));
    EXPECT_EQ(ErrorOf([] { Encode({0, 1, 2, 3, 4}, 3, 4, 5, 1); }), "Color not in color table");
    EXPECT_EQ(ErrorOf([] { Encode({4}, 2, 4, 1, 1); }), "Color not in color table");
}

// 8-bit codes start at 258, so after 3837 assigned codes NextCode is 4095: the code written
// then is followed by a clear code, and the reader only finds it if the widths were right.
TEST(LzwEncoder, AFullTableIsClearedRightAfterTheCodeWrittenAtNextCode4095) {
    const auto codes = ReadCodes(SplitImageData(Encode(Noise(200000, 3), 8, 256, 400, 500), 0));
    std::vector<std::size_t> clears;
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (codes[i] == 256) clears.push_back(i);
    clears.resize(3);
    ASSERT_EQ(clears, (std::vector<std::size_t>{0, 3839, 2 * 3839}));
    EXPECT_LE(*std::max_element(codes.begin(), codes.begin() + std::ptrdiff_t(clears[1])), 4094);
}

TEST(LzwEncoder, DataComesIn255ByteSubBlocksAndAMultipleOf255EndsRightAfterAFullOne) {
    bool sawExactMultiple = false;
    for (int width = 1; width < 1200; ++width) {
        const TBytes bytes = Encode(Noise(std::size_t(width), std::uint32_t(width)), 8, 256, width, 1);
        const TImageData data = SplitImageData(bytes, 0);
        const std::size_t n = data.Payload.size();
        std::vector<int> lengths(n / 255, 255);
        if (n % 255 != 0) lengths.push_back(int(n % 255));
        ASSERT_EQ(data.BlockLengths, lengths) << width;
        ASSERT_EQ(data.EndOffset, bytes.size()) << width;
        sawExactMultiple |= n % 255 == 0;
    }
    EXPECT_TRUE(sawExactMultiple);
}

// Doubling modulo 8009 splits the slots into cycles of 4004: a full cycle must end the probe
// instead of circling it for ever.
TEST(LzwHashTable, AFullProbeCycleRefusesTheInsertInsteadOfLooping) {
    THashTable table;
    std::uint32_t stored = 0;
    while (stored < 20000 && table.Insert(stored, int(stored & 0xFFF)))
        ++stored;
    ASSERT_LT(stored, 20000u);
    EXPECT_GE(stored, 4004u);
    for (std::uint32_t key = 0; key < stored; ++key)
        ASSERT_EQ(table.Lookup(key), int(key & 0xFFF)) << key;
    EXPECT_EQ(table.Lookup(stored), -1);
}

TBytes Slice(const TBytes& b, std::size_t at, std::size_t count) {
    return TBytes(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + count));
}

// Colours in use, byte 10 (the logical screen's packed fields), global table entries.
class GifFileLayout : public testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(GifFileLayout, ExportWritesHeaderSortedPaddedGlobalTableDescriptorDataAndTrailer) {
    const auto [colorCount, packedByte, tableEntries] = GetParam();
    // Colour i is used by colorCount - i pixels (the padding adds to colour 0), so the packed table
    // keeps the bitmap's order.
    std::vector<TGIFColor> colors;
    TBytes indices;
    for (int i = 0; i < colorCount; ++i) {
        colors.push_back({std::uint8_t(i), std::uint8_t(255 - i), 0x40});
        indices.insert(indices.end(), std::size_t(colorCount - i), std::uint8_t(i));
    }
    const int width = std::min(int(indices.size()), 40);
    const int height = (int(indices.size()) + width - 1) / width;
    indices.resize(std::size_t(width * height), 0);

    TTempFolder folder;
    ExportGifFile(IndexedBitmap(width, height, colors, indices), folder.File("out.gif"));
    const TBytes b = ReadFileBytes(folder.File("out.gif"));
    const auto w0 = std::uint8_t(width), w1 = std::uint8_t(width >> 8);
    const auto h0 = std::uint8_t(height), h1 = std::uint8_t(height >> 8);
    EXPECT_EQ(Slice(b, 0, 13),
              (TBytes{'G', 'I', 'F', '8', '7', 'a', w0, w1, h0, h1, std::uint8_t(packedByte), 0, 0}));
    const std::size_t d = 13 + 3 * std::size_t(tableEntries);
    EXPECT_EQ(Slice(b, d, 10), (TBytes{0x2C, 0, 0, 0, 0, w0, w1, h0, h1, 0x00}));
    const TImageData data = SplitImageData(b, d + 10);
    EXPECT_EQ(data.MinimumCodeSize, std::max(BitsForColorCount(colorCount), 2));
    EXPECT_EQ(Slice(b, data.EndOffset, b.size() - data.EndOffset), TBytes{0x3B});

    const TDecodedGif decoded = DecodeGifFile(folder.File("out.gif"));
    colors.resize(std::size_t(tableEntries)); // padded with black
    EXPECT_EQ(decoded.GlobalColors, colors);
    EXPECT_EQ(decoded.Indices, indices);
}

INSTANTIATE_TEST_SUITE_P(ColorCounts, GifFileLayout,
                         testing::Values(std::tuple(1, 0x88, 2), std::tuple(3, 0x99, 4),
                                         std::tuple(129, 0xFF, 256), std::tuple(256, 0xFF, 256)));

TEST(GifFile, WhatCannotBeWrittenIsRefusedAndAnEmptySubImageWritesOnlyHeaderAndTrailer) {
    TGIFImage image;
    TMemorySink sink;
    EXPECT_EQ(ErrorOf([&] { image.SaveToSink(sink); }), "Unsupported GIF version");
    EXPECT_TRUE(sink.Bytes.empty());
    // No colour table anywhere gives resolution -1 and 0 bits, both masked to 7.
    TGIFSubImage& sub = image.AddSubImage();
    image.SaveToSink(sink);
    EXPECT_EQ(sink.Bytes, (TBytes{'G', 'I', 'F', '8', '7', 'a', 0, 0, 0, 0, 0x77, 0, 0, 0x3B}));

    sub.SetSize(4, 4);
    sub.Data.resize(15);
    EXPECT_EQ(ErrorOf([&] { image.SaveToSink(sink); }), "Image data is smaller than the image");
    EXPECT_EQ(ErrorOf([&] { image.SetScreenWidth(3); }), "Image width too small for contained frames");
    EXPECT_EQ(ErrorOf([&] { image.SetScreenHeight(3); }), "Image height too small for contained frames");
}

TEST(GifFile, TransparencyNeedsGif89aAndWritesItsGraphicControlExtension) {
    TGIFImage image;
    image.Assign(IndexedBitmap(2, 1, {{1, 2, 3}, {4, 5, 6}}, {0, 1}));
    image.Images[0].SetTransparentIndex(1);
    TMemorySink sink;
    image.SaveToSink(sink);
    const TBytes& b = sink.Bytes;
    EXPECT_EQ(Slice(b, 0, 6), (TBytes{'G', 'I', 'F', '8', '9', 'a'}));
    // No global table: the extension comes straight after the screen, then the descriptor with a
    // local table of 2.
    EXPECT_EQ(Slice(b, 13, 18), (TBytes{0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x01, 0x00, //
                                        0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0x80}));
}

TEST(GifExport, RefusesPicturesAGifCannotHoldInsteadOfCroppingOrFailingLater) {
    TMemorySink sink;
    EXPECT_EQ(ErrorOf([&] { ExportGif(TBitmap(), sink); }), "The picture has no pixels to export");
    const std::string tooLarge = "A GIF image cannot be larger than 65535 x 65535 pixels";
    EXPECT_EQ(ErrorOf([&] { ExportGif(TBitmap(65536, 1, TPixelFormat::pf8bit), sink); }), tooLarge);
    EXPECT_EQ(ErrorOf([&] { ExportGif(TBitmap(1, 65536, TPixelFormat::pf1bit), sink); }), tooLarge);
    EXPECT_TRUE(sink.Bytes.empty());
    ExportGif(TBitmap(65535, 1, TPixelFormat::pf8bit), sink);
    EXPECT_EQ(Le16(sink.Bytes, 6), 65535);
}

} // namespace
