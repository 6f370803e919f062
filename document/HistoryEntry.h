// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <cstddef>

class TSpillFile;

// What kind of command a history step took back, so the document knows what besides the picture's
// pixels belongs to it (a lift also makes a floating image; a whole-picture step may change the
// picture's size and depth; a stroke is every stamp of one brush drag).
enum class THistoryStep { Stamp, Lift, Fill, WholePicture, Stroke };

// One step of the history. An entry holds the part of the picture its command changed, as it was
// on the other side of the step: before the command while the step is done, after it once the
// step has been undone. Exchanging that part with the picture therefore serves Undo and Redo alike,
// and never needs memory of its own, so neither can fail half-way.
class THistoryEntry {
  public:
    explicit THistoryEntry(THistoryStep step) : Step_(step) {}
    virtual ~THistoryEntry() = default;
    THistoryEntry(const THistoryEntry&) = delete;
    THistoryEntry& operator=(const THistoryEntry&) = delete;

    THistoryStep Step() const { return Step_; }
    // The memory this entry keeps alive, charged against the history's budget.
    virtual std::size_t Bytes() const = 0;
    // Makes sure Exchange needs no memory: pixels the entry shares with another holder are
    // copied. EOutOfMemory leaves the entry as it was.
    virtual void OwnPixels() {}
    // Puts what the entry holds into the picture and keeps what it replaced. Returns the picture
    // area that changed. The picture's pixels are its own, and OwnPixels has been called.
    virtual TRect Exchange(TBitmap& picture) noexcept = 0;

    // Writes what the entry holds to the file and lets go of it, for a step kept on disk. An error
    // (a full disk) leaves the entry as it was.
    virtual void Store(TSpillFile& file) = 0;
    // Takes back what Store wrote; until then the entry must not be exchanged. EOutOfMemory or
    // EReadError leave it stored, to be tried again.
    virtual void Load(TSpillFile& file) = 0;

  private:
    THistoryStep Step_;
};
