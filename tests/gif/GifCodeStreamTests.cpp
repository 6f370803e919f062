// The LZW code stream and its sub-blocks, byte for byte where the format leaves a choice.

#include "GifTestSupport.h"
#include "LZWEncoder.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Encode(const std::vector<std::uint8_t>& pixels, int bitsPerPixel, int colorLimit,
                                 int width, int height) {
    TMemorySink sink;
    TLZWEncoder encoder;
    encoder.Compress(sink, bitsPerPixel, colorLimit, pixels.empty() ? nullptr : pixels.data(), false, width,
                     height);
    return sink.Bytes;
}

std::vector<std::uint8_t> Noise(std::size_t count, std::uint32_t seed, int colors = 256) {
    std::vector<std::uint8_t> pixels(count);
    for (auto& p : pixels)
        p = std::uint8_t(NextRandom(seed) % unsigned(colors));
    return pixels;
}

// Frames the encoder's output by hand as a GIF of 256 grey levels, for giflib to decode.
std::vector<std::uint8_t> DecodeGifOfIndices(const std::vector<std::uint8_t>& pixels, int width, int height) {
    const auto w0 = std::uint8_t(width), w1 = std::uint8_t(width >> 8);
    const auto h0 = std::uint8_t(height), h1 = std::uint8_t(height >> 8);
    std::vector<std::uint8_t> file{'G', 'I', 'F', '8', '7', 'a', w0, w1, h0, h1, 0xF7, 0, 0};
    for (int i = 0; i < 256; ++i)
        file.insert(file.end(), 3, std::uint8_t(i));
    file.insert(file.end(), {0x2C, 0, 0, 0, 0, w0, w1, h0, h1, 0});
    const auto data = Encode(pixels, 8, 256, width, height);
    file.insert(file.end(), data.begin(), data.end());
    file.push_back(0x3B);
    return DecodeGif(file).Indices;
}

TEST(LzwEncoder, OnePixelGivesClearCodeZeroAndEndCodeAtThreeBits) {
    EXPECT_EQ(Encode({0}, 1, 2, 1, 1), (std::vector<std::uint8_t>{0x02, 0x02, 0x44, 0x01, 0x00}));
}

TEST(LzwEncoder, WithoutPixelsTheStreamIsTheEndCodeAlone) {
    const std::vector<std::uint8_t> endCodeOnly{0x02, 0x01, 0x05, 0x00};
    EXPECT_EQ(Encode({}, 2, 4, 5, 5), endCodeOnly);
    EXPECT_EQ(Encode({1, 2, 3}, 2, 4, 3, 0), endCodeOnly);
    EXPECT_EQ(Encode({1, 2, 3}, 2, 4, 0, 1), endCodeOnly);
}

// 8-bit codes start at 258; after 3837 assigned codes NextCode is 4095, and the code written
// then is followed by a clear code, sent at 12 bits, after which codes are 9 bits again.
TEST(LzwEncoder, AFullTableIsClearedRightAfterTheCodeWrittenAtNextCode4095) {
    const auto pixels = Noise(200000, 3);
    const auto data = SplitImageData(Encode(pixels, 8, 256, 400, 500), 0);
    const auto codes = ReadCodes(data);
    std::vector<std::size_t> clears;
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (codes[i] == 256) clears.push_back(i);
    ASSERT_GE(clears.size(), 3u);
    EXPECT_EQ(clears[0], 0u);
    EXPECT_EQ(clears[1] - clears[0], 3838u + 1);
    EXPECT_EQ(clears[2] - clears[1], 3838u + 1);
    for (std::size_t i = 1; i < clears[1]; ++i)
        EXPECT_LE(codes[i], 4094) << i;
    // The reader only follows the widths because they match: the decode below must agree too.
    EXPECT_EQ(DecodeGifOfIndices(pixels, 400, 500), pixels);
}

TEST(LzwEncoder, FullSubBlocksThenOneShortOneAndAMultipleOf255EndsRightAfterAFullOne) {
    bool sawExactMultiple = false;
    for (int width = 1; width < 1200; width += 1) {
        const auto data =
            SplitImageData(Encode(Noise(std::size_t(width), std::uint32_t(width)), 8, 256, width, 1), 0);
        ASSERT_FALSE(data.BlockLengths.empty());
        for (std::size_t i = 0; i + 1 < data.BlockLengths.size(); ++i)
            ASSERT_EQ(data.BlockLengths[i], 255);
        EXPECT_GE(data.BlockLengths.back(), 1);
        if (data.Payload.size() % 255 == 0) {
            sawExactMultiple = true;
            EXPECT_EQ(data.BlockLengths.back(), 255);
            EXPECT_EQ(data.BlockLengths.size(), data.Payload.size() / 255);
        }
    }
    EXPECT_TRUE(sawExactMultiple);
}

TEST(LzwEncoder, APixelNotBelowTheColorLimitIsRefused) {
    EXPECT_EQ(ErrorOf([] { Encode({0, 1, 2, 3, 4}, 3, 4, 5, 1); }), "Color not in color table");
    EXPECT_EQ(ErrorOf([] { Encode({4}, 2, 4, 1, 1); }), "Color not in color table");
}

TEST(LzwEncoder, InterlacedInputIsSentInPassOrder) {
    // Rows 0..9 of one pixel each: the passes take rows 0, 8 / 4 / 2, 6 / 1, 3, 5, 7, 9.
    const std::vector<std::uint8_t> rows{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    TMemorySink interlaced;
    TLZWEncoder().Compress(interlaced, 4, 16, rows.data(), true, 1, 10);
    EXPECT_EQ(interlaced.Bytes, Encode({0, 8, 4, 2, 6, 1, 3, 5, 7, 9}, 4, 16, 1, 10));
}

} // namespace

namespace {

// Doubling modulo 8009 splits the slots into cycles of 4004: a full cycle must end the probe
// instead of circling it for ever.
TEST(LzwHashTable, AFullProbeCycleRefusesTheInsertInsteadOfLooping) {
    THashTable table;
    std::vector<std::uint32_t> stored;
    for (std::uint32_t key = 0; key < 20000; ++key) {
        if (!table.Insert(key, int(key & 0xFFF))) break;
        stored.push_back(key);
    }
    ASSERT_LT(stored.size(), 20000u);
    EXPECT_GE(stored.size(), 4004u);
    for (const std::uint32_t key : stored)
        ASSERT_EQ(table.Lookup(key), int(key & 0xFFF)) << key;
    EXPECT_EQ(table.Lookup(stored.size()), -1);
}

} // namespace
