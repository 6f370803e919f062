#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Checks a buffer size against the memory the machine can still give, so that a picture too
// large for memory is refused with EOutOfMemory instead of the process being killed later.
void CheckAllocatable(std::uint64_t bytes);

// A zero-filled buffer of the given size, or EOutOfMemory.
std::vector<std::uint8_t> AllocateBytes(std::uint64_t bytes);

// Multiplies sizes, raising EOutOfMemory when the product does not fit in 64 bits.
std::uint64_t CheckedProduct(std::uint64_t a, std::uint64_t b);
