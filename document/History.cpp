// SPDX-License-Identifier: GPL-3.0-or-later
// The history's bookkeeping: the steps in order, the memory and disk they hold, the save point.

#include "History.h"

#include "Errors.h"
#include "MemoryGuard.h"
#include "PictureOptions.h"

#include <algorithm>
#include <new>

std::uint64_t DefaultHistoryBudget() {
    return std::uint64_t(DefaultUndoMemory()) * 1024 * 1024;
}

std::uint64_t DefaultHistoryDiskBudget() {
    return std::uint64_t(TPictureOptions{}.UndoDisk) * 1024 * 1024;
}

void THistory::SetBudget(std::uint64_t bytes) {
    Budget_ = bytes;
    while (Budget_ == 0 && Kept() > 0)
        DropOldest();
    Fit(None, true);
    Compact();
}

void THistory::SetDiskBudget(std::uint64_t bytes) {
    DiskBudget_ = bytes;
    Fit(None, true);
    Compact();
}

std::vector<THistory::TCharge> THistory::Charges() const {
    std::vector<TCharge> charges;
    for (std::size_t i = Head_; i < Entries_.size(); ++i) {
        const TSlot& slot = Entries_[i];
        charges.push_back(slot.File ? TCharge{slot.File->Bytes(), true} : TCharge{slot.Bytes, false});
    }
    return charges;
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
        Forget(Entries_.back());
        Entries_.pop_back();
    }
    if (Budget_ == 0) {
        // No history is wanted at all.
        Clear();
        ForgetSavePoint();
        return;
    }
    const std::uint64_t bytes = entry->Bytes();
    if (Head_ > 0 && Entries_.size() == Entries_.capacity()) Compact();
    Entries_.push_back(TSlot{std::move(entry), bytes, nullptr});
    Cursor_ = Entries_.size();
    Bytes_ += bytes;
    // A step larger than the whole budget would only push the others to disk before it follows.
    if (bytes > Budget_) Spill(Cursor_ - 1);
    Fit(None, true);
    if (Head_ > Entries_.size() / 2) Compact();
}

void THistory::Load(std::size_t at) {
    TSlot& slot = Entries_[at];
    if (!slot.File) return;
    slot.Entry->Load(*slot.File);
    DiskBytes_ -= slot.File->Bytes();
    slot.File.reset();
    Bytes_ += slot.Bytes;
}

bool THistory::Spill(std::size_t at) noexcept {
    TSlot& slot = Entries_[at];
    if (slot.File || Folder_.empty()) return false;
    try {
        auto file = std::make_unique<TSpillFile>(Folder_);
        slot.Entry->Store(*file);
        DiskBytes_ += file->Bytes();
        Bytes_ -= slot.Bytes;
        slot.File = std::move(file);
        return true;
    } catch (...) {
        // A full disk or a folder that cannot be written: the step stays in memory.
        return false;
    }
}

std::size_t THistory::SpillCandidate(std::size_t keep) const {
    for (std::size_t i = Head_; i < Cursor_; ++i)
        if (i != keep && !Entries_[i].File) return i;
    for (std::size_t i = Entries_.size(); i > Cursor_; --i)
        if (i - 1 != keep && !Entries_[i - 1].File) return i - 1;
    return None;
}

void THistory::Fit(std::size_t keep, bool dropAllowed) noexcept {
    bool diskWorks = !Folder_.empty();
    while (Bytes_ > Budget_) {
        const std::size_t candidate = diskWorks ? SpillCandidate(keep) : None;
        if (candidate != None && Spill(candidate)) continue;
        // The disk took nothing more: the oldest steps go, as when there is no disk at all.
        diskWorks = false;
        if (!dropAllowed || Kept() <= 1) break;
        DropOldest();
    }
    while (DiskBytes_ > DiskBudget_ && dropAllowed && Kept() > 1)
        DropOldest();
}

void THistory::Forget(TSlot& slot) noexcept {
    if (slot.File)
        DiskBytes_ -= slot.File->Bytes();
    else
        Bytes_ -= slot.Bytes;
    slot.File.reset();
    slot.Entry.reset();
}

void THistory::DropOldest() noexcept {
    if (Head_ == Cursor_) {
        // Only steps to redo are left; without the first of them the others cannot follow.
        while (Entries_.size() > Head_) {
            Forget(Entries_.back());
            Entries_.pop_back();
        }
        return;
    }
    Forget(Entries_[Head_]);
    ++Head_;
    ++Dropped_;
}

void THistory::Compact() noexcept {
    if (Head_ == 0) return;
    Entries_.erase(Entries_.begin(), Entries_.begin() + std::ptrdiff_t(Head_));
    Cursor_ -= Head_;
    Head_ = 0;
}

void THistory::LoadUndo() {
    if (CanUndo()) Load(Cursor_ - 1);
}

void THistory::LoadRedo() {
    if (CanRedo()) Load(Cursor_);
}

const THistoryEntry* THistory::Undo(TBitmap& picture) {
    if (!CanUndo()) return nullptr;
    LoadUndo();
    Entries_[Cursor_ - 1].Entry->OwnPixels();
    THistoryEntry& entry = *Entries_[--Cursor_].Entry;
    entry.Exchange(picture);
    Fit(Cursor_, false);
    return &entry;
}

const THistoryEntry* THistory::Redo(TBitmap& picture) {
    if (!CanRedo()) return nullptr;
    LoadRedo();
    Entries_[Cursor_].Entry->OwnPixels();
    THistoryEntry& entry = *Entries_[Cursor_++].Entry;
    entry.Exchange(picture);
    Fit(Cursor_ - 1, false);
    return &entry;
}

void THistory::Clear() noexcept {
    Entries_.clear();
    Head_ = Cursor_ = 0;
    Dropped_ = 0;
    Bytes_ = 0;
    DiskBytes_ = 0;
    SavedAt_ = 0;
}

void THistory::MarkSaved() noexcept {
    SavedAt_ = Position();
}

bool THistory::AtSavePoint() const {
    return SavedAt_ == Position();
}
