// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifExport.h"

#include "ByteSink.h"
#include "ColorMapOptimizer.h"
#include "ConvertedRows.h"
#include "GifErrors.h"
#include "GifImage.h"
#include "GifTrailer.h"
#include "OwnColorRows.h"

#include <new>

namespace {

constexpr int MaxSide = 65535; // the 16-bit width and height fields of a GIF

// The first pass: how many pixels use each index.
std::array<std::uint64_t, MaxGIFColors> CountIndices(TRowSource& rows) {
    std::array<std::uint64_t, MaxGIFColors> counts{};
    const std::size_t width = std::size_t(rows.Width());
    rows.Rewind(TRowOrder::TopFirst);
    for (int y = 0; y < rows.Height(); ++y) {
        const std::uint8_t* row = rows.NextRow();
        for (std::size_t x = 0; x < width; ++x)
            ++counts[row[x]];
    }
    return counts;
}

} // namespace

void WriteGifRows(TRowSource& rows, TByteSink& sink) {
    if (rows.Width() <= 0 || rows.Height() <= 0) throw GIFException("The picture has no pixels to export");
    if (rows.Width() > MaxSide || rows.Height() > MaxSide)
        throw GIFException("A GIF image cannot be larger than 65535 x 65535 pixels");

    TGIFImage image;
    TGIFSubImage& subImage = image.AddSubImage();
    subImage.Width = std::uint16_t(rows.Width());
    subImage.Height = std::uint16_t(rows.Height());
    image.FitScreenTo(subImage);
    // An index past a short table shows black wherever the picture is shown; the entries it
    // lacks are black here too, and the packing keeps only those in use.
    std::vector<TGIFColor> colors(std::size_t(MaxGIFColors), TGIFColor{0, 0, 0});
    const std::vector<TRGBQuad>& table = rows.ColorTable();
    for (std::size_t i = 0; i < table.size() && i < colors.size(); ++i)
        colors[i] = {table[i].Red, table[i].Green, table[i].Blue};
    subImage.ColorMap.Assign(colors);

    const TPackedColors packed = TColorMapOptimizer::PackCounts(subImage.ColorMap, CountIndices(rows));
    subImage.ColorMap.Clear();
    image.Header.ColorMap.Assign(packed.Table);
    image.Header.ColorMap.Sorted = true;

    image.Header.SaveToSink(sink);
    subImage.SaveRowsToSink(sink, rows, packed.Translation);
    TGIFTrailer(image).SaveToSink(sink);
}

void ExportGif(TRowSource& picture, TByteSink& sink) {
    try {
        TConvertedRows eightBit(picture, TPixelFormat::pf8bit);
        WriteGifRows(eightBit, sink);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}

void ExportGif(const TBitmap& picture, TByteSink& sink) {
    TBitmapRows rows(picture);
    ExportGif(rows, sink);
}

TOwnColors ExportGifExact(TRowSource& picture, TByteSink& sink) {
    try {
        TOwnColorRows own(picture);
        WriteGifRows(own, sink);
        return own.Colors();
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}

TOwnColors ExportGifExactFile(TRowSource& picture, const std::string& path) {
    TOwnColors colors;
    WriteFileSafely(path, [&](TByteSink& sink) { colors = ExportGifExact(picture, sink); });
    return colors;
}

void ExportGifFile(TRowSource& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportGif(picture, sink); });
}

void ExportGifFile(const TBitmap& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportGif(picture, sink); });
}
