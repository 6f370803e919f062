// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColorTally.h"
#include "GifColorMap.h"
#include "Histogram.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TGIFImage;

// A colour table packed from pixel counts: the kept colours, most used first, and the new index
// of every old one.
struct TPackedColors {
    std::vector<TGIFColor> Table;
    std::array<std::uint8_t, MaxGIFColors> Translation{};
};

// Packs every colour table of an image into one global table of the colours in use, most used
// first, merging equal colours, and renumbers the pixels to it. Made, run once and dropped.
class TColorMapOptimizer {
  public:
    explicit TColorMapOptimizer(TGIFImage& image) : Image(&image) {}
    void Optimize();

    // The same packing for one table whose pixels were counted by index elsewhere (a picture read
    // a row at a time), without an image: the same table and numbering Optimize gives.
    static TPackedColors PackCounts(const TGIFColorMap& table,
                                    const std::array<std::uint64_t, MaxGIFColors>& counts);

    TGIFImage* Image;
    std::vector<std::unique_ptr<THistogram>> Histograms;
    std::vector<ColorTally*> Combined;
    std::array<TGIFColor, MaxGIFColors> PackedTable{};
    int KeptCount = 0;
    bool TransparencyUsed = false;
    int TransparentSlot = 0;

  private:
    TColorMapOptimizer() : Image(nullptr) {}
    void Pack();
    void MakeHistograms();
    void MergeEqualColors();
    void ChooseKeptColors();
    void InstallTable();
    void Renumber();
};
