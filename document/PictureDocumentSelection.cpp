// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting a rectangle of the picture with the mouse, lifting it into the floating image, and
// handing the floating image to the clipboard.

#include "PictureDocument.h"

#include "AreaEntry.h"

#include "Errors.h"

#include <algorithm>
#include <new>
#include <optional>

namespace {

// A new floating bitmap of the picture's format and colours, so that a lift copies stored
// values as they are, with the canvas state the old one had (its brush is the monochrome
// reference of Black and White).
TBitmap FloatingLike(const TBitmap& picture, const TBitmap& floating, int width, int height) {
    TBitmap result(width, height, picture.PixelFormat());
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
        if (CopySelectionToFloating())
            EndSelection();
        else
            DiscardSelection();
    } catch (...) {
        Host_.SetWaitCursor(false);
        throw;
    }
    Host_.SetWaitCursor(false);
}

TBitmap TPictureDocument::CopyFloating() {
    if (!Float_.Active) return TBitmap();
    RestoreFloatingEdges();
    std::optional<TBitmap> copy;
    try {
        copy = Float_.Bitmap;
    } catch (...) {
        DrawFloatingFrame();
        throw;
    }
    DrawFloatingFrame();
    // The clipboard holds pixels only; the transparency switch is applied again on Paste.
    copy->Transparent = false;
    return std::move(*copy);
}

void TPictureDocument::ClearSelection() {
    DropFloating();
}
