#include "ByteSink.h"

#include "Errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

// New files get the mode any program would give them; a replaced file keeps its own.
mode_t ModeForTarget(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void TMemorySink::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    Bytes.insert(Bytes.end(), bytes, bytes + size);
}

TFileSink::TFileSink(std::string targetPath) : Target_(std::move(targetPath)) {
    std::string pattern = FolderOf(Target_) + "/." + NameOf(Target_) + ".XXXXXX";
    Fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (Fd_ < 0) throw EFCreateError(Target_);
    Temporary_ = pattern;
    Buffer_.reserve(BufferCapacity);
}

TFileSink::~TFileSink() { Discard(); }

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
    if (size >= BufferCapacity) WriteAll(bytes, size);
    else Buffer_.insert(Buffer_.end(), bytes, bytes + size);
}

void TFileSink::Commit() {
    if (Fd_ < 0) throw EWriteError();
    Flush();
    ::fchmod(Fd_, ModeForTarget(Target_));
    // The bytes must be on disk before the name points at them, or a crash could leave an
    // empty file where the earlier picture was.
    if (::fsync(Fd_) != 0) throw EWriteError();
    const int fd = Fd_;
    Fd_ = -1;
    if (::close(fd) != 0) throw EWriteError();
    if (::rename(Temporary_.c_str(), Target_.c_str()) != 0) throw EFCreateError(Target_);
    Temporary_.clear();
}
