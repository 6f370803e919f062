// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalWriter.h"

#include "JournalFormat.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace {

// Enough for the slices of a base in flight and the window's batch being filled.
constexpr std::size_t kSpareBuffers = 4;
constexpr std::size_t kKeptAfterBase = 256u << 10;
// Changes reach the file within a round, or as soon as this much waits; a kill loses at most the
// window's tick and a round.
constexpr auto kRound = std::chrono::milliseconds(100);
constexpr std::size_t kWakeBytes = 256u << 10;

} // namespace

TJournalWriter::TJournalWriter() : Thread_([this] { Run(); }) {}

TJournalWriter::~TJournalWriter() {
    {
        const std::lock_guard lock(Mutex_);
        Stop_ = true;
    }
    Wake_.notify_all();
    Thread_.join();
    CloseFile();
}

void TJournalWriter::Begin(const std::string& temporary) {
    Push({TOp::TKind::Begin, temporary, {}, {}});
}
std::vector<std::uint8_t> TJournalWriter::Append(std::vector<std::uint8_t> bytes, bool record) {
    std::vector<std::uint8_t> spare;
    Push({record ? TOp::TKind::AppendRecord : TOp::TKind::Append, {}, std::move(bytes), {}}, &spare);
    return spare;
}
void TJournalWriter::Commit(const std::string& final) {
    Push({TOp::TKind::Commit, final, {}, {}});
}
void TJournalWriter::Sync() {
    Push({TOp::TKind::Sync, {}, {}, {}});
}
void TJournalWriter::Remove(std::vector<std::string> paths) {
    Push({TOp::TKind::Remove, {}, {}, std::move(paths)});
}

void TJournalWriter::Push(TOp op, std::vector<std::uint8_t>* spare) {
    bool wake = false;
    {
        const std::lock_guard lock(Mutex_);
        // After a failure only removal is worth doing; nothing else is kept in memory either.
        if (Failed_ && op.Kind != TOp::TKind::Remove) return;
        Pending_ += op.Bytes.size();
        // Records waiting for the next round go out in one write, and the window keeps its buffer;
        // up to a bound, so that a writer fallen behind never has the window grow a large one.
        if (op.Kind == TOp::TKind::AppendRecord && !Queue_.empty() &&
            Queue_.back().Kind == TOp::TKind::AppendRecord &&
            Queue_.back().Bytes.size() + op.Bytes.size() <= 2 * kWakeBytes) {
            std::vector<std::uint8_t>& waiting = Queue_.back().Bytes;
            // Room for the bound at once: growing a step at a time would fault in fresh pages.
            if (waiting.capacity() < waiting.size() + op.Bytes.size()) waiting.reserve(2 * kWakeBytes);
            waiting.insert(waiting.end(), op.Bytes.begin(), op.Bytes.end());
            op.Bytes.clear();
            if (spare) *spare = std::move(op.Bytes);
        } else {
            if (spare && !Spare_.empty()) {
                *spare = std::move(Spare_.back());
                Spare_.pop_back();
            }
            Queue_.push_back(std::move(op));
        }
        const bool append =
            Queue_.back().Kind == TOp::TKind::Append || Queue_.back().Kind == TOp::TKind::AppendRecord;
        if ((!append || Pending_ >= kWakeBytes) && !Urgent_) wake = Urgent_ = true;
    }
    if (wake) Wake_.notify_one();
}

void TJournalWriter::Drain() {
    std::unique_lock lock(Mutex_);
    if (!Queue_.empty() && !Urgent_) {
        Urgent_ = true;
        Wake_.notify_one();
    }
    Idle_.wait(lock, [this] { return Queue_.empty() && !Busy_; });
}

std::size_t TJournalWriter::PendingBytes() const {
    const std::lock_guard lock(Mutex_);
    return Pending_;
}

bool TJournalWriter::Failed() const {
    const std::lock_guard lock(Mutex_);
    return Failed_;
}

std::optional<std::string> TJournalWriter::TakeError() {
    const std::lock_guard lock(Mutex_);
    return std::exchange(Error_, std::nullopt);
}

void TJournalWriter::Run() {
    std::unique_lock lock(Mutex_);
    for (;;) {
        // While a journal is open its changes are written a round at a time, whenever they came:
        // waking this thread for each handover would cost the window more than the copy it made.
        // Everything else, and a large amount waiting, is done at once.
        const auto due = [this] { return Stop_ || Urgent_; };
        if (File_ >= 0)
            Wake_.wait_for(lock, kRound, due);
        else
            Wake_.wait(lock, due);
        Urgent_ = false;
        if (Queue_.empty()) {
            if (Stop_) return;
            continue;
        }
        Busy_ = true;
        while (!Queue_.empty()) {
            TOp op = std::move(Queue_.front());
            Queue_.pop_front();
            const bool skip = Failed_ && op.Kind != TOp::TKind::Remove;
            lock.unlock();
            if (!skip) Perform(op);
            lock.lock();
            Pending_ -= op.Bytes.size();
            std::vector<std::vector<std::uint8_t>> unused = Recycle(std::move(op.Bytes), op.Kind);
            if (!unused.empty()) {
                // Giving large buffers back to the system takes a while; the window must not wait.
                lock.unlock();
                unused.clear();
                lock.lock();
            }
        }
        Busy_ = false;
        Idle_.notify_all();
    }
}

// Keeps a few written buffers for the window to fill again; hands back those not kept. A base's
// large slices are kept only while the base is written: its commit lets them go.
std::vector<std::vector<std::uint8_t>> TJournalWriter::Recycle(std::vector<std::uint8_t> bytes,
                                                               TOp::TKind kind) {
    std::vector<std::vector<std::uint8_t>> unused;
    if (kind == TOp::TKind::Commit) {
        for (auto& buffer : Spare_)
            if (buffer.capacity() > kKeptAfterBase) unused.push_back(std::move(buffer));
        std::erase_if(Spare_, [](const auto& buffer) { return buffer.capacity() == 0; });
    }
    if (bytes.capacity() == 0) return unused;
    if (Spare_.size() < kSpareBuffers) {
        bytes.clear();
        Spare_.push_back(std::move(bytes));
    } else {
        unused.push_back(std::move(bytes));
    }
    return unused;
}

void TJournalWriter::Fail(const std::string& what, const std::string& path) {
    const std::string message = what + " " + path + ": " + std::strerror(errno);
    CloseFile();
    const std::lock_guard lock(Mutex_);
    if (!Failed_) Error_ = message;
    Failed_ = true;
    // What is still queued can no longer be written in order; drop it.
    for (auto it = Queue_.begin(); it != Queue_.end();) {
        if (it->Kind == TOp::TKind::Remove) {
            ++it;
            continue;
        }
        Pending_ -= it->Bytes.size();
        it = Queue_.erase(it);
    }
}

void TJournalWriter::CloseFile() {
    if (File_ >= 0) ::close(File_);
    File_ = -1;
}

void TJournalWriter::Perform(TOp& op) {
    switch (op.Kind) {
    case TOp::TKind::Begin: {
        CloseFile();
        FilePath_ = op.Path;
        File_ = ::open(op.Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (File_ < 0) return Fail("Cannot create", op.Path);
        break;
    }
    case TOp::TKind::AppendRecord:
        SealRecords(op.Bytes);
        [[fallthrough]];
    case TOp::TKind::Append: {
        if (File_ < 0) return; // removed in the meantime
        const std::uint8_t* data = op.Bytes.data();
        std::size_t left = op.Bytes.size();
        while (left > 0) {
            const ssize_t written = ::write(File_, data, left);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return Fail("Cannot write", FilePath_);
            data += written;
            left -= std::size_t(written);
        }
        break;
    }
    case TOp::TKind::Commit:
        if (File_ < 0) return;
        if (::fdatasync(File_) != 0) return Fail("Cannot write", FilePath_);
        if (::rename(FilePath_.c_str(), op.Path.c_str()) != 0) return Fail("Cannot rename", FilePath_);
        FilePath_ = op.Path;
        break;
    case TOp::TKind::Sync:
        if (File_ >= 0 && ::fdatasync(File_) != 0) return Fail("Cannot write", FilePath_);
        break;
    case TOp::TKind::Remove:
        CloseFile();
        for (const std::string& path : op.Paths)
            ::unlink(path.c_str());
        break;
    }
}
