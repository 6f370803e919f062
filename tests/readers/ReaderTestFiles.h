// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// PNG and GIF files written by libpng and giflib, whose writers share nothing with our readers.

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

struct TPngSpec {
    int Width = 13;
    int Height = 7;
    int ColorType = PNG_COLOR_TYPE_RGB;
    int BitDepth = 8;
    bool Interlaced = false;
    std::vector<png_color> Palette;         // PLTE, for palette pictures
    std::vector<png_byte> TransAlpha;       // tRNS of a palette picture
    std::optional<png_color_16> TransColor; // tRNS of a grey or RGB picture
    std::vector<std::uint16_t> Samples;     // Width * Height * channels values below 2^BitDepth

    int Channels() const {
        switch (ColorType) {
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return 4;
        default:
            return 1;
        }
    }
    std::uint16_t Sample(int x, int y, int c) const {
        return Samples[(std::size_t(y) * std::size_t(Width) + std::size_t(x)) * std::size_t(Channels()) +
                       std::size_t(c)];
    }
    // Samples drawn at random below the limit (2^BitDepth, or the palette's size).
    void FillRandom(unsigned seed, unsigned limit = 0) {
        std::mt19937 random(seed);
        if (limit == 0) limit = 1u << BitDepth;
        Samples.resize(std::size_t(Width) * std::size_t(Height) * std::size_t(Channels()));
        for (auto& s : Samples)
            s = std::uint16_t(random() % limit);
    }
};

// Writes the picture with libpng; false when libpng refuses it.
inline bool WritePngFile(const std::string& path, const TPngSpec& spec) {
    std::vector<std::vector<png_byte>> rows(std::size_t(spec.Height));
    const int channels = spec.Channels();
    for (int y = 0; y < spec.Height; ++y) {
        auto& row = rows[std::size_t(y)];
        row.assign((std::size_t(spec.Width) * std::size_t(channels) * std::size_t(spec.BitDepth) + 7) / 8, 0);
        for (int x = 0; x < spec.Width; ++x)
            for (int c = 0; c < channels; ++c) {
                const std::size_t i = std::size_t(x) * std::size_t(channels) + std::size_t(c);
                const unsigned v = spec.Sample(x, y, c);
                if (spec.BitDepth == 16) {
                    row[2 * i] = png_byte(v >> 8);
                    row[2 * i + 1] = png_byte(v);
                } else {
                    const std::size_t bit = i * std::size_t(spec.BitDepth);
                    row[bit / 8] |= png_byte(v << (8 - spec.BitDepth - bit % 8));
                }
            }
    }
    std::vector<png_bytep> pointers;
    for (auto& row : rows)
        pointers.push_back(row.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(spec.Width), png_uint_32(spec.Height), spec.BitDepth, spec.ColorType,
                 spec.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec.Palette.empty()) png_set_PLTE(png, info, spec.Palette.data(), int(spec.Palette.size()));
    if (!spec.TransAlpha.empty())
        png_set_tRNS(png, info, spec.TransAlpha.data(), int(spec.TransAlpha.size()), nullptr);
    if (spec.TransColor) {
        png_color_16 color = *spec.TransColor;
        png_set_tRNS(png, info, nullptr, 0, &color);
    }
    png_write_info(png, info);
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

struct TGifSpec {
    int ScreenWidth = 10;
    int ScreenHeight = 6;
    int Left = 2, Top = 1, Width = 6, Height = 4;
    int Background = 1;
    int TransparentIndex = -1;
    bool Interlaced = false;
    std::vector<GifColorType> Colors; // a power of two of them
    std::vector<GifPixelType> Pixels; // Width * Height frame pixels, top row first
};

// Writes the picture with giflib as one frame, in interlaced order when asked.
inline bool WriteGifFile(const std::string& path, const TGifSpec& spec) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) return false;
    int bits = 1;
    while ((1 << bits) < int(spec.Colors.size()))
        ++bits;
    ColorMapObject* map = GifMakeMapObject(1 << bits, spec.Colors.data());
    bool ok =
        EGifPutScreenDesc(gif, spec.ScreenWidth, spec.ScreenHeight, bits, spec.Background, map) == GIF_OK;
    if (spec.TransparentIndex >= 0) {
        GifByteType control[4] = {1, 0, 0, GifByteType(spec.TransparentIndex)};
        EGifSetGifVersion(gif, true);
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, spec.Left, spec.Top, spec.Width, spec.Height, spec.Interlaced,
                                nullptr) == GIF_OK;
    std::vector<int> order;
    if (spec.Interlaced) {
        for (const auto& [first, step] : {std::pair{0, 8}, std::pair{4, 8}, std::pair{2, 4}, std::pair{1, 2}})
            for (int y = first; y < spec.Height; y += step)
                order.push_back(y);
    } else {
        for (int y = 0; y < spec.Height; ++y)
            order.push_back(y);
    }
    for (const int y : order) {
        std::vector<GifPixelType> line(spec.Pixels.begin() + std::ptrdiff_t(y * spec.Width),
                                       spec.Pixels.begin() + std::ptrdiff_t((y + 1) * spec.Width));
        ok = ok && EGifPutLine(gif, line.data(), spec.Width) == GIF_OK;
    }
    GifFreeMapObject(map);
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    return ok;
}
