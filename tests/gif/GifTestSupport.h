#pragma once

// Reading back what the codec wrote: giflib for whole files, and a small reader of the code
// stream for the choices (widths, clear codes) a decoder hides.

#include "Bitmap.h"
#include "ByteSink.h"
#include "GifColorMap.h"

#include "../picture/TestFiles.h"

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

struct TDecodedGif {
    int Width = 0;
    int Height = 0;
    std::vector<TGIFColor> GlobalColors;
    bool GlobalSorted = false;
    std::vector<std::uint8_t> Indices; // of the first image
};

inline TDecodedGif DecodeGif(const std::vector<std::uint8_t>& bytes) {
    struct TReader {
        const std::vector<std::uint8_t>* Bytes;
        std::size_t Position = 0;
    } reader{&bytes};
    auto read = [](GifFileType* gif, GifByteType* out, int size) -> int {
        auto* r = static_cast<TReader*>(gif->UserData);
        const std::size_t n = std::min<std::size_t>(std::size_t(size), r->Bytes->size() - r->Position);
        std::memcpy(out, r->Bytes->data() + r->Position, n);
        r->Position += n;
        return int(n);
    };
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, read, &error);
    if (!gif) throw std::runtime_error(std::string("giflib cannot open: ") + GifErrorString(error));
    if (DGifSlurp(gif) != GIF_OK) {
        const std::string message = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        throw std::runtime_error("giflib cannot decode: " + message);
    }
    TDecodedGif decoded;
    decoded.Width = gif->SWidth;
    decoded.Height = gif->SHeight;
    if (gif->SColorMap) {
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType c = gif->SColorMap->Colors[i];
            decoded.GlobalColors.push_back({c.Red, c.Green, c.Blue});
        }
        decoded.GlobalSorted = gif->SColorMap->SortFlag;
    }
    if (gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        const std::size_t size = std::size_t(image.ImageDesc.Width) * std::size_t(image.ImageDesc.Height);
        decoded.Indices.assign(image.RasterBits, image.RasterBits + size);
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

// The LZW image data at the start of the bytes: the minimum code size, the sub-block payloads
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
    for (;;) {
        const int length = bytes.at(at++);
        if (length == 0) break;
        data.BlockLengths.push_back(length);
        data.Payload.insert(data.Payload.end(), bytes.begin() + std::ptrdiff_t(at),
                            bytes.begin() + std::ptrdiff_t(at + std::size_t(length)));
        at += std::size_t(length);
    }
    data.EndOffset = at;
    return data;
}

// The codes of a GIF code stream as a decoder reads them, least significant bit first, with
// the width rule of the GIF format: one more bit once the decoder's table reaches the current
// width's limit, never more than 12, back to the start width after a clear code.
inline std::vector<int> ReadCodes(const TImageData& data) {
    const int clearCode = 1 << data.MinimumCodeSize;
    const int endCode = clearCode + 1;
    const int startWidth = data.MinimumCodeSize + 1;
    int width = startWidth;
    int nextEntry = clearCode + 2;
    bool afterClear = true;
    std::uint64_t bits = 0;
    int bitCount = 0;
    std::size_t at = 0;
    std::vector<int> codes;
    for (;;) {
        while (bitCount < width) {
            if (at == data.Payload.size()) throw std::runtime_error("code stream ends without an end code");
            bits |= std::uint64_t(data.Payload[at++]) << bitCount;
            bitCount += 8;
        }
        const int code = int(bits & ((1u << width) - 1));
        bits >>= width;
        bitCount -= width;
        codes.push_back(code);
        if (code == endCode) return codes;
        if (code == clearCode) {
            width = startWidth;
            nextEntry = clearCode + 2;
            afterClear = true;
            continue;
        }
        if (!afterClear && nextEntry < 4096) {
            ++nextEntry;
            if (nextEntry == (1 << width) && width < 12) ++width;
        }
        afterClear = false;
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
