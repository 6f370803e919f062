// Bitmaps of every depth through the image object, decoded again by libpng.

#include "ByteSink.h"
#include "ChunkIHDR.h"
#include "PngExport.h"
#include "PngObject.h"
#include "PngTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

struct TSize {
    int Width, Height;
};

using TRoundTrip = std::tuple<TPixelFormat, TSize, bool>; // format, size, tiles (else noise)

class ImageObjectRoundTrip : public ::testing::TestWithParam<TRoundTrip> {
protected:
    TBitmap Picture() const {
        const auto [format, size, tiles] = GetParam();
        TBitmap picture = tiles ? TilePicture(size.Width, size.Height) : NoisePicture(size.Width, size.Height);
        picture.SetPixelFormat(format);
        return picture;
    }
};

TEST_P(ImageObjectRoundTrip, HeaderHasTheDepthAndFileDecodesToEveryPixel) {
    const TBitmap picture = Picture();
    TPNGObject png;
    png.AssignBitmap(picture);
    TMemorySink sink;
    png.SaveToStream(sink);

    const auto chunks = SplitChunks(sink.Bytes);
    const int bits = picture.BitsPerPixel();
    const bool palette = bits <= 8;
    ASSERT_EQ(ChunkTypes(chunks), palette ? (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"})
                                          : (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    const auto& ihdr = chunks[0].Data;
    EXPECT_EQ(Big32(&ihdr[0]), std::uint32_t(picture.Width()));
    EXPECT_EQ(Big32(&ihdr[4]), std::uint32_t(picture.Height()));
    EXPECT_EQ(ihdr[8], palette ? bits : 8);
    EXPECT_EQ(ihdr[9], palette ? 3 : 2);
    if (palette) {
        EXPECT_EQ(chunks[1].Data.size(), 3u << bits);
    }
    // Every row is its filter type and the packed samples.
    const std::size_t rowBytes = palette ? (std::size_t(picture.Width()) * std::size_t(bits) + 7) / 8
                                         : std::size_t(picture.Width()) * 3;
    EXPECT_EQ(InflateImageData(chunks).size(), (1 + rowBytes) * std::size_t(picture.Height()));

    ExpectSamePixels(DecodeWithLibpng(sink.Bytes), picture);
}

TEST_P(ImageObjectRoundTrip, ExportDecodesToTheEightBitConversion) {
    const TBitmap picture = Picture();
    TMemorySink sink;
    ExportPng(picture, sink);
    TBitmap expected(picture);
    expected.SetPixelFormat(TPixelFormat::pf8bit);
    ExpectSamePixels(DecodeWithLibpng(sink.Bytes), expected);
    const auto data = InflateImageData(SplitChunks(sink.Bytes));
    ASSERT_EQ(data.size(), std::size_t(1 + picture.Width()) * std::size_t(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y) ASSERT_EQ(data[std::size_t(y) * std::size_t(1 + picture.Width())], 1);
}

std::string RoundTripName(const ::testing::TestParamInfo<TRoundTrip>& info) {
    const auto& [format, size, tiles] = info.param;
    return std::to_string(BitsOfPixelFormat(format)) + "bit_" + std::to_string(size.Width) + "x" +
           std::to_string(size.Height) + (tiles ? "_tiles" : "_noise");
}

INSTANTIATE_TEST_SUITE_P(
    DepthsSizesContents, ImageObjectRoundTrip,
    ::testing::Combine(::testing::Values(TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                         TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit),
                       ::testing::Values(TSize{1, 1}, TSize{1, 6}, TSize{3, 2}, TSize{7, 5}, TSize{9, 1},
                                         TSize{33, 17}, TSize{130, 70}),
                       ::testing::Bool()),
    RoundTripName);

TEST(ImageObject, AssigningAgainReplacesEveryChunk) {
    TPNGObject png;
    TBitmap first = TilePicture(10, 10);
    first.Transparent = true;
    png.AssignBitmap(first);
    EXPECT_EQ(png.Chunks.Count(), 4u); // IHDR, tRNS, IDAT, IEND for 24 bits

    TBitmap second = NoisePicture(5, 3);
    second.SetPixelFormat(TPixelFormat::pf4bit);
    png.AssignBitmap(second);
    ASSERT_EQ(png.Chunks.Count(), 4u);
    EXPECT_EQ(png.Chunks.Item(0)->Name(), "IHDR");
    EXPECT_EQ(png.Chunks.Item(1)->Name(), "PLTE");
    EXPECT_EQ(png.Chunks.Item(2)->Name(), "IDAT");
    EXPECT_EQ(png.Chunks.Item(3)->Name(), "IEND");
    EXPECT_EQ(png.Header()->Width, 5u);
    TMemorySink sink;
    png.SaveToStream(sink);
    ExpectSamePixels(DecodeWithLibpng(sink.Bytes), second);
}

TEST(ImageObject, WritingTwiceGivesTheSameBytes) {
    TPNGObject png;
    png.AssignBitmap(NoisePicture(50, 20));
    TMemorySink once, twice;
    png.SaveToStream(once);
    png.SaveToStream(twice);
    EXPECT_EQ(once.Bytes, twice.Bytes);
}

} // namespace
