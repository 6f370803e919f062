// SPDX-License-Identifier: GPL-3.0-or-later
#include "GIFEncoder.h"

#include "ByteSink.h"

namespace {
constexpr int SmallestCodeSize = 2;
constexpr std::uint8_t BlockTerminator = 0x00;

// Rows of the four interlace passes: every 8th from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1.
std::vector<std::uint8_t> InterlacedRows(const std::uint8_t* data, int width, int height) {
    static constexpr int passStart[] = {0, 4, 2, 1};
    static constexpr int passStep[] = {8, 8, 4, 2};
    std::vector<std::uint8_t> rows(std::size_t(width) * std::size_t(height));
    std::uint8_t* out = rows.data();
    for (int pass = 0; pass < 4; ++pass)
        for (int y = passStart[pass]; y < height; y += passStep[pass]) {
            const std::uint8_t* row = data + std::size_t(y) * std::size_t(width);
            out = std::copy(row, row + width, out);
        }
    return rows;
}
} // namespace

void TGIFEncoder::Compress(TByteSink& destination, int bitsPerPixel, int colorLimit, const std::uint8_t* data,
                           bool interlaced, int width, int height) {
    Begin(destination, bitsPerPixel, colorLimit);
    if (data && width > 0 && height > 0) {
        if (interlaced) {
            Interlaced_ = InterlacedRows(data, width, height);
            data = Interlaced_.data();
        }
        Feed(data, std::size_t(width) * std::size_t(height));
    }
    End(destination);
}

void TGIFEncoder::Begin(TByteSink& destination, int bitsPerPixel, int colorLimit) {
    BitsPerPixel = bitsPerPixel < SmallestCodeSize ? SmallestCodeSize : bitsPerPixel;
    ColorLimit = colorLimit;
    const std::uint8_t minimumCodeSize = std::uint8_t(BitsPerPixel);
    destination.Write(&minimumCodeSize, 1);

    StartWidth = BitsPerPixel + 1;
    CodeWidth = StartWidth;
    CodeCeiling = (1u << CodeWidth) - 1;
    ClearCode = 1u << BitsPerPixel;
    EndCode = ClearCode + 1;
    BitBuffer = 0;
    BitCount = 0;
    Writer.emplace(destination);
}

void TGIFEncoder::Feed(const std::uint8_t* pixels, std::size_t count) {
    if (count == 0) return;
    Pixels = pixels;
    PixelsLeft = count;
    CompressLoop();
}

void TGIFEncoder::End(TByteSink& destination) {
    FinishPixels();
    WriteCode(EndCode);
    FlushBits();
    Writer->Finish();
    Writer.reset();
    destination.Write(&BlockTerminator, 1);
}
