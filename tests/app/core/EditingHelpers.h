#pragma once

#include "PictureDocument.h"

#include <gtest/gtest.h>

#include <string>

// Pictures for the selection, transform and file command tests.

// A colour that differs from pixel to pixel and from black, white and the test backgrounds.
inline TColor PatternColor(int x, int y) {
    return RGB(std::uint8_t(40 + x * 7), std::uint8_t(30 + y * 11), std::uint8_t(100 + (x + y) % 50));
}

// Paints every pixel with its own colour; palette pictures take their colours from their table.
inline void PaintPattern(TBitmap& bitmap) {
    const auto& table = bitmap.ColorTable();
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (table.empty() || !IsPaletteFormat(bitmap.PixelFormat()))
                bitmap.SetPixel(x, y, PatternColor(x, y));
            else
                bitmap.SetPixel(x, y, ColorOf(table[std::size_t(x * 5 + y * 3 + 1) % table.size()]));
        }
}

// Starts the document as the window does, with a picture of the given size and depth, then
// paints the pattern on it and forgets that it changed.
inline void StartPatternPicture(TPictureDocument& document, int width, int height, int bits = 24) {
    document.WidthPic = width;
    document.HeightPic = height;
    document.ApplyBackgroundColor();
    document.SetColorDepth(bits);
    document.New();
    PaintPattern(document.Picture);
}

// Compares a w x h area of two bitmaps by colour and names the first pixel that differs.
inline testing::AssertionResult SameArea(const TBitmap& a, int ax, int ay, const TBitmap& b, int bx, int by,
                                         int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a.Pixel(ax + x, ay + y) != b.Pixel(bx + x, by + y))
                return testing::AssertionFailure()
                       << "at (" << x << ", " << y << "): " << std::hex << a.Pixel(ax + x, ay + y) << " vs "
                       << b.Pixel(bx + x, by + y);
    return testing::AssertionSuccess();
}

inline testing::AssertionResult SameBitmap(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return testing::AssertionFailure() << a.Width() << "x" << a.Height() << " vs " << b.Width() << "x"
                                           << b.Height();
    return SameArea(a, 0, 0, b, 0, 0, a.Width(), a.Height());
}

// True when every pixel of the area has the colour.
inline testing::AssertionResult AreaIs(const TBitmap& bitmap, const TRect& area, TColor color) {
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (bitmap.Pixel(x, y) != color)
                return testing::AssertionFailure()
                       << "at (" << x << ", " << y << "): " << std::hex << bitmap.Pixel(x, y);
    return testing::AssertionSuccess();
}

// A drag with the left button from one point to another, released there.
inline void DragAndRelease(TPictureDocument& document, int x0, int y0, int x1, int y1) {
    document.BeginSelection(x0, y0);
    document.DragSelection(x1, y1);
    document.EndSelection();
}
