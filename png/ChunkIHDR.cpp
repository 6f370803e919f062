// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChunkIHDR.h"

#include "Errors.h"
#include "MemoryGuard.h"
#include "PngFormat.h"
#include "PngObject.h"
#include "RowSource.h"

#include <string>

namespace {

// Bits per pixel of the buffer that holds samples of this colour type and depth.
int BufferBitsFor(std::uint8_t colorType, std::uint8_t bitDepth) {
    switch (colorType) {
    case PngFormat::ColorTypeGrey:
    case PngFormat::ColorTypePalette:
        switch (bitDepth) {
        case 1:
        case 4:
        case 8:
            return bitDepth;
        case 2:
            return 4;
        case 16:
            return 8;
        default:
            break;
        }
        break;
    case PngFormat::ColorTypeRGB:
        return 24; // blue, green, red
    default:
        break;
    }
    throw EPictureError("PNG colour type " + std::to_string(colorType) + " with bit depth " +
                        std::to_string(bitDepth) + " cannot be written");
}

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(std::uint8_t(value >> 24));
    out.push_back(std::uint8_t(value >> 16));
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value));
}

} // namespace

void TChunkIHDR::ChooseLayout() {
    ColorTable_ = {};
    Pixels_.clear();
    Pixels_.shrink_to_fit();
    Top_ = nullptr;
    Step_ = 0;
    Rows_ = nullptr;
    PacksIndices_ = false;
    BufferBits_ = 0;
    Stride_ = 0;
    const int bits = BufferBitsFor(ColorType, BitDepth);
    if (Width == 0 || Height == 0 || Width > PngFormat::MaxChunkLength || Height > PngFormat::MaxChunkLength)
        throw EInvalidGraphic();
    BufferBits_ = bits;
    // Rows padded to a multiple of 4 bytes.
    Stride_ = std::size_t((CheckedProduct(std::uint64_t(bits), Width) + 31) / 32 * 4);
}

void TChunkIHDR::PrepareImageData() {
    ChooseLayout();
    Pixels_ = AllocateBytes(CheckedProduct(Stride_, Height));
    // Bottom row first, as a device-independent bitmap keeps them.
    Top_ = Pixels_.data() + (std::size_t(Height) - 1) * Stride_;
    Step_ = -std::ptrdiff_t(Stride_);
}

void TChunkIHDR::BorrowImageRows(const std::uint8_t* top, std::ptrdiff_t step) {
    ChooseLayout();
    Top_ = top;
    Step_ = step;
}

void TChunkIHDR::UseImageRows(TRowSource& rows) {
    ChooseLayout();
    if (BitsOfPixelFormat(rows.PixelFormat()) != BufferBits_ || std::uint32_t(rows.Width()) != Width ||
        std::uint32_t(rows.Height()) != Height)
        throw EPictureError("PNG image rows do not fit the image header");
    Rows_ = &rows;
}

void TChunkIHDR::UseIndexRows(TRowSource& rows) {
    ChooseLayout();
    if (ColorType != PngFormat::ColorTypePalette || rows.PixelFormat() != TPixelFormat::pf8bit ||
        std::uint32_t(rows.Width()) != Width || std::uint32_t(rows.Height()) != Height)
        throw EPictureError("PNG image rows do not fit the image header");
    Rows_ = &rows;
    PacksIndices_ = true;
}

void TChunkIHDR::SaveToStream(TByteSink& sink) {
    Data.clear();
    Data.reserve(PngFormat::IHDRDataSize);
    PutBig32(Data, Width);
    PutBig32(Data, Height);
    Data.push_back(BitDepth);
    Data.push_back(ColorType);
    Data.push_back(CompressionMethod);
    Data.push_back(FilterMethod);
    Data.push_back(Owner().InterlaceMethod);
    TChunk::SaveToStream(sink);
}
