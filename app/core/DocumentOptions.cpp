// Changes to the picture options that come from outside the picture: the colour buttons and
// the settings file.

#include "PictureDocument.h"

void TPictureDocument::SetBackgroundColor(TColor color) {
    Options.BackgroundColor = color;
    ApplyBackgroundColor();
}

void TPictureDocument::SetTransparentColor(TColor color) {
    Options.TransparentColor = color;
    FloatingBitmap.TransparentColor = color;
    if (Floating) Host.FloatingChanged();
}

void TPictureDocument::SetFillColor(TColor color) {
    Options.FillColor = color;
}
