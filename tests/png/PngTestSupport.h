#pragma once

// Reading back what the PNG writer made, with code none of it shares: chunk walking here, zlib's
// inflate and crc32, and libpng's decoder.

#include "Bitmap.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

struct TPngChunkSeen {
    std::string Type;
    std::vector<std::uint8_t> Data;
    bool CrcMatches = false;
};

inline std::uint32_t Big32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | std::uint32_t(p[3]);
}

inline const std::vector<std::uint8_t>& PngSignatureBytes() {
    static const std::vector<std::uint8_t> signature{137, 80, 78, 71, 13, 10, 26, 10};
    return signature;
}

// The chunks after the signature; fails the test when the file does not split into whole chunks.
inline std::vector<TPngChunkSeen> SplitChunks(const std::vector<std::uint8_t>& file) {
    std::vector<TPngChunkSeen> chunks;
    EXPECT_GE(file.size(), 8u);
    if (file.size() < 8) return chunks;
    EXPECT_TRUE(std::equal(PngSignatureBytes().begin(), PngSignatureBytes().end(), file.begin()));
    std::size_t at = 8;
    while (at < file.size()) {
        if (file.size() - at < 12) {
            ADD_FAILURE() << "truncated chunk at " << at;
            break;
        }
        const std::uint32_t length = Big32(&file[at]);
        if (file.size() - at - 12 < length) {
            ADD_FAILURE() << "chunk longer than the file at " << at;
            break;
        }
        TPngChunkSeen chunk;
        chunk.Type.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        chunk.Data.assign(file.begin() + std::ptrdiff_t(at + 8), file.begin() + std::ptrdiff_t(at + 8 + length));
        const uLong crc = crc32(0, &file[at + 4], uInt(4 + length));
        chunk.CrcMatches = crc == Big32(&file[at + 8 + length]);
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    return chunks;
}

inline std::vector<std::string> ChunkTypes(const std::vector<TPngChunkSeen>& chunks) {
    std::vector<std::string> types;
    for (const auto& c : chunks) types.push_back(c.Type);
    return types;
}

// The IDAT data joined in order and inflated; fails the test unless it is one complete stream.
inline std::vector<std::uint8_t> InflateImageData(const std::vector<TPngChunkSeen>& chunks) {
    std::vector<std::uint8_t> joined;
    for (const auto& c : chunks)
        if (c.Type == "IDAT") joined.insert(joined.end(), c.Data.begin(), c.Data.end());
    std::vector<std::uint8_t> out;
    z_stream z{};
    EXPECT_EQ(inflateInit(&z), Z_OK);
    z.next_in = joined.data();
    z.avail_in = uInt(joined.size());
    std::uint8_t buffer[16384];
    int result = Z_OK;
    while (result == Z_OK) {
        z.next_out = buffer;
        z.avail_out = sizeof buffer;
        result = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
    }
    EXPECT_EQ(result, Z_STREAM_END);
    EXPECT_EQ(z.avail_in, 0u) << "bytes after the end of the zlib stream";
    inflateEnd(&z);
    return out;
}

// A file decoded by libpng to 8-bit red, green, blue and alpha per pixel.
struct TDecodedPng {
    bool Ok = false;
    std::string Message;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgba;

    TColor ColorAt(int x, int y) const {
        const std::uint8_t* p = &Rgba[(std::size_t(y) * std::size_t(Width) + std::size_t(x)) * 4];
        return RGB(p[0], p[1], p[2]);
    }
    std::uint8_t AlphaAt(int x, int y) const { return Rgba[(std::size_t(y) * std::size_t(Width) + std::size_t(x)) * 4 + 3]; }
};

inline TDecodedPng DecodeWithLibpng(const std::vector<std::uint8_t>& file) {
    TDecodedPng decoded;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) {
        decoded.Message = image.message;
        return decoded;
    }
    image.format = PNG_FORMAT_RGBA;
    decoded.Rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, decoded.Rgba.data(), 0, nullptr)) {
        decoded.Message = image.message;
        return decoded;
    }
    // A warning means libpng had to overlook something; our files must not need that.
    decoded.Ok = image.warning_or_error == 0;
    decoded.Message = image.message;
    decoded.Width = int(image.width);
    decoded.Height = int(image.height);
    return decoded;
}

// Expects the decoded file to show exactly the bitmap's colours, every pixel opaque.
inline void ExpectSamePixels(const TDecodedPng& decoded, const TBitmap& expected) {
    ASSERT_TRUE(decoded.Ok) << decoded.Message;
    ASSERT_EQ(decoded.Width, expected.Width());
    ASSERT_EQ(decoded.Height, expected.Height());
    int mismatches = 0;
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            if (decoded.ColorAt(x, y) != expected.Pixel(x, y) || decoded.AlphaAt(x, y) != 255) {
                if (++mismatches <= 3)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << "): decoded " << std::hex << decoded.ColorAt(x, y)
                                  << " expected " << expected.Pixel(x, y);
            }
    EXPECT_EQ(mismatches, 0);
}

// Pictures for the tests: pseudo-random colours, and flat tiles with a detail in each.
inline TBitmap NoisePicture(int width, int height, std::uint32_t seed = 7) {
    TBitmap picture(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (std::size_t i = 0; i < std::size_t(width) * 3; ++i) {
            seed = seed * 1664525u + 1013904223u;
            row[i] = std::uint8_t(seed >> 24);
        }
    }
    return picture;
}

inline TBitmap TilePicture(int width, int height) {
    static const TColor colors[] = {RGB(0, 128, 0), RGB(128, 64, 0), RGB(0, 0, 200), RGB(255, 255, 0)};
    TBitmap picture(width, height, TPixelFormat::pf24bit);
    for (int ty = 0; ty < height; ty += 8)
        for (int tx = 0; tx < width; tx += 8) {
            picture.Brush.Color = colors[unsigned(tx / 8 * 3 + ty / 8) % 4];
            picture.FillRect(Bounds(tx, ty, 8, 8));
            picture.SetPixel(tx + 2, ty + 3, RGB(250, 250, 250));
        }
    return picture;
}
