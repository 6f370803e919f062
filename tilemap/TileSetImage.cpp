// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileSetImage.h"

#include "PngObject.h"
#include "RowSource.h"
#include "TileSet.h"

#include <algorithm>
#include <cstring>

namespace {

// The rows of the tile-set picture, put together from the stored tiles as the encoder asks.
class TTileSetRows final : public TRowSource {
  public:
    TTileSetRows(const TTileSet& tiles, int tileWidth, int tileHeight, int unitBytes, int columns,
                 TPixelFormat format, std::vector<TRGBQuad> table, const std::vector<std::uint32_t>* colors)
        : Tiles_(tiles), TileWidth_(tileWidth), TileHeight_(tileHeight), Unit_(unitBytes), Columns_(columns),
          Format_(format), Table_(std::move(table)), Colors_(colors) {
        const std::size_t rows = (tiles.Count() + std::size_t(columns) - 1) / std::size_t(columns);
        Height_ = int(rows * std::size_t(tileHeight));
        for (auto& buffer : Rows_)
            buffer.assign(RowBytes(), 0);
    }
    int Width() const override { return Columns_ * TileWidth_; }
    int Height() const override { return Height_; }
    TPixelFormat PixelFormat() const override { return Format_; }
    const std::vector<TRGBQuad>& ColorTable() const override { return Table_; }
    void Rewind(TRowOrder order) override {
        BottomFirst_ = order == TRowOrder::BottomFirst;
        Next_ = 0;
    }
    const std::uint8_t* NextRow() override {
        const int y = BottomFirst_ ? Height_ - 1 - Next_ : Next_;
        ++Next_;
        std::vector<std::uint8_t>& row = Rows_[Turn_];
        Turn_ ^= 1;
        std::fill(row.begin(), row.end(), 0);
        const std::size_t span = std::size_t(TileWidth_) * std::size_t(Unit_);
        const std::size_t first = std::size_t(y / TileHeight_) * std::size_t(Columns_);
        const std::size_t inTile = std::size_t(y % TileHeight_) * span;
        for (int c = 0; c < Columns_ && first + std::size_t(c) < Tiles_.Count(); ++c) {
            const std::uint8_t* from = Tiles_.Tile(first + std::size_t(c)) + inTile;
            if (Colors_ == nullptr) {
                std::memcpy(row.data() + std::size_t(c) * span, from, span);
                continue;
            }
            // Blue-green-red tiles written with a table of their own colours.
            std::uint8_t* to = row.data() + std::size_t(c) * std::size_t(TileWidth_);
            for (int x = 0; x < TileWidth_; ++x, from += 3) {
                const std::uint32_t rgb =
                    std::uint32_t(from[0]) | std::uint32_t(from[1]) << 8 | std::uint32_t(from[2]) << 16;
                to[x] =
                    std::uint8_t(std::lower_bound(Colors_->begin(), Colors_->end(), rgb) - Colors_->begin());
            }
        }
        return row.data();
    }

  private:
    const TTileSet& Tiles_;
    int TileWidth_, TileHeight_, Unit_, Columns_;
    TPixelFormat Format_;
    std::vector<TRGBQuad> Table_;
    const std::vector<std::uint32_t>* Colors_;
    int Height_ = 0;
    std::vector<std::uint8_t> Rows_[2];
    int Turn_ = 0;
    bool BottomFirst_ = false;
    int Next_ = 0;
};

} // namespace

void WriteTileSetImage(const TTileSet& tiles, int tileWidth, int tileHeight, int unitBytes, int columns,
                       const std::vector<TRGBQuad>& paletteTable, const std::vector<std::uint32_t>& colors,
                       TByteSink& sink) {
    TPNGObject png;
    if (unitBytes == 1) {
        TTileSetRows rows(tiles, tileWidth, tileHeight, 1, columns, TPixelFormat::pf8bit, paletteTable,
                          nullptr);
        png.AssignIndexRows(rows);
        png.SaveToStream(sink);
    } else if (!colors.empty()) {
        std::vector<TRGBQuad> table;
        for (const std::uint32_t rgb : colors)
            table.push_back(TRGBQuad{std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16), 0});
        TTileSetRows rows(tiles, tileWidth, tileHeight, 3, columns, TPixelFormat::pf8bit, std::move(table),
                          &colors);
        png.AssignIndexRows(rows);
        png.SaveToStream(sink);
    } else {
        TTileSetRows rows(tiles, tileWidth, tileHeight, 3, columns, TPixelFormat::pf24bit, {}, nullptr);
        png.AssignRows(rows);
        png.SaveToStream(sink);
    }
}
