// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Field sizes and codes of the BMP file format.
namespace BmpLayout {

inline constexpr std::uint16_t Signature = 0x4D42; // "BM"
inline constexpr std::size_t FileHeaderSize = 14;
inline constexpr std::uint32_t CoreHeaderSize = 12; // the OS/2 header
inline constexpr std::uint32_t InfoHeaderSize = 40;
inline constexpr std::size_t MaskBytes = 12; // red, green and blue masks after a 40-byte header

// Compression codes
inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_RLE8 = 1;
inline constexpr std::uint32_t BI_RLE4 = 2;
inline constexpr std::uint32_t BI_BITFIELDS = 3;

inline constexpr std::uint32_t Red565 = 0xF800, Green565 = 0x07E0, Blue565 = 0x001F;
inline constexpr std::uint32_t Red888 = 0x00FF0000, Green888 = 0x0000FF00, Blue888 = 0x000000FF;

inline std::uint16_t Get16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}
inline std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
inline void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

} // namespace BmpLayout
