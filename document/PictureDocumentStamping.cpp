// SPDX-License-Identifier: GPL-3.0-or-later
// The floating image's life from paste to stamp: placing it on the step grid, moving and
// sliding it, stamping or dropping it, and its transparency.

#include "PictureDocument.h"
#include "WaitCursor.h"

#include "AreaEntry.h"

#include "Errors.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

// The first multiple of step at or after position; a negative position stays where it is, as
// the grid search only ever walks forwards.
int SnapForward(int position, int step) {
    const int remainder = position % step;
    return remainder > 0 ? position + (step - remainder) : position;
}

// Halves go to the even neighbour: 25 gives 2, 35 gives 4, 5 gives 0.
int SampleCount(int side) {
    const int whole = side / 10;
    const int rest = side % 10;
    if (rest > 5 || (rest == 5 && whole % 2 == 1)) return whole + 1;
    return whole;
}

// How far the slide looks beyond the floating image: lines 0 to MaxSlide out.
constexpr int MaxSlide = 80;

} // namespace

void TPictureDocument::Paste(const TBitmap& clipboard, int scrollX, int scrollY) {
    if (clipboard.Empty()) return;
    // The copy and its conversion come first, so running out of memory changes nothing.
    TBitmap tile = clipboard.Converted(Picture_.PixelFormat());
    if (Float_.Active) StampFloating();

    tile.Transparent = false;
    tile.Brush.Color = Options_.BackgroundColor;
    std::swap(Float_.Bitmap, tile);
    try {
        SaveFloatingEdges();
    } catch (...) {
        std::swap(Float_.Bitmap, tile);
        throw;
    }
    Selection_.Active = false;
    Float_.Active = true;
    Float_.Left = SnapForward(scrollX, EffectiveStepX());
    Float_.Top = SnapForward(scrollY, EffectiveStepY());
    Float_.DisplayTransparent = false;
    Float_.Shown = true;
    Float_.Width = Float_.Bitmap.Width();
    Float_.Height = Float_.Bitmap.Height();
    DrawFloatingFrame();
    if (Options_.Transparency) ApplyTransparency();
    Host_.FloatingChanged();
}

void TPictureDocument::MoveFloating(TArrow arrow, bool shift) {
    if (!Float_.Shown) return;
    const int dx = shift ? 1 : EffectiveStepX();
    const int dy = shift ? 1 : EffectiveStepY();
    // A move that would cross the picture's edge is refused whole; there is no partial move.
    switch (arrow) {
    case TArrow::Right:
        if (Float_.Left + dx > Options_.WidthPic - Float_.Width) return;
        Float_.Left += dx;
        break;
    case TArrow::Down:
        if (Float_.Top + dy > Options_.HeightPic - Float_.Height) return;
        Float_.Top += dy;
        break;
    case TArrow::Left:
        if (Float_.Left - dx < 0) return;
        Float_.Left -= dx;
        break;
    case TArrow::Up:
        if (Float_.Top - dy < 0) return;
        Float_.Top -= dy;
        break;
    }
    Host_.FloatingChanged();
}

void TPictureDocument::SlideToContact(TArrow arrow) {
    if (!Float_.Shown || Float_.Width <= 0 || Float_.Height <= 0) return;
    const bool horizontal = arrow == TArrow::Left || arrow == TArrow::Right;
    // Every tenth line across the floating image and its last one; the image itself is not looked at.
    const int start = horizontal ? Float_.Top : Float_.Left;
    const int side = horizontal ? Float_.Height : Float_.Width;
    const int count = SampleCount(side);
    std::vector<int> samples;
    samples.reserve(std::size_t(count) + 1);
    for (int i = 0; i < count; ++i)
        samples.push_back(start + 10 * i);
    samples.push_back(start + side - 1);

    // Compared as the picture stores it, so a background that a 16-bit or palette picture
    // cannot hold exactly still reads as empty. Points outside the picture read as clInvalid,
    // which is content: the slide stops flush with the edge.
    const TColor empty = Picture_.ColorOfPixelValue(Picture_.PixelValueOf(Options_.BackgroundColor));
    auto inContact = [&](int line) {
        for (const int s : samples) {
            const TColor c = horizontal ? Picture_.Pixel(line, s) : Picture_.Pixel(s, line);
            if (c != empty) return true;
        }
        return false;
    };

    for (int k = 0; k <= MaxSlide; ++k) {
        int line = 0;
        switch (arrow) {
        case TArrow::Left:
            line = Float_.Left - 1 - k;
            break;
        case TArrow::Right:
            line = Float_.Left + Float_.Width + k;
            break;
        case TArrow::Up:
            line = Float_.Top - 1 - k;
            break;
        case TArrow::Down:
            line = Float_.Top + Float_.Height + k;
            break;
        }
        if (!inContact(line)) continue;
        if (k == 0) return;
        switch (arrow) {
        case TArrow::Left:
            Float_.Left -= k;
            break;
        case TArrow::Right:
            Float_.Left += k;
            break;
        case TArrow::Up:
            Float_.Top -= k;
            break;
        case TArrow::Down:
            Float_.Top += k;
            break;
        }
        Host_.FloatingChanged();
        return;
    }
}

void TPictureDocument::StampFloating() {
    if (!Float_.Active) return;
    const TWaitCursor wait(Host_);
    RestoreFloatingEdges();
    const TRect area = Bounds(Float_.Left, Float_.Top, Float_.Bitmap.Width(), Float_.Bitmap.Height());
    std::unique_ptr<TAreaEntry> step;
    try {
        // A stamp that could not be undone is not made.
        History_.Reserve();
        step = std::make_unique<TAreaEntry>(THistoryStep::Stamp, Picture_, area);
        // Drawing across formats builds a colour matcher first, which may be refused.
        Picture_.Draw(Float_.Left, Float_.Top, Float_.Bitmap);
    } catch (...) {
        DrawFloatingFrame();
        throw;
    }
    // Drawn, the image is no longer needed but by the step, which floats it again when undone.
    step->KeepFloating(std::move(Float_.Bitmap), Float_.Left, Float_.Top);
    Record(std::move(step));
    Modified_ = true;
    ReportPictureChanged(area);
    DropFloating();
}

void TPictureDocument::DropFloating() {
    if (!Float_.Active) return;
    Modified_ = true;
    Float_.Bitmap = TBitmap();
    Float_.Bitmap.Brush.Color = Options_.BackgroundColor;
    Float_.Shown = false;
    Float_.Grabbed = false;
    Float_.Width = 0;
    Float_.Height = 0;
    Selection_.Active = false;
    FreeFloatingEdges();
    Float_.Active = false;
    Host_.FloatingChanged();
}

void TPictureDocument::ApplyTransparency() {
    Float_.Bitmap.TransparentColor = Options_.TransparentColor;
    Float_.Bitmap.Transparent = Options_.Transparency;
    Float_.DisplayTransparent = Options_.Transparency;
    if (Float_.Active) {
        RestoreFloatingEdges();
        DrawFloatingFrame();
    }
    Host_.FloatingChanged();
}

void TPictureDocument::ToggleTransparency() {
    Options_.Transparency = !Options_.Transparency;
    ApplyTransparency();
}

void TPictureDocument::ToggleExactColors() {
    Options_.ExactColors = !Options_.ExactColors;
}

void TPictureDocument::ChooseStepPair(int pair) {
    switch (pair) {
    case 1:
        StepX_ = Options_.StepX1;
        StepY_ = Options_.StepY1;
        break;
    case 2:
        StepX_ = Options_.StepX2;
        StepY_ = Options_.StepY2;
        break;
    case 3:
        StepX_ = Options_.StepX3;
        StepY_ = Options_.StepY3;
        break;
    default:
        return;
    }
    Options_.ActualStep = pair;
}

void TPictureDocument::GrabFloating(int x, int y) {
    if (!Float_.Shown) return;
    Float_.GrabX = x;
    Float_.GrabY = y;
    Float_.Grabbed = true;
}

void TPictureDocument::ReleaseFloating() {
    Float_.Grabbed = false;
}

void TPictureDocument::DragFloating(int x, int y) {
    if (!Float_.Shown) return;
    // Free movement: off the grid and past the picture's edges are both allowed.
    Float_.Left += x - Float_.GrabX;
    Float_.Top += y - Float_.GrabY;
    Host_.FloatingChanged();
}
