// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpillFile.h"

#include "Errors.h"
#include "MemoryGuard.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

TSpillFile::TSpillFile(const std::string& folder) {
    if (folder.empty()) throw EFCreateError("(no folder for undo steps)");
    std::string name = folder + "/tessimap-undo-XXXXXX";
    Fd_ = mkostemp(name.data(), O_CLOEXEC);
    if (Fd_ < 0) throw EFCreateError(name);
    unlink(name.c_str());
}

TSpillFile::~TSpillFile() {
    if (Fd_ >= 0) close(Fd_);
}

void TSpillFile::WriteBytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = pwrite(Fd_, bytes, size, off_t(Written_));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw EWriteError();
        bytes += n;
        size -= std::size_t(n);
        Written_ += std::uint64_t(n);
    }
}

void TSpillFile::ReadBytes(void* data, std::size_t size) {
    auto* bytes = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = pread(Fd_, bytes, size, off_t(ReadAt_));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw EReadError();
        bytes += n;
        size -= std::size_t(n);
        ReadAt_ += std::uint64_t(n);
    }
}

void TSpillFile::CheckCount(std::uint64_t count, std::size_t size) const {
    // A count the file cannot hold is a damaged file, not a buffer to allocate.
    if (count > (Written_ - ReadAt_) / std::max<std::size_t>(size, 1)) throw EReadError();
    CheckAllocatable(count * size);
}

void TSpillFile::RefuseMemory() {
    throw EOutOfMemory();
}
