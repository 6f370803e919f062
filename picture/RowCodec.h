// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "PixelFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TColorMatcher;

// Reading and writing spans of one stored row in any pixel format. Colours travel as BGR byte
// triples, the layout of a 24-bit row, so a 24-bit row is its own decoded form.
namespace RowCodec {

// The stored value of pixel x (an index, a 5-6-5 word, or packed BGR). Inline, so that loops
// over one known format lose the switch.
// Offsets are taken in size_t: a row of 2^29 or more pixels must not overflow an int.
inline std::uint32_t GetValue(TPixelFormat format, const std::uint8_t* row, int x) {
    const std::size_t i = std::size_t(x);
    switch (format) {
    case TPixelFormat::pf1bit:
        return (row[i >> 3] >> (7 - (x & 7))) & 1;
    case TPixelFormat::pf4bit:
        return (x & 1) ? row[i >> 1] & 0x0F : row[i >> 1] >> 4;
    case TPixelFormat::pf8bit:
        return row[i];
    case TPixelFormat::pf16bit:
        return std::uint32_t(row[2 * i]) | std::uint32_t(row[2 * i + 1]) << 8;
    case TPixelFormat::pf24bit: {
        const std::uint8_t* p = row + 3 * i;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
    }
    case TPixelFormat::pf32bit: {
        const std::uint8_t* p = row + 4 * i;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
    }
    }
    return 0;
}

inline void SetValue(TPixelFormat format, std::uint8_t* row, int x, std::uint32_t value) {
    const std::size_t i = std::size_t(x);
    switch (format) {
    case TPixelFormat::pf1bit: {
        const std::uint8_t mask = std::uint8_t(0x80 >> (x & 7));
        if (value & 1)
            row[i >> 3] |= mask;
        else
            row[i >> 3] &= std::uint8_t(~mask);
        break;
    }
    case TPixelFormat::pf4bit:
        if (x & 1)
            row[i >> 1] = std::uint8_t((row[i >> 1] & 0xF0) | (value & 0x0F));
        else
            row[i >> 1] = std::uint8_t((row[i >> 1] & 0x0F) | (value & 0x0F) << 4);
        break;
    case TPixelFormat::pf8bit:
        row[i] = std::uint8_t(value);
        break;
    case TPixelFormat::pf16bit:
        row[2 * i] = std::uint8_t(value);
        row[2 * i + 1] = std::uint8_t(value >> 8);
        break;
    case TPixelFormat::pf24bit:
        row[3 * i] = std::uint8_t(value);
        row[3 * i + 1] = std::uint8_t(value >> 8);
        row[3 * i + 2] = std::uint8_t(value >> 16);
        break;
    case TPixelFormat::pf32bit:
        row[4 * i] = std::uint8_t(value);
        row[4 * i + 1] = std::uint8_t(value >> 8);
        row[4 * i + 2] = std::uint8_t(value >> 16);
        row[4 * i + 3] = 0;
        break;
    }
}

TColor ColorOfValue(TPixelFormat format, const std::vector<TRGBQuad>& table, std::uint32_t value);

// The stored value that represents a colour; palette formats need a matcher for their table.
std::uint32_t ValueOfColor(TPixelFormat format, TColorMatcher* matcher, TColor color);

// Decodes pixels x0 .. x0 + count - 1 of a row into count BGR triples.
void DecodeSpan(TPixelFormat format, const std::vector<TRGBQuad>& table, const std::uint8_t* row, int x0,
                int count, std::uint8_t* bgr);

// A whole row as BGR triples: a 24-bit row as it stands, any other decoded into scratch.
const std::uint8_t* BgrRow(TPixelFormat format, const std::vector<TRGBQuad>& table, const std::uint8_t* row,
                           int width, std::vector<std::uint8_t>& scratch);

// Encodes count BGR triples into pixels x0 .. x0 + count - 1 of a row. Where skip is given, a
// non-zero skip[i] leaves that pixel as it is.
void EncodeSpan(TPixelFormat format, TColorMatcher* matcher, const std::uint8_t* bgr, int count,
                std::uint8_t* row, int x0, const std::uint8_t* skip = nullptr);

} // namespace RowCodec
