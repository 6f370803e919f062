// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Checks a buffer size against the memory the machine can still give, so that a picture too
// large for memory is refused with EOutOfMemory instead of the process being killed later.
void CheckAllocatable(std::uint64_t bytes);

// Raises std::bad_alloc when a test forces allocations to fail. Tables built with plain new
// call it first, so that tests reach the path a refused allocation takes there.
void NoteAllocation(std::uint64_t bytes);

// Makes room for one more element, doubling the capacity after asking the guard, so that a
// growing list refused by a test, or by the machine, fails with EOutOfMemory rather than a
// std::bad_alloc from deep inside a loop.
template <typename T> void ReserveOneMore(std::vector<T>& v);

// A zero-filled buffer of the given size, or EOutOfMemory.
std::vector<std::uint8_t> AllocateBytes(std::uint64_t bytes);

// Multiplies sizes, raising EOutOfMemory when the product does not fit in 64 bits.
std::uint64_t CheckedProduct(std::uint64_t a, std::uint64_t b);

// No picture may need more than this: 128 TiB, the whole user address space of the 64-bit
// machines we run on. A header that asks for more is not a picture, whatever memory there is.
inline constexpr std::uint64_t MaxAddressableBytes = std::uint64_t(1) << 47;

// Lets tests and fuzzers make allocations fail without exhausting the machine. Only non-empty
// requests count; every guarded request (CheckAllocatable, AllocateBytes, NoteAllocation) does.
namespace MemoryGuardHook {
// The next `allowed` requests succeed, every later one fails.
void FailAfter(std::uint64_t allowed);
// Requests larger than this fail, however much memory is free.
void SetCeiling(std::uint64_t bytes);
// Back to the machine's own limits.
void Reset();
// Requests seen since the last Reset.
std::uint64_t Requests();
} // namespace MemoryGuardHook

// Makes allocations fail for the life of a scope.
class TForcedOutOfMemory {
  public:
    explicit TForcedOutOfMemory(std::uint64_t allowed = 0) { MemoryGuardHook::FailAfter(allowed); }
    ~TForcedOutOfMemory() { MemoryGuardHook::Reset(); }
    TForcedOutOfMemory(const TForcedOutOfMemory&) = delete;
    TForcedOutOfMemory& operator=(const TForcedOutOfMemory&) = delete;
};

#include "Errors.h"

#include <algorithm>
#include <new>

template <typename T> void ReserveOneMore(std::vector<T>& v) {
    if (v.size() < v.capacity()) return;
    const std::size_t wanted = std::max<std::size_t>(64, v.capacity() * 2);
    try {
        NoteAllocation(std::uint64_t(wanted) * sizeof(T));
        v.reserve(wanted);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}
