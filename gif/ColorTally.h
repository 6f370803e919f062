// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// How many pixels use one entry of one colour table, and where the entry goes when packed.
struct ColorTally {
    static constexpr std::int32_t Undecided = 256;

    std::int32_t UseCount = 0; // 0 for an entry merged into another
    std::int32_t SourceIndex = 0;
    std::int32_t TargetIndex = Undecided;
    std::uint32_t Rgb = 0; // red + green * 256 + blue * 65536
    ColorTally* MergedInto = nullptr;

    std::uint8_t Red() const { return std::uint8_t(Rgb); }
    std::uint8_t Green() const { return std::uint8_t(Rgb >> 8); }
    std::uint8_t Blue() const { return std::uint8_t(Rgb >> 16); }
    int Sum() const { return Red() + Green() + Blue(); }
};

// The two orders the packing sorts by; both descending.
inline int CompareByUseCount(const ColorTally* a, const ColorTally* b) {
    const std::int64_t d = std::int64_t(b->UseCount) - std::int64_t(a->UseCount);
    return d < 0 ? -1 : d > 0 ? 1 : 0;
}
inline int CompareByColor(const ColorTally* a, const ColorTally* b) {
    return int(std::int64_t(b->Rgb) - std::int64_t(a->Rgb));
}
