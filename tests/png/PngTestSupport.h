// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading back what the PNG writer made with code it does not share: zlib's uncompress and crc32,
// and libpng's decoder.

#include "Bitmap.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

struct TPngChunkSeen {
    std::string Type;
    TBytes Data;
    bool CrcMatches = false;
};

inline std::uint32_t Big32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// The chunks after the signature; fails the test unless the file is the signature and whole chunks.
inline std::vector<TPngChunkSeen> SplitChunks(const TBytes& file) {
    std::vector<TPngChunkSeen> chunks;
    const TBytes signature{137, 80, 78, 71, 13, 10, 26, 10};
    EXPECT_TRUE(file.size() >= 8 && std::equal(signature.begin(), signature.end(), file.begin()));
    for (std::size_t at = 8; at < file.size();) {
        if (file.size() - at < 12 || file.size() - at - 12 < Big32(&file[at])) {
            ADD_FAILURE() << "broken chunk at " << at;
            break;
        }
        const std::size_t length = Big32(&file[at]);
        const auto data = file.begin() + std::ptrdiff_t(at + 8);
        chunks.push_back({std::string(data - 4, data), TBytes(data, data + std::ptrdiff_t(length)),
                          crc32(0, &file[at + 4], uInt(4 + length)) == Big32(&file[at + 8 + length])});
        at += 12 + length;
    }
    return chunks;
}

inline std::vector<std::string> ChunkTypes(const std::vector<TPngChunkSeen>& chunks) {
    std::vector<std::string> types;
    for (const auto& c : chunks)
        types.push_back(c.Type);
    return types;
}

inline TBytes JoinedImageData(const std::vector<TPngChunkSeen>& chunks) {
    TBytes joined;
    for (const auto& c : chunks)
        if (c.Type == "IDAT") joined.insert(joined.end(), c.Data.begin(), c.Data.end());
    return joined;
}

// The IDAT data inflated; fails the test unless it is exactly one complete zlib stream.
inline TBytes InflateImageData(const std::vector<TPngChunkSeen>& chunks) {
    const TBytes joined = JoinedImageData(chunks);
    TBytes out(std::size_t(1) << 22);
    uLongf outSize = out.size();
    uLong inSize = joined.size();
    EXPECT_EQ(uncompress2(out.data(), &outSize, joined.data(), &inSize), Z_OK);
    EXPECT_EQ(inSize, joined.size()) << "bytes after the end of the zlib stream";
    out.resize(outSize);
    return out;
}

// Expects libpng to decode the file, without any error or warning, to exactly the bitmap's
// colours, every pixel opaque.
inline void ExpectDecodesTo(const TBytes& file, const TBitmap& expected) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, file.data(), file.size())) << image.message;
    image.format = PNG_FORMAT_RGBA;
    TBytes rgba(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) &&
                image.warning_or_error == 0)
        << image.message;
    ASSERT_EQ(int(image.width), expected.Width());
    ASSERT_EQ(int(image.height), expected.Height());
    const std::uint8_t* p = rgba.data();
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x, p += 4) {
            ASSERT_EQ(RGB(p[0], p[1], p[2]), expected.Pixel(x, y)) << "at " << x << ", " << y;
            ASSERT_EQ(p[3], 255);
        }
}

// Pseudo-random colours, and flat 8 x 8 tiles with a detail in each.
inline TBitmap NoisePicture(int width, int height, std::uint32_t seed = 7) {
    TBitmap picture(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
        for (std::size_t i = 0; i < std::size_t(width) * 3; ++i)
            picture.ScanLine(y)[i] = std::uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);
    return picture;
}

inline TBitmap TilePicture(int width, int height) {
    const TColor colors[] = {RGB(0, 128, 0), RGB(128, 64, 0), RGB(0, 0, 200), RGB(255, 255, 0)};
    TBitmap picture(width, height, TPixelFormat::pf24bit);
    for (int ty = 0; ty < height; ty += 8)
        for (int tx = 0; tx < width; tx += 8) {
            picture.Brush.Color = colors[unsigned(tx / 8 * 3 + ty / 8) % 4];
            picture.FillRect(Bounds(tx, ty, 8, 8));
            picture.SetPixel(tx + 2, ty + 3, RGB(250, 250, 250));
        }
    return picture;
}
