// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

// The CRC-32C (Castagnoli) of the bytes, which seals every journal record. Its polynomial is the
// one x86 processors compute in a single instruction since SSE 4.2, several times faster than a
// table, so the writer thread spends little of a busy machine's time on it.
std::uint32_t Crc32c(std::span<const std::uint8_t> bytes);
// The same by table, for processors without the instruction.
std::uint32_t Crc32cByTable(std::span<const std::uint8_t> bytes);
