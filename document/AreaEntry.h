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

    std::size_t Bytes() const override;
    TRect Exchange(TBitmap& picture) noexcept override;

  private:
    TRect Area_;
    TBitmap Pixels_;
};
