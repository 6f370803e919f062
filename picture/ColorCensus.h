// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "PixelFormat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class TBitmap;

// A colour and the number of pixels that have it.
struct TColorUse {
    TColor Color = clBlack;
    std::uint64_t Pixels = 0;

    friend bool operator==(const TColorUse&, const TColorUse&) = default;
};

// The distinct colours of a picture, counted a row at a time, so that a picture being read from
// a file can be counted as well as one in memory. Counting stops as soon as a 257th colour
// turns up: from then on only the answer "more than 256" matters, and a noisy picture is
// recognised after a few rows instead of costing a full pass.
class TColorCensus {
  public:
    static constexpr std::size_t MaxColors = 256;

    // Counts `count` pixels given as blue, green, red byte triples.
    void AddBgr(const std::uint8_t* bgr, int count);
    // Counts the first `width` pixels of a stored row of any format.
    void AddRow(TPixelFormat format, const std::vector<TRGBQuad>& table, const std::uint8_t* row, int width);

    // More than MaxColors colours were seen; the counts are then incomplete.
    bool Overflowed() const { return Overflowed_; }
    // Distinct colours so far: at most MaxColors, or MaxColors + 1 once overflowed.
    std::size_t ColorCount() const;
    // Every colour counted, most used first; equal counts by ascending colour value, so the
    // order never depends on where in the picture a colour first appeared.
    std::vector<TColorUse> Colors() const;
    // The same colours as a colour table, in the same order.
    std::vector<TRGBQuad> Table() const;

  private:
    struct TSlot {
        std::uint32_t Key = 0; // colour + KeyMark; 0 marks a free slot
        std::uint64_t Pixels = 0;
    };
    static constexpr std::uint32_t KeyMark = 0x01000000u;
    // Four times the most colours kept, so probes stay short.
    static constexpr std::size_t SlotCount = 1024;

    // Adds `pixels` pixels of a colour given as 0x00RRGGBB (the byte order of a stored row).
    void Add(std::uint32_t rgb, std::uint64_t pixels);
    void CountIndices(TPixelFormat format, const std::uint8_t* row, int width);
    // Moves the counted palette indices into the colour counts.
    void FoldIndices();

    std::array<TSlot, SlotCount> Slots_{};
    std::size_t Distinct_ = 0;
    bool Overflowed_ = false;
    // Palette rows are counted by index and resolved to colours when asked, so that a palette
    // picture costs an array increment a pixel.
    std::array<std::uint64_t, 256> IndexUses_{};
    std::vector<TRGBQuad> IndexTable_;
    std::vector<std::uint8_t> Scratch_;
};

// Counts the colours of a whole picture.
TColorCensus CensusOf(const TBitmap& picture);
