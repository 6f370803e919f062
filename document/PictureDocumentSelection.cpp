// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting a rectangle of the picture with the mouse, lifting it into the floating image, and
// handing the floating image to the clipboard.

#include "PictureDocument.h"

#include "AreaEntry.h"

#include "Errors.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

namespace {

// A new floating bitmap of the picture's format and colours, so that a lift copies stored
// values as they are, with the canvas state the old one had (its brush is the monochrome
// reference of Black and White).
TBitmap FloatingLike(const TBitmap& picture, const TBitmap& floating, int width, int height,
                     bool filled = true) {
    TBitmap result = filled ? TBitmap(width, height, picture.PixelFormat())
                            : TBitmap::Unfilled(width, height, picture.PixelFormat());
    result.SetColorTable(picture.ColorTable());
    result.Brush = floating.Brush;
    result.Pen = floating.Pen;
    result.Font = floating.Font;
    result.Transparent = floating.Transparent;
    result.TransparentColor = floating.TransparentColor;
    return result;
}

} // namespace

void TPictureDocument::BeginSelection(int x, int y) {
    // With a floating image the press stamps it; the window decides that, not a new selection.
    if (Float_.Active) return;
    // A press lands on the picture; a position from elsewhere is held to its edges like a drag.
    x = std::clamp(x, 0, Picture_.Width());
    y = std::clamp(y, 0, Picture_.Height());
    Selection_.Active = true;
    Selection_.Left = Selection_.Right = Selection_.AnchorX = x;
    Selection_.Top = Selection_.Bottom = Selection_.AnchorY = y;
    CopySelectionToFloating();
    Float_.Shown = true;
    Host_.FloatingChanged();
}

void TPictureDocument::DragSelection(int x, int y) {
    // The upper bounds are one past the last pixel, so the last column and row can be selected.
    x = std::clamp(x, 0, Picture_.Width());
    y = std::clamp(y, 0, Picture_.Height());
    if (!Selection_.Active) return;
    Selection_.Left = std::min(x, Selection_.AnchorX);
    Selection_.Right = std::max(x, Selection_.AnchorX);
    Selection_.Top = std::min(y, Selection_.AnchorY);
    Selection_.Bottom = std::max(y, Selection_.AnchorY);
    if (!CopySelectionToFloating()) {
        DiscardSelection();
        return;
    }
    Host_.FloatingChanged();
}

bool TPictureDocument::CopySelectionToFloating() {
    Float_.DisplayTransparent = false;
    Float_.Left = Selection_.Left;
    Float_.Top = Selection_.Top;
    Float_.Width = Selection_.Right - Selection_.Left;
    Float_.Height = Selection_.Bottom - Selection_.Top;
    bool ok = true;
    try {
        TBitmap copy = FloatingLike(Picture_, Float_.Bitmap, Float_.Width, Float_.Height);
        const TRect source{Selection_.Left, Selection_.Top, Selection_.Right, Selection_.Bottom};
        copy.CopyRect(TRect{0, 0, copy.Width(), copy.Height()}, Picture_, source);
        Float_.Bitmap = std::move(copy);
    } catch (const EPictureError&) {
        ok = false;
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) {
        Host_.SetWaitCursor(false);
        ShowOutOfMemory();
    }
    DrawFloatingFrame();
    return ok;
}

void TPictureDocument::EndSelection() {
    if (!Selection_.Active) return;
    Selection_.Active = false;
    // A click, or a drag along one line, encloses no pixel: nothing is lifted. Lifting an empty
    // image would leave an invisible floating image that the next click stamps.
    if (Float_.Width <= 0 || Float_.Height <= 0 || Float_.Bitmap.Empty()) {
        DiscardSelection();
        return;
    }
    const TRect source{Selection_.Left, Selection_.Top, Selection_.Right, Selection_.Bottom};
    // Copying again takes away the frame drawn during the drag. The frame covers only the
    // outermost ring, so the ring is all that is copied.
    // Nothing outside the selection changes until the undo area is safe.
    const int w = Float_.Bitmap.Width(), h = Float_.Bitmap.Height();
    std::unique_ptr<TAreaEntry> step;
    try {
        if (w == source.Width() && h == source.Height()) {
            Float_.Bitmap.CopyRect(TRect{0, 0, w, 1}, Picture_, Bounds(source.Left, source.Top, w, 1));
            Float_.Bitmap.CopyRect(TRect{0, h - 1, w, h}, Picture_,
                                   Bounds(source.Left, source.Bottom - 1, w, 1));
            Float_.Bitmap.CopyRect(TRect{0, 0, 1, h}, Picture_, Bounds(source.Left, source.Top, 1, h));
            Float_.Bitmap.CopyRect(TRect{w - 1, 0, w, h}, Picture_,
                                   Bounds(source.Right - 1, source.Top, 1, h));
        } else {
            Float_.Bitmap.CopyRect(TRect{0, 0, w, h}, Picture_, source);
        }
        SaveFloatingEdges();
        ReserveStep();
        // The image holds the area's pixels, frame taken away: the step shares them.
        if (w == source.Width() && h == source.Height())
            step = std::make_unique<TAreaEntry>(source, Float_.Bitmap);
        else
            step = std::make_unique<TAreaEntry>(THistoryStep::Lift, Picture_, source);
    } catch (...) {
        DiscardSelection();
        throw;
    }
    Float_.DisplayTransparent = false;
    Float_.Active = true;
    DrawFloatingFrame();

    Picture_.Brush.Color = Options_.BackgroundColor;
    Picture_.Pen.Color = Options_.BackgroundColor;
    Picture_.FillRect(source);
    Record(std::move(step));
    Host_.PictureChanged(source.Left, source.Top, source.Right, source.Bottom);
    if (Options_.Transparency) ApplyTransparency();
    Host_.FloatingChanged();
}

void TPictureDocument::DiscardSelection() {
    Selection_.Active = false;
    Float_.Bitmap.SetSize(0, 0);
    Float_.Width = 0;
    Float_.Height = 0;
    Float_.Shown = false;
    Host_.FloatingChanged();
}

void TPictureDocument::SelectAll() {
    if (Float_.Active) StampFloating();
    Host_.SetWaitCursor(true);
    // Like a drag over the whole picture.
    Selection_.Left = 0;
    Selection_.Top = 0;
    Selection_.Right = Picture_.Width();
    Selection_.Bottom = Picture_.Height();
    Selection_.Active = true;
    Float_.Shown = true;
    try {
        if (!Picture_.Empty())
            LiftWholePicture();
        else if (CopySelectionToFloating())
            EndSelection();
        else
            DiscardSelection();
    } catch (...) {
        Host_.SetWaitCursor(false);
        throw;
    }
    Host_.SetWaitCursor(false);
}

// Lifting every pixel needs no copy of them: the floating image takes the picture's pixels and
// the picture gets new ones, which the background fills in one pass; the undo step shares the
// floating image's pixels. The end is that of EndSelection.
void TPictureDocument::LiftWholePicture() {
    const TRect area = Bounds(0, 0, Picture_.Width(), Picture_.Height());
    Selection_.Active = false;
    Float_.DisplayTransparent = false;
    Float_.Left = 0;
    Float_.Top = 0;
    Float_.Width = area.Width();
    Float_.Height = area.Height();
    std::unique_ptr<TAreaEntry> step;
    try {
        TBitmap lifted = FloatingLike(Picture_, Float_.Bitmap, area.Width(), area.Height(), false);
        ReserveStep();
        lifted.SwapPixels(Picture_);
        try {
            step = std::make_unique<TAreaEntry>(area, lifted);
        } catch (...) {
            Picture_.SwapPixels(lifted);
            throw;
        }
        std::swap(Float_.Bitmap, lifted);
        try {
            SaveFloatingEdges();
        } catch (...) {
            Picture_.SwapPixels(Float_.Bitmap);
            throw;
        }
    } catch (...) {
        DiscardSelection();
        throw;
    }
    Float_.Active = true;
    DrawFloatingFrame();

    Picture_.Brush.Color = Options_.BackgroundColor;
    Picture_.Pen.Color = Options_.BackgroundColor;
    Picture_.FillRect(area);
    Picture_.Settle();
    Record(std::move(step));
    Host_.PictureChanged(area.Left, area.Top, area.Right, area.Bottom);
    if (Options_.Transparency) ApplyTransparency();
    Host_.FloatingChanged();
}

// The floating image's pixels are shared, not copied: the floating image copies them itself
// before any later change, and the strips under its frame are the ring the copy puts back.
TImageCopy TPictureDocument::CopyFloating() const {
    if (!Float_.Active) return TImageCopy();
    TBitmap pixels = Float_.Bitmap.Shared();
    // The clipboard holds pixels only; the transparency switch is applied again on Paste.
    pixels.Transparent = false;
    TBitmapRing ring(Float_.EdgeLeft, Float_.EdgeTop, Float_.EdgeRight, Float_.EdgeBottom);
    return TImageCopy(std::move(pixels), std::move(ring));
}

void TPictureDocument::ClearSelection() {
    DropFloating();
}
