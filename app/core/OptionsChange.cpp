// The options dialog's OK: every group of the picture options applied to the document in turn.

#include "OptionsChange.h"

#include "Errors.h"

#include <algorithm>
#include <optional>

namespace {

int StoredStep(int step) {
    return std::max(step, 1);
}

void ApplySteps(TPictureDocument& d, const TPictureOptions& c) {
    TPictureOptions& o = d.Options;
    o.StepX1 = StoredStep(c.StepX1);
    o.StepY1 = StoredStep(c.StepY1);
    o.StepX2 = StoredStep(c.StepX2);
    o.StepY2 = StoredStep(c.StepY2);
    o.StepX3 = StoredStep(c.StepX3);
    o.StepY3 = StoredStep(c.StepY3);
    // The active pair takes the new values at once; ChooseStepPair is the one place that knows
    // which pair is which.
    d.ChooseStepPair(o.ActualStep);
}

void ApplyColors(TPictureDocument& d, const TPictureOptions& c) {
    if (c.BackgroundColor != d.Options.BackgroundColor) d.SetBackgroundColor(c.BackgroundColor);
    d.SetTransparentColor(c.TransparentColor);
    d.SetFillColor(c.FillColor);
}

// A shrinking depth asks first. Modified and the undo state change only once the picture holds
// the new depth, so a conversion that runs out of memory leaves the document as it was.
void ApplyColorDepth(TPictureDocument& d, int bits) {
    const int current = d.Picture.BitsPerPixel();
    if (bits == current || !PixelFormatOfBits(bits)) return;
    if (bits < current && !d.Modal.AskYesNo(d.WarningTitle, d.ColorLossText)) return;
    if (bits == 1) {
        d.BlackWhite();
    } else if (!d.SetColorDepth(bits)) {
        d.SetColorDepth(current);
    }
    if (d.Picture.BitsPerPixel() != bits) return;
    d.Options.ColorDepth = bits;
    d.Modified = true;
    d.UndoAvailable = false;
}

void ApplySize(TPictureDocument& d, int width, int height) {
    if (width == d.Options.WidthPic && height == d.Options.HeightPic) return;
    // A resize that fails leaves the bitmap untouched, so the previous size needs no second resize.
    if (!d.ResizePicture(width, height, false)) return;
    d.Modified = true;
    d.Options.WidthPic = width;
    d.Options.HeightPic = height;
}

// Moves the content by (x, y) inside a picture grown or shrunk by as much; the band that opens
// takes the background colour. The shift runs only while the result stays within the size limits.
void ApplyOffset(TPictureDocument& d, int x, int y) {
    if (x == 0 && y == 0) return;
    const long long width = (long long)d.Options.WidthPic + x, height = (long long)d.Options.HeightPic + y;
    if (width < MinPictureWidth || height < MinPictureHeight || width > MaxShiftedSide ||
        height > MaxShiftedSide)
        return;
    d.Host.SetWaitCursor(true);
    d.Host.ProcessPendingEvents();
    std::optional<TBitmap> scratch;
    try {
        scratch.emplace(d.Picture);
    } catch (const EOutOfMemory&) {
        d.Host.SetWaitCursor(false);
        d.Modal.ShowMessage(d.WarningTitle, d.OutOfMemoryText);
        return;
    }
    if (!d.ResizePicture(int(width), int(height), true)) return;
    d.Modified = true;
    d.Options.WidthPic = int(width);
    d.Options.HeightPic = int(height);
    scratch->Transparent = false;
    d.Picture.Draw(x, y, *scratch);
    d.UndoAvailable = false;
    d.Host.PictureChanged(0, 0, d.Picture.Width(), d.Picture.Height());
    d.Host.SetWaitCursor(false);
}

} // namespace

TOptionsChange CurrentOptions(const TPictureDocument& d) {
    TOptionsChange c;
    c.Options = d.Options;
    c.Options.ColorDepth = d.Picture.BitsPerPixel();
    return c;
}

void ApplyOptions(TPictureDocument& d, const TOptionsChange& c) {
    if (d.Floating) d.StampFloating();
    const TPictureOptions& o = c.Options;
    ApplySteps(d, o);
    ApplyColors(d, o);
    ApplyColorDepth(d, o.ColorDepth);
    ApplySize(d, std::max(o.WidthPic, MinPictureWidth), std::max(o.HeightPic, MinPictureHeight));
    ApplyOffset(d, c.OffsetX, c.OffsetY);
}
