// SPDX-License-Identifier: GPL-3.0-or-later
// A picture that comes back from the recovery journal after a crash.

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
