// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

// A 96 x 240 tile map in `colors` distinct colours (2 to 1024): a background over the top 140
// rows, then a band of 4 x 4 tiles cycling through the other colours, so that uses differ and
// colours repeat.
inline TBitmap MakeColorMap(int colors) {
    TBitmap picture(96, 240, TPixelFormat::pf24bit);
    picture.Brush.Color = RGB(0x20, 0x40, 0x60);
    picture.FillRect(Bounds(0, 0, 96, 240));
    for (int i = 0; i < 24 * 25; ++i) {
        const int c = 1 + i % (colors - 1);
        // Spread over the cube, every colour different: c < 1024 gives distinct (c % 256, c / 256).
        picture.Brush.Color = RGB(std::uint8_t(c * 73), std::uint8_t(c / 256 * 60 + 150), std::uint8_t(c));
        picture.FillRect(Bounds(i % 24 * 4, 140 + i / 24 * 4, 4, 4));
    }
    return picture;
}
