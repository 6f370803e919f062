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
}

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
    // Without O_NONBLOCK a named pipe would hold the open until a writer came; it is refused below.
    Fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Fd_ < 0) throw EFOpenError(path);
    struct stat st {};
    if (::fstat(Fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(Fd_);
        throw EFOpenError(path);
    }
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
        if (size - done >= ReadBufferSize) {
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
