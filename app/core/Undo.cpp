// One level of undo: the picture area under the last stamp or lift.

#include "PictureDocument.h"

#include <utility>

TBitmap TPictureDocument::UndoAreaUnderFloating() const {
    const int width = FloatingBitmap.Width();
    const int height = FloatingBitmap.Height();
    TBitmap area(width, height, Picture.PixelFormat());
    area.SetColorTable(Picture.ColorTable());
    area.CopyRect(Bounds(0, 0, width, height), Picture, Bounds(FloatLeft, FloatTop, width, height));
    return area;
}

void TPictureDocument::KeepUndoArea(TBitmap area) noexcept {
    UndoBitmap = std::move(area);
    UndoX = FloatLeft;
    UndoY = FloatTop;
    UndoAvailable = true;
}

void TPictureDocument::SaveUndo() {
    // Built aside first: a refused allocation leaves the earlier undo area whole.
    KeepUndoArea(UndoAreaUnderFloating());
}

void TPictureDocument::Undo() {
    if (!UndoAvailable) return;
    UndoAvailable = false;
    const TRect area = Bounds(UndoX, UndoY, UndoBitmap.Width(), UndoBitmap.Height());
    Picture.CopyRect(area, UndoBitmap, Bounds(0, 0, UndoBitmap.Width(), UndoBitmap.Height()));
    // The picture no longer matches what was saved, whether or not an image was floating.
    Modified = true;
    ReportPictureChanged(area);
    DropFloating();
}
