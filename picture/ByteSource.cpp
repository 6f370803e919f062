// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteSource.h"

#include "Errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t ReadBufferSize = 64 * 1024;
// Reads this large (a row of a wide picture) go straight into the caller's memory: a copy
// through the buffer would cost as much as the read.
constexpr std::size_t DirectReadSize = 16 * 1024;

// Why a file of this kind cannot be read as a picture: reading a pipe or a device waits for a
// writer or never ends, and a folder has no bytes of its own.
std::string NotAPictureFile(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return "it is a folder";
    if (S_ISFIFO(st.st_mode)) return "it is a named pipe";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "it is a device";
    return "it is not a regular file";
}

} // namespace

bool TByteSource::Skip(std::uint64_t count) {
    std::uint8_t scratch[4096];
    while (count > 0) {
        const std::size_t chunk = std::size_t(std::min<std::uint64_t>(count, sizeof scratch));
        if (Read(scratch, chunk) != chunk) return false;
        count -= chunk;
    }
    return true;
}

void TByteSource::ReadExact(void* data, std::size_t size) {
    if (Read(data, size) != size) throw EReadError();
}

std::size_t TMemorySource::Read(void* data, std::size_t size) {
    const std::size_t count = std::min(size, Size_ - Position_);
    if (count > 0) std::memcpy(data, Data_ + Position_, count);
    Position_ += count;
    return count;
}

TFileSource::TFileSource(const std::string& path) {
    // Asked before opening, since opening a pipe waits for a writer and opening a device may
    // act on it; the descriptor is asked again in case the name was replaced in between, and
    // opened without waiting so that a pipe slipped in there cannot hold us either.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) throw EFOpenError(path, NotAPictureFile(st));
    Fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Fd_ < 0) throw EFOpenError(path);
    const bool asked = ::fstat(Fd_, &st) == 0;
    if (!asked || !S_ISREG(st.st_mode)) {
        ::close(Fd_);
        throw asked ? EFOpenError(path, NotAPictureFile(st)) : EFOpenError(path);
    }
    ::fcntl(Fd_, F_SETFL, ::fcntl(Fd_, F_GETFL) & ~O_NONBLOCK);
    Size_ = std::uint64_t(st.st_size);
    Buffer_.resize(ReadBufferSize);
}

TFileSource::~TFileSource() {
    if (Fd_ >= 0) ::close(Fd_);
}

std::size_t TFileSource::Fill(std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(Fd_, data + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw EReadError();
        if (got == 0) break;
        done += std::size_t(got);
    }
    return done;
}

std::size_t TFileSource::Read(void* data, std::size_t size) {
    auto* out = static_cast<std::uint8_t*>(data);
    std::size_t done = std::min(size, BufferEnd_ - BufferStart_);
    std::memcpy(out, Buffer_.data() + BufferStart_, done);
    BufferStart_ += done;
    if (done < size) {
        if (size - done >= DirectReadSize) {
            // Large reads (pixel rows) go straight into the caller's memory.
            done += Fill(out + done, size - done);
        } else {
            BufferStart_ = 0;
            BufferEnd_ = Fill(Buffer_.data(), ReadBufferSize);
            const std::size_t more = std::min(size - done, BufferEnd_);
            std::memcpy(out + done, Buffer_.data(), more);
            BufferStart_ = more;
            done += more;
        }
    }
    Position_ += done;
    return done;
}

std::size_t TFileSource::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
    auto* out = static_cast<std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(Fd_, out + done, size - done, off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw EReadError();
        if (got == 0) break;
        done += std::size_t(got);
    }
    return done;
}
