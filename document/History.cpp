// SPDX-License-Identifier: GPL-3.0-or-later
// The history's bookkeeping: the steps in order, the memory they hold, the save point.

#include "History.h"

#include "Errors.h"
#include "MemoryGuard.h"
#include "PictureOptions.h"

#include <algorithm>
#include <new>

std::uint64_t DefaultHistoryBudget() {
    return std::uint64_t(DefaultUndoMemory()) * 1024 * 1024;
}

void THistory::SetBudget(std::uint64_t bytes) {
    Budget_ = bytes;
    while (Bytes_ > Budget_ && Head_ < Entries_.size())
        DropOldest();
    Compact();
}

void THistory::Reserve() {
    // Slots of steps that could be redone are reused by Record, and dropped slots by compaction.
    if (Cursor_ < Entries_.size() || Entries_.size() < Entries_.capacity() || Head_ > 0) return;
    const std::size_t wanted = std::max<std::size_t>(64, Entries_.capacity() * 2);
    try {
        NoteAllocation(std::uint64_t(wanted) * sizeof(Entries_[0]));
        Entries_.reserve(wanted);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}

void THistory::Record(std::unique_ptr<THistoryEntry> entry) {
    // The save point can no longer be reached once the steps leading to it are gone.
    if (SavedAt_ && *SavedAt_ > Position()) SavedAt_.reset();
    while (Entries_.size() > Cursor_) {
        Bytes_ -= Entries_.back()->Bytes();
        Entries_.pop_back();
    }
    const std::uint64_t bytes = entry->Bytes();
    if (bytes > Budget_) {
        // Kept, it would push out every other step and still not fit.
        Clear();
        ForgetSavePoint();
        return;
    }
    if (Head_ > 0 && Entries_.size() == Entries_.capacity()) Compact();
    Entries_.push_back(std::move(entry));
    Cursor_ = Entries_.size();
    Bytes_ += bytes;
    while (Bytes_ > Budget_)
        DropOldest();
    if (Head_ > Entries_.size() / 2) Compact();
}

void THistory::DropOldest() noexcept {
    if (Head_ == Cursor_) {
        // Only steps to redo are left; without the first of them the others cannot follow.
        while (Entries_.size() > Head_) {
            Bytes_ -= Entries_.back()->Bytes();
            Entries_.pop_back();
        }
        return;
    }
    Bytes_ -= Entries_[Head_]->Bytes();
    Entries_[Head_].reset();
    ++Head_;
    ++Dropped_;
}

void THistory::Compact() noexcept {
    if (Head_ == 0) return;
    Entries_.erase(Entries_.begin(), Entries_.begin() + std::ptrdiff_t(Head_));
    Cursor_ -= Head_;
    Head_ = 0;
}

const THistoryEntry* THistory::Undo(TBitmap& picture) noexcept {
    if (!CanUndo()) return nullptr;
    THistoryEntry& entry = *Entries_[--Cursor_];
    entry.Exchange(picture);
    return &entry;
}

const THistoryEntry* THistory::Redo(TBitmap& picture) noexcept {
    if (!CanRedo()) return nullptr;
    THistoryEntry& entry = *Entries_[Cursor_++];
    entry.Exchange(picture);
    return &entry;
}

void THistory::Clear() noexcept {
    Entries_.clear();
    Head_ = Cursor_ = 0;
    Dropped_ = 0;
    Bytes_ = 0;
    SavedAt_ = 0;
}

void THistory::MarkSaved() noexcept {
    SavedAt_ = Position();
}

bool THistory::AtSavePoint() const {
    return SavedAt_ == Position();
}
