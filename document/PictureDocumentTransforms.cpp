// SPDX-License-Identifier: GPL-3.0-or-later
// Mirroring and rotating the floating image; Black and White, Clear Picture, the colour picks
// and the flood fill on the picture.

#include "PictureDocument.h"
#include "Progress.h"

#include "Errors.h"
#include "FillEntry.h"
#include "QuarterTurn.h"
#include "RowCodec.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace {

// Rows worked between two calls that let the window repaint and the refresh timer run.
constexpr int RowsPerEventCheck = 32;

// Reverses the order of the pixels in one stored row.
void ReverseRow(TPixelFormat format, std::uint8_t* row, int width) {
    switch (format) {
    case TPixelFormat::pf8bit:
        std::reverse(row, row + width);
        return;
    case TPixelFormat::pf16bit:
    case TPixelFormat::pf24bit:
    case TPixelFormat::pf32bit: {
        const int bytes = BitsOfPixelFormat(format) == 32 ? 4 : BitsOfPixelFormat(format) / 8;
        std::uint8_t* left = row;
        std::uint8_t* right = row + std::size_t(width - 1) * std::size_t(bytes);
        for (; left < right; left += bytes, right -= bytes)
            std::swap_ranges(left, left + bytes, right);
        return;
    }
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
        // Pixels share bytes: swap stored values pairwise from both ends.
        for (int l = 0, r = width - 1; l < r; ++l, --r) {
            const std::uint32_t a = RowCodec::GetValue(format, row, l);
            const std::uint32_t b = RowCodec::GetValue(format, row, r);
            RowCodec::SetValue(format, row, l, b);
            RowCodec::SetValue(format, row, r, a);
        }
        return;
    }
}

void MirrorColumns(TBitmap& bitmap, TDocumentHost& host) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        if (y % RowsPerEventCheck == 0) host.ProcessPendingEvents();
        ReverseRow(bitmap.PixelFormat(), bitmap.ScanLine(y), bitmap.Width());
    }
}

void MirrorRows(TBitmap& bitmap, TDocumentHost& host) {
    const std::size_t rowBytes = bitmap.RowBytes();
    for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom) {
        if (top % RowsPerEventCheck == 0) host.ProcessPendingEvents();
        std::swap_ranges(bitmap.ScanLine(top), bitmap.ScanLine(top) + rowBytes, bitmap.ScanLine(bottom));
    }
}

} // namespace

// The frame is taken off before the pixels move and drawn again afterwards, so a mirrored
// image carries the same frame as an unmirrored one; the floating image keeps its top-left
// corner, and takes the turned image's sides.
void TPictureDocument::TransformFloating(void (*transform)(TBitmap&, TDocumentHost&)) {
    if (!Float_.Active) return;
    Host_.SetWaitCursor(true);
    Float_.DisplayTransparent = false;
    RestoreFloatingEdges();
    Float_.Shown = false;
    try {
        transform(Float_.Bitmap, Host_);
    } catch (...) {
        // A turn that found no memory leaves the image as it was, framed and in sight.
        Float_.Shown = true;
        DrawFloatingFrame();
        Host_.SetWaitCursor(false);
        throw;
    }
    Float_.Width = Float_.Bitmap.Width();
    Float_.Height = Float_.Bitmap.Height();
    Float_.Shown = true;
    SaveFloatingEdges();
    DrawFloatingFrame();
    if (Options_.Transparency) ApplyTransparency();
    Host_.FloatingChanged();
    Host_.SetWaitCursor(false);
}

void TPictureDocument::MirrorHorizontal() {
    TransformFloating(MirrorColumns);
}

void TPictureDocument::MirrorVertical() {
    TransformFloating(MirrorRows);
}

void TPictureDocument::Rotate180() {
    TransformFloating([](TBitmap& bitmap, TDocumentHost& host) {
        MirrorColumns(bitmap, host);
        MirrorRows(bitmap, host);
    });
}

void TPictureDocument::Rotate90() {
    TransformFloating([](TBitmap& bitmap, TDocumentHost& host) {
        bitmap = QuarterTurned(bitmap, TQuarterTurn::Clockwise, [&host] { host.ProcessPendingEvents(); });
    });
}

void TPictureDocument::Rotate270() {
    TransformFloating([](TBitmap& bitmap, TDocumentHost& host) {
        bitmap =
            QuarterTurned(bitmap, TQuarterTurn::CounterClockwise, [&host] { host.ProcessPendingEvents(); });
    });
}

void TPictureDocument::BlackWhite() {
    Host_.SetWaitCursor(true);
    TProgress progress(Host_, TProgress::TStart::AfterAMoment);
    try {
        std::unique_ptr<THistoryEntry> step = KeepWholePicture();
        {
            const auto monochrome = progress.Follow();
            Picture_.MakeMonochrome();
        }
        Record(std::move(step));
        Modified_ = true;
        // The floating image's own pixels are made monochrome, not its frame; the edge strips
        // are taken again so that restoring them later puts back monochrome pixels.
        if (Float_.Active) RestoreFloatingEdges();
        Float_.Bitmap.MakeMonochrome();
        if (Float_.Active) {
            SaveFloatingEdges();
            DrawFloatingFrame();
        }
    } catch (const EPictureError&) {
        Host_.SetWaitCursor(false);
        ShowOutOfMemory();
        Host_.PictureResized();
        Host_.FloatingChanged();
        return;
    }
    SetColorDepth(1);
    Host_.PictureResized();
    Host_.FloatingChanged();
    Host_.SetWaitCursor(false);
}

void TPictureDocument::ClearPicture() {
    std::unique_ptr<THistoryEntry> step = KeepWholePicture();
    // The fill writes into the pixels the step shares: their copy is taken before anything is
    // recorded, so running out of memory leaves the document as it was.
    Picture_.OwnPixels();
    Record(std::move(step));
    Modified_ = true;
    Picture_.Brush.Color = Options_.BackgroundColor;
    Picture_.Pen.Color = Options_.BackgroundColor;
    Picture_.FillRect(TRect{0, 0, Picture_.Width(), Picture_.Height()});
    Host_.PictureChanged(0, 0, Picture_.Width(), Picture_.Height());
}

TColor TPictureDocument::ColorAt(int x, int y) const {
    return Picture_.Pixel(x, y);
}

void TPictureDocument::PickTransparentColor(int x, int y) {
    const TColor color = ColorAt(x, y);
    if (color != clInvalid) Options_.TransparentColor = color;
}

void TPictureDocument::PickFillColor(int x, int y) {
    const TColor color = ColorAt(x, y);
    if (color != clInvalid) Options_.FillColor = color;
}

void TPictureDocument::PickBackgroundColor(int x, int y) {
    const TColor color = ColorAt(x, y);
    if (color == clInvalid) return;
    Options_.BackgroundColor = color;
    ApplyBackgroundColor();
}

void TPictureDocument::FloodFillAt(int x, int y) {
    const TColor surface = ColorAt(x, y);
    if (surface == clInvalid) return;
    Host_.SetWaitCursor(true);
    std::unique_ptr<TFillEntry> step;
    TProgress progress(Host_, TProgress::TStart::AfterAMoment);
    try {
        ReserveStep();
        Picture_.Brush.Color = Options_.FillColor;
        const auto filling = progress.Follow();
        step = TFillEntry::Fill(Picture_, x, y, surface);
    } catch (...) {
        Picture_.Brush.Color = Options_.BackgroundColor;
        Host_.SetWaitCursor(false);
        throw;
    }
    Picture_.Brush.Color = Options_.BackgroundColor;
    if (step) {
        const TRect area = step->Area();
        Record(std::move(step));
        Modified_ = true;
        ReportPictureChanged(area);
    }
    Host_.SetWaitCursor(false);
}
