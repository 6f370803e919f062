// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TByteSink;

// The size and names a map's files share.
struct TMapLayout {
    std::string Name;          // the tile set's and the layer's name
    std::string TileSetFile;   // as the map refers to it: NAME.tsx
    std::string ImageFile;     // as the tile set refers to it: NAME-tiles.png
    int Columns = 0, Rows = 0; // cells of the map
    int TileWidth = 0, TileHeight = 0;
};

// The tile set as Tiled reads it, once its tiles are known.
struct TTileSetLayout {
    std::uint64_t TileCount = 0;
    int Columns = 0; // tiles across the image
    std::int64_t ImageWidth = 0, ImageHeight = 0;
};

// The three files that hold the grid, written a row of cells at a time as the picture is read:
// the XML map, the JSON map (its tile set, which it embeds, comes last, once known) and the CSV
// grid. A row's numbers are tile numbers with their flip flags, 0 for an empty cell.
class TMapWriter {
  public:
    TMapWriter(const TMapLayout& layout, TByteSink& tmx, TByteSink& tmj, TByteSink& csv);
    void AddRow(const std::vector<std::uint32_t>& numbers);
    void Finish(const TTileSetLayout& tiles);

  private:
    TMapLayout Layout_;
    TByteSink& Tmx_;
    TByteSink& Tmj_;
    TByteSink& Csv_;
    int RowsDone_ = 0;
    std::string Line_;
};

// The XML tile set file.
void WriteTileSetFile(const TMapLayout& layout, const TTileSetLayout& tiles, TByteSink& sink);

// Text for an XML attribute, and the inside of a JSON string.
std::string XmlEscaped(const std::string& text);
std::string JsonEscaped(const std::string& text);
