// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

// The drawing state a bitmap's canvas keeps between operations.

enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psDot };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

// Only the colour: the font's face, size and style belong to the text renderer.
struct TFont {
    TColor Color = clBlack;
};

// A rectangle of pixels: Left and Top inside it, Right and Bottom just past it.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}
