// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "ColorClusters.h"
#include "PixelFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Gathers the colours of a picture with more than 256 of them, a row at a time, and chooses a
// colour table for it (ClusterColors says how). Memory stays bounded whatever the picture: the
// exact colours are tallied up to a fixed number, and when a noisy picture brings more, the
// least used half is dropped into coarse sums of 32 levels a channel, which every pixel feeds.
// Colours of large areas therefore always keep their exact value and count.
class TColorQuantizer {
  public:
    TColorQuantizer();

    // Adds `count` pixels given as blue, green, red byte triples.
    void AddBgr(const std::uint8_t* bgr, int count);
    // Adds the first `width` pixels of a stored row of any format.
    void AddRow(TPixelFormat format, const std::vector<TRGBQuad>& table, const std::uint8_t* row, int width);

    std::uint64_t Pixels() const { return Pixels_; }
    // The number of distinct colours added, exactly.
    std::uint64_t DistinctColors() const { return Distinct_; }
    // The colours to choose from: the exact colours, or, once some were dropped, the surviving
    // frequent ones and the coarse means of everything else.
    std::vector<TWeightedColor> Colors() const;
    // The chosen table, most used first, at most maxColors entries.
    std::vector<TRGBQuad> Table(std::size_t maxColors = 256) const {
        return ClusterColors(Colors(), maxColors);
    }

  private:
    struct TSlot {
        std::uint32_t Key = 0; // 0x00RRGGBB + KeyMark; 0 marks a free slot
        std::uint64_t Pixels = 0;
    };
    struct TCellSum {
        std::uint64_t Pixels = 0, Red = 0, Green = 0, Blue = 0;
    };
    static constexpr std::uint32_t KeyMark = 0x01000000u;
    static constexpr int SlotBits = 17;
    static constexpr std::size_t SlotCount = std::size_t(1) << SlotBits;
    static constexpr std::size_t MaxTallied = SlotCount / 2;

    void Add(std::uint32_t rgb, std::uint64_t pixels);
    void Tally(std::uint32_t key, std::uint64_t pixels);
    void DropLeastUsed();
    static std::size_t CellOf(std::uint32_t rgb);

    std::vector<std::uint64_t> Seen_; // one bit for every colour there is
    std::uint64_t Distinct_ = 0;
    std::uint64_t Pixels_ = 0;
    std::vector<TSlot> Slots_;
    std::size_t Tallied_ = 0;
    // No dropped colour had more pixels than this when it was dropped.
    std::uint64_t DroppedBelow_ = 0;
    std::vector<TCellSum> Cells_;
    std::vector<std::uint8_t> Scratch_;
};
