// SPDX-License-Identifier: GPL-3.0-or-later
#include "RowCodec.h"

#include "ColorMatcher.h"

#include <cstring>

namespace RowCodec {

namespace {

constexpr TColor ColorOf565(std::uint32_t v) {
    const std::uint32_t r5 = (v >> 11) & 0x1F, g6 = (v >> 5) & 0x3F, b5 = v & 0x1F;
    // Bit replication: full intensity stays full, black stays black.
    return RGB(std::uint8_t(r5 << 3 | r5 >> 2), std::uint8_t(g6 << 2 | g6 >> 4),
               std::uint8_t(b5 << 3 | b5 >> 2));
}

constexpr std::uint32_t Value565(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return std::uint32_t(r >> 3) << 11 | std::uint32_t(g >> 2) << 5 | std::uint32_t(b >> 3);
}

TColor TableColor(const std::vector<TRGBQuad>& table, std::uint32_t index) {
    // An index past a short colour table shows black.
    return index < table.size() ? ColorOf(table[index]) : clBlack;
}

} // namespace

TColor ColorOfValue(TPixelFormat format, const std::vector<TRGBQuad>& table, std::uint32_t value) {
    switch (format) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit:
        return TableColor(table, value);
    case TPixelFormat::pf16bit:
        return ColorOf565(value);
    case TPixelFormat::pf24bit:
    case TPixelFormat::pf32bit:
        // Stored as blue, green, red: swap into 0x00BBGGRR.
        return RGB(std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value));
    }
    return clBlack;
}

std::uint32_t ValueOfColor(TPixelFormat format, TColorMatcher* matcher, TColor color) {
    const std::uint8_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    switch (format) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit:
        return matcher ? matcher->Nearest(r, g, b) : 0;
    case TPixelFormat::pf16bit:
        return Value565(r, g, b);
    case TPixelFormat::pf24bit:
    case TPixelFormat::pf32bit:
        return std::uint32_t(b) | std::uint32_t(g) << 8 | std::uint32_t(r) << 16;
    }
    return 0;
}

void DecodeSpan(TPixelFormat format, const std::vector<TRGBQuad>& table, const std::uint8_t* row, int x0,
                int count, std::uint8_t* bgr) {
    switch (format) {
    case TPixelFormat::pf24bit:
        std::memcpy(bgr, row + 3 * std::size_t(x0), 3 * std::size_t(count));
        return;
    case TPixelFormat::pf32bit:
        for (std::size_t i = 0; i < std::size_t(count); ++i)
            std::memcpy(bgr + 3 * i, row + 4 * (std::size_t(x0) + i), 3);
        return;
    case TPixelFormat::pf16bit:
        for (std::size_t i = 0; i < std::size_t(count); ++i) {
            const TColor c = ColorOf565(GetValue(format, row, x0 + int(i)));
            bgr[3 * i] = GetBValue(c);
            bgr[3 * i + 1] = GetGValue(c);
            bgr[3 * i + 2] = GetRValue(c);
        }
        return;
    default: {
        // Palette formats: a table lookup per pixel, with the table widened to 256 entries once.
        TRGBQuad lookup[256] = {};
        for (std::size_t i = 0; i < table.size() && i < 256; ++i)
            lookup[i] = table[i];
        for (std::size_t i = 0; i < std::size_t(count); ++i) {
            const TRGBQuad& q = lookup[GetValue(format, row, x0 + int(i)) & 0xFF];
            bgr[3 * i] = q.Blue;
            bgr[3 * i + 1] = q.Green;
            bgr[3 * i + 2] = q.Red;
        }
        return;
    }
    }
}

void EncodeSpan(TPixelFormat format, TColorMatcher* matcher, const std::uint8_t* bgr, int count,
                std::uint8_t* row, int x0, const std::uint8_t* skip) {
    if (format == TPixelFormat::pf24bit && !skip) {
        std::memcpy(row + 3 * std::size_t(x0), bgr, 3 * std::size_t(count));
        return;
    }
    if (format == TPixelFormat::pf8bit && matcher) {
        // Runs of one colour are the rule in tile maps: reuse the last answer.
        std::uint32_t lastKey = 0xFFFFFFFFu;
        std::uint8_t lastIndex = 0;
        std::uint8_t* out = row + x0;
        for (std::size_t i = 0; i < std::size_t(count); ++i) {
            if (skip && skip[i]) continue;
            const std::uint8_t* p = bgr + 3 * i;
            const std::uint32_t key =
                std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
            if (key != lastKey) {
                lastKey = key;
                lastIndex = matcher->Nearest(p[2], p[1], p[0]);
            }
            out[i] = lastIndex;
        }
        return;
    }
    for (std::size_t i = 0; i < std::size_t(count); ++i) {
        if (skip && skip[i]) continue;
        const std::uint8_t* p = bgr + 3 * i;
        SetValue(format, row, x0 + int(i), ValueOfColor(format, matcher, RGB(p[2], p[1], p[0])));
    }
}

const std::uint8_t* BgrRow(TPixelFormat format, const std::vector<TRGBQuad>& table, const std::uint8_t* row,
                           int width, std::vector<std::uint8_t>& scratch) {
    if (format == TPixelFormat::pf24bit) return row;
    scratch.resize(std::size_t(width) * 3);
    DecodeSpan(format, table, row, 0, width, scratch.data());
    return scratch.data();
}

} // namespace RowCodec
