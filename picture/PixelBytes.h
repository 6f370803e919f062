// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// An allocator that leaves new elements as the memory gives them. A picture about to be read
// from a file or filled with a colour has no use for a first pass that zeroes it: on a large
// picture that pass costs as much as the read itself. Whoever needs zeros writes them.
template <typename T> struct TNoFillAllocator : std::allocator<T> {
    template <typename U> struct rebind { using other = TNoFillAllocator<U>; };
    TNoFillAllocator() = default;
    template <typename U> TNoFillAllocator(const TNoFillAllocator<U>&) noexcept {}

    template <typename U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// The bytes of a bitmap's pixels.
using TPixelBytes = std::vector<std::uint8_t, TNoFillAllocator<std::uint8_t>>;

// A buffer of the given size, its bytes undefined, or EOutOfMemory. Its pages come as the
// kernel first gives them: a huge page faulted in fresh can cost several times the plain pages
// a buffer written at once reuses (seen on virtual machines), so huge pages are asked for only
// once the buffer is written (AdviseWrittenHugePages), and the kernel moves it in its own time.
TPixelBytes AllocatePixelBytes(std::uint64_t bytes);
// Asks for huge pages for a large buffer already written; nothing for a small one.
void AdviseWrittenHugePages(std::uint8_t* data, std::size_t size) noexcept;
