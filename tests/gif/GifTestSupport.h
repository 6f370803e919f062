// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading back what the codec wrote: giflib for whole files, and a small reader of the code
// stream for the choices (widths, clear codes) a decoder hides.

#include "Bitmap.h"
#include "ByteSink.h"
#include "GifColorMap.h"

#include "../picture/TestFiles.h"

#include <gif_lib.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

struct TDecodedGif {
    int Width = 0;
    int Height = 0;
    std::vector<TGIFColor> GlobalColors;
    std::vector<std::uint8_t> Indices; // of the first image
};

inline TDecodedGif DecodeGifFile(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        const std::string message = GifErrorString(gif ? gif->Error : error);
        if (gif) DGifCloseFile(gif, &error);
        throw std::runtime_error("giflib cannot read " + path + ": " + message);
    }
    TDecodedGif decoded{gif->SWidth, gif->SHeight, {}, {}};
    for (int i = 0; gif->SColorMap && i < gif->SColorMap->ColorCount; ++i) {
        const GifColorType c = gif->SColorMap->Colors[i];
        decoded.GlobalColors.push_back({c.Red, c.Green, c.Blue});
    }
    if (gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        decoded.Indices.assign(image.RasterBits, image.RasterBits + std::size_t(image.ImageDesc.Width) *
                                                                        std::size_t(image.ImageDesc.Height));
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

// The LZW image data starting at a given offset: the minimum code size, the sub-block payloads
// joined, and the sub-block lengths.
struct TImageData {
    int MinimumCodeSize = 0;
    std::vector<std::uint8_t> Payload;
    std::vector<int> BlockLengths;
    std::size_t EndOffset = 0; // just past the terminator
};

inline TImageData SplitImageData(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    TImageData data;
    data.MinimumCodeSize = bytes.at(at++);
    while (const int length = bytes.at(at++)) {
        data.BlockLengths.push_back(length);
        data.Payload.insert(data.Payload.end(), &bytes.at(at), &bytes.at(at + std::size_t(length) - 1) + 1);
        at += std::size_t(length);
    }
    data.EndOffset = at;
    return data;
}

// The codes as a decoder reads them, least significant bit first, with the GIF width rule: one
// more bit once the decoder's table reaches the width's limit, at most 12, back after a clear.
inline std::vector<int> ReadCodes(const TImageData& data) {
    const int clearCode = 1 << data.MinimumCodeSize;
    const int startWidth = data.MinimumCodeSize + 1;
    int width = startWidth, nextEntry = clearCode + 2, bitCount = 0;
    bool afterClear = true;
    std::uint64_t bits = 0;
    std::size_t at = 0;
    std::vector<int> codes;
    for (;;) {
        for (; bitCount < width; bitCount += 8) {
            if (at == data.Payload.size()) throw std::runtime_error("code stream ends without an end code");
            bits |= std::uint64_t(data.Payload[at++]) << bitCount;
        }
        const int code = int(bits & ((1u << width) - 1));
        bits >>= width;
        bitCount -= width;
        codes.push_back(code);
        if (code == clearCode + 1) return codes;
        if (code == clearCode) {
            width = startWidth;
            nextEntry = clearCode + 2;
        } else if (!afterClear && nextEntry < 4096 && ++nextEntry == (1 << width) && width < 12) {
            ++width;
        }
        afterClear = code == clearCode;
    }
}

// An 8-bit bitmap whose colour table is the given colours and whose pixels are the indices.
inline TBitmap IndexedBitmap(int width, int height, const std::vector<TGIFColor>& colors,
                             const std::vector<std::uint8_t>& indices) {
    TBitmap bitmap(width, height, TPixelFormat::pf8bit);
    std::vector<TRGBQuad> table;
    for (const TGIFColor& c : colors)
        table.push_back(TRGBQuad{c.Blue, c.Green, c.Red, 0});
    bitmap.SetColorTable(table);
    for (int y = 0; y < height; ++y)
        std::memcpy(bitmap.ScanLine(y), indices.data() + std::size_t(y) * std::size_t(width),
                    std::size_t(width));
    return bitmap;
}

// The message of what f throws, or "no error".
template <typename F> std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

inline std::uint32_t NextRandom(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}
