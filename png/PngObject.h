// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PngPointerList.h"
#include "ScanlineFilter.h"

#include <cstdint>

class TBitmap;
class TByteSink;
class TChunkIHDR;
class TRowSource;

// A PNG image as its list of chunks, ready to be written.
class TPNGObject {
  public:
    TPNGObject() = default;
    TPNGObject(const TPNGObject&) = delete;
    TPNGObject& operator=(const TPNGObject&) = delete;

    TFilterSet AllowedFilters = FilterBit(TFilterType::Sub);
    std::uint8_t DeflateLevel = 7;
    // Smallest ignores the two fields above and spends time for the smallest file: palette and
    // grey rows unfiltered (differences of indices are noise to deflate), truecolour rows with
    // whichever filter brings them nearest zero, and zlib's slowest, most thorough settings.
    enum class TCompression { AsSet, Smallest };
    TCompression Compression = TCompression::AsSet;
    std::uint32_t DataChunkLimit = 65535; // the compressor's output buffer, so the largest IDAT
    std::uint8_t InterlaceMethod = 0;     // written into IHDR; only 0 (none) can be written
    TPNGList Chunks{*this};

    // Replaces every chunk with the image of the bitmap: IHDR, PLTE for fewer than 16 bits per
    // pixel, tRNS when the bitmap is marked transparent, IDAT, IEND. 1, 4 and 8 bits give a
    // palette of that depth with 2^bits entries; more bits give 8-bit RGB. Raises
    // EInvalidGraphic for a bitmap without pixels, EOutOfMemory when the buffer cannot be had.
    // With TPixelUse::Borrow the rows of a palette bitmap are not copied but compressed where
    // they are: the bitmap must then outlive every write and stay unchanged.
    enum class TPixelUse { Copy, Borrow };
    void AssignBitmap(const TBitmap& bitmap, TPixelUse use = TPixelUse::Copy);

    // The same chunks for rows of 1, 4, 8 or 24 bits per pixel that are read as the image data is
    // written: the source must outlive every write. Nothing is marked transparent.
    void AssignRows(TRowSource& rows);

    // The chunks for 8-bit rows whose colour table holds just the colours to write: a palette of
    // exactly those entries, at the fewest bits per pixel that reach them (1, 2, 4 or 8), the
    // indices packed to that depth as they are written. Nothing is marked transparent.
    void AssignIndexRows(TRowSource& eightBitRows);

    // Takes out and frees the first tRNS chunk, if there is one.
    void RemoveTransparency();

    // The signature, then every chunk in list order.
    void SaveToStream(TByteSink& sink);

    TChunkIHDR* Header() const;

  private:
    // A fresh list: IHDR filled in for the size and depth, PLTE, tRNS when asked, IDAT, IEND.
    TChunkIHDR& StartChunks(int width, int height, int bits, bool transparent);
};
