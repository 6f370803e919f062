#pragma once

#include "Bitmap.h"

#include <gtest/gtest.h>

// Small pictures for the stamping, undo and window-state tests.

// A colour per position, never black or gray, so a lost frame or a shifted copy shows.
inline TColor PatternAt(int x, int y) {
    return RGB(std::uint8_t(20 + 9 * x), std::uint8_t(20 + 7 * y), std::uint8_t(90 + (x + y) % 30));
}

inline TBitmap PatternBitmap(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, PatternAt(x, y));
    return b;
}

inline TBitmap SolidBitmap(int w, int h, TColor color) {
    TBitmap b(w, h);
    b.Brush.Color = color;
    b.FillRect(Bounds(0, 0, w, h));
    return b;
}

// The w x h area of a at (ax, ay) against the one of b at (bx, by), naming the first difference.
inline testing::AssertionResult AreasMatch(const TBitmap& a, int ax, int ay, const TBitmap& b, int bx, int by, int w,
                                           int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a.Pixel(ax + x, ay + y) != b.Pixel(bx + x, by + y))
                return testing::AssertionFailure() << "differs at (" << x << ", " << y << ")";
    return testing::AssertionSuccess();
}

inline testing::AssertionResult SameBitmap(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return testing::AssertionFailure() << "sizes differ";
    return AreasMatch(a, 0, 0, b, 0, 0, b.Width(), b.Height());
}

inline testing::AssertionResult AreaHas(const TBitmap& b, const TRect& r, TColor color) {
    const TBitmap solid = SolidBitmap(r.Width(), r.Height(), color);
    return AreasMatch(b, r.Left, r.Top, solid, 0, 0, r.Width(), r.Height());
}
