// One level of undo: the picture area under the last stamp or lift.

#include "PictureDocument.h"

#include <utility>

TBitmap TPictureDocument::UndoAreaUnderFloating() const {
    const int width = Float_.Bitmap.Width();
    const int height = Float_.Bitmap.Height();
    TBitmap area(width, height, Picture_.PixelFormat());
    area.SetColorTable(Picture_.ColorTable());
    area.CopyRect(Bounds(0, 0, width, height), Picture_, Bounds(Float_.Left, Float_.Top, width, height));
    return area;
}

void TPictureDocument::KeepUndoArea(TBitmap area) noexcept {
    Undo_.Bitmap = std::move(area);
    Undo_.X = Float_.Left;
    Undo_.Y = Float_.Top;
    Undo_.Available = true;
}

void TPictureDocument::SaveUndo() {
    // Built aside first: a refused allocation leaves the earlier undo area whole.
    KeepUndoArea(UndoAreaUnderFloating());
}

void TPictureDocument::Undo() {
    if (!Undo_.Available) return;
    Undo_.Available = false;
    const TRect area = Bounds(Undo_.X, Undo_.Y, Undo_.Bitmap.Width(), Undo_.Bitmap.Height());
    Picture_.CopyRect(area, Undo_.Bitmap, Bounds(0, 0, Undo_.Bitmap.Width(), Undo_.Bitmap.Height()));
    // The picture no longer matches what was saved, whether or not an image was floating.
    Modified_ = true;
    ReportPictureChanged(area);
    DropFloating();
}
