// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "ColorCensus.h"
#include "ColorQuantizer.h"

#include <cstdint>
#include <vector>

class TBitmap;

// The colour table that keeps a picture's own colours, for a conversion to 8 bits.
struct TOwnColors {
    // Exactly the picture's colours when it has at most 256, else the quantiser's choice; most
    // used first. Never empty: a picture without pixels gets black.
    std::vector<TRGBQuad> Table;
    // The distinct colours of the picture, counted exactly.
    std::uint64_t PictureColors = 0;

    bool Reduced() const { return PictureColors > Table.size(); }
};

// Finds the table from the rows of a picture, wherever they come from. `readRows(add)` must
// call add(format, table, row, width) for every row of the picture, top to bottom; it is
// called once, or twice when the picture has more than 256 colours (the census stops early
// then, and the quantiser needs every row).
template <typename ReadRows> TOwnColors OwnColorsOfRows(ReadRows&& readRows) {
    TOwnColors result;
    TColorCensus census;
    readRows([&census](TPixelFormat format, const std::vector<TRGBQuad>& table, const std::uint8_t* row,
                       int width) { census.AddRow(format, table, row, width); });
    if (!census.Overflowed()) {
        result.Table = census.Table();
        result.PictureColors = result.Table.size();
    } else {
        TColorQuantizer quantizer;
        readRows([&quantizer](TPixelFormat format, const std::vector<TRGBQuad>& table,
                              const std::uint8_t* row,
                              int width) { quantizer.AddRow(format, table, row, width); });
        result.Table = quantizer.Table();
        result.PictureColors = quantizer.DistinctColors();
    }
    if (result.Table.empty()) result.Table.push_back(TRGBQuad{});
    return result;
}

TOwnColors OwnColorsOf(const TBitmap& picture);

// The picture at 8 bits with its own colours: OwnColorsOf, then every pixel mapped to the
// nearest entry.
TBitmap ConvertedToOwnColors(const TBitmap& picture);
