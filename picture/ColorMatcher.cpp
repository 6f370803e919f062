// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorMatcher.h"

#include "MemoryGuard.h"
#include "Palettes.h"

#include <algorithm>
#include <limits>

namespace {

int Sq(int v) {
    return v * v;
}

// Smallest and largest squared distance along one axis from a value to the range [lo, hi].
void AxisRange(int v, int lo, int hi, int& dmin, int& dmax) {
    if (v < lo)
        dmin = Sq(lo - v);
    else if (v > hi)
        dmin = Sq(v - hi);
    else
        dmin = 0;
    dmax = std::max(Sq(v - lo), Sq(v - hi));
}

} // namespace

namespace {

// The fixed tables' indexes keep every answer and live as long as the thread: conversions to 8, 4
// and 1 bits reuse what earlier ones learnt.
TColorMatcher::TCellIndex* SharedIndexFor(const std::vector<TRGBQuad>& table) {
    static const auto make = [](const std::vector<TRGBQuad>& t) {
        auto index = std::make_unique<TColorMatcher::TCellIndex>(t);
        index->KeepEveryAnswer();
        return index;
    };
    if (table == HalftonePalette()) {
        thread_local const auto halftone = make(HalftonePalette());
        return halftone.get();
    }
    if (table == SixteenColorPalette()) {
        thread_local const auto sixteen = make(SixteenColorPalette());
        return sixteen.get();
    }
    if (table == MonochromePalette()) {
        thread_local const auto mono = make(MonochromePalette());
        return mono.get();
    }
    return nullptr;
}

} // namespace

TColorMatcher::TCellIndex::TCellIndex(std::vector<TRGBQuad> table)
    : Table_(std::move(table)), Cells_((NoteAllocation(CellCount() * sizeof(TCell)), CellCount())) {
    if (Table_.size() > 256) Table_.resize(256);
}

void TColorMatcher::TCellIndex::KeepEveryAnswer() {
    NoteAllocation(std::uint64_t(1) << 24);
    Answers_.assign(std::size_t(1) << 24, 0);
    CellAnswered_.assign(Cells_.size(), false);
}

const TColorMatcher::TCellIndex::TCell& TColorMatcher::TCellIndex::Build(std::size_t cellIndex) {
    constexpr int span = 256 >> CellBits;
    constexpr std::size_t mask = (std::size_t(1) << CellBits) - 1;
    const int r0 = int(cellIndex >> (2 * CellBits)) * span, g0 = int(cellIndex >> CellBits & mask) * span,
              b0 = int(cellIndex & mask) * span;
    const int r1 = r0 + span - 1, g1 = g0 + span - 1, b1 = b0 + span - 1;

    // An entry can be nearest to some colour of the cell only if its closest approach to the
    // cell is no farther than the best worst-case distance of any entry.
    std::array<int, 256> nearestPossible{};
    int bound = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < Table_.size(); ++i) {
        int rmin, rmax, gmin, gmax, bmin, bmax;
        AxisRange(Table_[i].Red, r0, r1, rmin, rmax);
        AxisRange(Table_[i].Green, g0, g1, gmin, gmax);
        AxisRange(Table_[i].Blue, b0, b1, bmin, bmax);
        nearestPossible[i] = rmin + gmin + bmin;
        bound = std::min(bound, rmax + gmax + bmax);
    }
    TCell cell;
    cell.First = std::uint32_t(Candidates_.size());
    std::uint16_t count = 0;
    for (std::size_t i = 0; i < Table_.size(); ++i) {
        if (nearestPossible[i] <= bound) {
            Candidates_.push_back(std::uint8_t(i));
            ++count;
        }
    }
    cell.Count = count;
    Cells_[cellIndex] = cell;
    return Cells_[cellIndex];
}

int TColorMatcher::TCellIndex::BestIn(const TCell& cell, std::uint8_t r, std::uint8_t g,
                                      std::uint8_t b) const {
    // Candidates are in ascending index order, so a strict comparison keeps ties on the lower index.
    int best = std::numeric_limits<int>::max();
    int bestIndex = 0;
    for (std::uint32_t k = cell.First; k < cell.First + cell.Count; ++k) {
        const TRGBQuad& q = Table_[Candidates_[k]];
        const int d = Sq(int(q.Red) - r) + Sq(int(q.Green) - g) + Sq(int(q.Blue) - b);
        if (d < best) {
            best = d;
            bestIndex = Candidates_[k];
        }
    }
    return bestIndex;
}

std::uint8_t TColorMatcher::TCellIndex::Search(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (Table_.empty()) return 0;
    const std::size_t cellIndex = CellOf(r, g, b);
    const TCell* cell = &Cells_[cellIndex];
    if (cell->Count == NotBuilt) cell = &Build(cellIndex);
    return std::uint8_t(BestIn(*cell, r, g, b));
}

void TColorMatcher::TCellIndex::AnswerCell(std::size_t cellIndex) {
    constexpr int span = 256 >> CellBits;
    constexpr std::size_t mask = (std::size_t(1) << CellBits) - 1;
    const int r0 = int(cellIndex >> (2 * CellBits)) * span, g0 = int(cellIndex >> CellBits & mask) * span,
              b0 = int(cellIndex & mask) * span;
    const TCell& cell = Cells_[cellIndex].Count == NotBuilt ? Build(cellIndex) : Cells_[cellIndex];
    for (int r = r0; r < r0 + span; ++r)
        for (int g = g0; g < g0 + span; ++g)
            for (int b = b0; b < b0 + span; ++b)
                Answers_[std::size_t(r) << 16 | std::size_t(g) << 8 | std::size_t(b)] =
                    Table_.empty()
                        ? 0
                        : std::uint8_t(BestIn(cell, std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)));
    CellAnswered_[cellIndex] = true;
}

TColorMatcher::TColorMatcher(const std::vector<TRGBQuad>& table) {
    Index_ = SharedIndexFor(table);
    if (!Index_) {
        Own_ = std::make_unique<TCellIndex>(table);
        Index_ = Own_.get();
    }
}

std::uint8_t TColorMatcher::Nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (Index_->KeepsEveryAnswer()) return Index_->Answer(r, g, b);
    const std::uint32_t key = std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
    TCacheSlot& slot = Cache_[((key * 2654435761u) >> 20) & (CacheSize - 1)];
    if (slot.Key == key) return slot.Index;
    slot.Key = key;
    slot.Index = Index_->Search(r, g, b);
    return slot.Index;
}

std::uint8_t NearestIndex(const std::vector<TRGBQuad>& table, TColor color) {
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    int best = std::numeric_limits<int>::max();
    std::uint8_t bestIndex = 0;
    for (std::size_t i = 0; i < table.size() && i < 256; ++i) {
        const int d = Sq(table[i].Red - r) + Sq(table[i].Green - g) + Sq(table[i].Blue - b);
        if (d < best) {
            best = d;
            bestIndex = std::uint8_t(i);
        }
    }
    return bestIndex;
}
