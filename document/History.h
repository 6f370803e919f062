// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryEntry.h"
#include "SpillFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The budget when the settings name none, in bytes.
std::uint64_t DefaultHistoryBudget();
// The disk the steps kept in files may take when the settings name no other, in bytes.
std::uint64_t DefaultHistoryDiskBudget();

// The steps that can be undone and redone, within a memory budget, and the step at which the
// picture was last saved. Steps that do not fit the memory go to files in a folder, oldest
// first, up to a disk budget; only past that are the oldest dropped. The newest step is never
// dropped for room, and a budget of 0 keeps no steps at all.
class THistory {
  public:
    explicit THistory(std::uint64_t budget = DefaultHistoryBudget()) : Budget_(budget) {}

    bool CanUndo() const { return Cursor_ > Head_; }
    bool CanRedo() const { return Cursor_ < Entries_.size(); }
    std::size_t UndoCount() const { return Cursor_ - Head_; }
    std::size_t RedoCount() const { return Entries_.size() - Cursor_; }
    // The memory the steps held in memory take, each counted as it was when it was recorded.
    std::uint64_t Bytes() const { return Bytes_; }
    // The disk the steps kept in files take.
    std::uint64_t DiskBytes() const { return DiskBytes_; }
    std::uint64_t Budget() const { return Budget_; }
    // Moves or drops the oldest steps until the rest fit.
    void SetBudget(std::uint64_t bytes);
    void SetDiskBudget(std::uint64_t bytes);
    // Where steps go that do not fit the memory budget; empty keeps none on disk.
    void SetSpillFolder(std::string folder) { Folder_ = std::move(folder); }

    // What each kept step is charged, oldest first: its memory, or its file's size on disk.
    struct TCharge {
        std::uint64_t Bytes;
        bool OnDisk;
    };
    std::vector<TCharge> Charges() const;

    // Makes room for one more step, so that the Record that follows cannot fail. EOutOfMemory
    // when there is none; the history is then as it was. A command calls it before it changes
    // anything, so a refused step leaves the picture as it was too.
    void Reserve();
    // Adds the step just taken, drops every step that could have been redone, then moves the
    // oldest steps to disk until the memory budget holds.
    void Record(std::unique_ptr<THistoryEntry> entry);

    // Brings the step Undo (or Redo) would apply back from its file. EOutOfMemory or EReadError
    // when it cannot be: nothing has changed then. Undo and Redo call it themselves; a document
    // calls it first when it must look at the step before it changes anything.
    void LoadUndo();
    void LoadRedo();
    // Takes back the newest step: its entry exchanges its part with the picture, and is returned
    // so the document can follow what else the step changed. nullptr when there is nothing.
    const THistoryEntry* Undo(TBitmap& picture);
    // The step Undo would take back, still untouched; nullptr when there is none.
    const THistoryEntry* NextUndo() const { return CanUndo() ? Entries_[Cursor_ - 1].Entry.get() : nullptr; }
    // The step Redo would apply, still untouched; nullptr when there is none.
    const THistoryEntry* NextRedo() const { return CanRedo() ? Entries_[Cursor_].Entry.get() : nullptr; }
    // Applies again the step undone last; nullptr when there is nothing.
    const THistoryEntry* Redo(TBitmap& picture);

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
    // A step, the memory it was charged when recorded (the same when it leaves, whatever its
    // entry holds by then), and its file while it is on disk.
    struct TSlot {
        std::unique_ptr<THistoryEntry> Entry;
        std::uint64_t Bytes = 0;
        std::unique_ptr<TSpillFile> File;
    };
    static constexpr std::size_t None = std::size_t(-1);

    // Position of the cursor counted from the first step ever kept since Clear, so it survives
    // the dropping of the oldest steps.
    std::uint64_t Position() const { return Dropped_ + (Cursor_ - Head_); }
    std::size_t Kept() const { return Entries_.size() - Head_; }
    void Load(std::size_t at);
    bool Spill(std::size_t at) noexcept;
    // The step to move to disk next: the oldest to undo, then the farthest to redo; never keep.
    std::size_t SpillCandidate(std::size_t keep) const;
    // Brings the memory within the budget and the disk within its own. Steps are dropped only
    // when dropAllowed, and never the last one.
    void Fit(std::size_t keep, bool dropAllowed) noexcept;
    void Forget(TSlot& slot) noexcept;
    void DropOldest() noexcept;
    void Compact() noexcept;

    // Entries_[Head_, Cursor_) can be undone, newest last; Entries_[Cursor_, end) redone, the
    // next one first. Slots before Head_ are dropped steps awaiting compaction.
    std::vector<TSlot> Entries_;
    std::size_t Head_ = 0;
    std::size_t Cursor_ = 0;
    std::uint64_t Dropped_ = 0;
    std::uint64_t Bytes_ = 0;
    std::uint64_t DiskBytes_ = 0;
    std::uint64_t Budget_;
    std::uint64_t DiskBudget_ = DefaultHistoryDiskBudget();
    std::string Folder_;
    std::optional<std::uint64_t> SavedAt_ = 0;
};
