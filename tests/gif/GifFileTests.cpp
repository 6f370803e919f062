// The bytes of the GIF file: header, tables, descriptor, trailer, and the refusals.

#include "GifExport.h"
#include "GifExtension.h"
#include "GifImage.h"
#include "GifTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TTableCase {
    int Colors;
    std::uint8_t PackedByte; // byte 10, the logical screen's packed fields
    int TableEntries;
};

class GifFileLayout : public testing::TestWithParam<TTableCase> {};

// Colour i is used by Colors - i pixels, so the packed table keeps the bitmap's order.
TEST_P(GifFileLayout, ExportWritesHeaderSortedPaddedGlobalTableDescriptorDataAndTrailer) {
    const TTableCase c = GetParam();
    std::vector<TGIFColor> colors;
    std::vector<std::uint8_t> indices;
    for (int i = 0; i < c.Colors; ++i) {
        colors.push_back({std::uint8_t(i), std::uint8_t(255 - i), 0x40});
        indices.insert(indices.end(), std::size_t(c.Colors - i), std::uint8_t(i));
    }
    const int width = int(indices.size()) >= 40 ? 40 : int(indices.size());
    indices.resize((indices.size() + std::size_t(width) - 1) / std::size_t(width) * std::size_t(width), 0);
    const int height = int(indices.size()) / width;
    if (c.Colors == 1) indices.assign(indices.size(), 0);

    TMemorySink sink;
    ExportGif(IndexedBitmap(width, height, colors, indices), sink);
    const auto& b = sink.Bytes;

    EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "GIF87a");
    EXPECT_EQ(Le16(b, 6), width);
    EXPECT_EQ(Le16(b, 8), height);
    EXPECT_EQ(b[10], c.PackedByte);
    EXPECT_EQ(b[11], 0);
    EXPECT_EQ(b[12], 0);
    for (int i = 0; i < c.TableEntries; ++i) {
        const TGIFColor expected = i < c.Colors ? colors[std::size_t(i)] : TGIFColor{};
        const TGIFColor written{b[13 + 3 * i], b[14 + 3 * i], b[15 + 3 * i]};
        ASSERT_EQ(written, expected) << "entry " << i;
    }
    const std::size_t d = 13 + 3 * std::size_t(c.TableEntries);
    EXPECT_EQ(b[d], 0x2C);
    EXPECT_EQ(Le16(b, d + 1), 0);
    EXPECT_EQ(Le16(b, d + 3), 0);
    EXPECT_EQ(Le16(b, d + 5), width);
    EXPECT_EQ(Le16(b, d + 7), height);
    EXPECT_EQ(b[d + 9], 0x00);
    const TImageData data = SplitImageData(b, d + 10);
    EXPECT_EQ(data.MinimumCodeSize, std::max(BitsForColorCount(c.Colors), 2));
    EXPECT_EQ(data.EndOffset + 1, b.size());
    EXPECT_EQ(b.back(), 0x3B);

    const TDecodedGif decoded = DecodeGif(b);
    EXPECT_TRUE(decoded.GlobalSorted);
    EXPECT_EQ(decoded.Indices, indices);
}

INSTANTIATE_TEST_SUITE_P(ColorCounts, GifFileLayout,
                         testing::Values(TTableCase{1, 0x88, 2}, TTableCase{3, 0x99, 4},
                                         TTableCase{129, 0xFF, 256}, TTableCase{256, 0xFF, 256}));

// Without a sub-image there is no version to write. No colour table anywhere gives resolution
// -1 and 0 bits, both masked to 7; an empty sub-image writes neither descriptor nor data.
TEST(GifFile, NoSubImageIsRefusedAndAnEmptyOneWritesOnlyHeaderAndTrailer) {
    TGIFImage image;
    TMemorySink sink;
    EXPECT_EQ(ErrorOf([&] { image.SaveToSink(sink); }), "Unsupported GIF version");
    EXPECT_TRUE(sink.Bytes.empty());
    image.AddSubImage();
    image.SaveToSink(sink);
    EXPECT_EQ(sink.Bytes,
              (std::vector<std::uint8_t>{'G', 'I', 'F', '8', '7', 'a', 0, 0, 0, 0, 0x77, 0, 0, 0x3B}));
}

TEST(GifFile, AnIndexBufferShorterThanTheImageIsRefusedNotOverread) {
    TGIFImage image;
    TGIFSubImage& sub = image.AddSubImage();
    sub.SetSize(4, 4);
    sub.Data.resize(15);
    TMemorySink sink;
    EXPECT_EQ(ErrorOf([&] { image.SaveToSink(sink); }), "Image data is smaller than the image");
}

TEST(GifFile, TransparencyNeedsGif89aAndWritesItsGraphicControlExtension) {
    TGIFImage image;
    image.Assign(IndexedBitmap(2, 1, {{1, 2, 3}, {4, 5, 6}}, {0, 1}));
    image.Images[0].SetTransparentIndex(1);
    TMemorySink sink;
    image.SaveToSink(sink);
    const auto& b = sink.Bytes;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "GIF89a");
    // Header, no global table, then the extension before the descriptor.
    const std::vector<std::uint8_t> extension{0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x01, 0x00};
    EXPECT_TRUE(std::equal(extension.begin(), extension.end(), b.begin() + 13));
    EXPECT_EQ(b[21], 0x2C);
    EXPECT_EQ(b[30], 0x80); // local table of 2 entries
}

TEST(GifFile, TheScreenCannotShrinkBelowItsSubImages) {
    TGIFImage image;
    image.Assign(IndexedBitmap(3, 2, {{0, 0, 0}}, std::vector<std::uint8_t>(6, 0)));
    EXPECT_EQ(image.ScreenWidth(), 3);
    EXPECT_EQ(image.ScreenHeight(), 2);
    EXPECT_EQ(ErrorOf([&] { image.SetScreenWidth(2); }), "Image width too small for contained frames");
    EXPECT_EQ(ErrorOf([&] { image.SetScreenHeight(1); }), "Image height too small for contained frames");
    image.SetScreenWidth(300);
    EXPECT_EQ(image.ScreenWidth(), 300);
}

TEST(GifExport, RefusesPicturesAGifCannotHoldInsteadOfCroppingOrFailingLater) {
    TMemorySink sink;
    EXPECT_EQ(ErrorOf([&] { ExportGif(TBitmap(), sink); }), "The picture has no pixels to export");
    const std::string tooLarge = "A GIF image cannot be larger than 65535 x 65535 pixels";
    EXPECT_EQ(ErrorOf([&] { ExportGif(TBitmap(65536, 1, TPixelFormat::pf8bit), sink); }), tooLarge);
    EXPECT_EQ(ErrorOf([&] { ExportGif(TBitmap(1, 65536, TPixelFormat::pf1bit), sink); }), tooLarge);
    EXPECT_TRUE(sink.Bytes.empty());
    // The largest side a GIF can hold still goes.
    ExportGif(TBitmap(65535, 1, TPixelFormat::pf8bit), sink);
    EXPECT_EQ(Le16(sink.Bytes, 6), 65535);
}

TEST(GifExport, ThreeHalftoneColoursGiveAFourEntryTableMostUsedFirst) {
    TBitmap picture(4, 4, TPixelFormat::pf24bit);
    picture.Brush.Color = RGB(51, 102, 153);
    picture.FillRect(Bounds(0, 0, 4, 4)); // 16 pixels, 6 of them painted over below
    picture.SetPixel(0, 0, RGB(0, 51, 0));
    for (int x = 0; x < 4; ++x)
        picture.SetPixel(x, 3, RGB(255, 255, 255));
    picture.SetPixel(1, 1, RGB(255, 255, 255));
    TMemorySink sink;
    ExportGif(picture, sink);
    EXPECT_EQ(picture.PixelFormat(), TPixelFormat::pf24bit);
    const TDecodedGif decoded = DecodeGif(sink.Bytes);
    EXPECT_EQ(decoded.GlobalColors,
              (std::vector<TGIFColor>{{51, 102, 153}, {255, 255, 255}, {0, 51, 0}, {0, 0, 0}}));
    EXPECT_EQ(decoded.Indices[0], 2);
    EXPECT_EQ(decoded.Indices[5], 1);
    EXPECT_EQ(decoded.Indices[6], 0);
}

TEST(GifExport, AnEightBitPictureKeepsOnlyTheUsedColoursOfItsOwnTable) {
    std::vector<TGIFColor> colors(256, TGIFColor{9, 9, 9});
    colors[200] = {200, 1, 2};
    colors[17] = {17, 3, 4};
    TMemorySink sink;
    ExportGif(IndexedBitmap(3, 1, colors, {200, 17, 200}), sink);
    const TDecodedGif decoded = DecodeGif(sink.Bytes);
    EXPECT_EQ(decoded.GlobalColors, (std::vector<TGIFColor>{{200, 1, 2}, {17, 3, 4}}));
    EXPECT_EQ(decoded.Indices, (std::vector<std::uint8_t>{0, 1, 0}));
}

} // namespace
