// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchPictures.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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

namespace {

std::uint32_t Mix(std::uint32_t value) {
    value ^= value >> 16;
    value *= 0x7feb352dU;
    value ^= value >> 15;
    value *= 0x846ca68bU;
    return value ^ (value >> 16);
}

// One tile of the sheet: a ground colour of its family, shaded per pixel by a small texture,
// darker along two edges, with a few specks of a second colour.
void DrawSheetTile(TBitmap& sheet, int index, int size) {
    static const std::uint8_t grounds[8][3] = {{60, 140, 50}, {120, 120, 125}, {40, 80, 190}, {210, 190, 120},
                                               {110, 70, 40}, {230, 230, 240}, {30, 100, 40}, {150, 40, 40}};
    const std::uint8_t* ground = grounds[index % 8];
    const int variant = index / 8;
    const int x0 = (index % 8) * size;
    const int y0 = (index / 8) * size;
    for (int y = 0; y < size; ++y) {
        std::uint8_t* row = sheet.ScanLine(y0 + y) + std::size_t(x0) * 3;
        for (int x = 0; x < size; ++x) {
            const std::uint32_t noise = Mix(std::uint32_t(index * 4099 + y * size + x));
            int shade = int(noise % 5) * 6 - 12 + variant * 3;
            if (x == 0 || y == size - 1) shade -= 30;
            const bool speck = noise % 37 == 0;
            const int k = speck ? 3 : 0;
            row[x * 3] = std::uint8_t(std::clamp(ground[(2 + k) % 3] + shade, 0, 255));
            row[x * 3 + 1] = std::uint8_t(std::clamp(ground[(1 + k) % 3] + shade, 0, 255));
            row[x * 3 + 2] = std::uint8_t(std::clamp(ground[(0 + k) % 3] + shade, 0, 255));
        }
    }
}

} // namespace

TBitmap MakeSheetMap(int width, int height) {
    constexpr int tile = 32;
    TBitmap sheet(8 * tile, 8 * tile, TPixelFormat::pf24bit);
    for (int index = 0; index < 64; ++index)
        DrawSheetTile(sheet, index, tile);
    TBitmap picture(width, height, TPixelFormat::pf24bit);
    for (int ty = 0; ty < height; ty += tile)
        for (int tx = 0; tx < width; tx += tile) {
            // Patches of 4 x 4 cells share a family; a cell picks one of its eight variants.
            const std::uint32_t patch = Mix(std::uint32_t((ty / (4 * tile)) * 65537 + tx / (4 * tile)));
            const std::uint32_t cell = Mix(std::uint32_t(ty * 131 + tx));
            const int index = int(patch % 8) + 8 * int(cell % 8 < 5 ? 0 : cell % 8);
            const int w = std::min(tile, width - tx);
            for (int y = 0; y < tile && ty + y < height; ++y)
                std::memcpy(picture.ScanLine(ty + y) + std::size_t(tx) * 3,
                            sheet.ScanLine((index / 8) * tile + y) + std::size_t(index % 8) * tile * 3,
                            std::size_t(w) * 3);
        }
    return picture;
}

std::uint64_t StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stoull(line.substr(std::string(field).size()));
    return 0;
}
