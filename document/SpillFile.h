// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

// A file that holds an undo step's pixels while they are out of memory. It loses its name as soon
// as it is made, so nothing is left in the folder when the step is dropped, the program ends or
// the program is killed: the space goes back when the file is closed.
class TSpillFile {
  public:
    // A new, empty file in folder. EFCreateError when it cannot be made.
    explicit TSpillFile(const std::string& folder);
    ~TSpillFile();
    TSpillFile(const TSpillFile&) = delete;
    TSpillFile& operator=(const TSpillFile&) = delete;

    // Appends the buffer, its length first. EWriteError when the disk does not take it all.
    template <typename T, typename A> void Write(const std::vector<T, A>& values) {
        static_assert(std::is_trivially_copyable_v<T>);
        const std::uint64_t count = values.size();
        WriteBytes(&count, sizeof count);
        WriteBytes(values.data(), values.size() * sizeof(T));
    }
    // Reads the buffers back in the order they were written, from the first after Rewind.
    // EOutOfMemory or EReadError; the file stays as it was, so a later try can read it again.
    template <typename T, typename A = std::allocator<T>> std::vector<T, A> Read() {
        static_assert(std::is_trivially_copyable_v<T>);
        std::uint64_t count = 0;
        ReadBytes(&count, sizeof count);
        std::vector<T, A> values = Allocate<T, A>(count);
        ReadBytes(values.data(), values.size() * sizeof(T));
        return values;
    }
    void Rewind() { ReadAt_ = 0; }

    // The bytes written, charged against the disk budget.
    std::uint64_t Bytes() const { return Written_; }

  private:
    void WriteBytes(const void* data, std::size_t size);
    void ReadBytes(void* data, std::size_t size);
    void CheckCount(std::uint64_t count, std::size_t size) const;
    template <typename T, typename A> std::vector<T, A> Allocate(std::uint64_t count) {
        CheckCount(count, sizeof(T));
        std::vector<T, A> values;
        try {
            values.resize(std::size_t(count));
        } catch (const std::bad_alloc&) {
            RefuseMemory();
        }
        return values;
    }
    [[noreturn]] static void RefuseMemory();

    int Fd_ = -1;
    std::uint64_t Written_ = 0;
    std::uint64_t ReadAt_ = 0;
};

// Lets go of a buffer's memory once the file holds it.
template <typename T, typename A> void ReleaseBuffer(std::vector<T, A>& values) {
    std::vector<T, A>().swap(values);
}
