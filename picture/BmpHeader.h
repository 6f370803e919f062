// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "PixelFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TByteSource;

// Everything the headers of a BMP file say, whichever header the file has.
struct TBmpHeader {
    bool Core = false;
    std::int64_t Width = 0;
    std::int64_t Height = 0; // negative: top row first
    int Bits = 0;
    std::uint32_t Compression = 0;
    std::uint32_t ImageSize = 0;
    std::int32_t XPelsPerMeter = 0;
    std::int32_t YPelsPerMeter = 0;
    std::uint32_t ColorsUsed = 0;
    std::uint32_t ColorsImportant = 0;
    std::uint32_t Masks[3] = {0, 0, 0};
    std::uint32_t PixelOffset = 0; // from the start of the file
};

// Reads the file header, the bitmap header and any masks, and checks that they describe a
// picture we can read. Raises EInvalidGraphic or EReadError.
TBmpHeader ReadBmpHeader(TByteSource& source);

// Reads the colour table that follows the headers, at most 256 entries kept; headerBytes are
// the bytes of the file read so far. EReadError when the file ends inside the table.
std::vector<TRGBQuad> ReadBmpColorTable(TByteSource& source, const TBmpHeader& header,
                                        std::uint64_t headerBytes);

// How a file's pixels are held once read: the pixel format, and whether the pixels are run-
// length encoded or must be unpacked from bit fields (15-bit files, unusual masks) into BGR.
struct TBmpPixels {
    TPixelFormat Format = TPixelFormat::pf24bit;
    bool RunLength = false;
    bool Masked = false;
};
// Gives a 16-bit file without masks its 5-5-5 masks.
TBmpPixels BmpPixelsOf(TBmpHeader& header);

// Unpacks one stored row of bit-field pixels into blue, green, red, outStep bytes apart.
void DecodeBitFieldRow(const std::uint8_t* fileRow, int bits, const std::uint32_t masks[3], std::size_t width,
                       std::uint8_t* out, std::size_t outStep);
