// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalFolder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

TJournalLock::~TJournalLock() {
    if (File_ >= 0) ::close(File_);
}

TJournalLock::TJournalLock(TJournalLock&& other) noexcept
    : File_(std::exchange(other.File_, -1)), Path_(std::move(other.Path_)) {}

TJournalLock& TJournalLock::operator=(TJournalLock&& other) noexcept {
    if (this != &other) {
        if (File_ >= 0) ::close(File_);
        File_ = std::exchange(other.File_, -1);
        Path_ = std::move(other.Path_);
    }
    return *this;
}

TJournalLock TJournalLock::Take(const std::string& folder, const std::string& id) {
    TJournalLock lock;
    lock.Path_ = folder + "/" + id + ".lock";
    const int file = ::open(lock.Path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0) return lock;
    if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        ::close(file);
        return lock;
    }
    lock.File_ = file;
    return lock;
}

void TJournalLock::ReleaseAndRemove() {
    if (File_ < 0) return;
    // Removed while still held, so no other session can take this name between the two steps.
    ::unlink(Path_.c_str());
    ::close(File_);
    File_ = -1;
}

std::string NewJournalId() {
    std::random_device device;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    char random[8];
    std::snprintf(random, sizeof random, "%06x", digits(device));
    return "picture-" + std::to_string(::getpid()) + "-" + random;
}

std::vector<TOrphanJournal> TakeOrphanJournals(const std::string& folder) {
    std::vector<std::pair<fs::file_time_type, TOrphanJournal>> found;
    std::error_code error;
    std::vector<std::string> ids;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        for (const std::string suffix : {".journal", ".journal.tmp", ".lock"}) {
            if (name.size() > suffix.size() && name.ends_with(suffix)) {
                ids.push_back(name.substr(0, name.size() - suffix.size()));
                break;
            }
        }
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (const std::string& id : ids) {
        TJournalNames names{folder, id};
        TJournalLock lock = TJournalLock::Take(folder, id);
        if (!lock.Held()) continue; // a running session's, or a folder we cannot write
        // A base never committed is no journal: the last committed one, if any, stands.
        fs::remove(names.Temporary(), error);
        const auto time = fs::last_write_time(names.Journal(), error);
        if (error) {
            lock.ReleaseAndRemove();
            continue;
        }
        found.emplace_back(time, TOrphanJournal{std::move(names), std::move(lock)});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TOrphanJournal> orphans;
    for (auto& [time, orphan] : found)
        orphans.push_back(std::move(orphan));
    return orphans;
}
