// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Where encoders put their bytes. Encoders never see a file name: the caller owns the file.
class TByteSink {
  public:
    virtual ~TByteSink() = default;
    // Takes every byte or raises EWriteError.
    virtual void Write(const void* data, std::size_t size) = 0;
};

// Collects the bytes in memory.
class TMemorySink : public TByteSink {
  public:
    void Write(const void* data, std::size_t size) override;
    std::vector<std::uint8_t> Bytes;
};

// Writes a file so that a failure never costs the earlier file: the bytes go to a temporary file
// beside the target, which replaces the target only in Commit, once every byte is on disk. A sink
// destroyed without Commit removes its temporary file. A target that is a symbolic link keeps
// the link: the file it points to is the one replaced.
class TFileSink : public TByteSink {
  public:
    // EFCreateError naming the target when the temporary file cannot be made.
    explicit TFileSink(std::string targetPath);
    ~TFileSink() override;
    TFileSink(const TFileSink&) = delete;
    TFileSink& operator=(const TFileSink&) = delete;

    void Write(const void* data, std::size_t size) override;
    // Flushes, syncs and renames over the target; EWriteError or EFCreateError on failure.
    void Commit();
    // Everything Commit does but the rename: the bytes are on disk under the temporary name,
    // which a destroyed sink still removes. Several files can then be renamed one after another.
    void Finish();

    const std::string& TargetPath() const { return Target_; }

  private:
    void WriteAll(const std::uint8_t* data, std::size_t size);
    void Flush();
    void Discard();

    std::string Target_;
    std::string Written_; // the target, or the file a symbolic link there points to
    std::string Temporary_;
    int Fd_ = -1;
    bool Finished_ = false;
    std::vector<std::uint8_t> Buffer_;
};

// Passes every byte on to another sink and tells, each time the share of an expected total
// written grows by a whole per cent, how many per cent it is; when the answer is false the write
// stops with ECancelled (inside WriteFileSafely the earlier file then stays as it was).
class TProgressSink : public TByteSink {
  public:
    using TReport = std::function<bool(int percent)>;
    TProgressSink(TByteSink& sink, std::uint64_t expectedBytes, TReport report)
        : Sink_(sink), Expected_(expectedBytes), Report_(std::move(report)) {}
    void Write(const void* data, std::size_t size) override;

  private:
    TByteSink& Sink_;
    std::uint64_t Expected_;
    std::uint64_t Written_ = 0;
    int Percent_ = -1;
    TReport Report_;
};

// Writes a whole file through a TFileSink: fill(sink) writes the bytes, then it is committed.
template <typename Fill> void WriteFileSafely(const std::string& path, Fill&& fill) {
    TFileSink sink(path);
    fill(static_cast<TByteSink&>(sink));
    sink.Commit();
}
