#pragma once

#include "Color.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Finds the nearest entry of a colour table: smallest squared RGB distance, ties to the lower
// index. Fast on pictures of any colour count: the RGB cube is cut into 8x8x8 cells, and each
// cell learns on first use which few entries can be nearest to any colour inside it; a small
// direct-mapped cache then answers repeated colours (tile maps) without any search.
class TColorMatcher {
public:
    explicit TColorMatcher(const std::vector<TRGBQuad>& table);

    std::uint8_t Nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b);
    std::uint8_t Nearest(TColor c) { return Nearest(GetRValue(c), GetGValue(c), GetBValue(c)); }

    // Which entries can be nearest to some colour of each 8x8x8 cell of the RGB cube.
    class TCellIndex {
    public:
        explicit TCellIndex(std::vector<TRGBQuad> table);
        void BuildAll();
        std::uint8_t Search(std::uint8_t r, std::uint8_t g, std::uint8_t b);
        const std::vector<TRGBQuad>& Table() const { return Table_; }

    private:
        struct TCell {
            std::uint32_t First = 0;
            std::uint16_t Count = NotBuilt;
        };
        static constexpr std::uint16_t NotBuilt = 0xFFFF;
        static constexpr int CellBits = 5; // 32 cells per channel, 8 levels each

        const TCell& Build(std::size_t cellIndex, int cr, int cg, int cb);

        std::vector<TRGBQuad> Table_;
        std::vector<TCell> Cells_;
        std::vector<std::uint8_t> Candidates_;
    };

private:
    struct TCacheSlot {
        std::uint32_t Key = 0xFFFFFFFFu; // never a colour: colours have a zero high byte
        std::uint8_t Index = 0;
    };
    static constexpr std::size_t CacheSize = 4096;

    // The fixed tables share one index, built once; any other table gets its own, built on demand.
    std::unique_ptr<TCellIndex> Own_;
    TCellIndex* Index_ = nullptr;
    std::array<TCacheSlot, CacheSize> Cache_{};
};

// The same rule for a single colour, by a plain search: cheaper than building a matcher.
std::uint8_t NearestIndex(const std::vector<TRGBQuad>& table, TColor color);
