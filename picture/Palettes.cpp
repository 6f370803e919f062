// SPDX-License-Identifier: GPL-3.0-or-later
#include "Palettes.h"

namespace {

TRGBQuad Rgb(int r, int g, int b) {
    return TRGBQuad{std::uint8_t(b), std::uint8_t(g), std::uint8_t(r), 0};
}

std::vector<TRGBQuad> MakeSixteen() {
    return {Rgb(0, 0, 0),       Rgb(128, 0, 0),   Rgb(0, 128, 0),   Rgb(128, 128, 0),
            Rgb(0, 0, 128),     Rgb(128, 0, 128), Rgb(0, 128, 128), Rgb(128, 128, 128),
            Rgb(192, 192, 192), Rgb(255, 0, 0),   Rgb(0, 255, 0),   Rgb(255, 255, 0),
            Rgb(0, 0, 255),     Rgb(255, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 255)};
}

std::vector<TRGBQuad> MakeHalftone() {
    std::vector<TRGBQuad> table = MakeSixteen();
    table.reserve(256);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                table.push_back(Rgb(51 * r, 51 * g, 51 * b));
    for (int grey = 8; grey <= 238; grey += 10)
        table.push_back(Rgb(grey, grey, grey));
    return table;
}

} // namespace

const std::vector<TRGBQuad>& HalftonePalette() {
    static const std::vector<TRGBQuad> table = MakeHalftone();
    return table;
}

const std::vector<TRGBQuad>& SixteenColorPalette() {
    static const std::vector<TRGBQuad> table = MakeSixteen();
    return table;
}

const std::vector<TRGBQuad>& MonochromePalette() {
    static const std::vector<TRGBQuad> table = {Rgb(0, 0, 0), Rgb(255, 255, 255)};
    return table;
}

const std::vector<TRGBQuad>& DefaultPaletteForBits(int bits) {
    if (bits == 1) return MonochromePalette();
    if (bits == 4) return SixteenColorPalette();
    return HalftonePalette();
}
