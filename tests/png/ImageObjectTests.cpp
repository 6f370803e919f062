// Bitmaps of every depth through the image object and through the export, decoded by libpng.

#include "ByteSink.h"
#include "PngExport.h"
#include "PngObject.h"
#include "PngTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using TRoundTrip = std::tuple<TPixelFormat, std::pair<int, int>, bool>; // format, size, tiles or noise

class RoundTrip : public ::testing::TestWithParam<TRoundTrip> {
protected:
    TBitmap Picture() const {
        const auto& [format, size, tiles] = GetParam();
        TBitmap picture = tiles ? TilePicture(size.first, size.second) : NoisePicture(size.first, size.second);
        picture.SetPixelFormat(format);
        return picture;
    }
};

TEST_P(RoundTrip, ImageObjectKeepsTheDepthAndEveryPixel) {
    const TBitmap picture = Picture();
    TPNGObject png;
    png.AssignBitmap(picture);
    TMemorySink sink;
    png.SaveToStream(sink);
    const auto chunks = SplitChunks(sink.Bytes);
    const int bits = picture.BitsPerPixel();
    const bool palette = bits <= 8;
    EXPECT_EQ(ChunkTypes(chunks).size(), palette ? 4u : 3u);
    EXPECT_EQ(chunks[0].Data[8], palette ? bits : 8);
    EXPECT_EQ(chunks[0].Data[9], palette ? 3 : 2);
    if (palette) {
        EXPECT_EQ(chunks[1].Data.size(), 3u << bits);
    }
    const std::size_t width = std::size_t(picture.Width());
    const std::size_t rowBytes = palette ? (width * std::size_t(bits) + 7) / 8 : width * 3;
    EXPECT_EQ(InflateImageData(chunks).size(), (1 + rowBytes) * std::size_t(picture.Height()));
    ExpectDecodesTo(sink.Bytes, picture);
}

TEST_P(RoundTrip, ExportGivesTheEightBitConversion) {
    const TBitmap picture = Picture();
    TMemorySink sink;
    ExportPng(picture, sink);
    TBitmap expected(picture);
    expected.SetPixelFormat(TPixelFormat::pf8bit);
    ExpectDecodesTo(sink.Bytes, expected);
    const auto chunks = SplitChunks(sink.Bytes);
    EXPECT_EQ(TBytes(chunks[0].Data.begin() + 8, chunks[0].Data.end()), (TBytes{8, 3, 0, 0, 0}));
    EXPECT_EQ(chunks[1].Data.size(), 768u);
    const TBytes data = InflateImageData(chunks);
    const std::size_t row = std::size_t(1 + picture.Width());
    ASSERT_EQ(data.size(), row * std::size_t(picture.Height()));
    for (std::size_t at = 0; at < data.size(); at += row) ASSERT_EQ(data[at], 1);
}

std::string RoundTripName(const ::testing::TestParamInfo<TRoundTrip>& info) {
    const auto& [format, size, tiles] = info.param;
    return std::to_string(BitsOfPixelFormat(format)) + "bit_" + std::to_string(size.first) + "x" +
           std::to_string(size.second) + (tiles ? "_tiles" : "_noise");
}

INSTANTIATE_TEST_SUITE_P(DepthsSizesContents, RoundTrip,
                         ::testing::Combine(::testing::Values(TPixelFormat::pf1bit, TPixelFormat::pf4bit,
                                                              TPixelFormat::pf8bit, TPixelFormat::pf16bit,
                                                              TPixelFormat::pf24bit, TPixelFormat::pf32bit),
                                            ::testing::Values(std::pair{1, 1}, std::pair{1, 6}, std::pair{3, 2},
                                                              std::pair{7, 5}, std::pair{33, 17}, std::pair{130, 70}),
                                            ::testing::Bool()),
                         RoundTripName);

} // namespace
