// SPDX-License-Identifier: GPL-3.0-or-later
#include "Histogram.h"

#include "GifColorMap.h"
#include "GifExtension.h"
#include "GifSubImage.h"
#include "ListSort.h"

#include <array>
#include <cstdint>
#include <limits>

THistogram::THistogram(const TGIFColorMap& colorMap)
    : ColorMap(colorMap), Tallies(std::size_t(colorMap.Count())) {
    for (int i = 0; i < colorMap.Count(); ++i) {
        const TGIFColor& c = colorMap[i];
        ColorTally& tally = Tallies[std::size_t(i)];
        tally.SourceIndex = i;
        tally.Rgb = std::uint32_t(c.Red) | std::uint32_t(c.Green) << 8 | std::uint32_t(c.Blue) << 16;
        List.push_back(&tally);
    }
}

bool THistogram::ProcessSubImage(TGIFSubImage& subImage) {
    if (subImage.Empty()) return false;
    SubImages.push_back(&subImage);

    // Counting into a plain array first keeps the pass over the pixels to one increment each.
    std::array<std::uint64_t, MaxGIFColors> counts{};
    for (const std::uint8_t pixel : subImage.Data)
        ++counts[pixel];

    const bool transparent = subImage.Transparent();
    const unsigned transparentIndex = subImage.TransparentIndex();
    bool seen = false;
    if (transparent) {
        seen = counts[transparentIndex] > 0;
        counts[transparentIndex] = 0;
    }

    if (FoldBeyondTable(counts)) {
        const unsigned entries = unsigned(Tallies.size());
        for (std::uint8_t& pixel : subImage.Data)
            if (pixel >= entries && !(transparent && pixel == transparentIndex)) pixel = 0;
    }
    AddToTallies(counts);

    if (transparent && !seen) {
        subImage.GraphicControlExtension->TransparentColorIndex = 0;
        subImage.GraphicControlExtension->Transparent = false;
    }
    return seen;
}

void THistogram::AddCounts(std::array<std::uint64_t, MaxGIFColors> counts) {
    FoldBeyondTable(counts);
    AddToTallies(counts);
}

bool THistogram::FoldBeyondTable(std::array<std::uint64_t, MaxGIFColors>& counts) const {
    const unsigned entries = unsigned(Tallies.size());
    bool beyondTable = false;
    for (unsigned p = entries; p < MaxGIFColors; ++p) {
        beyondTable |= counts[p] > 0;
        counts[0] += counts[p];
        counts[p] = 0;
    }
    return beyondTable;
}

void THistogram::AddToTallies(const std::array<std::uint64_t, MaxGIFColors>& counts) {
    // A count that would pass the 32-bit limit stays at the limit rather than stopping the
    // count: a colour left uncounted would be dropped from the table and its pixels repainted.
    constexpr std::uint64_t MaxCount = std::numeric_limits<std::int32_t>::max();
    for (unsigned p = 0; p < unsigned(Tallies.size()); ++p) {
        const std::uint64_t total = std::uint64_t(Tallies[p].UseCount) + counts[p];
        Tallies[p].UseCount = std::int32_t(total > MaxCount ? MaxCount : total);
    }
}

int THistogram::Prune() {
    ListSort(List, CompareByUseCount);
    std::size_t used = 0;
    while (used < List.size() && List[used]->UseCount != 0)
        ++used;
    for (std::size_t i = used; i < List.size(); ++i)
        List[i]->UseCount = -1;
    List.resize(used);
    return int(used);
}
