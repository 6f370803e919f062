#pragma once

#include "Color.h"
#include "PngChunk.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The image header. Besides its fields it owns the image buffer that the image data chunks
// compress: rows padded to four bytes and stored bottom row first, samples as a device-
// independent bitmap keeps them (palette indices packed high bits first, or blue, green, red),
// with a colour table of 256 entries.
class TChunkIHDR : public TChunk {
public:
    static constexpr TChunkType Code{'I', 'H', 'D', 'R'};
    explicit TChunkIHDR(TPNGObject& owner) : TChunk(owner, Code) {}

    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint8_t BitDepth = 0;
    std::uint8_t ColorType = 0;
    std::uint8_t CompressionMethod = 0;
    std::uint8_t FilterMethod = 0;
    std::uint8_t InterlaceMethod = 0;

    // Makes a zeroed image buffer and colour table for the fields above. Raises EPictureError
    // for a colour type or depth the buffer cannot hold, EOutOfMemory when it cannot be had.
    void PrepareImageData();

    int BufferBitsPerPixel() const { return BufferBits_; }
    std::size_t RowStride() const { return Stride_; }
    bool HasImageData() const { return !Pixels_.empty(); }

    // Row y of the image counted from the top; the buffer holds it at Height - 1 - y.
    std::uint8_t* ImageRow(std::uint32_t y) { return Pixels_.data() + (std::size_t(Height) - 1 - y) * Stride_; }
    const std::uint8_t* ImageRow(std::uint32_t y) const {
        return Pixels_.data() + (std::size_t(Height) - 1 - y) * Stride_;
    }

    std::array<TRGBQuad, 256>& ColorTable() { return ColorTable_; }
    const std::array<TRGBQuad, 256>& ColorTable() const { return ColorTable_; }

    // Builds the 13 data bytes, with the owner's interlace method, and frames them.
    void SaveToStream(TByteSink& sink) override;

private:
    int BufferBits_ = 0;
    std::size_t Stride_ = 0;
    std::vector<std::uint8_t> Pixels_;
    std::array<TRGBQuad, 256> ColorTable_{};
};
