// SPDX-License-Identifier: GPL-3.0-or-later
// Bitmaps of every depth, size and content through the image object with each filter set, and
// through the export, decoded by libpng.

#include "ByteSink.h"
#include "PngExport.h"
#include "PngObject.h"
#include "PngTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

using TRoundTrip = std::tuple<TPixelFormat, std::pair<int, int>, bool>; // format, size, tiles or noise

class RoundTrip : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(RoundTrip, EveryFileDecodesToThePixelsPutIn) {
    const auto& [format, size, tiles] = GetParam();
    TBitmap picture = tiles ? TilePicture(size.first, size.second) : NoisePicture(size.first, size.second);
    picture.SetPixelFormat(format);
    const int bits = picture.BitsPerPixel();
    const bool palette = bits <= 8;
    using enum TFilterType;
    for (const TFilterSet filters : {FilterBit(None), FilterBit(Sub), FilterBit(Up), FilterBit(Average),
                                     FilterBit(Paeth), AllFilterTypes}) {
        TPNGObject png;
        png.AllowedFilters = filters;
        png.AssignBitmap(picture);
        TMemorySink sink;
        png.SaveToStream(sink);
        const auto chunks = SplitChunks(sink.Bytes);
        EXPECT_EQ(chunks.size(), palette ? 4u : 3u);
        EXPECT_EQ(chunks[0].Data[8], palette ? bits : 8) << "bit depth";
        EXPECT_EQ(chunks[0].Data[9], palette ? 3 : 2) << "colour type";
        ExpectDecodesTo(sink.Bytes, picture);
    }

    TMemorySink sink;
    ExportPng(picture, sink);
    ExpectDecodesTo(sink.Bytes, picture.Converted(TPixelFormat::pf8bit));
    const TBytes data = InflateImageData(SplitChunks(sink.Bytes));
    const std::size_t row = std::size_t(1 + picture.Width());
    ASSERT_EQ(data.size(), row * std::size_t(picture.Height()));
    for (std::size_t at = 0; at < data.size(); at += row)
        ASSERT_EQ(data[at], 1);
}

INSTANTIATE_TEST_SUITE_P(
    DepthsSizesContents, RoundTrip,
    ::testing::Combine(::testing::Values(TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                         TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit),
                       ::testing::Values(std::pair{1, 1}, std::pair{1, 6}, std::pair{3, 2}, std::pair{7, 5},
                                         std::pair{33, 17}, std::pair{130, 70}),
                       ::testing::Bool()));

// The exact export's compression: every row of a palette unfiltered, truecolour rows free to take
// any filter; the same pixels come back, and a tile map comes out smaller than with the default.
TEST(SmallestCompression, DecodesToTheSamePixelsUnfilteredPalettesAndNoLargerFile) {
    for (const TPixelFormat format :
         {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf24bit}) {
        for (const bool tiles : {true, false}) {
            TBitmap picture = tiles ? TilePicture(257, 90) : NoisePicture(33, 17);
            picture.SetPixelFormat(format);
            std::size_t sizes[2] = {};
            for (const auto compression :
                 {TPNGObject::TCompression::AsSet, TPNGObject::TCompression::Smallest}) {
                TPNGObject png;
                png.Compression = compression;
                png.AssignBitmap(picture);
                TMemorySink sink;
                png.SaveToStream(sink);
                ExpectDecodesTo(sink.Bytes, picture);
                sizes[int(compression)] = sink.Bytes.size();
                if (compression == TPNGObject::TCompression::AsSet) continue;
                const TBytes data = InflateImageData(SplitChunks(sink.Bytes));
                const std::size_t row = data.size() / std::size_t(picture.Height());
                std::set<int> types;
                for (std::size_t at = 0; at < data.size(); at += row)
                    types.insert(data[at]);
                if (format != TPixelFormat::pf24bit) {
                    EXPECT_EQ(types, std::set<int>{0}) << BitsOfPixelFormat(format) << " bits";
                } else if (tiles) {
                    EXPECT_GT(types.size(), 1u) << "truecolour rows choose their filter";
                }
            }
            if (tiles) {
                EXPECT_LE(sizes[1], sizes[0]) << BitsOfPixelFormat(format) << " bits";
            }
        }
    }
}

} // namespace
