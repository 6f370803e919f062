// SPDX-License-Identifier: GPL-3.0-or-later
// A picture that comes back from the recovery journal after a crash, and the picture as the
// journal keeps it: as saving would write it, the floating image stamped where it floats.

#include "PictureDocument.h"
#include "WaitCursor.h"

#include <utility>

void TPictureDocument::RestoreUnsavedPicture(TBitmap picture, const std::string& file) {
    const TWaitCursor wait(Host_);
    DropFloating();
    // The canvas keeps its pen and brush (the background colour), as with Open.
    picture.Brush = Picture_.Brush;
    picture.Pen = Picture_.Pen;
    picture.Font = Picture_.Font;
    Picture_ = std::move(picture);
    Files_.Current = file;
    Host_.PictureReplaced();
    Options_.WidthPic = Picture_.Width();
    Options_.HeightPic = Picture_.Height();
    History_.Clear();
    History_.ForgetSavePoint();
    Modified_ = true;
    Host_.PictureResized();
    Host_.TitleChanged();
}

TRect TPictureDocument::FloatingStampArea() const {
    if (!Float_.Active) return TRect{};
    return Bounds(Float_.Left, Float_.Top, Float_.Bitmap.Width(), Float_.Bitmap.Height());
}

void TPictureDocument::StampFloatingOnto(TBitmap& part, int left, int top) const {
    if (!Float_.Active) return;
    const int x = Float_.Left - left, y = Float_.Top - top;
    const int right = x + Float_.Bitmap.Width() - 1, bottom = y + Float_.Bitmap.Height() - 1;
    // The frame is drawn into the image unless transparency is on; the strips under it put back
    // what it covers, as stamping does. Drawn after an opaque image, they land where it did.
    if (Options_.Transparency) {
        part.Draw(x, y, Float_.Bitmap);
    } else if (!Float_.Bitmap.Transparent) {
        part.Draw(x, y, Float_.Bitmap);
        part.Draw(x, y, Float_.EdgeLeft);
        part.Draw(x, y, Float_.EdgeTop);
        part.Draw(right, y, Float_.EdgeRight);
        part.Draw(x, bottom, Float_.EdgeBottom);
    } else {
        // Floated again by an undo after transparency was turned off: framed, yet stamped
        // transparent. Rare, and the copy is the only exact way.
        TBitmap image = Float_.Bitmap;
        image.Draw(0, 0, Float_.EdgeLeft);
        image.Draw(0, 0, Float_.EdgeTop);
        image.Draw(image.Width() - 1, 0, Float_.EdgeRight);
        image.Draw(0, image.Height() - 1, Float_.EdgeBottom);
        part.Draw(x, y, image);
    }
}
