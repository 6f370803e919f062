#include "MemoryGuard.h"

#include "Errors.h"

#include <fstream>
#include <limits>
#include <new>
#include <string>
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

} // namespace

void CheckAllocatable(std::uint64_t bytes) {
    if (bytes <= AlwaysTriedBytes) return;
    if (bytes > std::uint64_t(std::numeric_limits<std::ptrdiff_t>::max()) ||
        bytes > AvailableMemoryBytes())
        throw EOutOfMemory();
}

std::vector<std::uint8_t> AllocateBytes(std::uint64_t bytes) {
    CheckAllocatable(bytes);
    try {
        return std::vector<std::uint8_t>(std::size_t(bytes));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    } catch (const std::length_error&) {
        throw EOutOfMemory();
    }
}

std::uint64_t CheckedProduct(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) throw EOutOfMemory();
    return a * b;
}
