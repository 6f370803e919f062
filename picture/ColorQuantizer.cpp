// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorQuantizer.h"

#include "BgrRuns.h"
#include "MemoryGuard.h"
#include "RowCodec.h"

#include <algorithm>

namespace {

inline std::size_t SlotOf(std::uint32_t key, int bits) {
    return (key * 2654435761u) >> (32 - bits);
}

constexpr std::size_t CellCount = std::size_t(1) << 15; // 32 levels a channel

} // namespace

TColorQuantizer::TColorQuantizer() {
    NoteAllocation((std::uint64_t(1) << 24) / 8 + SlotCount * sizeof(TSlot) + CellCount * sizeof(TCellSum));
    Seen_.assign((std::size_t(1) << 24) / 64, 0);
    Slots_.assign(SlotCount, TSlot{});
    Cells_.assign(CellCount, TCellSum{});
}

std::size_t TColorQuantizer::CellOf(std::uint32_t rgb) {
    return std::size_t(rgb >> 19 & 0x1F) << 10 | std::size_t(rgb >> 11 & 0x1F) << 5 |
           std::size_t(rgb >> 3 & 0x1F);
}

void TColorQuantizer::Tally(std::uint32_t key, std::uint64_t pixels) {
    for (std::size_t slot = SlotOf(key, SlotBits);; slot = (slot + 1) & (SlotCount - 1)) {
        TSlot& s = Slots_[slot];
        if (s.Key == key) {
            s.Pixels += pixels;
            return;
        }
        if (s.Key == 0) {
            s = {key, pixels};
            if (++Tallied_ == MaxTallied) DropLeastUsed();
            return;
        }
    }
}

void TColorQuantizer::DropLeastUsed() {
    std::vector<std::uint64_t> counts;
    counts.reserve(Tallied_);
    for (const TSlot& s : Slots_)
        if (s.Key) counts.push_back(s.Pixels);
    auto middle = counts.begin() + std::ptrdiff_t(counts.size() / 2);
    std::nth_element(counts.begin(), middle, counts.end());
    const std::uint64_t limit = *middle;
    DroppedBelow_ = std::max(DroppedBelow_, limit);
    // The survivors move into a fresh table: open addressing cannot leave holes behind.
    std::vector<TSlot> kept;
    kept.reserve(Tallied_ / 2 + 1);
    for (const TSlot& s : Slots_)
        if (s.Key && s.Pixels > limit) kept.push_back(s);
    std::fill(Slots_.begin(), Slots_.end(), TSlot{});
    Tallied_ = 0;
    for (const TSlot& s : kept) {
        std::size_t slot = SlotOf(s.Key, SlotBits);
        while (Slots_[slot].Key)
            slot = (slot + 1) & (SlotCount - 1);
        Slots_[slot] = s;
        ++Tallied_;
    }
}

void TColorQuantizer::Add(std::uint32_t rgb, std::uint64_t pixels) {
    Pixels_ += pixels;
    std::uint64_t& word = Seen_[rgb >> 6];
    const std::uint64_t bit = std::uint64_t(1) << (rgb & 63);
    if (!(word & bit)) {
        word |= bit;
        ++Distinct_;
    }
    TCellSum& cell = Cells_[CellOf(rgb)];
    cell.Pixels += pixels;
    cell.Red += pixels * (rgb >> 16 & 0xFF);
    cell.Green += pixels * (rgb >> 8 & 0xFF);
    cell.Blue += pixels * (rgb & 0xFF);
    Tally(rgb | KeyMark, pixels);
}

void TColorQuantizer::AddBgr(const std::uint8_t* bgr, int count) {
    ForEachBgrRun(bgr, count, [this](std::uint32_t rgb, int, int length) {
        Add(rgb, std::uint64_t(length));
        return true;
    });
}

void TColorQuantizer::AddRow(TPixelFormat format, const std::vector<TRGBQuad>& table, const std::uint8_t* row,
                             int width) {
    if (width <= 0) return;
    AddBgr(RowCodec::BgrRow(format, table, row, width, Scratch_), width);
}

std::vector<TWeightedColor> TColorQuantizer::Colors() const {
    std::vector<TWeightedColor> colors;
    std::vector<TCellSum> rest = DroppedBelow_ ? Cells_ : std::vector<TCellSum>{};
    for (const TSlot& s : Slots_) {
        if (!s.Key) continue;
        const std::uint32_t rgb = s.Key & ~KeyMark;
        const std::uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
        // A colour tallied after others were dropped may itself have lost pixels then; only
        // one counted well above what was ever dropped is trusted as exact.
        if (DroppedBelow_ && s.Pixels <= 2 * DroppedBelow_) continue;
        colors.push_back({double(r), double(g), double(b), s.Pixels, true});
        if (DroppedBelow_) {
            TCellSum& cell = rest[CellOf(rgb)];
            const std::uint64_t n = std::min(s.Pixels, cell.Pixels);
            cell.Pixels -= n;
            cell.Red -= std::min(cell.Red, n * r);
            cell.Green -= std::min(cell.Green, n * g);
            cell.Blue -= std::min(cell.Blue, n * b);
        }
    }
    for (const TCellSum& cell : rest)
        if (cell.Pixels) {
            const double n = double(cell.Pixels);
            colors.push_back(
                {double(cell.Red) / n, double(cell.Green) / n, double(cell.Blue) / n, cell.Pixels, false});
        }
    return colors;
}
