// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The pixel formats a picture can have. pf32bit stands for every format the editor does not
// convert to: 32-bit files, 15-bit files and run-length files are all held as 32-bit BGRX.
enum class TPixelFormat { pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit };

// 1, 4, 8, 16 or 24; 32 for every other format.
int BitsOfPixelFormat(TPixelFormat format);

// The format for a colour depth of 1, 4, 8, 16 or 24 bits; nothing for any other value.
std::optional<TPixelFormat> PixelFormatOfBits(int bits);

// Bytes in one stored row: rows are padded to a multiple of 4 bytes, as a BMP file keeps them.
// Returns 0 when the row would not fit in memory at all.
std::size_t RowBytesFor(std::int64_t width, int bitsPerPixel);

inline bool IsPaletteFormat(TPixelFormat f) {
    return f == TPixelFormat::pf1bit || f == TPixelFormat::pf4bit || f == TPixelFormat::pf8bit;
}
