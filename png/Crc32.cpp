// SPDX-License-Identifier: GPL-3.0-or-later
#include "Crc32.h"

#include <array>

namespace {

constexpr std::uint32_t Polynomial = 0xEDB88320u;

// Sixteen tables so that sixteen bytes are folded into the register per step: a large picture
// that does not compress well is checksummed over tens of megabytes, and the plain one-table
// loop showed in profiles.
constexpr std::size_t Slices = 16;
using TCrcTables = std::array<std::array<std::uint32_t, 256>, Slices>;

TCrcTables BuildTables() {
    TCrcTables t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? Polynomial ^ (c >> 1) : c >> 1;
        t[0][n] = c;
    }
    for (std::uint32_t n = 0; n < 256; ++n)
        for (std::size_t k = 1; k < Slices; ++k)
            t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    return t;
}

// Built at the first use and kept for the program's run.
const TCrcTables& Tables() {
    static const TCrcTables tables = BuildTables();
    return tables;
}

std::uint32_t LoadLittle32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

} // namespace

std::uint32_t PngCrcUpdate(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
    const TCrcTables& t = Tables();
    while (size >= Slices) {
        const std::uint32_t a = LoadLittle32(data) ^ crc;
        const std::uint32_t b = LoadLittle32(data + 4);
        const std::uint32_t c = LoadLittle32(data + 8);
        const std::uint32_t d = LoadLittle32(data + 12);
        crc = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
              t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
              t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
              t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
        data += Slices;
        size -= Slices;
    }
    while (size-- > 0)
        crc = t[0][(crc ^ *data++) & 0xFF] ^ (crc >> 8);
    return crc;
}
