// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Hand-made BMP files and the in-memory round trip the BMP tests share.

#include "BmpFile.h"
#include "ByteSink.h"
#include "ByteSource.h"

#include <cstdint>
#include <vector>

inline std::vector<std::uint8_t> Encode(const TBitmap& bitmap) {
    TMemorySink sink;
    WriteBitmap(bitmap, sink);
    return sink.Bytes;
}

inline TBitmap Decode(const std::vector<std::uint8_t>& bytes) {
    TMemorySource source(bytes);
    return ReadBitmap(source);
}

// Little-endian bytes of a hand-made file.
struct TBytes {
    std::vector<std::uint8_t> b;
    TBytes& u8(std::uint8_t v) {
        b.push_back(v);
        return *this;
    }
    TBytes& u16(std::uint32_t v) { return u8(std::uint8_t(v)).u8(std::uint8_t(v >> 8)); }
    TBytes& u32(std::uint32_t v) { return u16(v).u16(v >> 16); }
    TBytes& fileHeader(std::uint32_t offset = 0) { return u8('B').u8('M').u32(0).u32(0).u32(offset); }
    TBytes& info(std::int32_t w, std::int32_t h, int bits, std::uint32_t compression = 0,
                 std::uint32_t colors = 0, std::uint32_t imageSize = 0) {
        return u32(40)
            .u32(std::uint32_t(w))
            .u32(std::uint32_t(h))
            .u16(1)
            .u16(std::uint32_t(bits))
            .u32(compression)
            .u32(imageSize)
            .u32(0)
            .u32(0)
            .u32(colors)
            .u32(0);
    }
};
