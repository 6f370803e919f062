// SPDX-License-Identifier: GPL-3.0-or-later
// The frame that marks the floating image. It is drawn into the floating bitmap itself, so the
// four one-pixel strips under it are the only copy kept of the pixels it covers. A lift's undo
// step and the clipboard may share the bitmap's pixels; they keep that ring aside too, so the
// frame goes into the shared pixels rather than costing a copy of the whole image.

#include "PictureDocument.h"

#include "BitmapRing.h"

#include <utility>

void TPictureDocument::SaveFloatingEdges() {
    const int width = Float_.Bitmap.Width();
    const int height = Float_.Bitmap.Height();
    if (width <= 0 || height <= 0) {
        FreeFloatingEdges();
        return;
    }
    // All four are taken before any is replaced, so a refused allocation keeps the old set.
    TBitmap left = StripOf(Float_.Bitmap, Bounds(0, 0, 1, height));
    TBitmap right = StripOf(Float_.Bitmap, Bounds(width - 1, 0, 1, height));
    TBitmap top = StripOf(Float_.Bitmap, Bounds(0, 0, width, 1));
    TBitmap bottom = StripOf(Float_.Bitmap, Bounds(0, height - 1, width, 1));
    Float_.EdgeLeft = std::move(left);
    Float_.EdgeRight = std::move(right);
    Float_.EdgeTop = std::move(top);
    Float_.EdgeBottom = std::move(bottom);
}

void TPictureDocument::RestoreFloatingEdges() {
    if (Float_.Width <= 0 && Float_.Height <= 0) return;
    const int width = Float_.Bitmap.Width();
    const int height = Float_.Bitmap.Height();
    const TBitmap::TSharedWrites ring(Float_.Bitmap);
    Float_.Bitmap.Draw(0, 0, Float_.EdgeLeft);
    Float_.Bitmap.Draw(0, 0, Float_.EdgeTop);
    Float_.Bitmap.Draw(width - 1, 0, Float_.EdgeRight);
    Float_.Bitmap.Draw(0, height - 1, Float_.EdgeBottom);
}

void TPictureDocument::FreeFloatingEdges() {
    Float_.EdgeLeft = TBitmap();
    Float_.EdgeTop = TBitmap();
    Float_.EdgeRight = TBitmap();
    Float_.EdgeBottom = TBitmap();
}

void TPictureDocument::DrawFloatingFrame() {
    // A transparent floating image shows the picture through it instead of a frame; a rubber
    // band being dragged always needs one to be seen.
    if (!Selection_.Active && Options_.Transparency) return;
    const TPen pen = Float_.Bitmap.Pen;
    const TBrush brush = Float_.Bitmap.Brush;
    const TRect ring = Bounds(0, 0, Float_.Bitmap.Width(), Float_.Bitmap.Height());
    const TBitmap::TSharedWrites frame(Float_.Bitmap);
    Float_.Bitmap.Brush.Style = TBrushStyle::bsClear;
    Float_.Bitmap.Pen = TPen{clBlack, 1, TPenStyle::psSolid};
    Float_.Bitmap.Rectangle(ring);
    Float_.Bitmap.Pen = TPen{clWhite, 1, TPenStyle::psDot};
    Float_.Bitmap.Rectangle(ring);
    Float_.Bitmap.Pen = pen;
    Float_.Bitmap.Brush = brush;
}
