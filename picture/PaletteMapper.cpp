// SPDX-License-Identifier: GPL-3.0-or-later
#include "PaletteMapper.h"

#include "BgrRuns.h"
#include "Bitmap.h"
#include "RowCodec.h"
#include "WorkProgress.h"

#include <cstring>

namespace {

std::uint32_t RgbOfColor(TColor c) {
    return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

inline std::size_t SlotOf(std::uint32_t key) {
    return (key * 2654435761u) >> (32 - 10);
}

} // namespace

TPaletteMapper::TPaletteMapper(std::vector<TRGBQuad> table) : Table_(std::move(table)) {
    if (Table_.size() > 256) Table_.resize(256);
    for (std::size_t i = 0; i < Table_.size(); ++i) {
        const std::uint32_t key = RgbOfColor(ColorOf(Table_[i])) | KeyMark;
        std::size_t slot = SlotOf(key);
        // A colour listed twice keeps its first entry, the one a nearest search would pick.
        while (Slots_[slot].Key != 0 && Slots_[slot].Key != key)
            slot = (slot + 1) & (SlotCount - 1);
        if (Slots_[slot].Key == 0) Slots_[slot] = {key, std::uint8_t(i)};
    }
}

std::uint8_t TPaletteMapper::NearestOf(std::uint32_t rgb) {
    if (Table_.empty()) return 0;
    if (!Nearest_) {
        Nearest_ = std::make_unique<TColorMatcher::TCellIndex>(Table_);
        Nearest_->KeepEveryAnswer();
    }
    return Nearest_->Answer(std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb));
}

inline std::uint8_t TPaletteMapper::Lookup(std::uint32_t rgb) {
    const std::uint32_t key = rgb | KeyMark;
    for (std::size_t slot = SlotOf(key);; slot = (slot + 1) & (SlotCount - 1)) {
        if (Slots_[slot].Key == key) return Slots_[slot].Index;
        if (Slots_[slot].Key == 0) return NearestOf(rgb);
    }
}

std::uint8_t TPaletteMapper::IndexOf(TColor color) {
    return Lookup(RgbOfColor(color));
}

void TPaletteMapper::MapBgr(const std::uint8_t* bgr, int count, std::uint8_t* indices) {
    ForEachBgrRun(bgr, count, [this, indices](std::uint32_t rgb, int first, int length) {
        std::memset(indices + first, Lookup(rgb), std::size_t(length));
        return true;
    });
}

void TPaletteMapper::TranslatePalette(const std::vector<TRGBQuad>& rowTable) {
    if (Translated_ && TranslatedTable_ == rowTable) return;
    for (std::size_t i = 0; i < Translation_.size(); ++i)
        Translation_[i] = i < rowTable.size() ? IndexOf(ColorOf(rowTable[i])) : IndexOf(clBlack);
    TranslatedTable_ = rowTable;
    Translated_ = true;
}

void TPaletteMapper::MapRow(TPixelFormat format, const std::vector<TRGBQuad>& rowTable,
                            const std::uint8_t* row, int width, std::uint8_t* indices) {
    if (width <= 0) return;
    if (IsPaletteFormat(format)) {
        TranslatePalette(rowTable);
        for (int x = 0; x < width; ++x)
            indices[x] = Translation_[RowCodec::GetValue(format, row, x)];
        return;
    }
    MapBgr(RowCodec::BgrRow(format, rowTable, row, width, Scratch_), width, indices);
}

TBitmap ConvertedToTable(const TBitmap& picture, const std::vector<TRGBQuad>& table) {
    TPaletteMapper mapper(table);
    TBitmap result(picture.Width(), picture.Height(), TPixelFormat::pf8bit);
    result.SetColorTable(mapper.Table());
    for (int y = 0; y < picture.Height(); ++y) {
        mapper.MapRow(picture.PixelFormat(), picture.ColorTable(), picture.ScanLine(y), picture.Width(),
                      result.ScanLine(y));
        TWorkProgress::Step(std::uint64_t(y) + 1, std::uint64_t(picture.Height()));
    }
    result.Transparent = picture.Transparent;
    result.TransparentColor = picture.TransparentColor;
    result.Brush = picture.Brush;
    result.Pen = picture.Pen;
    result.Font = picture.Font;
    result.FileLayout = TBmpFileLayout{picture.FileLayout.CoreHeader};
    return result;
}
