// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "PngChunk.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class TRowSource;

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

    // Reads the rows where they are instead of from an own buffer: top is the top row, step the
    // distance to the next row down. They must hold the buffer's layout for the fields above and
    // outlive every write of the image. Zeroes the colour table like PrepareImageData.
    void BorrowImageRows(const std::uint8_t* top, std::ptrdiff_t step);

    // Takes the rows from a row source, top row first, as they are written; its rows must have
    // the buffer's bits per pixel and the header's size, and it must outlive every write.
    // EPictureError when they do not fit. Zeroes the colour table like PrepareImageData.
    void UseImageRows(TRowSource& rows);
    TRowSource* ImageRows() const { return Rows_; }

    // Takes 8-bit palette indices from a row source, top row first, and has them packed to the
    // header's bit depth (1, 2, 4 or 8) as they are written: a palette of a few colours needs no
    // more bits than its entries. EPictureError unless the header is of a palette and the rows
    // fit it. Zeroes the colour table like PrepareImageData.
    void UseIndexRows(TRowSource& rows);
    bool PacksIndices() const { return PacksIndices_; }

    int BufferBitsPerPixel() const { return BufferBits_; }
    std::size_t RowStride() const { return Stride_; }
    bool HasImageData() const { return Top_ != nullptr || Rows_ != nullptr; }

    // Row y of the image counted from the top, in the own buffer, which holds it at Height - 1 - y.
    std::uint8_t* BufferRow(std::uint32_t y) {
        return Pixels_.data() + (std::size_t(Height) - 1 - y) * Stride_;
    }
    // Row y of the image counted from the top, wherever the rows are.
    const std::uint8_t* ImageRow(std::uint32_t y) const { return Top_ + std::ptrdiff_t(y) * Step_; }

    std::array<TRGBQuad, 256>& ColorTable() { return ColorTable_; }
    const std::array<TRGBQuad, 256>& ColorTable() const { return ColorTable_; }

    // Builds the 13 data bytes, with the owner's interlace method, and frames them.
    void SaveToStream(TByteSink& sink) override;

  private:
    // Zeroes the colour table, drops the image data and works out the buffer layout.
    void ChooseLayout();

    int BufferBits_ = 0;
    std::size_t Stride_ = 0;
    std::vector<std::uint8_t> Pixels_;
    const std::uint8_t* Top_ = nullptr;
    std::ptrdiff_t Step_ = 0;
    TRowSource* Rows_ = nullptr;
    bool PacksIndices_ = false;
    std::array<TRGBQuad, 256> ColorTable_{};
};
