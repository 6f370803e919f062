// SPDX-License-Identifier: GPL-3.0-or-later
#include "BmpHeader.h"

#include "BmpLayout.h"
#include "ByteSource.h"
#include "Errors.h"

#include <algorithm>
#include <bit>
#include <limits>

using namespace BmpLayout;

TBmpHeader ReadBmpHeader(TByteSource& source) {
    std::uint8_t fileHeader[FileHeaderSize];
    const std::size_t got = source.Read(fileHeader, sizeof fileHeader);
    if (got < 2 || Get16(fileHeader) != Signature) throw EInvalidGraphic();
    if (got < sizeof fileHeader) throw EReadError();

    TBmpHeader h;
    h.PixelOffset = Get32(fileHeader + 10);
    std::uint8_t sizeField[4];
    source.ReadExact(sizeField, 4);
    const std::uint32_t headerSize = Get32(sizeField);
    std::uint16_t planes = 0;
    if (headerSize == CoreHeaderSize) {
        std::uint8_t core[8];
        source.ReadExact(core, sizeof core);
        h.Core = true;
        h.Width = Get16(core);
        h.Height = Get16(core + 2);
        planes = Get16(core + 4);
        h.Bits = Get16(core + 6);
    } else {
        if (headerSize < InfoHeaderSize) throw EInvalidGraphic();
        std::uint8_t info[InfoHeaderSize - 4];
        source.ReadExact(info, sizeof info);
        h.Width = std::int32_t(Get32(info));
        h.Height = std::int32_t(Get32(info + 4));
        planes = Get16(info + 8);
        h.Bits = Get16(info + 10);
        h.Compression = Get32(info + 12);
        h.ImageSize = Get32(info + 16);
        h.XPelsPerMeter = std::int32_t(Get32(info + 20));
        h.YPelsPerMeter = std::int32_t(Get32(info + 24));
        h.ColorsUsed = Get32(info + 28);
        h.ColorsImportant = Get32(info + 32);
        if (headerSize > InfoHeaderSize) {
            // Longer headers carry the masks in their first bytes past the 40-byte part.
            std::uint8_t extra[MaskBytes];
            const std::uint32_t rest = headerSize - InfoHeaderSize;
            const std::size_t kept = std::min<std::size_t>(rest, MaskBytes);
            source.ReadExact(extra, kept);
            if (kept == MaskBytes)
                for (int i = 0; i < 3; ++i)
                    h.Masks[i] = Get32(extra + 4 * i);
            if (rest > kept && !source.Skip(rest - kept)) throw EReadError();
        }
    }
    if (planes != 1) throw EInvalidGraphic();
    // The height's sign gives the row order; the most negative height has no positive partner.
    if (h.Width <= 0 || h.Height == 0 || h.Height == std::numeric_limits<std::int32_t>::min())
        throw EInvalidGraphic();
    const bool bitsKnown =
        h.Bits == 1 || h.Bits == 4 || h.Bits == 8 || h.Bits == 16 || h.Bits == 24 || h.Bits == 32;
    const bool compressionFits = h.Compression == BI_RGB || (h.Compression == BI_RLE8 && h.Bits == 8) ||
                                 (h.Compression == BI_RLE4 && h.Bits == 4) ||
                                 (h.Compression == BI_BITFIELDS && (h.Bits == 16 || h.Bits == 32));
    if (!bitsKnown || !compressionFits) throw EInvalidGraphic();

    if (headerSize == InfoHeaderSize && h.Compression == BI_BITFIELDS) {
        std::uint8_t masks[MaskBytes];
        source.ReadExact(masks, sizeof masks);
        for (int i = 0; i < 3; ++i)
            h.Masks[i] = Get32(masks + 4 * i);
    }
    return h;
}

std::vector<TRGBQuad> ReadBmpColorTable(TByteSource& source, const TBmpHeader& h, std::uint64_t headerBytes) {
    std::uint64_t count = h.ColorsUsed;
    if (count == 0 && h.Bits <= 8) count = std::uint64_t(1) << h.Bits;
    const std::size_t entrySize = h.Core ? 3 : 4;
    // The core header has no colour count: a writer that stores a shorter table says so only by
    // where the pixels begin. Reading the full table would take pixels for colours and shift
    // every row.
    if (h.Core && h.PixelOffset > headerBytes && h.PixelOffset - headerBytes < count * entrySize)
        count = (h.PixelOffset - headerBytes) / entrySize;
    if (count * entrySize > source.Remaining()) throw EReadError();
    std::vector<TRGBQuad> table;
    table.reserve(std::size_t(std::min<std::uint64_t>(count, 256)));
    std::uint8_t entry[4];
    for (std::uint64_t i = 0; i < count; ++i) {
        source.ReadExact(entry, entrySize);
        if (i < 256) table.push_back(TRGBQuad{entry[0], entry[1], entry[2], 0});
    }
    return table;
}

namespace {

// One colour channel of a bit-field pixel, widened to 8 bits.
class TChannel {
  public:
    explicit TChannel(std::uint32_t mask)
        : Mask_(mask), Shift_(mask ? std::countr_zero(mask) : 0), Bits_(std::popcount(mask)) {}
    std::uint8_t Of(std::uint32_t pixel) const {
        if (Bits_ == 0) return 0;
        const std::uint32_t v = (pixel & Mask_) >> Shift_;
        if (Bits_ >= 8) return std::uint8_t(v >> (Bits_ - 8));
        const std::uint32_t max = (1u << Bits_) - 1;
        return std::uint8_t((v * 255 + max / 2) / max);
    }

  private:
    std::uint32_t Mask_;
    int Shift_;
    int Bits_;
};

bool MasksAre(const std::uint32_t masks[3], std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return masks[0] == r && masks[1] == g && masks[2] == b;
}

} // namespace

TBmpPixels BmpPixelsOf(TBmpHeader& h) {
    TBmpPixels p;
    p.RunLength = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
    if (h.Compression == BI_RGB && h.Bits == 16) {
        h.Masks[0] = 0x7C00, h.Masks[1] = 0x03E0, h.Masks[2] = 0x001F; // 5-5-5
    }
    p.Format = TPixelFormat::pf32bit;
    if (h.Bits <= 8 && !p.RunLength)
        p.Format = *PixelFormatOfBits(h.Bits);
    else if (h.Bits == 24)
        p.Format = TPixelFormat::pf24bit;
    else if (h.Bits == 16 && MasksAre(h.Masks, Red565, Green565, Blue565))
        p.Format = TPixelFormat::pf16bit;
    else if (h.Bits == 16)
        p.Masked = true;
    else if (h.Bits == 32 && h.Compression == BI_BITFIELDS && !MasksAre(h.Masks, Red888, Green888, Blue888))
        p.Masked = true;
    return p;
}

void DecodeBitFieldRow(const std::uint8_t* fileRow, int bits, const std::uint32_t masks[3], std::size_t width,
                       std::uint8_t* out, std::size_t outStep) {
    const TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (std::size_t x = 0; x < width; ++x, out += outStep) {
        const std::uint32_t px = bits == 16 ? Get16(fileRow + 2 * x) : Get32(fileRow + 4 * x);
        out[0] = blue.Of(px);
        out[1] = green.Of(px);
        out[2] = red.Of(px);
    }
}
