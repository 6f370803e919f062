// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorCensus.h"

#include "BgrRuns.h"
#include "Bitmap.h"
#include "RowCodec.h"

#include <algorithm>

namespace {

TColor ColorOfRgb(std::uint32_t rgb) {
    return RGB(std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb));
}

std::uint32_t RgbOfColor(TColor c) {
    return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

} // namespace

void TColorCensus::Add(std::uint32_t rgb, std::uint64_t pixels) {
    const std::uint32_t key = rgb | KeyMark;
    std::size_t slot = (key * 2654435761u) >> (32 - 10);
    static_assert(SlotCount == 1024, "the hash above yields 10 bits");
    while (true) {
        TSlot& s = Slots_[slot];
        if (s.Key == key) {
            s.Pixels += pixels;
            return;
        }
        if (s.Key == 0) {
            if (Distinct_ == MaxColors) {
                Overflowed_ = true;
                return;
            }
            s.Key = key;
            s.Pixels = pixels;
            ++Distinct_;
            return;
        }
        slot = (slot + 1) & (SlotCount - 1);
    }
}

void TColorCensus::AddBgr(const std::uint8_t* bgr, int count) {
    if (Overflowed_) return;
    ForEachBgrRun(bgr, count, [this](std::uint32_t rgb, int, int length) {
        Add(rgb, std::uint64_t(length));
        return !Overflowed_;
    });
}

void TColorCensus::CountIndices(TPixelFormat format, const std::uint8_t* row, int width) {
    if (format == TPixelFormat::pf8bit) {
        for (int x = 0; x < width; ++x)
            ++IndexUses_[row[x]];
        return;
    }
    for (int x = 0; x < width; ++x)
        ++IndexUses_[RowCodec::GetValue(format, row, x)];
}

void TColorCensus::AddRow(TPixelFormat format, const std::vector<TRGBQuad>& table, const std::uint8_t* row,
                          int width) {
    if (Overflowed_ || width <= 0) return;
    if (IsPaletteFormat(format)) {
        // A palette row cannot bring more colours than its table has: counting indices is
        // enough, and they are turned into colours once, when the colours are asked for.
        if (IndexTable_ != table) {
            FoldIndices();
            IndexTable_ = table;
        }
        CountIndices(format, row, width);
        return;
    }
    AddBgr(RowCodec::BgrRow(format, table, row, width, Scratch_), width);
}

void TColorCensus::FoldIndices() {
    for (std::size_t i = 0; i < IndexUses_.size(); ++i)
        if (IndexUses_[i]) {
            // An index past a short table shows black, as everywhere else.
            const TColor c = i < IndexTable_.size() ? ColorOf(IndexTable_[i]) : clBlack;
            Add(RgbOfColor(c), IndexUses_[i]);
            IndexUses_[i] = 0;
        }
}

std::vector<TColorUse> TColorCensus::Colors() const {
    TColorCensus all = *this;
    all.FoldIndices();
    std::vector<TColorUse> colors;
    colors.reserve(all.Distinct_);
    for (const TSlot& s : all.Slots_)
        if (s.Key) colors.push_back({ColorOfRgb(s.Key & ~KeyMark), s.Pixels});
    std::sort(colors.begin(), colors.end(), [](const TColorUse& a, const TColorUse& b) {
        return a.Pixels != b.Pixels ? a.Pixels > b.Pixels : a.Color < b.Color;
    });
    return colors;
}

std::size_t TColorCensus::ColorCount() const {
    return Overflowed_ ? MaxColors + 1 : Colors().size();
}

std::vector<TRGBQuad> TColorCensus::Table() const {
    std::vector<TRGBQuad> table;
    for (const TColorUse& use : Colors())
        table.push_back(QuadOf(use.Color));
    return table;
}

TColorCensus CensusOf(const TBitmap& picture) {
    TColorCensus census;
    for (int y = 0; y < picture.Height() && !census.Overflowed(); ++y)
        census.AddRow(picture.PixelFormat(), picture.ColorTable(), picture.ScanLine(y), picture.Width());
    return census;
}
