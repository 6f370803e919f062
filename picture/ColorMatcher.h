// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Finds the nearest entry of a colour table: smallest squared RGB distance, ties to the lower
// index. Fast on pictures of any colour count: the RGB cube is cut into 8x8x8 cells, and each
// cell learns on first use which few entries can be nearest to any colour inside it; a small
// direct-mapped cache then answers repeated colours (tile maps) without any search. The fixed
// tables go further: each cell, on first use, writes the answers for all its 512 colours into a
// table of every colour, so a picture of millions of colours costs one lookup a pixel.
class TColorMatcher {
  public:
    explicit TColorMatcher(const std::vector<TRGBQuad>& table);

    std::uint8_t Nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b);
    std::uint8_t Nearest(TColor c) { return Nearest(GetRValue(c), GetGValue(c), GetBValue(c)); }

    // Which entries can be nearest to some colour of each 8x8x8 cell of the RGB cube.
    class TCellIndex {
      public:
        explicit TCellIndex(std::vector<TRGBQuad> table);
        std::uint8_t Search(std::uint8_t r, std::uint8_t g, std::uint8_t b);
        const std::vector<TRGBQuad>& Table() const { return Table_; }

        // Keeps the answer for every colour (16 MiB), filled a cell at a time.
        void KeepEveryAnswer();
        bool KeepsEveryAnswer() const { return !Answers_.empty(); }
        std::uint8_t Answer(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
            const std::size_t cell = CellOf(r, g, b);
            if (!CellAnswered_[cell]) AnswerCell(cell);
            return Answers_[std::size_t(r) << 16 | std::size_t(g) << 8 | b];
        }

      private:
        struct TCell {
            std::uint32_t First = 0;
            std::uint16_t Count = NotBuilt;
        };
        static constexpr std::uint16_t NotBuilt = 0xFFFF;
        static constexpr int CellBits = 5; // 32 cells per channel, 8 levels each
        static constexpr std::size_t CellCount() { return std::size_t(1) << (3 * CellBits); }

        static std::size_t CellOf(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
            return std::size_t(r >> (8 - CellBits)) << (2 * CellBits) |
                   std::size_t(g >> (8 - CellBits)) << CellBits | std::size_t(b >> (8 - CellBits));
        }
        const TCell& Build(std::size_t cellIndex);
        int BestIn(const TCell& cell, std::uint8_t r, std::uint8_t g, std::uint8_t b) const;
        void AnswerCell(std::size_t cellIndex);

        std::vector<TRGBQuad> Table_;
        std::vector<TCell> Cells_;
        std::vector<std::uint8_t> Candidates_;
        std::vector<std::uint8_t> Answers_;
        std::vector<bool> CellAnswered_;
    };

  private:
    struct TCacheSlot {
        std::uint32_t Key = 0xFFFFFFFFu; // never a colour: colours have a zero high byte
        std::uint8_t Index = 0;
    };
    static constexpr std::size_t CacheSize = 4096;

    // The fixed tables share one index per thread; any other table gets its own. Both are built
    // on demand.
    std::unique_ptr<TCellIndex> Own_;
    TCellIndex* Index_ = nullptr;
    std::array<TCacheSlot, CacheSize> Cache_{};
};

// The same rule for a single colour, by a plain search: cheaper than building a matcher.
std::uint8_t NearestIndex(const std::vector<TRGBQuad>& table, TColor color);
