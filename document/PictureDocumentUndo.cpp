// SPDX-License-Identifier: GPL-3.0-or-later
// The history of picture changes: recording a step, and taking it back or applying it again.

#include "PictureDocument.h"

#include "AreaEntry.h"
#include "FillEntry.h"
#include "PictureEntry.h"
#include "StrokeEntry.h"

#include <algorithm>
#include <utility>

std::unique_ptr<THistoryEntry> TPictureDocument::KeepWholePicture() {
    ReserveStep();
    return std::make_unique<TPictureEntry>(Picture_);
}

void TPictureDocument::Record(std::unique_ptr<THistoryEntry> entry) noexcept {
    History_.Record(std::move(entry));
}

void TPictureDocument::SetHistoryBudget(std::uint64_t bytes) {
    EndStroke();
    History_.SetBudget(bytes);
}

void TPictureDocument::Undo() {
    EndStroke();
    if (!History_.CanUndo()) return;
    DropFloating();
    FollowStep(*History_.Undo(Picture_), false);
}

void TPictureDocument::Redo() {
    EndStroke();
    const THistoryEntry* next = History_.NextRedo();
    if (!next) return;
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
