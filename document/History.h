// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryEntry.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The budget when the settings name none, in bytes.
std::uint64_t DefaultHistoryBudget();

// The steps that can be undone and redone, within a memory budget, and the step at which the
// picture was last saved.
class THistory {
  public:
    explicit THistory(std::uint64_t budget = DefaultHistoryBudget()) : Budget_(budget) {}

    bool CanUndo() const { return Cursor_ > Head_; }
    bool CanRedo() const { return Cursor_ < Entries_.size(); }
    std::size_t UndoCount() const { return Cursor_ - Head_; }
    std::size_t RedoCount() const { return Entries_.size() - Cursor_; }
    // The memory the kept steps hold.
    std::uint64_t Bytes() const { return Bytes_; }
    std::uint64_t Budget() const { return Budget_; }
    // Drops the oldest steps until the rest fit.
    void SetBudget(std::uint64_t bytes);

    // Makes room for one more step, so that the Record that follows cannot fail. EOutOfMemory
    // when there is none; the history is then as it was. A command calls it before it changes
    // anything, so a refused step leaves the picture as it was too.
    void Reserve();
    // Adds the step just taken, drops every step that could have been redone, then drops the
    // oldest steps until the budget holds. A step larger than the whole budget is not kept: the
    // history then starts after it.
    void Record(std::unique_ptr<THistoryEntry> entry);

    // Takes back the newest step: its entry exchanges its part with the picture, and is returned
    // so the document can follow what else the step changed. nullptr when there is nothing.
    const THistoryEntry* Undo(TBitmap& picture) noexcept;
    // The step Redo would apply, still untouched; nullptr when there is none.
    const THistoryEntry* NextRedo() const { return CanRedo() ? Entries_[Cursor_].get() : nullptr; }
    // Applies again the step undone last; nullptr when there is nothing.
    const THistoryEntry* Redo(TBitmap& picture) noexcept;

    // Forgets every step; the picture as it is counts as saved (a new or opened picture).
    void Clear() noexcept;
    // The picture as it is now is the one on disk.
    void MarkSaved() noexcept;
    // No step holds the picture on disk any more.
    void ForgetSavePoint() noexcept { SavedAt_.reset(); }
    // True while the steps taken since the last save have all been undone, or those undone since
    // redone: the picture is the one on disk.
    bool AtSavePoint() const;

  private:
    // Position of the cursor counted from the first step ever kept since Clear, so it survives
    // the dropping of the oldest steps.
    std::uint64_t Position() const { return Dropped_ + (Cursor_ - Head_); }
    void DropOldest() noexcept;
    void Compact() noexcept;

    // Entries_[Head_, Cursor_) can be undone, newest last; Entries_[Cursor_, end) redone, the
    // next one first. Slots before Head_ are dropped steps awaiting compaction.
    std::vector<std::unique_ptr<THistoryEntry>> Entries_;
    std::size_t Head_ = 0;
    std::size_t Cursor_ = 0;
    std::uint64_t Dropped_ = 0;
    std::uint64_t Bytes_ = 0;
    std::uint64_t Budget_;
    std::optional<std::uint64_t> SavedAt_ = 0;
};
