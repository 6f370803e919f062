#include "Crc32.h"

#include <array>

namespace {

constexpr std::uint32_t Polynomial = 0xEDB88320u;

// Eight tables so that eight bytes are folded into the register per step: an IDAT chunk of a
// large picture is checksummed byte for byte, and the plain one-table loop showed in profiles.
using TCrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

TCrcTables BuildTables() {
    TCrcTables t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? Polynomial ^ (c >> 1) : c >> 1;
        t[0][n] = c;
    }
    for (std::uint32_t n = 0; n < 256; ++n)
        for (std::size_t k = 1; k < 8; ++k) t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    return t;
}

// Built at the first use and kept for the program's run.
const TCrcTables& Tables() {
    static const TCrcTables tables = BuildTables();
    return tables;
}

std::uint32_t LoadLittle32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

} // namespace

std::uint32_t PngCrcUpdate(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
    const TCrcTables& t = Tables();
    while (size >= 8) {
        const std::uint32_t low = LoadLittle32(data) ^ crc;
        const std::uint32_t high = LoadLittle32(data + 4);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
              t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
        data += 8;
        size -= 8;
    }
    while (size-- > 0) crc = t[0][(crc ^ *data++) & 0xFF] ^ (crc >> 8);
    return crc;
}
