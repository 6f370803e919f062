// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteSink.h"

#include "Errors.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t BufferCapacity = 1u << 20;

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save must replace: a symbolic link is followed to the file it names, so that the
// link stays and its target gets the new picture. A dangling link names the file to create.
std::string ResolvedTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) { // the kernel's own limit on nested links
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(std::size_t(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length <= 0 || std::size_t(length) >= link.size()) return current;
        link.resize(std::size_t(length));
        current = link.front() == '/' ? link : FolderOf(current) + "/" + link;
    }
    return current;
}

// A new temporary file beside the target. Created with mode 0666 so that the kernel applies the
// user's file-creation mask, as for any file a program makes; asking for the mask would mean
// changing it, and that is state the whole process shares.
int CreateTemporary(const std::string& target, std::string& name) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", unsigned(random()));
        name = FolderOf(target) + "/." + NameOf(target) + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The rename is only lasting once the folder that holds the new name is on disk too.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw EWriteError();
    const int synced = ::fsync(fd);
    ::close(fd);
    if (synced != 0) throw EWriteError();
}

} // namespace

void TMemorySink::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    Bytes.insert(Bytes.end(), bytes, bytes + size);
}

void TProgressSink::Write(const void* data, std::size_t size) {
    // Large writes go in slices so that the share moves while one is on its way.
    constexpr std::size_t Slice = 1u << 20;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const std::size_t piece = std::min(size, Slice);
        Sink_.Write(bytes, piece);
        bytes += piece;
        size -= piece;
        Written_ += piece;
        const int percent =
            Expected_ == 0 ? 100 : int(std::min<std::uint64_t>(Written_ * 100 / Expected_, 100));
        if (percent != Percent_) {
            Percent_ = percent;
            if (!Report_(percent)) throw ECancelled();
        }
    }
}

TFileSink::TFileSink(std::string targetPath)
    : Target_(std::move(targetPath)), Written_(ResolvedTarget(Target_)) {
    std::string name;
    Fd_ = CreateTemporary(Written_, name);
    if (Fd_ < 0) throw EFCreateError(Target_);
    Temporary_ = name;
    Buffer_.reserve(BufferCapacity);
}

TFileSink::~TFileSink() {
    Discard();
}

void TFileSink::Discard() {
    if (Fd_ >= 0) {
        ::close(Fd_);
        Fd_ = -1;
    }
    if (!Temporary_.empty()) {
        ::unlink(Temporary_.c_str());
        Temporary_.clear();
    }
}

void TFileSink::WriteAll(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(Fd_, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw EWriteError();
        data += written;
        size -= std::size_t(written);
    }
}

void TFileSink::Flush() {
    if (!Buffer_.empty()) WriteAll(Buffer_.data(), Buffer_.size());
    Buffer_.clear();
}

void TFileSink::Write(const void* data, std::size_t size) {
    if (Fd_ < 0) throw EWriteError();
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (Buffer_.size() + size <= BufferCapacity) {
        Buffer_.insert(Buffer_.end(), bytes, bytes + size);
        return;
    }
    Flush();
    if (size >= BufferCapacity)
        WriteAll(bytes, size);
    else
        Buffer_.insert(Buffer_.end(), bytes, bytes + size);
}

void TFileSink::Finish() {
    if (Fd_ < 0) throw EWriteError();
    Flush();
    // A replaced file keeps its own mode; a new one has the mode it was created with.
    struct stat st {};
    if (::stat(Written_.c_str(), &st) == 0) ::fchmod(Fd_, st.st_mode & 07777);
    // The bytes must be on disk before the name points at them, or a crash could leave an
    // empty file where the earlier picture was.
    if (::fsync(Fd_) != 0) throw EWriteError();
    const int fd = Fd_;
    Fd_ = -1;
    if (::close(fd) != 0) throw EWriteError();
    Finished_ = true;
}

void TFileSink::Commit() {
    if (!Finished_) Finish();
    if (Temporary_.empty()) throw EWriteError();
    if (::rename(Temporary_.c_str(), Written_.c_str()) != 0) throw EFCreateError(Target_);
    Temporary_.clear();
    SyncFolder(FolderOf(Written_));
}
