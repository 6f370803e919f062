// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "PixelFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

class TByteSource;
struct TPngCore;

// One pass of libpng over a PNG stream, handing out rows in the editor's formats: a palette or
// grey picture of up to 8 bits at 1, 4 or 8 bits with its own table, everything else at 24 bits
// (16-bit samples rounded). Pixels with alpha below 128 take the transparent colour, the rest
// are opaque. libpng's errors end in EInvalidGraphic; a picture too large in EOutOfMemory.
class TPngDecoder {
  public:
    // Reads up to the pixel data.
    TPngDecoder(TByteSource& source, TColor transparentColor);
    ~TPngDecoder();
    TPngDecoder(const TPngDecoder&) = delete;
    TPngDecoder& operator=(const TPngDecoder&) = delete;

    int Width() const { return Width_; }
    int Height() const { return Height_; }
    bool Interlaced() const { return Interlaced_; }
    TPixelFormat PixelFormat() const { return Format_; }
    const std::vector<TRGBQuad>& ColorTable() const { return Table_; }
    std::size_t RowBytes() const { return RowBytesFor(Width_, BitsOfPixelFormat(Format_)); }
    std::uint64_t MadeOpaque() const { return MadeOpaque_; }

    // A file that is not interlaced: the next row into out (RowBytes()). False when the file
    // ends before it; the row is then zero. EInvalidGraphic for damaged data.
    bool ReadRow(std::uint8_t* out);
    // An interlaced file: every row at once into rows (Height() rows of RowBytes() each, zero
    // filled). Returns how many rows from the top were complete when the file ended, or Height().
    int ReadAll(std::uint8_t* rows, std::size_t stride);

  private:
    void Convert(const std::uint8_t* in, std::uint8_t* out);
    [[noreturn]] void Fail();

    std::unique_ptr<TPngCore> Core_;
    int Width_ = 0;
    int Height_ = 0;
    bool Interlaced_ = false;
    TPixelFormat Format_ = TPixelFormat::pf24bit;
    std::vector<TRGBQuad> Table_;
    int PngBits_ = 8;             // bits per pixel of an indexed row as libpng hands it out
    int Channels_ = 3;            // 3 (BGR) or 4 (BGRA) for a true-colour row
    bool Indexed_ = false;        // rows of indices (palette or grey of up to 8 bits)
    std::vector<bool> PartEntry_; // table entries whose alpha is from 128 to 254
    bool CountEntries_ = false;
    TColor Transparent_;
    std::vector<std::uint8_t> Row_; // one row as libpng writes it
    std::uint64_t MadeOpaque_ = 0;
};
