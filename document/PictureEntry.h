// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryEntry.h"

// A command about the whole picture (Clear Picture, Black and White, a colour depth, a new size,
// an offset shift): the picture as it was, its pixels, size, format, colour table and file layout.
// Held as it is, not compressed: exchanging is then a swap of buffers, instant at any size, while
// compressing a large picture would add a pause to the command and to every Undo and Redo.
class TPictureEntry final : public THistoryEntry {
  public:
    // The picture as it was before the command; moved in where the command builds a new bitmap
    // anyway, so recording costs nothing but keeping it.
    explicit TPictureEntry(TBitmap before);

    // The picture the entry holds.
    const TBitmap& Picture() const { return Picture_; }

    std::size_t Bytes() const override;
    // Swaps the pictures but leaves the canvas state (brush, pen, font, transparency) with the
    // document's picture, as it belongs to the document's colours, not to a step.
    TRect Exchange(TBitmap& picture) noexcept override;
    void Store(TSpillFile& file) override;
    void Load(TSpillFile& file) override;

  private:
    TBitmap Picture_;
};
