// SPDX-License-Identifier: GPL-3.0-or-later
#include "IndexPacking.h"

#include <cstring>

int SmallestIndexBits(std::size_t colors) {
    if (colors <= 2) return 1;
    if (colors <= 4) return 2;
    if (colors <= 16) return 4;
    return 8;
}

void PackIndices(const std::uint8_t* indices, int width, int bits, std::uint8_t* packed) {
    if (width <= 0) return;
    if (bits == 8) {
        std::memcpy(packed, indices, std::size_t(width));
        return;
    }
    const int perByte = 8 / bits;
    const std::uint8_t mask = std::uint8_t((1u << bits) - 1);
    std::size_t out = 0;
    for (int x = 0; x < width; x += perByte) {
        std::uint8_t byte = 0;
        for (int k = 0; k < perByte; ++k) {
            byte = std::uint8_t(byte << bits);
            if (x + k < width) byte |= indices[x + k] & mask;
        }
        packed[out++] = byte;
    }
}
