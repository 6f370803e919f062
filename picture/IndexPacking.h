// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The fewest bits per pixel, 1, 2, 4 or 8, whose indices reach every entry of a table of
// `colors` entries (at most 256).
int SmallestIndexBits(std::size_t colors);

// Packs `width` 8-bit indices into `bits` (1, 2, 4 or 8) bits per pixel, leftmost pixel in the
// high bits, as PNG and BMP rows store them; the bits past the last pixel are zero. `packed`
// holds (width * bits + 7) / 8 bytes.
void PackIndices(const std::uint8_t* indices, int width, int bits, std::uint8_t* packed);
