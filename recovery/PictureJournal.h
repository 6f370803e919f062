// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "Canvas.h"
#include "JournalFolder.h"
#include "JournalFormat.h"
#include "JournalWriter.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// What lies over the picture where saving would stamp it (the window's floating image), so that
// the journal keeps the picture as it would be saved: a lifted area is not a hole.
class TJournalOverlay {
  public:
    virtual ~TJournalOverlay() = default;
    // Empty when nothing lies over the picture.
    virtual TRect Area() const = 0;
    // Stamps itself onto part of a copy of the picture whose pixel (0, 0) is the picture's
    // (left, top).
    virtual void StampOnto(TBitmap& part, int left, int top) const = 0;
};

// The recovery journal of the picture one window shows. The window tells it what the document
// reported: a changed area, a whole new picture (size, depth, a whole-picture command), or a
// moment at which the picture is exactly the one on disk or a new empty one ("clean"). No journal
// exists while the picture is clean; the first change after that starts one, from the clean
// picture's description when there is one (a file, or a row repeated), else from a copy of the
// picture that the window's timer feeds to the writer a slice at a time. A change only notes its
// area; the window's short timer hands over the bytes of the areas noted, copied at one moment, so
// the journal holds pictures the user had and an area changed twice within a tick is copied once.
// Every call here costs the window at most a copy of the bytes it names; the disk is the writer
// thread's.
class TPictureJournal {
  public:
    TPictureJournal(TJournalNames names, TJournalLock lock);
    // Leaves the journal on disk (only Discard removes it) and lets go of its name.
    ~TPictureJournal();

    // The picture is now the file on disk (file not empty) or a new picture of one colour.
    void MarkClean(const TBitmap& picture, const std::string& file);
    // Pixels inside area changed; file is the picture's name as it stands.
    void Changed(const TBitmap& picture, const std::string& file, const TRect& area);
    // The overlay appeared, moved, changed or went; until it is first given, nothing lies over the
    // picture. It must outlive the journal.
    void Overlaid(const TBitmap& picture, const std::string& file, const TJournalOverlay* overlay);
    // The whole picture changed, or its size or format did.
    void Reshaped(const TBitmap& picture, const std::string& file);
    // A picture recovered from another journal: that journal becomes this one's, so it still
    // stands until this one's own copy of the picture is complete.
    void Adopt(const std::string& journal, const TBitmap& picture, const std::string& file,
               std::optional<TSourceStamp> source);
    // Copies the next slice of a base being written; true while one is still under way.
    bool Pump(const TBitmap& picture);
    bool BaseUnderWay() const { return BaseRow_ >= 0; }
    // Hands the bytes of the areas changed since the last call to the writer; the window calls it
    // on a short timer, so a kill loses only the changes of that moment.
    void Handover(const TBitmap& picture);
    // Hands over, and syncs what was written since the last call.
    void Flush(const TBitmap& picture);
    // Removes the journal: the picture is saved, replaced, or the session ends normally.
    void Discard();
    // The first failure of the folder, once; no journal is kept after it.
    std::optional<std::string> TakeError() { return Writer_.TakeError(); }
    bool Failed() const { return Writer_.Failed(); }
    // Waits for the writer (tests, the benchmark).
    void Drain(const TBitmap& picture) {
        Handover(picture);
        Writer_.Drain();
    }
    const TJournalNames& Names() const { return Names_; }

  private:
    void StartBase(const TBitmap& picture, const std::string& file, TBaseKind base,
                   const std::vector<std::uint8_t>& row = {});
    void Write(const std::vector<std::uint8_t>& bytes);
    void Note(const TBitmap& picture, const TRect& area);
    void AppendNoted(const TBitmap& picture);
    void AppendAreas(const TBitmap& picture, std::span<const TRect> areas);
    void Send();
    void CommitBase();
    TJournalInfo InfoOf(const TBitmap& picture, const std::string& file, TBaseKind base) const;

    // A picture that needs no copy: its file, or its one row.
    struct TClean {
        std::string File;
        int Width = 0, Height = 0;
        TPixelFormat Format = TPixelFormat::pf24bit;
        std::vector<std::uint8_t> Row; // an untitled picture's first row, as it was while clean
    };

    TJournalNames Names_;
    TJournalLock Lock_;
    TJournalWriter Writer_;
    std::optional<TClean> Clean_;
    std::optional<TSourceStamp> Source_; // the named file as it stood at the last clean moment
    bool Live_ = false;                  // a journal (or its first base) is being written
    bool Dirty_ = false;                 // written since the last sync
    int BaseRow_ = -1;                   // the next row of a base being copied; -1 when none
    std::uint64_t Written_ = 0;          // bytes in the journal since its base
    std::vector<std::uint8_t> Batch_;    // whole records not yet handed to the writer
    std::vector<TRect> Noted_;           // areas changed since the last handover, none inside another
    std::uint64_t NotedBytes_ = 0;       // their bytes, at most
    const TJournalOverlay* Overlay_ = nullptr;
    TRect OverlayArea_; // where the overlay lay when last told
};
