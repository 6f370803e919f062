// SPDX-License-Identifier: GPL-3.0-or-later
#include "Crc32c.h"

#include <array>
#include <cstring>

namespace {

constexpr std::uint32_t kReflectedPolynomial = 0x82F63B78;

constexpr std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1) ? kReflectedPolynomial : 0);
        table[i] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

#if defined(__x86_64__)
__attribute__((target("sse4.2"))) std::uint32_t ByInstruction(std::span<const std::uint8_t> bytes) {
    const std::uint8_t* at = bytes.data();
    std::size_t left = bytes.size();
    std::uint64_t crc = 0xFFFFFFFF;
    for (; left >= 8; at += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, at, 8);
        crc = __builtin_ia32_crc32di(crc, word);
    }
    auto crc32 = std::uint32_t(crc);
    for (; left > 0; ++at, --left)
        crc32 = __builtin_ia32_crc32qi(crc32, *at);
    return ~crc32;
}
#endif

} // namespace

std::uint32_t Crc32cByTable(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (const std::uint8_t byte : bytes)
        crc = (crc >> 8) ^ kTable[(crc ^ byte) & 0xFF];
    return ~crc;
}

std::uint32_t Crc32c(std::span<const std::uint8_t> bytes) {
#if defined(__x86_64__)
    static const bool hasInstruction = __builtin_cpu_supports("sse4.2");
    if (hasInstruction) return ByInstruction(bytes);
#endif
    return Crc32cByTable(bytes);
}
