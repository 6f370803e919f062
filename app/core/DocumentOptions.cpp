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

void TPictureDocument::ApplyLoadedOptions(const TPictureOptions& loaded, const TFontOptions& font) {
    const bool transparency = Options.Transparency;
    Options = loaded;
    Options.Transparency = transparency;
    ChooseStepPair(loaded.ActualStep == 2 || loaded.ActualStep == 3 ? loaded.ActualStep : 1);
    ApplyBackgroundColor();
    SetColorDepth(loaded.ColorDepth);
    if (loaded.Transparency && !Options.Transparency) ToggleTransparency();
    Font = font;
}

TPictureOptions TPictureDocument::OptionsToKeep() const {
    TPictureOptions kept = Options;
    kept.ColorDepth = Picture.BitsPerPixel();
    return kept;
}

void TPictureDocument::SetPictureFolder(const std::string& folder) {
    OpenFolder = folder;
    SaveFolder = folder;
}
