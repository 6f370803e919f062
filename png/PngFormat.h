// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Constants of the PNG file format (ISO/IEC 15948) that the writer needs.
namespace PngFormat {

// The eight bytes every PNG file starts with.
inline constexpr std::array<std::uint8_t, 8> Signature{137, 80, 78, 71, 13, 10, 26, 10};

// IHDR colour type field.
inline constexpr std::uint8_t ColorTypeGrey = 0;
inline constexpr std::uint8_t ColorTypeRGB = 2;
inline constexpr std::uint8_t ColorTypePalette = 3;
inline constexpr std::uint8_t ColorTypeGreyAlpha = 4;
inline constexpr std::uint8_t ColorTypeRGBAlpha = 6;

// IHDR compression, filter and interlace method fields: 0 is the only compression and filter
// method defined; interlace 0 is none.
inline constexpr std::uint8_t CompressionDeflate = 0;
inline constexpr std::uint8_t FilterMethodAdaptive = 0;
inline constexpr std::uint8_t InterlaceNone = 0;

// IHDR data: width (4), height (4), bit depth, colour type, compression, filter, interlace.
inline constexpr std::size_t IHDRDataSize = 13;

// PLTE: red, green, blue per entry.
inline constexpr std::size_t PaletteEntryBytes = 3;
inline constexpr std::size_t MaxPaletteEntries = 256;

// Chunk lengths are 31-bit numbers.
inline constexpr std::uint32_t MaxChunkLength = 0x7FFFFFFFu;

} // namespace PngFormat
