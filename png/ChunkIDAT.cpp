// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChunkIDAT.h"

#include "ChunkIHDR.h"
#include "Errors.h"
#include "IdatStream.h"
#include "IndexPacking.h"
#include "MemoryGuard.h"
#include "PngFormat.h"
#include "PngObject.h"
#include "RowSource.h"
#include "ScanlineFilter.h"

#include <array>
#include <string>
#include <vector>

TPngRowLayout PngRowLayout(std::uint8_t colorType, std::uint8_t bitDepth, std::uint32_t width) {
    const std::size_t w = width;
    const std::size_t depth = bitDepth;
    switch (colorType) {
    case PngFormat::ColorTypeGrey:
        return {(w * depth + 7) / 8, depth == 16 ? 2u : 1u};
    case PngFormat::ColorTypeRGB:
        return {w * depth * 3 / 8, depth * 3 / 8};
    case PngFormat::ColorTypePalette:
        return {(w * depth + 7) / 8, 1};
    case PngFormat::ColorTypeGreyAlpha:
        return {w * depth * 2 / 8, depth / 4};
    case PngFormat::ColorTypeRGBAlpha:
        return {w * depth * 4 / 8, depth / 2};
    default:
        throw EPictureError("PNG colour type " + std::to_string(colorType) + " is not defined");
    }
}

namespace {

constexpr int DefaultMemoryLevel = 8;
// Past level 8 zlib finds next to nothing more in these rows for a good deal more time.
constexpr int SmallestLevel = 8;
constexpr int SmallestMemoryLevel = 9;

// How a row of the image buffer becomes PNG samples.
enum class TRowEncoding {
    Copy,        // palette indices or grey values, packed as the buffer keeps them
    BGRToRGB,    // the buffer's blue, green, red become red, green, blue
    PackIndices, // 8-bit palette indices packed to the header's smaller depth
};

TRowEncoding EncodingFor(const TChunkIHDR& header) {
    if (header.PacksIndices() && header.BitDepth < 8) return TRowEncoding::PackIndices;
    const bool packed = header.BitDepth == 1 || header.BitDepth == 4 || header.BitDepth == 8;
    if ((header.ColorType == PngFormat::ColorTypePalette || header.ColorType == PngFormat::ColorTypeGrey) &&
        packed && header.BufferBitsPerPixel() == header.BitDepth)
        return TRowEncoding::Copy;
    if (header.ColorType == PngFormat::ColorTypeRGB && header.BitDepth == 8 &&
        header.BufferBitsPerPixel() == 24)
        return TRowEncoding::BGRToRGB;
    throw EPictureError("PNG image data of colour type " + std::to_string(header.ColorType) +
                        " with bit depth " + std::to_string(header.BitDepth) + " cannot be written");
}

// The buffer's blue, green, red become red, green, blue.
void EncodeRGB(const std::uint8_t* from, std::uint8_t* to, std::size_t rowBytes) {
    for (std::size_t i = 0; i < rowBytes; i += 3) {
        to[i] = from[i + 2];
        to[i + 1] = from[i + 1];
        to[i + 2] = from[i];
    }
}

} // namespace

void TChunkIDAT::SaveToStream(TByteSink& sink) {
    const TChunkIHDR& header = Header();
    const TPNGObject& image = Owner();
    if (image.InterlaceMethod != PngFormat::InterlaceNone)
        throw EPictureError("Interlaced PNG images cannot be written");
    if (!header.HasImageData()) throw EPictureError("PNG image has no image data");
    const TRowEncoding encoding = EncodingFor(header);
    const TPngRowLayout layout = PngRowLayout(header.ColorType, header.BitDepth, header.Width);

    const bool smallest = image.Compression == TPNGObject::TCompression::Smallest;
    const bool truecolour = header.ColorType == PngFormat::ColorTypeRGB;
    const TFilterSet filters = !smallest    ? image.AllowedFilters
                               : truecolour ? AllFilterTypes
                                            : FilterBit(TFilterType::None);
    TRowFilter filter(layout.RowBytes, layout.PixelDistance, filters,
                      smallest ? TRowFilter::TChoice::NearestZero : TRowFilter::TChoice::Repeats);
    TIdatStream stream(sink, smallest ? SmallestLevel : image.DeflateLevel, image.DataChunkLimit,
                       smallest ? SmallestMemoryLevel : DefaultMemoryLevel);
    // Rows that need encoding alternate between two buffers, so the prior row stays intact;
    // copied rows are filtered where they are.
    std::array<std::vector<std::uint8_t>, 2> encoded;
    if (encoding != TRowEncoding::Copy)
        for (auto& buffer : encoded)
            buffer = AllocateBytes(layout.RowBytes);
    TRowSource* rows = header.ImageRows();
    if (rows) rows->Rewind(TRowOrder::TopFirst);
    for (std::uint32_t y = 0; y < header.Height; ++y) {
        const std::uint8_t* row = rows ? rows->NextRow() : header.ImageRow(y);
        if (encoding == TRowEncoding::BGRToRGB) {
            std::uint8_t* to = encoded[y & 1].data();
            EncodeRGB(row, to, layout.RowBytes);
            row = to;
        } else if (encoding == TRowEncoding::PackIndices) {
            std::uint8_t* to = encoded[y & 1].data();
            PackIndices(row, int(header.Width), header.BitDepth, to);
            row = to;
        }
        const TRowFilter::TFiltered filtered = filter.FilterRow(row);
        if (filtered.TypeAndBytes) {
            stream.Feed(filtered.TypeAndBytes, 1 + layout.RowBytes);
        } else {
            const std::uint8_t type = std::uint8_t(filtered.Type);
            stream.Feed(&type, 1);
            stream.Feed(filtered.Bytes, layout.RowBytes);
        }
    }
    stream.Finish();
}
