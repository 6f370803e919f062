// The floating image's life from paste to stamp: placing it on the step grid, moving and
// sliding it, stamping or dropping it, and its transparency.

#include "PictureDocument.h"

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
    TBitmap tile = clipboard.Converted(Picture.PixelFormat());
    if (Floating) StampFloating();

    tile.Transparent = false;
    tile.Brush.Color = Options.BackgroundColor;
    std::swap(FloatingBitmap, tile);
    try {
        SaveFloatingEdges();
    } catch (...) {
        std::swap(FloatingBitmap, tile);
        throw;
    }
    Selecting = false;
    Floating = true;
    FloatLeft = SnapForward(scrollX, EffectiveStepX());
    FloatTop = SnapForward(scrollY, EffectiveStepY());
    FloatDisplayTransparent = false;
    FloatShown = true;
    FloatWidth = FloatingBitmap.Width();
    FloatHeight = FloatingBitmap.Height();
    DrawFloatingFrame();
    if (Options.Transparency) ApplyTransparency();
    Host.FloatingChanged();
}

void TPictureDocument::MoveFloating(TArrow arrow, bool shift) {
    if (!FloatShown) return;
    const int dx = shift ? 1 : EffectiveStepX();
    const int dy = shift ? 1 : EffectiveStepY();
    // A move that would cross the picture's edge is refused whole; there is no partial move.
    switch (arrow) {
    case TArrow::Right:
        if (FloatLeft + dx > Options.WidthPic - FloatWidth) return;
        FloatLeft += dx;
        break;
    case TArrow::Down:
        if (FloatTop + dy > Options.HeightPic - FloatHeight) return;
        FloatTop += dy;
        break;
    case TArrow::Left:
        if (FloatLeft - dx < 0) return;
        FloatLeft -= dx;
        break;
    case TArrow::Up:
        if (FloatTop - dy < 0) return;
        FloatTop -= dy;
        break;
    }
    Host.FloatingChanged();
}

void TPictureDocument::SlideToContact(TArrow arrow) {
    if (!FloatShown || FloatWidth <= 0 || FloatHeight <= 0) return;
    const bool horizontal = arrow == TArrow::Left || arrow == TArrow::Right;
    // Every tenth line across the floating image and its last one; the image itself is not looked at.
    const int start = horizontal ? FloatTop : FloatLeft;
    const int side = horizontal ? FloatHeight : FloatWidth;
    const int count = SampleCount(side);
    std::vector<int> samples;
    samples.reserve(std::size_t(count) + 1);
    for (int i = 0; i < count; ++i)
        samples.push_back(start + 10 * i);
    samples.push_back(start + side - 1);

    // Compared as the picture stores it, so a background that a 16-bit or palette picture
    // cannot hold exactly still reads as empty. Points outside the picture read as clInvalid,
    // which is content: the slide stops flush with the edge.
    const TColor empty = Picture.ColorOfPixelValue(Picture.PixelValueOf(Options.BackgroundColor));
    auto inContact = [&](int line) {
        for (const int s : samples) {
            const TColor c = horizontal ? Picture.Pixel(line, s) : Picture.Pixel(s, line);
            if (c != empty) return true;
        }
        return false;
    };

    for (int k = 0; k <= MaxSlide; ++k) {
        int line = 0;
        switch (arrow) {
        case TArrow::Left:
            line = FloatLeft - 1 - k;
            break;
        case TArrow::Right:
            line = FloatLeft + FloatWidth + k;
            break;
        case TArrow::Up:
            line = FloatTop - 1 - k;
            break;
        case TArrow::Down:
            line = FloatTop + FloatHeight + k;
            break;
        }
        if (!inContact(line)) continue;
        if (k == 0) return;
        switch (arrow) {
        case TArrow::Left:
            FloatLeft -= k;
            break;
        case TArrow::Right:
            FloatLeft += k;
            break;
        case TArrow::Up:
            FloatTop -= k;
            break;
        case TArrow::Down:
            FloatTop += k;
            break;
        }
        Host.FloatingChanged();
        return;
    }
}

void TPictureDocument::StampFloating() {
    if (!Floating) return;
    Host.SetWaitCursor(true);
    RestoreFloatingEdges();
    std::optional<TBitmap> undoArea;
    try {
        undoArea = UndoAreaUnderFloating();
    } catch (const EOutOfMemory&) {
        // The stamp still goes in; only its undo is lost.
    }
    try {
        // Drawing across formats builds a colour matcher first, which may be refused.
        Picture.Draw(FloatLeft, FloatTop, FloatingBitmap);
    } catch (...) {
        DrawFloatingFrame();
        Host.SetWaitCursor(false);
        throw;
    }
    if (undoArea)
        KeepUndoArea(std::move(*undoArea));
    else
        UndoAvailable = false; // the older area must not come back over the stamp
    Modified = true;
    ReportPictureChanged(Bounds(FloatLeft, FloatTop, FloatingBitmap.Width(), FloatingBitmap.Height()));
    DropFloating();
    Host.SetWaitCursor(false);
}

void TPictureDocument::DropFloating() {
    if (!Floating) return;
    Modified = true;
    FloatingBitmap = TBitmap();
    FloatingBitmap.Brush.Color = Options.BackgroundColor;
    FloatShown = false;
    FloatWidth = 0;
    FloatHeight = 0;
    Selecting = false;
    FreeFloatingEdges();
    Floating = false;
    Host.FloatingChanged();
}

void TPictureDocument::ApplyTransparency() {
    FloatingBitmap.TransparentColor = Options.TransparentColor;
    FloatingBitmap.Transparent = Options.Transparency;
    FloatDisplayTransparent = Options.Transparency;
    if (Floating) {
        RestoreFloatingEdges();
        DrawFloatingFrame();
    }
    Host.FloatingChanged();
}

void TPictureDocument::ToggleTransparency() {
    Options.Transparency = !Options.Transparency;
    ApplyTransparency();
}

void TPictureDocument::ChooseStepPair(int pair) {
    switch (pair) {
    case 1:
        StepX = Options.StepX1;
        StepY = Options.StepY1;
        break;
    case 2:
        StepX = Options.StepX2;
        StepY = Options.StepY2;
        break;
    case 3:
        StepX = Options.StepX3;
        StepY = Options.StepY3;
        break;
    default:
        return;
    }
    Options.ActualStep = pair;
}

void TPictureDocument::GrabFloating(int x, int y) {
    if (!FloatShown) return;
    GrabX = x;
    GrabY = y;
}

void TPictureDocument::DragFloating(int x, int y) {
    if (!FloatShown) return;
    // Free movement: off the grid and past the picture's edges are both allowed.
    FloatLeft += x - GrabX;
    FloatTop += y - GrabY;
    Host.FloatingChanged();
}
