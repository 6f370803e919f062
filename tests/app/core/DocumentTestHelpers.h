#pragma once

#include "PictureDocument.h"
#include "ScriptedModal.h"

#include <gtest/gtest.h>

// A colour per position, never black, gray or pure red, so a lost frame or a shifted copy
// shows; palette pictures take theirs from their own table.
inline TColor PatternColor(const TBitmap& b, int x, int y) {
    const auto& table = b.ColorTable();
    if (IsPaletteFormat(b.PixelFormat()))
        return ColorOf(table[std::size_t(x * 5 + y * 3 + 1) % table.size()]);
    return RGB(std::uint8_t(40 + x * 7), std::uint8_t(30 + y * 11), std::uint8_t(100 + (x + y) % 50));
}

inline TBitmap& PaintPattern(TBitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, PatternColor(b, x, y));
    return b;
}

inline TBitmap PatternBitmap(int w, int h) {
    TBitmap b(w, h);
    return PaintPattern(b);
}

inline TBitmap SolidBitmap(int w, int h, TColor color) {
    TBitmap b(w, h);
    b.Brush.Color = color;
    b.FillRect(Bounds(0, 0, w, h));
    return b;
}

// The document as the window starts it, at this size and depth, then painted with the pattern.
inline void StartPatternPicture(TPictureDocument& d, int width, int height, int bits = 24) {
    d.Options.WidthPic = width;
    d.Options.HeightPic = height;
    d.ApplyBackgroundColor();
    d.SetColorDepth(bits);
    d.New();
    PaintPattern(d.Picture);
}

// A w x h area of a against b (whole bitmaps when w is 0), naming the first pixel that differs.
inline testing::AssertionResult SameArea(const TBitmap& a, int ax, int ay, const TBitmap& b, int bx = 0,
                                         int by = 0, int w = 0, int h = 0) {
    if (w == 0) {
        if (a.Width() != b.Width() || a.Height() != b.Height())
            return testing::AssertionFailure() << "sizes differ";
        w = a.Width();
        h = a.Height();
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a.Pixel(ax + x, ay + y) != b.Pixel(bx + x, by + y))
                return testing::AssertionFailure() << "differs at (" << x << ", " << y << ")";
    return testing::AssertionSuccess();
}

inline testing::AssertionResult AreaIs(const TBitmap& b, const TRect& r, TColor color) {
    return SameArea(b, r.Left, r.Top, SolidBitmap(r.Width(), r.Height(), color), 0, 0, r.Width(), r.Height());
}

// The frame of a floating image is drawn in black and white dots.
inline bool IsFramePixel(TColor c) {
    return c == clBlack || c == clWhite;
}

inline void DragAndRelease(TPictureDocument& d, int x0, int y0, int x1, int y1) {
    d.BeginSelection(x0, y0);
    d.DragSelection(x1, y1);
    d.EndSelection();
}

class TDocumentTest : public TDocumentFixture, public testing::Test {
  protected:
    TPictureDocument& D = Document;
};
