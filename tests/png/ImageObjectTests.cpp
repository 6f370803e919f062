// SPDX-License-Identifier: GPL-3.0-or-later
// Bitmaps of every depth, size and content through the image object with each filter set, and
// through the export, decoded by libpng.

#include "ByteSink.h"
#include "PngExport.h"
#include "PngObject.h"
#include "PngTestSupport.h"

#include <gtest/gtest.h>

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

} // namespace
