// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngObject.h"

#include "Bitmap.h"
#include "ByteSink.h"
#include "ChunkIDAT.h"
#include "ChunkIHDR.h"
#include "ChunkPLTE.h"
#include "ChunktRNS.h"
#include "Errors.h"
#include "IndexPacking.h"
#include "PngFormat.h"
#include "RowCodec.h"
#include "RowSource.h"

#include <algorithm>
#include <cstring>

namespace {

void CopyColorTable(TPixelFormat format, const std::vector<TRGBQuad>& table, TChunkIHDR& header) {
    if (!IsPaletteFormat(format)) return;
    std::copy_n(table.begin(), std::min(table.size(), header.ColorTable().size()),
                header.ColorTable().begin());
}

// Copies the rows into the header's buffer, which keeps the bottom row first; the rows of
// deeper bitmaps become blue, green, red.
void FetchPixels(const TBitmap& bitmap, TChunkIHDR& header) {
    const std::size_t stride = header.RowStride();
    const TPixelFormat format = bitmap.PixelFormat();
    const bool sameLayout = header.BufferBitsPerPixel() == bitmap.BitsPerPixel();
    for (std::uint32_t y = 0; y < header.Height; ++y) {
        const std::uint8_t* from = bitmap.ScanLine(int(y));
        std::uint8_t* to = header.BufferRow(y);
        if (sameLayout)
            std::memcpy(to, from, std::min(stride, bitmap.RowBytes()));
        else
            RowCodec::DecodeSpan(format, bitmap.ColorTable(), from, 0, bitmap.Width(), to);
    }
}

} // namespace

TChunkIHDR* TPNGObject::Header() const {
    return Chunks.Count() > 0 ? dynamic_cast<TChunkIHDR*>(Chunks.Item(0)) : nullptr;
}

TChunkIHDR& TPNGObject::StartChunks(int width, int height, int bits, bool transparent) {
    const bool palette = bits < 16;
    Chunks.Clear();
    auto& header = Chunks.Add<TChunkIHDR>();
    // However many colours the picture uses, the palette has every entry of its depth.
    if (palette) Chunks.Add<TChunkPLTE>().EntryCount = 1u << bits;
    if (transparent) Chunks.Add<TChunktRNS>();
    Chunks.Add<TChunkIDAT>();
    Chunks.Add<TChunkIEND>();

    header.Width = std::uint32_t(width);
    header.Height = std::uint32_t(height);
    header.BitDepth = palette ? std::uint8_t(bits) : 8;
    header.ColorType = palette ? PngFormat::ColorTypePalette : PngFormat::ColorTypeRGB;
    header.CompressionMethod = PngFormat::CompressionDeflate;
    header.FilterMethod = PngFormat::FilterMethodAdaptive;
    header.InterlaceMethod = PngFormat::InterlaceNone;
    return header;
}

void TPNGObject::AssignBitmap(const TBitmap& bitmap, TPixelUse use) {
    if (bitmap.Empty()) throw EInvalidGraphic();
    const int bits = bitmap.BitsPerPixel();
    const bool palette = bits < 16;
    TChunkIHDR& header = StartChunks(bitmap.Width(), bitmap.Height(), bits, bitmap.Transparent);
    try {
        if (use == TPixelUse::Borrow && palette) {
            header.BorrowImageRows(bitmap.ScanLine(0), std::ptrdiff_t(bitmap.RowBytes()));
            CopyColorTable(bitmap.PixelFormat(), bitmap.ColorTable(), header);
        } else {
            header.PrepareImageData();
            CopyColorTable(bitmap.PixelFormat(), bitmap.ColorTable(), header);
            FetchPixels(bitmap, header);
        }
    } catch (...) {
        Chunks.Clear();
        throw;
    }
    if (auto* trns = Chunks.ItemFromClass<TChunktRNS>()) trns->SetTransparentColor(bitmap.TransparentColor);
}

void TPNGObject::AssignRows(TRowSource& rows) {
    if (rows.Width() <= 0 || rows.Height() <= 0) throw EInvalidGraphic();
    TChunkIHDR& header =
        StartChunks(rows.Width(), rows.Height(), BitsOfPixelFormat(rows.PixelFormat()), false);
    try {
        header.UseImageRows(rows);
        CopyColorTable(rows.PixelFormat(), rows.ColorTable(), header);
    } catch (...) {
        Chunks.Clear();
        throw;
    }
}

void TPNGObject::AssignIndexRows(TRowSource& rows) {
    if (rows.Width() <= 0 || rows.Height() <= 0) throw EInvalidGraphic();
    const std::vector<TRGBQuad>& table = rows.ColorTable();
    const std::size_t entries = std::clamp<std::size_t>(table.size(), 1, 256);
    TChunkIHDR& header = StartChunks(rows.Width(), rows.Height(), SmallestIndexBits(entries), false);
    Chunks.ItemFromClass<TChunkPLTE>()->EntryCount = std::uint32_t(entries);
    try {
        header.UseIndexRows(rows);
        CopyColorTable(TPixelFormat::pf8bit, table, header);
    } catch (...) {
        Chunks.Clear();
        throw;
    }
}

void TPNGObject::RemoveTransparency() {
    Chunks.Remove(Chunks.ItemFromClass<TChunktRNS>());
}

void TPNGObject::SaveToStream(TByteSink& sink) {
    sink.Write(PngFormat::Signature.data(), PngFormat::Signature.size());
    for (std::size_t i = 0; i < Chunks.Count(); ++i)
        Chunks.Item(i)->SaveToStream(sink);
}
