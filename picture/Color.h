// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// A colour as the settings file and the whole program store it: 0x00BBGGRR, red in the low byte.
using TColor = std::uint32_t;

// What reading a pixel outside a bitmap returns; no real colour has a non-zero high byte.
inline constexpr TColor clInvalid = 0xFFFFFFFFu;
inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clWhite = 0xFFFFFFu;

constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr std::uint8_t GetRValue(TColor c) {
    return std::uint8_t(c);
}
constexpr std::uint8_t GetGValue(TColor c) {
    return std::uint8_t(c >> 8);
}
constexpr std::uint8_t GetBValue(TColor c) {
    return std::uint8_t(c >> 16);
}

// One colour-table entry in the byte order of a BMP file: blue, green, red, reserved.
struct TRGBQuad {
    std::uint8_t Blue = 0;
    std::uint8_t Green = 0;
    std::uint8_t Red = 0;
    std::uint8_t Reserved = 0;

    friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};

constexpr TColor ColorOf(TRGBQuad q) {
    return RGB(q.Red, q.Green, q.Blue);
}
constexpr TRGBQuad QuadOf(TColor c) {
    return TRGBQuad{GetBValue(c), GetGValue(c), GetRValue(c), 0};
}
