// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorMapOptimizer.h"

#include "GifExtension.h"
#include "GifImage.h"
#include "ListSort.h"

#include <cstdlib>
#include <limits>

namespace {
constexpr int MaxDistance = 3 * 255; // red + green + blue sums differ by at most this
} // namespace

void TColorMapOptimizer::Optimize() {
    MakeHistograms();
    Pack();
    InstallTable();
    Renumber();
}

TPackedColors TColorMapOptimizer::PackCounts(const TGIFColorMap& table,
                                             const std::array<std::uint64_t, MaxGIFColors>& counts) {
    TColorMapOptimizer optimizer;
    auto histogram = std::make_unique<THistogram>(table);
    histogram->AddCounts(counts);
    optimizer.Histograms.push_back(std::move(histogram));
    optimizer.Pack();

    TPackedColors packed;
    packed.Table.assign(optimizer.PackedTable.begin(), optimizer.PackedTable.begin() + optimizer.KeptCount);
    for (const ColorTally* tally : optimizer.Histograms.front()->List)
        packed.Translation[std::size_t(tally->SourceIndex)] = std::uint8_t(tally->TargetIndex);
    // Pixels past the table were counted as entry 0 and go where it goes.
    for (std::size_t p = std::size_t(table.Count()); p < MaxGIFColors; ++p)
        packed.Translation[p] = packed.Translation[0];
    return packed;
}

void TColorMapOptimizer::Pack() {
    for (auto& histogram : Histograms) {
        histogram->Prune();
        Combined.insert(Combined.end(), histogram->List.begin(), histogram->List.end());
    }
    MergeEqualColors();
    ChooseKeptColors();
}

void TColorMapOptimizer::MakeHistograms() {
    TransparencyUsed = false;
    if (Image->Header.ColorMap.Count() > 0) {
        auto global = std::make_unique<THistogram>(Image->Header.ColorMap);
        for (auto& subImage : Image->Images)
            if (subImage->ColorMap.Count() == 0 && !subImage->Empty())
                TransparencyUsed |= global->ProcessSubImage(*subImage);
        if (!global->SubImages.empty()) Histograms.push_back(std::move(global));
    }
    for (auto& subImage : Image->Images) {
        if (subImage->ColorMap.Count() == 0 || subImage->Empty()) continue;
        auto local = std::make_unique<THistogram>(subImage->ColorMap);
        TransparencyUsed |= local->ProcessSubImage(*subImage);
        Histograms.push_back(std::move(local));
    }
}

void TColorMapOptimizer::MergeEqualColors() {
    // An image without pixels has nothing to merge.
    if (Combined.empty()) return;
    ListSort(Combined, CompareByColor);
    ColorTally* master = Combined.front();
    constexpr std::int64_t MaxCount = std::numeric_limits<std::int32_t>::max();
    for (std::size_t i = 1; i < Combined.size(); ++i) {
        ColorTally* tally = Combined[i];
        if (tally->Rgb == master->Rgb) {
            const std::int64_t sum = std::int64_t(master->UseCount) + tally->UseCount;
            master->UseCount = std::int32_t(sum > MaxCount ? MaxCount : sum);
            tally->UseCount = 0;
            tally->MergedInto = master;
        } else {
            master = tally;
        }
    }
}

void TColorMapOptimizer::ChooseKeptColors() {
    ListSort(Combined, CompareByUseCount);
    const int limit = TransparencyUsed ? MaxGIFColors - 1 : MaxGIFColors;
    const int size = int(Combined.size());
    KeptCount = 0;
    while (KeptCount < size && KeptCount < limit && Combined[std::size_t(KeptCount)]->UseCount != 0)
        ++KeptCount;

    for (int i = 0; i < KeptCount; ++i) {
        ColorTally& tally = *Combined[std::size_t(i)];
        tally.TargetIndex = i;
        PackedTable[std::size_t(i)] = {tally.Red(), tally.Green(), tally.Blue()};
    }
    for (int i = KeptCount; i < size; ++i) {
        ColorTally& tally = *Combined[std::size_t(i)];
        if (tally.UseCount == 0) {
            // Merged tallies sort last, so their master has its place already.
            tally.TargetIndex = tally.MergedInto->TargetIndex;
            continue;
        }
        int bestDistance = MaxDistance;
        int bestIndex = 0;
        const int sum = tally.Sum();
        for (int j = 0; j < KeptCount; ++j) {
            const TGIFColor& kept = PackedTable[std::size_t(j)];
            const int distance = std::abs(kept.Red + kept.Green + kept.Blue - sum);
            if (distance < bestDistance) {
                bestDistance = distance;
                bestIndex = j;
            }
        }
        tally.TargetIndex = bestIndex;
    }
    if (TransparencyUsed) {
        TransparentSlot = KeptCount;
        PackedTable[std::size_t(KeptCount)] = {0, 0, 0};
        ++KeptCount;
    }
}

void TColorMapOptimizer::InstallTable() {
    for (auto& subImage : Image->Images)
        subImage->ColorMap.Clear();
    Image->Header.ColorMap.Assign({PackedTable.begin(), PackedTable.begin() + KeptCount});
    Image->Header.ColorMap.Sorted = true;
}

void TColorMapOptimizer::Renumber() {
    for (const auto& histogram : Histograms) {
        std::array<std::uint8_t, MaxGIFColors> translation{};
        for (const ColorTally* tally : histogram->List)
            translation[std::size_t(tally->SourceIndex)] = std::uint8_t(tally->TargetIndex);
        for (TGIFSubImage* subImage : histogram->SubImages) {
            if (subImage->Transparent() && TransparencyUsed) {
                const std::uint8_t transparentIndex = subImage->TransparentIndex();
                subImage->GraphicControlExtension->TransparentColorIndex = std::uint8_t(TransparentSlot);
                // The table serves the histogram's other sub-images too, so it is put back.
                const std::uint8_t saved = translation[transparentIndex];
                translation[transparentIndex] = std::uint8_t(TransparentSlot);
                for (std::uint8_t& pixel : subImage->Data)
                    pixel = translation[pixel];
                translation[transparentIndex] = saved;
            } else {
                for (std::uint8_t& pixel : subImage->Data)
                    pixel = translation[pixel];
            }
        }
    }
}
