// SPDX-License-Identifier: GPL-3.0-or-later
#include "OwnColors.h"

#include "Bitmap.h"
#include "PaletteMapper.h"

TOwnColors OwnColorsOf(const TBitmap& picture) {
    return OwnColorsOfRows([&picture](auto&& add) {
        for (int y = 0; y < picture.Height(); ++y)
            add(picture.PixelFormat(), picture.ColorTable(), picture.ScanLine(y), picture.Width());
    });
}

TBitmap ConvertedToOwnColors(const TBitmap& picture) {
    return ConvertedToTable(picture, OwnColorsOf(picture).Table);
}
