// SPDX-License-Identifier: GPL-3.0-or-later
#include "PixelFormat.h"

#include <limits>

int BitsOfPixelFormat(TPixelFormat format) {
    switch (format) {
    case TPixelFormat::pf1bit:
        return 1;
    case TPixelFormat::pf4bit:
        return 4;
    case TPixelFormat::pf8bit:
        return 8;
    case TPixelFormat::pf16bit:
        return 16;
    case TPixelFormat::pf24bit:
        return 24;
    case TPixelFormat::pf32bit:
        return 32;
    }
    return 32;
}

std::optional<TPixelFormat> PixelFormatOfBits(int bits) {
    switch (bits) {
    case 1:
        return TPixelFormat::pf1bit;
    case 4:
        return TPixelFormat::pf4bit;
    case 8:
        return TPixelFormat::pf8bit;
    case 16:
        return TPixelFormat::pf16bit;
    case 24:
        return TPixelFormat::pf24bit;
    default:
        return std::nullopt;
    }
}

std::size_t RowBytesFor(std::int64_t width, int bitsPerPixel) {
    if (width < 0 || bitsPerPixel <= 0) return 0;
    // width is at most 2^31 and bits at most 32, so the product stays far inside 64 bits.
    const std::uint64_t bits = std::uint64_t(width) * std::uint64_t(bitsPerPixel);
    const std::uint64_t bytes = (bits + 31) / 32 * 4;
    if (bytes > std::numeric_limits<std::size_t>::max()) return 0;
    return std::size_t(bytes);
}
