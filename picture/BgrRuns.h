// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstring>

// A stored blue, green, red triple as one number, 0x00RRGGBB.
inline std::uint32_t LoadBgr(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
}

// Calls run(rgb, first, length) for each run of one colour in `count` blue, green, red triples,
// left to right. Tile maps are long runs of one colour, so the colour of a run is looked at
// once and its body is checked four pixels at a time.
template <typename Run> void ForEachBgrRun(const std::uint8_t* bgr, int count, Run&& run) {
    if (count <= 0) return;
    std::uint8_t four[12];
    const auto start = [&four, bgr](int i) {
        for (int k = 0; k < 4; ++k)
            std::memcpy(four + 3 * k, bgr + 3 * std::size_t(i), 3);
        return LoadBgr(bgr + 3 * std::size_t(i));
    };
    int first = 0;
    std::uint32_t color = start(0);
    int i = 1;
    while (i < count) {
        if (i + 4 <= count && std::memcmp(bgr + 3 * std::size_t(i), four, 12) == 0) {
            i += 4;
            continue;
        }
        if (LoadBgr(bgr + 3 * std::size_t(i)) == color) {
            ++i;
            continue;
        }
        if (!run(color, first, i - first)) return;
        first = i;
        color = start(i);
        ++i;
    }
    run(color, first, count - first);
}
