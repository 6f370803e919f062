// SPDX-License-Identifier: GPL-3.0-or-later
// The history of picture changes: recording a step, and taking it back or applying it again.

#include "PictureDocument.h"

#include "AreaEntry.h"
#include "FillEntry.h"
#include "PictureEntry.h"
#include "StrokeEntry.h"
#include "WaitCursor.h"

#include <algorithm>
#include <utility>

std::unique_ptr<THistoryEntry> TPictureDocument::KeepWholePicture() {
    ReserveStep();
    // The step shares the pixels: a command that builds new ones (Black and White, a new size)
    // leaves the old ones to the step without a copy, and one that writes into them copies first.
    return std::make_unique<TPictureEntry>(Picture_.Shared());
}

void TPictureDocument::Record(std::unique_ptr<THistoryEntry> entry) noexcept {
    History_.Record(std::move(entry));
}

void TPictureDocument::SetHistoryBudget(std::uint64_t bytes) {
    EndStroke();
    History_.SetBudget(bytes);
}

void TPictureDocument::SetHistoryFolder(const std::string& folder) {
    History_.SetSpillFolder(folder);
}

void TPictureDocument::Undo() {
    // The release that ends a drag would act on a picture that changed under it.
    if (!History_.CanUndo() || Dragging()) return;
    // A step on disk is read back, and a stamped image copied, before anything changes.
    const TWaitCursor wait(Host_);
    History_.LoadUndo();
    const THistoryEntry* next = History_.NextUndo();
    TBitmap stamped;
    if (next->Step() == THistoryStep::Stamp) stamped = static_cast<const TAreaEntry*>(next)->Floating();
    DropFloating();
    const bool floatAgain = !stamped.Empty();
    if (floatAgain) {
        stamped.Brush.Color = Options_.BackgroundColor;
        std::swap(Float_.Bitmap, stamped);
        try {
            SaveFloatingEdges();
        } catch (...) {
            std::swap(Float_.Bitmap, stamped);
            throw;
        }
    }
    FollowStep(*History_.Undo(Picture_), false);
    if (floatAgain) FloatAgain(*static_cast<const TAreaEntry*>(next));
}

// The image a stamp drew floats again where it was, framed, over the picture as it was before.
void TPictureDocument::FloatAgain(const TAreaEntry& stamp) {
    Float_.Left = stamp.FloatingLeft();
    Float_.Top = stamp.FloatingTop();
    Float_.Width = Float_.Bitmap.Width();
    Float_.Height = Float_.Bitmap.Height();
    Float_.DisplayTransparent = false;
    Float_.Shown = true;
    Float_.Active = true;
    DrawFloatingFrame();
    if (Options_.Transparency) ApplyTransparency();
    Host_.FloatingChanged();
}

void TPictureDocument::Redo() {
    if (!History_.CanRedo() || Dragging()) return;
    const TWaitCursor wait(Host_);
    History_.LoadRedo();
    const THistoryEntry* next = History_.NextRedo();
    // A redone lift floats again what lies in its rectangle now: the image is made before
    // anything changes, so running out of memory leaves the document as it was.
    TBitmap lifted;
    if (next->Step() == THistoryStep::Lift) {
        const TRect area = static_cast<const TAreaEntry*>(next)->Area();
        lifted = TBitmap(area.Width(), area.Height(), Picture_.PixelFormat());
        lifted.SetColorTable(Picture_.ColorTable());
        lifted.CopyRect(Bounds(0, 0, area.Width(), area.Height()), Picture_, area);
        lifted.Brush = Float_.Bitmap.Brush;
        lifted.Pen = Float_.Bitmap.Pen;
        lifted.Font = Float_.Bitmap.Font;
    }
    DropFloating();
    if (next->Step() == THistoryStep::Lift) {
        Float_.Bitmap = std::move(lifted);
        try {
            SaveFloatingEdges();
        } catch (...) {
            Float_.Bitmap = TBitmap();
            Float_.Bitmap.Brush.Color = Options_.BackgroundColor;
            throw;
        }
    }
    FollowStep(*History_.Redo(Picture_), true);
}

void TPictureDocument::FollowStep(const THistoryEntry& entry, bool redone) {
    Modified_ = !History_.AtSavePoint();
    switch (entry.Step()) {
    case THistoryStep::Stamp:
        ReportPictureChanged(static_cast<const TAreaEntry&>(entry).Area());
        break;
    case THistoryStep::Fill:
        ReportPictureChanged(static_cast<const TFillEntry&>(entry).Area());
        break;
    case THistoryStep::Stroke:
        for (const auto& stamp : static_cast<const TStrokeEntry&>(entry).Stamps())
            ReportPictureChanged(stamp->Area());
        break;
    case THistoryStep::Lift: {
        const TRect area = static_cast<const TAreaEntry&>(entry).Area();
        Host_.PictureChanged(area.Left, area.Top, area.Right, area.Bottom);
        if (!redone) break;
        Float_.Left = area.Left;
        Float_.Top = area.Top;
        Float_.Width = area.Width();
        Float_.Height = area.Height();
        Float_.DisplayTransparent = false;
        Float_.Shown = true;
        Float_.Active = true;
        DrawFloatingFrame();
        if (Options_.Transparency) ApplyTransparency();
        Host_.FloatingChanged();
        break;
    }
    case THistoryStep::WholePicture:
        // The size for new pictures follows the picture, as the options dialog's resize left it.
        Options_.WidthPic = Picture_.Width();
        Options_.HeightPic = Picture_.Height();
        Options_.ColorDepth = Picture_.BitsPerPixel();
        Float_.Bitmap.SetPixelFormat(Picture_.PixelFormat());
        Host_.PictureResized();
        break;
    }
}
