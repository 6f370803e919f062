// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AreaEntry.h"

#include <memory>
#include <vector>

// One drag of the stamp brush: the rectangle of every stamp it made, in the order it made them,
// so the whole drag is taken back or applied again as one step and still costs only its tiles.
class TStrokeEntry final : public THistoryEntry {
  public:
    TStrokeEntry() : THistoryEntry(THistoryStep::Stroke) {}

    // Room for one more stamp, taken before the stamp runs; std::bad_alloc when there is none.
    void MakeRoom();
    // A stamp that has run; its entry holds the pixels it covered. Cannot fail after MakeRoom.
    void Add(std::unique_ptr<TAreaEntry> stamp) noexcept;
    bool Empty() const { return Stamps_.empty(); }
    const std::vector<std::unique_ptr<TAreaEntry>>& Stamps() const { return Stamps_; }

    std::size_t Bytes() const override;
    // Stamps may overlap, so undoing walks them newest first and redoing oldest first; the
    // returned rectangle bounds them all.
    TRect Exchange(TBitmap& picture) noexcept override;
    // A drag's stamps stay in memory: Store refuses (EWriteError), which the history takes as a
    // disk that is full, and it keeps to its budget by dropping the oldest steps instead.
    void Store(TSpillFile& file) override;
    void Load(TSpillFile& file) override;

  private:
    std::vector<std::unique_ptr<TAreaEntry>> Stamps_;
    bool Undone_ = false;
};
