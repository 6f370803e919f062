// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "ColorMatcher.h"
#include "PixelFormat.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TBitmap;

// Turns pixels into indices of a colour table computed beforehand (from a census or by the
// quantiser), a row at a time. A colour of the table gets its own entry; any other colour the
// nearest entry by squared RGB distance, ties to the lower index, as every other conversion
// to a palette does. Each pixel costs a lookup, never a search: table colours sit in a small
// hash, and the answers for other colours are kept for every colour the first time a
// neighbourhood of the RGB cube is met.
class TPaletteMapper {
  public:
    // At most 256 entries are used.
    explicit TPaletteMapper(std::vector<TRGBQuad> table);

    const std::vector<TRGBQuad>& Table() const { return Table_; }

    // Writes the index of each of `count` blue, green, red triples.
    void MapBgr(const std::uint8_t* bgr, int count, std::uint8_t* indices);
    // Writes the index of each of the first `width` pixels of a stored row of any format.
    void MapRow(TPixelFormat format, const std::vector<TRGBQuad>& rowTable, const std::uint8_t* row,
                int width, std::uint8_t* indices);
    // The index of one colour.
    std::uint8_t IndexOf(TColor color);

  private:
    struct TSlot {
        std::uint32_t Key = 0; // 0x00RRGGBB + KeyMark; 0 marks a free slot
        std::uint8_t Index = 0;
    };
    static constexpr std::uint32_t KeyMark = 0x01000000u;
    static constexpr std::size_t SlotCount = 1024;

    std::uint8_t Lookup(std::uint32_t rgb);
    std::uint8_t NearestOf(std::uint32_t rgb);
    void TranslatePalette(const std::vector<TRGBQuad>& rowTable);

    std::vector<TRGBQuad> Table_;
    std::array<TSlot, SlotCount> Slots_{};
    std::unique_ptr<TColorMatcher::TCellIndex> Nearest_;
    // The index each entry of a palette row's own table maps to, for the table last seen.
    std::vector<TRGBQuad> TranslatedTable_;
    std::array<std::uint8_t, 256> Translation_{};
    bool Translated_ = false;
    std::vector<std::uint8_t> Scratch_;
};

// An 8-bit copy of a picture whose colour table is `table` and whose pixels are mapped as
// above. The copy keeps the picture's transparency, brush, pen and font, like any conversion.
TBitmap ConvertedToTable(const TBitmap& picture, const std::vector<TRGBQuad>& table);
