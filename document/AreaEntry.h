// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryEntry.h"

#include "BitmapRing.h"

// A stamp or a lift: the pixels of the rectangle it covered, so the entry costs the tile, never
// the picture.
class TAreaEntry final : public THistoryEntry {
  public:
    // Keeps the pixels of area, clipped to the picture, as they are now. EOutOfMemory when they
    // cannot be kept; nothing else is touched then.
    TAreaEntry(THistoryStep step, const TBitmap& picture, const TRect& area);
    // A lift of area (inside the picture) into the image lifted, which holds the area's pixels
    // and has no frame yet. The entry shares those pixels with the floating image instead of
    // copying them, and keeps their ring aside, which the frame will cover. EOutOfMemory when
    // the ring cannot be kept.
    TAreaEntry(const TRect& area, const TBitmap& lifted);

    // The rectangle in picture coordinates, inside the picture.
    const TRect& Area() const { return Area_; }

    // A stamp keeps the floating image it drew, without its frame, and where it stood, so that
    // taking the stamp back floats the image again. Empty for a lift and a stamp of nothing.
    void KeepFloating(TBitmap floating, int left, int top);
    const TBitmap& Floating() const { return Floating_; }
    int FloatingLeft() const { return FloatingLeft_; }
    int FloatingTop() const { return FloatingTop_; }

    // Charged the pixels even while the floating image shares them: they are the step's alone
    // once the image is stamped or dropped.
    std::size_t Bytes() const override;
    void OwnPixels() override { Pixels_.OwnPixels(); }
    TRect Exchange(TBitmap& picture) noexcept override;
    void Store(TSpillFile& file) override;
    void Load(TSpillFile& file) override;

  private:
    TRect Area_;
    TBitmap Pixels_;
    // Of a lift until its first exchange: the true ring of Pixels_, which may hold the frame.
    TBitmapRing Ring_;
    TBitmap Floating_;
    int FloatingLeft_ = 0;
    int FloatingTop_ = 0;
};
