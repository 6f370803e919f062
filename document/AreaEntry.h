// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryEntry.h"

// A stamp or a lift: the pixels of the rectangle it covered, so the entry costs the tile, never
// the picture.
class TAreaEntry final : public THistoryEntry {
  public:
    // Keeps the pixels of area, clipped to the picture, as they are now. EOutOfMemory when they
    // cannot be kept; nothing else is touched then.
    TAreaEntry(THistoryStep step, const TBitmap& picture, const TRect& area);

    // The rectangle in picture coordinates, inside the picture.
    const TRect& Area() const { return Area_; }

    // A stamp keeps the floating image it drew, without its frame, and where it stood, so that
    // taking the stamp back floats the image again. Empty for a lift and a stamp of nothing.
    void KeepFloating(TBitmap floating, int left, int top);
    const TBitmap& Floating() const { return Floating_; }
    int FloatingLeft() const { return FloatingLeft_; }
    int FloatingTop() const { return FloatingTop_; }

    std::size_t Bytes() const override;
    TRect Exchange(TBitmap& picture) noexcept override;
    void Store(TSpillFile& file) override;
    void Load(TSpillFile& file) override;

  private:
    TRect Area_;
    TBitmap Pixels_;
    TBitmap Floating_;
    int FloatingLeft_ = 0;
    int FloatingTop_ = 0;
};
