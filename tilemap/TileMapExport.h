// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "TileSet.h"

#include <cstdint>
#include <functional>
#include <string>

class TRowSource;

struct TTileMapOptions {
    int TileWidth = 8, TileHeight = 8;
    bool MatchFlips = false; // a turned or mirrored copy of an earlier tile reuses it with flags
    bool SkipEmpty = false;  // a cell wholly of EmptyColor gets no tile
    TColor EmptyColor = clBlack;
    std::uint32_t MaxTiles = MaxTileCount;
};

struct TTileMapResult {
    std::uint64_t Cells = 0;      // in the map, empty ones included
    std::uint64_t Tiles = 0;      // distinct tiles in the tile set
    std::uint64_t EmptyCells = 0; // cells that got no tile
    std::uint64_t Colors = 0;     // distinct colours of the tiles
};

// The files of the tile map of a picture, beside it: NAME-tiles.png, NAME.tsx, NAME.tmx, NAME.tmj
// and NAME.csv, NAME being the picture's file name without its extension.
struct TTileMapFiles {
    explicit TTileMapFiles(const std::string& picturePath);
    std::string Image, TileSet, Map, JsonMap, Grid;
};

// Raises ETileMapRefused when the tile size does not cut the picture into whole cells.
void CheckTileSize(int pictureWidth, int pictureHeight, const TTileMapOptions& options);

// Cuts the picture into cells from its top-left corner, keeps each distinct cell once in order of
// first appearance and writes the five files. Holds one row of cells and the distinct tiles, never
// the picture or the grid. Every file is written under a temporary name and all are renamed at
// the end: a failure (ETileMapRefused, EOutOfMemory, a read or write error) leaves none of them.
// `betweenRows` is called after every row of cells.
TTileMapResult ExportTileMap(TRowSource& picture, const std::string& picturePath,
                             const TTileMapOptions& options, const std::function<void()>& betweenRows = {});
