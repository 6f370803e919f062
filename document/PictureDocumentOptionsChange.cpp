// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog's OK: every group of the picture options applied to the document in turn.

#include "PictureDocument.h"
#include "Progress.h"
#include "WaitCursor.h"

#include "Errors.h"

#include <algorithm>
#include <optional>

namespace {

int StoredStep(int step) {
    return std::max(step, 1);
}

} // namespace

void TPictureDocument::ApplySteps(const TPictureOptions& c) {
    TPictureOptions& o = Options_;
    o.StepX1 = StoredStep(c.StepX1);
    o.StepY1 = StoredStep(c.StepY1);
    o.StepX2 = StoredStep(c.StepX2);
    o.StepY2 = StoredStep(c.StepY2);
    o.StepX3 = StoredStep(c.StepX3);
    o.StepY3 = StoredStep(c.StepY3);
    // The active pair takes the new values at once; ChooseStepPair is the one place that knows
    // which pair is which.
    ChooseStepPair(o.ActualStep);
}

void TPictureDocument::ApplyColors(const TPictureOptions& c) {
    if (c.BackgroundColor != Options_.BackgroundColor) SetBackgroundColor(c.BackgroundColor);
    SetTransparentColor(c.TransparentColor);
    SetFillColor(c.FillColor);
}

// A shrinking depth asks first. Modified and the undo state change only once the picture holds
// the new depth, so a conversion that runs out of memory leaves the document as it was.
void TPictureDocument::ApplyColorDepth(int bits) {
    const int current = Picture_.BitsPerPixel();
    if (bits == current || !PixelFormatOfBits(bits)) return;
    if (bits < current && !Modal_.AskYesNo(Texts_.WarningTitle, Texts_.ColorLossText)) return;
    if (bits == 1) {
        BlackWhite();
    } else if (bits == 8 && Options_.ExactColors) {
        ConvertToOwnColors();
    } else if (!SetColorDepth(bits)) {
        SetColorDepth(current);
    }
    if (Picture_.BitsPerPixel() != bits) return;
    Options_.ColorDepth = bits;
    Modified_ = true;
}

// The area a larger size adds takes the background colour, as Clear Picture would paint it.
void TPictureDocument::ApplySize(int width, int height) {
    if (width == Options_.WidthPic && height == Options_.HeightPic) return;
    int oldWidth = 0, oldHeight = 0;
    // A resize that fails leaves the bitmap untouched, so the previous size needs no second resize.
    if (!ResizePicture(width, height, false, &oldWidth, &oldHeight)) return;
    for (const TRect& added :
         {TRect{oldWidth, 0, width, std::min(oldHeight, height)}, TRect{0, oldHeight, width, height}}) {
        if (added.IsEmpty()) continue;
        Picture_.FillRect(added);
        ReportPictureChanged(added);
    }
    Modified_ = true;
    Options_.WidthPic = width;
    Options_.HeightPic = height;
}

// Moves the content by (x, y) inside a picture grown or shrunk by as much; the band that opens
// takes the background colour. The shift runs only while the result stays within the size limits.
void TPictureDocument::ApplyOffset(int x, int y) {
    if (x == 0 && y == 0) return;
    const long long width = (long long)Options_.WidthPic + x, height = (long long)Options_.HeightPic + y;
    if (width < MinPictureWidth || height < MinPictureHeight || width > MaxShiftedSide ||
        height > MaxShiftedSide)
        return;
    const TWaitCursor wait(Host_);
    Host_.ProcessPendingEvents();
    std::optional<TBitmap> scratch;
    try {
        scratch.emplace(Picture_);
    } catch (const EOutOfMemory&) {
        Host_.SetWaitCursor(false);
        Modal_.ShowMessage(Texts_.WarningTitle, Texts_.OutOfMemoryText);
        return;
    }
    if (!ResizePicture(int(width), int(height), true)) return;
    Modified_ = true;
    Options_.WidthPic = int(width);
    Options_.HeightPic = int(height);
    scratch->Transparent = false;
    Picture_.Draw(x, y, *scratch);
    Host_.PictureChanged(0, 0, Picture_.Width(), Picture_.Height());
}

TOptionsChange TPictureDocument::CurrentOptions() const {
    TOptionsChange c;
    c.Options = Options_;
    c.Options.ColorDepth = Picture_.BitsPerPixel();
    return c;
}

void TPictureDocument::ApplyOptions(const TOptionsChange& c) {
    // Converting and resizing a large picture take seconds; the questions on the way show
    // the normal cursor of their own.
    const TWaitCursor wait(Host_);
    // A conversion and a resize in one OK are one piece of work to the user.
    TProgress progress(Host_, TProgress::TStart::AfterAMoment);
    if (Float_.Active) StampFloating();
    const TPictureOptions& o = c.Options;
    ApplySteps(o);
    ApplyColors(o);
    ApplyColorDepth(o.ColorDepth);
    ApplySize(std::max(o.WidthPic, MinPictureWidth), std::max(o.HeightPic, MinPictureHeight));
    ApplyOffset(c.OffsetX, c.OffsetY);
}
