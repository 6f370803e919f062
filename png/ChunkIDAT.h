// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PngChunk.h"

#include <cstddef>

// The image data. It keeps nothing: each write filters the header's image buffer row by row,
// compresses it with zlib and writes as many IDAT chunks as the compressed stream fills.
class TChunkIDAT : public TChunk {
  public:
    static constexpr TChunkType Code{'I', 'D', 'A', 'T'};
    explicit TChunkIDAT(TPNGObject& owner) : TChunk(owner, Code) {}

    void SaveToStream(TByteSink& sink) override;
};

// Bytes of one PNG row without its filter type byte, and the distance to the same sample of the
// pixel on the left (at least 1), for a colour type and bit depth.
struct TPngRowLayout {
    std::size_t RowBytes = 0;
    std::size_t PixelDistance = 1;
};
TPngRowLayout PngRowLayout(std::uint8_t colorType, std::uint8_t bitDepth, std::uint32_t width);
