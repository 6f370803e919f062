// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColorTally.h"
#include "GifColorMap.h"

#include <array>
#include <cstdint>

#include <vector>

class TGIFColorMap;
class TGIFSubImage;

// The use of one colour table's entries by the sub-images that refer to it.
class THistogram {
  public:
    explicit THistogram(const TGIFColorMap& colorMap);
    THistogram(const THistogram&) = delete;
    THistogram& operator=(const THistogram&) = delete;

    // Counts the pixels of a sub-image. A pixel beyond the table is set to 0 and counted there.
    // A transparent sub-image whose transparent index never occurs loses its transparency.
    // False for an empty sub-image (not counted) and when no transparent pixel was seen.
    bool ProcessSubImage(TGIFSubImage& subImage);

    // Adds pixels counted elsewhere by index (a picture read a row at a time, no transparency).
    // Indices past the table count as entry 0, where the packing puts their pixels.
    void AddCounts(std::array<std::uint64_t, MaxGIFColors> counts);

    // Sorts the tallies by use, most used first, and drops the unused ones (their count
    // becomes -1). Returns the number of used entries.
    int Prune();

    const TGIFColorMap& ColorMap;
    // One per table entry, in table order; the list below points into it.
    std::vector<ColorTally> Tallies;
    // All tallies in table order at first; after Prune only the used ones, by use.
    std::vector<ColorTally*> List;
    std::vector<TGIFSubImage*> SubImages;

  private:
    // Indices past the table become entry 0; true when there were any.
    bool FoldBeyondTable(std::array<std::uint64_t, MaxGIFColors>& counts) const;
    void AddToTallies(const std::array<std::uint64_t, MaxGIFColors>& counts);
};
