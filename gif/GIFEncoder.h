// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GIFWriter.h"

#include <cstdint>
#include <optional>
#include <vector>

class TByteSink;

// Compresses one sub-image's index buffer into GIF image data: the minimum code size byte, the
// codes packed least significant bit first into data sub-blocks, and the block terminator.
class TGIFEncoder {
  public:
    virtual ~TGIFEncoder() = default;

    // bitsPerPixel below 2 is raised to 2, the smallest LZW minimum code size GIF allows.
    // Every pixel must be below colorLimit, else GIFException "Color not in color table".
    void Compress(TByteSink& destination, int bitsPerPixel, int colorLimit, const std::uint8_t* data,
                  bool interlaced, int width, int height);

    // The same in pieces, for pixels that arrive a row at a time: Begin, Feed the pixels in
    // order (any number of calls), End. The bytes are those Compress writes for the whole.
    void Begin(TByteSink& destination, int bitsPerPixel, int colorLimit);
    void Feed(const std::uint8_t* pixels, std::size_t count);
    void End(TByteSink& destination);

  protected:
    virtual void WriteCode(unsigned code) = 0;
    virtual void Clear() = 0;
    // Compresses count more pixels (count > 0) from Pixels; the string in progress carries over
    // to the next call.
    virtual void CompressLoop() = 0;
    // Writes the code of the string in progress, if any pixel came.
    virtual void FinishPixels() = 0;

    // At most 7 bits wait between codes, so 12 more always fit the 32-bit buffer.
    void PackCode(unsigned code) {
        BitBuffer |= std::uint32_t(code) << BitCount;
        BitCount += CodeWidth;
        while (BitCount >= 8) {
            Writer->WriteByte(std::uint8_t(BitBuffer));
            BitBuffer >>= 8;
            BitCount -= 8;
        }
    }
    // The code that ends the data also pushes out the bits of the last byte.
    void FlushBits() {
        while (BitCount > 0) {
            Writer->WriteByte(std::uint8_t(BitBuffer));
            BitBuffer >>= 8;
            BitCount -= 8;
        }
        BitCount = 0;
    }

    int ColorLimit = 0;
    int BitsPerPixel = 0;
    const std::uint8_t* Pixels = nullptr;
    std::size_t PixelsLeft = 0;
    int StartWidth = 0;
    int CodeWidth = 0;
    unsigned CodeCeiling = 0;
    unsigned ClearCode = 0;
    unsigned EndCode = 0;
    std::uint32_t BitBuffer = 0;
    int BitCount = 0;
    bool ResetPending = false;
    std::optional<TGIFWriter> Writer;

  private:
    std::vector<std::uint8_t> Interlaced_; // rows in interlace order, when asked for
};
