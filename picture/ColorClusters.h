// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A colour the quantiser must represent and how many pixels stand behind it. A colour read
// exactly from the picture is Exact; the mean of a group of rarely used colours is not.
struct TWeightedColor {
    double Red = 0, Green = 0, Blue = 0;
    std::uint64_t Pixels = 0;
    bool Exact = true;
};

// Chooses at most `maxColors` table colours for a set of weighted colours, most used first.
//  1. Colours of large areas keep an entry of their own, exactly: any exact colour used by at
//     least 1/4096 of the pixels (a 64 x 64 tile of a 4096 x 4096 map), the most used first, up
//     to half the table. These are what a viewer compares; a shifted background is seen at once.
//  2. The rest of the table is found by splitting the remaining colours, always the group whose
//     squared error is largest, along the channel and at the position that leave the least
//     squared error in the two halves (a greedy variance split).
//  3. A few rounds of nearest-entry assignment and re-centring (k-means) then lower the error
//     further; the protected entries stay where they are.
// With no more colours than entries every colour gets its own entry.
std::vector<TRGBQuad> ClusterColors(std::vector<TWeightedColor> colors, std::size_t maxColors);
