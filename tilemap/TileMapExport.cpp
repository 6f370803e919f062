// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileMapExport.h"

#include "ByteSink.h"
#include "MapFiles.h"
#include "MemoryGuard.h"
#include "PictureFile.h"
#include "RowCodec.h"
#include "RowSource.h"
#include "TileMapErrors.h"
#include "TileSetImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The nearest sizes below and above `tile` that divide `side` (0 when there is none).
void NearestDivisors(std::int64_t side, std::int64_t tile, std::int64_t& below, std::int64_t& above) {
    below = 0;
    above = 0;
    for (std::int64_t d = std::min(tile, side); d >= 1; --d)
        if (side % d == 0) {
            below = d;
            break;
        }
    for (std::int64_t d = tile + 1; d <= side; ++d)
        if (side % d == 0) {
            above = d;
            break;
        }
}

void RefuseNotAMultiple(int sideIndex, std::int64_t side, std::int64_t tile) {
    const std::string name = sideIndex == 0 ? "width" : "height";
    std::int64_t below = 0, above = 0;
    NearestDivisors(side, tile, below, above);
    std::string message = "The picture's " + name + " of " + std::to_string(side) +
                          " pixels is not a multiple of the tile " + name + " " + std::to_string(tile) +
                          ": " + std::to_string(side % tile) + " pixels are left over. Tile " + name +
                          "s that fit nearby: " + std::to_string(below);
    if (above > 0) message += " and " + std::to_string(above);
    ETileMapRefused refusal(ETileMapRefused::TKind::NotAMultiple, message + ".");
    refusal.Side = sideIndex;
    refusal.PictureSide = side;
    refusal.TileSide = tile;
    refusal.Over = side % tile;
    refusal.Below = below;
    refusal.Above = above;
    throw refusal;
}

// The tiles across the tile-set picture: about as wide as it is tall.
int TileSetColumns(std::size_t tiles, int tileWidth, int tileHeight) {
    const double across = std::ceil(std::sqrt(double(tiles) * tileHeight / tileWidth));
    return int(std::clamp<double>(across, 1, double(tiles)));
}

// Distinct colours as 0x00RRGGBB, one bit each.
class TColorBits {
  public:
    TColorBits() : Bits_(std::size_t(1) << 18) {}
    void Add(std::uint32_t rgb) {
        std::uint64_t& word = Bits_[rgb >> 6];
        const std::uint64_t bit = std::uint64_t(1) << (rgb & 63);
        Count_ += (word & bit) == 0;
        word |= bit;
    }
    std::uint64_t Count() const { return Count_; }
    std::vector<std::uint32_t> Colors() const {
        std::vector<std::uint32_t> colors;
        for (std::size_t w = 0; w < Bits_.size(); ++w)
            for (std::uint64_t bits = Bits_[w]; bits != 0; bits &= bits - 1)
                colors.push_back(std::uint32_t(w << 6) + std::uint32_t(__builtin_ctzll(bits)));
        return colors;
    }

  private:
    std::vector<std::uint64_t> Bits_;
    std::uint64_t Count_ = 0;
};

// The files of one export, renamed over their targets together once all are complete.
class TFileGroup {
  public:
    TByteSink& Open(const std::string& path) {
        Sinks_.push_back(std::make_unique<TFileSink>(path));
        return *Sinks_.back();
    }
    void CommitAll() {
        for (auto& sink : Sinks_)
            sink->Finish();
        std::size_t renamed = 0;
        try {
            for (; renamed < Sinks_.size(); ++renamed)
                Sinks_[renamed]->Commit();
        } catch (...) {
            // Half a tile map is no tile map: what was already renamed goes too.
            for (std::size_t i = 0; i < renamed; ++i)
                std::remove(Sinks_[i]->TargetPath().c_str());
            throw;
        }
    }

  private:
    std::vector<std::unique_ptr<TFileSink>> Sinks_;
};

} // namespace

TTileMapFiles::TTileMapFiles(const std::string& picturePath) {
    const auto name = [this](const std::string& base) {
        Image = WithExtension(base, "-tiles.png");
        TileSet = WithExtension(base, ".tsx");
        Map = WithExtension(base, ".tmx");
        JsonMap = WithExtension(base, ".tmj");
        Grid = WithExtension(base, ".csv");
    };
    name(picturePath);
    // A picture that bears one of these names itself (a picture kept as NAME.tmx) must not be
    // written over by its own export: the names then follow its whole file name.
    for (const std::string* file : {&Image, &TileSet, &Map, &JsonMap, &Grid}) {
        if (IsSameFile(*file, picturePath)) {
            name(picturePath + ".");
            return;
        }
    }
}

void CheckTileSize(int pictureWidth, int pictureHeight, const TTileMapOptions& options) {
    const int w = options.TileWidth, h = options.TileHeight;
    if (w <= 0 || h <= 0) {
        throw ETileMapRefused(ETileMapRefused::TKind::ZeroSize, "A tile of " + std::to_string(w) + " x " +
                                                                    std::to_string(h) +
                                                                    " pixels has no pixels.");
    }
    if (w > pictureWidth || h > pictureHeight)
        throw ETileMapRefused(ETileMapRefused::TKind::LargerThan,
                              "A tile of " + std::to_string(w) + " x " + std::to_string(h) +
                                  " pixels is larger than the picture of " + std::to_string(pictureWidth) +
                                  " x " + std::to_string(pictureHeight) + " pixels.");
    if (pictureWidth % w != 0) RefuseNotAMultiple(0, pictureWidth, w);
    if (pictureHeight % h != 0) RefuseNotAMultiple(1, pictureHeight, h);
}

TTileMapResult ExportTileMap(TRowSource& picture, const std::string& picturePath,
                             const TTileMapOptions& options, const std::function<void()>& betweenRows) {
    const int width = picture.Width(), height = picture.Height();
    CheckTileSize(width, height, options);
    const int tw = options.TileWidth, th = options.TileHeight;
    const TPixelFormat format = picture.PixelFormat();
    const std::vector<TRGBQuad>& table = picture.ColorTable();
    // Palette pictures are compared and kept by index, every other one as blue-green-red.
    const bool palette = IsPaletteFormat(format);
    const int unit = palette ? 1 : 3;
    const int columns = width / tw, rows = height / th;

    TTileSet tiles(tw, th, unit, options.MatchFlips, options.MaxTiles);
    const std::size_t tileBytes = tiles.TileBytes();
    const std::size_t cellSpan = std::size_t(tw) * std::size_t(unit); // one row of one cell
    // One row of cells, each cell's pixels together so that it hashes and compares as one run.
    std::vector<std::uint8_t> band = AllocateBytes(CheckedProduct(std::uint64_t(columns), tileBytes));
    std::vector<std::uint8_t> scratch;
    std::vector<std::uint32_t> numbers(static_cast<std::size_t>(columns));

    // What an empty cell is made of: the indices of that colour, or its blue-green-red bytes.
    std::array<bool, 256> emptyIndex{};
    for (std::size_t i = 0; i < table.size() && i < 256; ++i)
        emptyIndex[i] = ColorOf(table[i]) == options.EmptyColor;
    const std::uint8_t emptyBgr[3] = {GetBValue(options.EmptyColor), GetGValue(options.EmptyColor),
                                      GetRValue(options.EmptyColor)};
    auto isEmpty = [&](const std::uint8_t* cell) {
        if (palette) {
            for (std::size_t i = 0; i < tileBytes; ++i)
                if (!emptyIndex[cell[i]]) return false;
            return true;
        }
        for (std::size_t i = 0; i < tileBytes; i += 3)
            if (std::memcmp(cell + i, emptyBgr, 3) != 0) return false;
        return true;
    };

    std::array<bool, 256> usedIndex{};
    std::unique_ptr<TColorBits> colors;
    if (!palette) colors = std::make_unique<TColorBits>();

    const TTileMapFiles names(picturePath);
    TMapLayout layout;
    layout.Name = WithExtension(FileNameOf(picturePath), "");
    layout.TileSetFile = FileNameOf(names.TileSet);
    layout.ImageFile = FileNameOf(names.Image);
    layout.Columns = columns;
    layout.Rows = rows;
    layout.TileWidth = tw;
    layout.TileHeight = th;

    TFileGroup files;
    TByteSink& imageSink = files.Open(names.Image);
    TByteSink& tileSetSink = files.Open(names.TileSet);
    TByteSink& mapSink = files.Open(names.Map);
    TByteSink& jsonSink = files.Open(names.JsonMap);
    TMapWriter writer(layout, mapSink, jsonSink, files.Open(names.Grid));

    TTileMapResult result;
    picture.Rewind(TRowOrder::TopFirst);
    for (int cellRow = 0; cellRow < rows; ++cellRow) {
        for (int ry = 0; ry < th; ++ry) {
            const std::uint8_t* row = picture.NextRow();
            if (palette && format != TPixelFormat::pf8bit) {
                scratch.resize(std::size_t(width));
                for (int x = 0; x < width; ++x)
                    scratch[std::size_t(x)] = std::uint8_t(RowCodec::GetValue(format, row, x));
                row = scratch.data();
            } else if (!palette) {
                row = RowCodec::BgrRow(format, table, row, width, scratch);
            }
            std::uint8_t* to = band.data() + std::size_t(ry) * cellSpan;
            for (int c = 0; c < columns; ++c, to += tileBytes, row += cellSpan)
                std::memcpy(to, row, cellSpan);
        }
        for (int c = 0; c < columns; ++c) {
            const std::uint8_t* cell = band.data() + std::size_t(c) * tileBytes;
            if (options.SkipEmpty && isEmpty(cell)) {
                numbers[std::size_t(c)] = 0;
                ++result.EmptyCells;
                continue;
            }
            numbers[std::size_t(c)] = tiles.Number(cell);
            if (!tiles.Added()) continue;
            if (palette)
                for (std::size_t i = 0; i < tileBytes; ++i)
                    usedIndex[cell[i]] = true;
            else
                for (std::size_t i = 0; i < tileBytes; i += 3)
                    colors->Add(std::uint32_t(cell[i]) | std::uint32_t(cell[i + 1]) << 8 |
                                std::uint32_t(cell[i + 2]) << 16);
        }
        writer.AddRow(numbers);
        if (betweenRows) betweenRows();
    }
    if (tiles.Count() == 0)
        throw ETileMapRefused(ETileMapRefused::TKind::NoTiles,
                              "Every cell of the picture is empty: there are no tiles to write.");

    TTileSetLayout tileSet;
    tileSet.TileCount = tiles.Count();
    tileSet.Columns = TileSetColumns(tiles.Count(), tw, th);
    tileSet.ImageWidth = std::int64_t(tileSet.Columns) * tw;
    tileSet.ImageHeight =
        std::int64_t((tiles.Count() + std::size_t(tileSet.Columns) - 1) / std::size_t(tileSet.Columns)) * th;
    std::vector<std::uint32_t> distinct;
    if (palette) {
        TColorBits used;
        for (std::size_t i = 0; i < table.size() && i < 256; ++i)
            if (usedIndex[i]) used.Add(ColorOf(table[i]));
        result.Colors = used.Count();
    } else {
        result.Colors = colors->Count();
        if (result.Colors <= 256) distinct = colors->Colors();
    }
    WriteTileSetImage(tiles, tw, th, unit, tileSet.Columns, table, distinct, imageSink);
    WriteTileSetFile(layout, tileSet, tileSetSink);
    writer.Finish(tileSet);
    files.CommitAll();

    result.Cells = std::uint64_t(columns) * std::uint64_t(rows);
    result.Tiles = tiles.Count();
    return result;
}
