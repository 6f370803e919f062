// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// A lock on one journal's name, held for as long as a running editor owns that journal, so that
// two running copies never write or offer the same one. The lock is the kernel's (flock): a
// session that ends in any way, a crash included, lets go of it.
class TJournalLock {
  public:
    TJournalLock() = default;
    ~TJournalLock();
    TJournalLock(TJournalLock&& other) noexcept;
    TJournalLock& operator=(TJournalLock&& other) noexcept;
    TJournalLock(const TJournalLock&) = delete;
    TJournalLock& operator=(const TJournalLock&) = delete;

    // The lock of journal id in folder; not held when another process holds it or the folder
    // cannot be written.
    static TJournalLock Take(const std::string& folder, const std::string& id);
    bool Held() const { return File_ >= 0; }
    // Lets go and removes the lock file, for a journal that is gone.
    void ReleaseAndRemove();

  private:
    int File_ = -1;
    std::string Path_;
};

// The files of one journal.
struct TJournalNames {
    std::string Folder;
    std::string Id;
    std::string Journal() const { return Folder + "/" + Id + ".journal"; }
    std::string Temporary() const { return Folder + "/" + Id + ".journal.tmp"; }
    // Where a journal no program here can read is kept; no longer offered.
    std::string Damaged() const { return Folder + "/" + Id + ".journal.damaged"; }
};

// A name no other session has: the process and a random part.
std::string NewJournalId();

// A journal whose session ended without removing it, locked for this session while it decides.
struct TOrphanJournal {
    TJournalNames Names;
    TJournalLock Lock;
};

// The journals in the folder that no running session holds, oldest first. Their unfinished
// temporary files, and lock files without a journal, are removed on the way.
std::vector<TOrphanJournal> TakeOrphanJournals(const std::string& folder);
