// SPDX-License-Identifier: GPL-3.0-or-later
// The stamp brush: the floating image follows the pointer on the step grid, and a click or a drag
// stamps it while it floats on.

#include "PictureDocument.h"

#include "StrokeEntry.h"

#include "Errors.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

namespace {

// The grid point at or before position, moved back by whole steps until size fits in extent.
int PlaceOnGrid(int position, int step, int size, int extent) {
    int at = std::max(position, 0) / step * step;
    if (at + size > extent) at -= (at + size - extent + step - 1) / step * step;
    return std::max(at, 0);
}

} // namespace

TRect TPictureDocument::BrushPlace(int x, int y) const {
    return Bounds(PlaceOnGrid(x, EffectiveStepX(), Float_.Width, Picture_.Width()),
                  PlaceOnGrid(y, EffectiveStepY(), Float_.Height, Picture_.Height()), Float_.Width,
                  Float_.Height);
}

void TPictureDocument::BrushTo(int x, int y) {
    if (!Float_.Active || Selection_.Active) return;
    const TRect place = BrushPlace(x, y);
    if (place.Left == Float_.Left && place.Top == Float_.Top) return;
    Float_.Left = place.Left;
    Float_.Top = place.Top;
    Host_.FloatingChanged();
}

void TPictureDocument::ReserveStep() {
    EndStroke();
    History_.Reserve();
}

bool TPictureDocument::StampAndKeep() {
    const TRect area = Bounds(Float_.Left, Float_.Top, Float_.Bitmap.Width(), Float_.Bitmap.Height());
    RestoreFloatingEdges();
    std::unique_ptr<TAreaEntry> stamp;
    try {
        Stroke_->Entry->MakeRoom();
        stamp = std::make_unique<TAreaEntry>(THistoryStep::Stamp, Picture_, area);
        Picture_.Draw(Float_.Left, Float_.Top, Float_.Bitmap);
    } catch (const EOutOfMemory&) {
        DrawFloatingFrame();
        return false;
    } catch (const std::bad_alloc&) {
        DrawFloatingFrame();
        return false;
    }
    DrawFloatingFrame();
    Stroke_->Entry->Add(std::move(stamp));
    Stroke_->Stamped.insert({area.Left, area.Top});
    Modified_ = true;
    ReportPictureChanged(area);
    return true;
}

void TPictureDocument::BeginStroke(int x, int y) {
    if (!Float_.Active || Selection_.Active) return;
    // A stamp that could not be undone is not made.
    ReserveStep();
    Stroke_ = std::make_unique<TStroke>();
    Stroke_->LastX = x;
    Stroke_->LastY = y;
    BrushTo(x, y);
    if (!StampAndKeep()) {
        Stroke_.reset();
        throw EOutOfMemory();
    }
    Host_.FloatingChanged();
}

void TPictureDocument::StrokeTo(int x, int y) {
    if (!Stroke_ || !Float_.Active) return;
    // Samples half a step apart cannot jump over a cell, however fast the pointer went.
    const int dx = x - Stroke_->LastX, dy = y - Stroke_->LastY;
    const int spacing = std::max(std::min(EffectiveStepX(), EffectiveStepY()) / 2, 1);
    const int samples = std::max(std::abs(dx), std::abs(dy)) / spacing + 1;
    for (int i = 1; i <= samples; ++i) {
        const int sx = Stroke_->LastX + int(std::int64_t(dx) * i / samples);
        const int sy = Stroke_->LastY + int(std::int64_t(dy) * i / samples);
        const TRect place = BrushPlace(sx, sy);
        if (Stroke_->Stamped.count({place.Left, place.Top})) continue;
        Float_.Left = place.Left;
        Float_.Top = place.Top;
        if (!StampAndKeep()) {
            // The stamps made so far stay one step; the rest of the drag only moves the image.
            EndStroke();
            ShowOutOfMemory();
            break;
        }
    }
    if (Stroke_) {
        Stroke_->LastX = x;
        Stroke_->LastY = y;
    }
    BrushTo(x, y);
    Host_.FloatingChanged();
}

void TPictureDocument::EndStroke() {
    if (!Stroke_) return;
    std::unique_ptr<TStroke> stroke = std::move(Stroke_);
    // The room was reserved when the stroke began.
    if (!stroke->Entry->Empty()) Record(std::move(stroke->Entry));
}
