// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Writes journal files on a thread of its own, in the order the calls came, so the window never
// waits for the disk. Appended records are written in rounds of a tenth of a second; the rest at
// once. One file is open at a time: Begin starts it under a temporary name, Commit
// syncs it and renames it into place, and records appended after that go on into the same file.
// The first failure (a read-only or full folder) stops all writing but removal; TakeError hands
// its message out once.
class TJournalWriter {
  public:
    TJournalWriter();
    ~TJournalWriter(); // finishes what was queued
    TJournalWriter(const TJournalWriter&) = delete;
    TJournalWriter& operator=(const TJournalWriter&) = delete;

    void Begin(const std::string& temporary);
    // Whole records (sealed with their CRC here, off the window's thread), or raw bytes. Hands back
    // an empty buffer that an earlier append held, so the window's next batch reuses memory it has
    // already touched rather than faulting in fresh pages.
    std::vector<std::uint8_t> Append(std::vector<std::uint8_t> bytes, bool record = true);
    void Commit(const std::string& final);
    void Sync(); // makes what was written survive a power cut
    // Closes the file and removes the files named.
    void Remove(std::vector<std::string> paths);
    // Waits until everything queued so far is done.
    void Drain();
    // Bytes queued and not yet written.
    std::size_t PendingBytes() const;
    bool Failed() const;
    std::optional<std::string> TakeError();

  private:
    struct TOp {
        enum class TKind { Begin, Append, AppendRecord, Commit, Sync, Remove } Kind;
        std::string Path;
        std::vector<std::uint8_t> Bytes;
        std::vector<std::string> Paths;
    };
    void Push(TOp op, std::vector<std::uint8_t>* spare = nullptr);
    void Run();
    void Perform(TOp& op);
    // With the mutex held.
    std::vector<std::vector<std::uint8_t>> Recycle(std::vector<std::uint8_t> bytes, TOp::TKind kind);
    void Fail(const std::string& what, const std::string& path);
    void CloseFile();

    mutable std::mutex Mutex_;
    std::condition_variable Wake_, Idle_;
    std::deque<TOp> Queue_;
    std::size_t Pending_ = 0;
    std::vector<std::vector<std::uint8_t>> Spare_; // written buffers, emptied, for the next appends
    bool Busy_ = false;
    bool Urgent_ = false; // something waits that must not wait for the next round
    bool Stop_ = false;
    bool Failed_ = false;
    std::optional<std::string> Error_;
    // The writer thread's own.
    int File_ = -1;
    std::string FilePath_;
    std::thread Thread_;
};
