// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchPictures.h"

#include <cstdlib>
#include <filesystem>
#include <map>

TBitmap MakeTileMap(int width, int height) {
    static const TColor tileColors[] = {RGB(0, 128, 0),     RGB(128, 64, 0), RGB(0, 0, 200),
                                        RGB(200, 200, 200), RGB(30, 30, 30), RGB(255, 255, 0)};
    TBitmap picture(width, height, TPixelFormat::pf24bit);
    for (int ty = 0; ty < height; ty += 64)
        for (int tx = 0; tx < width; tx += 64) {
            const unsigned pick = unsigned(tx / 64 * 7 + ty / 64 * 13);
            picture.Brush.Color = tileColors[pick % 6];
            picture.FillRect(Bounds(tx, ty, 64, 64));
            // A detail in every tile so that rows are not one flat run.
            picture.Brush.Color = tileColors[(pick + 1) % 6];
            picture.FillRect(Bounds(tx + 8 + int(pick % 16), ty + 8, 16, 16));
        }
    return picture;
}

TBitmap MakeNoise(int width, int height, std::uint32_t seed) {
    TBitmap picture(width, height, TPixelFormat::pf24bit);
    std::uint32_t state = seed;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (std::size_t i = 0; i < std::size_t(width) * 3; ++i) {
            state = state * 1664525u + 1013904223u;
            row[i] = std::uint8_t(state >> 24);
        }
    }
    return picture;
}

std::string BenchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "tessimap-bench";
    std::filesystem::create_directories(folder);
    return folder.string();
}

const TBitmap& SharedTileMap(int side) {
    static std::map<int, TBitmap> pictures;
    auto it = pictures.find(side);
    if (it == pictures.end()) it = pictures.emplace(side, MakeTileMap(side, side)).first;
    return it->second;
}
