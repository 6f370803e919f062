// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The CRC-32 of the PNG standard (polynomial 0xEDB88320, reflected), as chunk CRCs use it.
// Start with PngCrcStart, feed any number of pieces, and finish with PngCrcFinal.
inline constexpr std::uint32_t PngCrcStart = 0xFFFFFFFFu;

std::uint32_t PngCrcUpdate(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

inline constexpr std::uint32_t PngCrcFinal(std::uint32_t crc) {
    return crc ^ 0xFFFFFFFFu;
}
