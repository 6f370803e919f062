// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the PNG reader. Whatever it accepts must come back as a picture of
// the editor's formats whose every index has its colour; whatever it refuses, it refuses with one of
// the picture errors, never by reading or writing outside its buffers or allocating far beyond
// what the input could fill.

#include "ByteSource.h"
#include "Errors.h"
#include "PngReader.h"
#include "ReadPictureChecks.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>
#include <zlib.h>

namespace {

// The input with every chunk's CRC made right, so that mutations reach the chunks' contents
// instead of ending at libpng's CRC check.
std::vector<std::uint8_t> WithGoodCrcs(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    for (std::size_t at = 8; at + 12 <= bytes.size();) {
        const std::uint64_t length =
            std::uint64_t(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
        if (length > bytes.size() - at - 12) break;
        const std::size_t end = at + 8 + std::size_t(length);
        const auto crc = crc32(crc32(0, nullptr, 0), bytes.data() + at + 4, uInt(length + 4));
        for (int i = 0; i < 4; ++i)
            bytes[end + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
        at = end + 4;
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadPictureChecks::LimitMemory();
    try {
        const std::vector<std::uint8_t> bytes = WithGoodCrcs(data, size);
        TMemorySource source(bytes);
        TReadReport report;
        const TBitmap bitmap = ReadPng(source, RGB(1, 2, 3), report);
        ReadPictureChecks::CheckReadPicture(bitmap, report);
    } catch (const EPictureError&) {
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
