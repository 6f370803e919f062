// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryEntry.h"

#include <memory>
#include <vector>

// A flood fill: the runs of pixels it changed and the two stored values, so a fill of the map's
// background costs its outline, not the picture.
class TFillEntry final : public THistoryEntry {
  public:
    // Fills the 4-connected surface of one stored value around (x, y) with the brush colour, as
    // TBitmap::FloodFill does, and returns the entry that takes it back; nullptr when nothing
    // changed (a point off the picture, a surface that is not surfaceColor, or one already of
    // the brush colour). EOutOfMemory when the runs cannot be kept: the picture is then as it was.
    static std::unique_ptr<TFillEntry> Fill(TBitmap& picture, int x, int y, TColor surfaceColor);

    // The bounding rectangle of the pixels the fill changed.
    const TRect& Area() const { return Area_; }

    std::size_t Bytes() const override;
    TRect Exchange(TBitmap& picture) noexcept override;
    void Store(TSpillFile& file) override;
    void Load(TSpillFile& file) override;

    // One row's stretch of changed pixels, Left to Right inclusive.
    struct TRun {
        int Y;
        int Left;
        int Right;
    };

  private:
    TFillEntry(std::uint32_t before, std::uint32_t after)
        : THistoryEntry(THistoryStep::Fill), Held_(before), Shown_(after) {}
    // Writes value into every run.
    void Paint(TBitmap& picture, std::uint32_t value) const noexcept;

    std::vector<TRun> Runs_;
    TRect Area_;
    std::uint32_t Held_;  // the value the entry would put back
    std::uint32_t Shown_; // the value the runs have in the picture now
};
