// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Where readers take their bytes from: a file or a buffer, read in sequence.
class TByteSource {
  public:
    virtual ~TByteSource() = default;
    // Reads up to size bytes; returns how many were there.
    virtual std::size_t Read(void* data, std::size_t size) = 0;
    // Bytes between the read position and the end.
    virtual std::uint64_t Remaining() const = 0;
    // Bytes read so far.
    virtual std::uint64_t Position() const = 0;
    // Skips forward; returns false past the end.
    bool Skip(std::uint64_t count);
    // Reads exactly size bytes or raises EReadError.
    void ReadExact(void* data, std::size_t size);
};

class TMemorySource : public TByteSource {
  public:
    TMemorySource(const std::uint8_t* data, std::size_t size) : Data_(data), Size_(size) {}
    explicit TMemorySource(const std::vector<std::uint8_t>& bytes)
        : TMemorySource(bytes.data(), bytes.size()) {}
    std::size_t Read(void* data, std::size_t size) override;
    std::uint64_t Remaining() const override { return Size_ - Position_; }
    std::uint64_t Position() const override { return Position_; }

  private:
    const std::uint8_t* Data_;
    std::size_t Size_;
    std::size_t Position_ = 0;
};

class TFileSource : public TByteSource {
  public:
    // EFOpenError naming the path when the file cannot be opened.
    explicit TFileSource(const std::string& path);
    ~TFileSource() override;
    TFileSource(const TFileSource&) = delete;
    TFileSource& operator=(const TFileSource&) = delete;
    std::size_t Read(void* data, std::size_t size) override;
    std::uint64_t Remaining() const override { return Size_ - Position_; }
    std::uint64_t Position() const override { return Position_; }
    std::uint64_t Size() const { return Size_; }
    // Reads up to size bytes at an offset from the start, apart from the reading in sequence;
    // returns how many were there. EReadError when the device fails.
    std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t size) const;

  private:
    std::size_t Fill(std::uint8_t* data, std::size_t size);

    int Fd_ = -1;
    std::uint64_t Size_ = 0;
    std::uint64_t Position_ = 0;
    std::vector<std::uint8_t> Buffer_;
    std::size_t BufferStart_ = 0;
    std::size_t BufferEnd_ = 0;
};
