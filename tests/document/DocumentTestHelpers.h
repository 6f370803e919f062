// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PictureDocument.h"
#include "ScriptedModal.h"

#include <gtest/gtest.h>

#include <utility>

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

// The size of the next New picture, as the settings file sets it at start-up.
inline void SetNewPictureSize(TPictureDocument& d, int width, int height) {
    TPictureOptions options = d.OptionsToKeep();
    options.WidthPic = width;
    options.HeightPic = height;
    d.ApplyLoadedOptions(options, d.Font());
}

// The active step pair's steps, as the settings file sets them at start-up.
inline void SetSteps(TPictureDocument& d, int stepX, int stepY) {
    TPictureOptions options = d.OptionsToKeep();
    options.StepX1 = stepX;
    options.StepY1 = stepY;
    options.ActualStep = 1;
    d.ApplyLoadedOptions(options, d.Font());
}

// Pixels changed outside the editor's commands, as a picture read from a file would have them.
template <typename TEdit> void EditPicture(TPictureDocument& d, TEdit edit) {
    TBitmap picture = d.Picture();
    edit(picture);
    d.ReplacePicture(std::move(picture));
}

// The user's "No" to "Save changes?": the changes are forgotten. Answers waiting for later
// questions stay queued, and the question is not left in the record.
inline void ForgetChanges(TPictureDocument& d) {
    if (!d.Modified()) return;
    auto& modal = dynamic_cast<TScriptedModal&>(d.Modal());
    const auto answers = std::exchange(modal.Answers, {});
    const std::size_t shown = modal.Shown.size();
    d.AskSaveChanges();
    modal.Answers = answers;
    modal.Shown.resize(shown);
}

// An image pasted and deleted: the picture is unchanged but counts as modified.
inline void MarkModified(TPictureDocument& d) {
    d.Paste(TBitmap(1, 1), 0, 0);
    d.DropFloating();
}

// The document as the window starts it, at this size and depth, then painted with the pattern.
inline void StartPatternPicture(TPictureDocument& d, int width, int height, int bits = 24) {
    SetNewPictureSize(d, width, height);
    d.ApplyBackgroundColor();
    d.SetColorDepth(bits);
    d.New();
    EditPicture(d, PaintPattern);
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
