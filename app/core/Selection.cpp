// Selecting a rectangle of the picture with the mouse, lifting it into the floating image, and
// handing the floating image to the clipboard.

#include "PictureDocument.h"

#include "Errors.h"

#include <algorithm>
#include <new>

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
    if (Floating) return;
    // A press lands on the picture; a position from elsewhere is held to its edges like a drag.
    x = std::clamp(x, 0, Picture.Width() * ZoomFactor);
    y = std::clamp(y, 0, Picture.Height() * ZoomFactor);
    Selecting = true;
    SelLeft = SelRight = AnchorX = x;
    SelTop = SelBottom = AnchorY = y;
    CopySelectionToFloating();
    FloatShown = true;
    Host.FloatingChanged();
}

void TPictureDocument::DragSelection(int x, int y) {
    // The upper bounds are one past the last pixel, so the last column and row can be selected.
    x = std::clamp(x, 0, Picture.Width() * ZoomFactor);
    y = std::clamp(y, 0, Picture.Height() * ZoomFactor);
    CursorText = "X=" + std::to_string(x) + ", Y=" + std::to_string(y);
    if (!Selecting) return;
    SelLeft = std::min(x, AnchorX);
    SelRight = std::max(x, AnchorX);
    SelTop = std::min(y, AnchorY);
    SelBottom = std::max(y, AnchorY);
    if (!CopySelectionToFloating()) {
        DiscardSelection();
        return;
    }
    Host.FloatingChanged();
}

bool TPictureDocument::CopySelectionToFloating() {
    FloatDisplayTransparent = false;
    FloatLeft = SelLeft;
    FloatTop = SelTop;
    FloatWidth = SelRight - SelLeft;
    FloatHeight = SelBottom - SelTop;
    const int zoom = std::max(ZoomFactor, 1);
    bool ok = true;
    try {
        TBitmap copy = FloatingLike(Picture, FloatingBitmap, FloatWidth / zoom, FloatHeight / zoom);
        const TRect source{SelLeft / zoom, SelTop / zoom, SelRight / zoom, SelBottom / zoom};
        copy.CopyRect(TRect{0, 0, copy.Width(), copy.Height()}, Picture, source);
        FloatingBitmap = std::move(copy);
    } catch (const EPictureError&) {
        ok = false;
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) {
        Host.SetWaitCursor(false);
        ShowOutOfMemory();
    }
    DrawFloatingFrame();
    return ok;
}

void TPictureDocument::EndSelection() {
    if (!Selecting) return;
    Selecting = false;
    // A click, or a drag along one line, encloses no pixel: nothing is lifted. Lifting an empty
    // image would leave an invisible floating image that the next click stamps.
    if (FloatWidth <= 0 || FloatHeight <= 0 || FloatingBitmap.Empty()) {
        DiscardSelection();
        return;
    }
    Floating = true;
    const TRect area{SelLeft, SelTop, SelRight, SelBottom};
    const int zoom = std::max(ZoomFactor, 1);
    const TRect source{area.Left / zoom, area.Top / zoom, area.Right / zoom, area.Bottom / zoom};
    // Copying again takes away the frame drawn during the drag. The frame covers only the
    // outermost ring, so at one control pixel per picture pixel the ring is all that is copied.
    const int w = FloatingBitmap.Width(), h = FloatingBitmap.Height();
    if (w == source.Width() && h == source.Height()) {
        FloatingBitmap.CopyRect(TRect{0, 0, w, 1}, Picture, Bounds(source.Left, source.Top, w, 1));
        FloatingBitmap.CopyRect(TRect{0, h - 1, w, h}, Picture, Bounds(source.Left, source.Bottom - 1, w, 1));
        FloatingBitmap.CopyRect(TRect{0, 0, 1, h}, Picture, Bounds(source.Left, source.Top, 1, h));
        FloatingBitmap.CopyRect(TRect{w - 1, 0, w, h}, Picture, Bounds(source.Right - 1, source.Top, 1, h));
    } else {
        FloatingBitmap.CopyRect(TRect{0, 0, w, h}, Picture, source);
    }
    FloatDisplayTransparent = false;
    SaveFloatingEdges();
    SaveUndo();
    DrawFloatingFrame();

    Picture.Brush.Color = Options.BackgroundColor;
    Picture.Pen.Color = Options.BackgroundColor;
    Picture.FillRect(source);
    Host.PictureChanged(source.Left, source.Top, source.Right, source.Bottom);
    if (Options.Transparency) ApplyTransparency();
    Host.FloatingChanged();
}

void TPictureDocument::DiscardSelection() {
    Selecting = false;
    FloatingBitmap.SetSize(0, 0);
    FloatWidth = 0;
    FloatHeight = 0;
    FloatShown = false;
    Host.FloatingChanged();
}

void TPictureDocument::SelectAll() {
    if (Floating) StampFloating();
    Host.SetWaitCursor(true);
    // In control pixels, like a drag over the whole picture.
    SelLeft = 0;
    SelTop = 0;
    SelRight = Picture.Width() * ZoomFactor;
    SelBottom = Picture.Height() * ZoomFactor;
    Selecting = true;
    FloatShown = true;
    if (CopySelectionToFloating()) EndSelection();
    else DiscardSelection();
    Host.SetWaitCursor(false);
}

TBitmap TPictureDocument::CopyFloating() {
    if (!Floating) return TBitmap();
    RestoreFloatingEdges();
    TBitmap copy = FloatingBitmap;
    DrawFloatingFrame();
    // The clipboard holds pixels only; the transparency switch is applied again on Paste.
    copy.Transparent = false;
    return copy;
}

void TPictureDocument::ClearSelection() { DropFloating(); }
