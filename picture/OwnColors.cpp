// SPDX-License-Identifier: GPL-3.0-or-later
#include "OwnColors.h"

#include "Bitmap.h"
#include "PaletteMapper.h"
#include "WorkProgress.h"

TOwnColors OwnColorsOf(const TBitmap& picture) {
    // A picture of more colours than a table holds is read a second time to choose them; each
    // reading counts as half of the work.
    std::uint64_t pass = 0;
    return OwnColorsOfRows([&picture, &pass](auto&& add) {
        const std::uint64_t height = std::uint64_t(picture.Height());
        for (int y = 0; y < picture.Height(); ++y) {
            add(picture.PixelFormat(), picture.ColorTable(), picture.ScanLine(y), picture.Width());
            TWorkProgress::Step(pass * height + std::uint64_t(y) + 1, 2 * height);
        }
        ++pass;
    });
}

TBitmap ConvertedToOwnColors(const TBitmap& picture) {
    return ConvertedToTable(picture, OwnColorsOf(picture).Table);
}
