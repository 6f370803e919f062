// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryGuard.h"

#include "PixelBytes.h"

#include "Errors.h"

#include <atomic>
#include <fstream>
#include <limits>
#include <new>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// What the kernel says can still be given without swapping; falls back to free pages.
std::uint64_t AvailableMemoryBytes() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t value = 0;
    std::string unit;
    while (meminfo >> key >> value) {
        std::getline(meminfo, unit);
        if (key == "MemAvailable:") return value * 1024;
    }
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return std::numeric_limits<std::uint64_t>::max();
    return std::uint64_t(pages) * std::uint64_t(pageSize);
}

// Small buffers are always tried; asking the kernel costs a file read.
constexpr std::uint64_t AlwaysTriedBytes = 64u << 20;

// Large pictures live in huge pages where the kernel offers them: a tile stamped into a picture
// of 16384 pixels a side touches one row per 48 KiB, and with small pages every row costs a
// TLB miss, so stamping would slow down with the picture's width.
constexpr std::uint64_t HugePageWorthBytes = 8u << 20;
constexpr std::uintptr_t HugePageSize = 2u << 20;

void AdviseHugePages(std::uint8_t* data, std::size_t size) {
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + HugePageSize - 1) & ~(HugePageSize - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(HugePageSize - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

constexpr std::uint64_t NoLimit = std::numeric_limits<std::uint64_t>::max();
std::atomic<std::uint64_t> FailAfterRequests{NoLimit};
std::atomic<std::uint64_t> CeilingBytes{NoLimit};
std::atomic<std::uint64_t> RequestCount{0};

// True when the test hook refuses this request.
bool RefusedByHook(std::uint64_t bytes) {
    if (bytes == 0) return false;
    const std::uint64_t seen = RequestCount.fetch_add(1);
    return seen >= FailAfterRequests.load() || bytes > CeilingBytes.load();
}

} // namespace

namespace MemoryGuardHook {
void FailAfter(std::uint64_t allowed) {
    RequestCount = 0;
    FailAfterRequests = allowed;
}
void SetCeiling(std::uint64_t bytes) {
    CeilingBytes = bytes;
}
void Reset() {
    FailAfterRequests = NoLimit;
    CeilingBytes = NoLimit;
    RequestCount = 0;
}
std::uint64_t Requests() {
    return RequestCount.load();
}
} // namespace MemoryGuardHook

void NoteAllocation(std::uint64_t bytes) {
    if (RefusedByHook(bytes)) throw std::bad_alloc();
}

void CheckAllocatable(std::uint64_t bytes) {
    if (RefusedByHook(bytes)) throw EOutOfMemory();
    if (bytes <= AlwaysTriedBytes) return;
    if (bytes > std::uint64_t(std::numeric_limits<std::ptrdiff_t>::max()) || bytes > AvailableMemoryBytes())
        throw EOutOfMemory();
}

namespace {

// A buffer of the given size, asked for once the guard agrees; `advise` sees its memory before
// the first byte is written.
template <typename TBuffer, typename TAdvise> TBuffer Allocated(std::uint64_t bytes, TAdvise advise) {
    CheckAllocatable(bytes);
    try {
        TBuffer buffer;
        buffer.reserve(std::size_t(bytes));
        advise(buffer.data());
        buffer.resize(std::size_t(bytes));
        return buffer;
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    } catch (const std::length_error&) {
        throw EOutOfMemory();
    }
}

} // namespace

TPixelBytes AllocatePixelBytes(std::uint64_t bytes) {
    return Allocated<TPixelBytes>(bytes, [](std::uint8_t*) {});
}

void AdviseWrittenHugePages(std::uint8_t* data, std::size_t size) noexcept {
    if (size >= HugePageWorthBytes) AdviseHugePages(data, size);
}

std::vector<std::uint8_t> AllocateBytes(std::uint64_t bytes) {
    // Advised before the zero fill touches the pages, so they are made huge from the start.
    return Allocated<std::vector<std::uint8_t>>(bytes, [bytes](std::uint8_t* data) {
        if (bytes >= HugePageWorthBytes) AdviseHugePages(data, std::size_t(bytes));
    });
}

std::uint64_t CheckedProduct(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) throw EOutOfMemory();
    return a * b;
}
