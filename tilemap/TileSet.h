// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The flags a tile number carries in the top bits when the tile is drawn turned or mirrored,
// as the map formats define them: mirrored left-right, top-bottom, across the main diagonal.
// The diagonal comes first, so D+H is a quarter turn clockwise and H+V a half turn.
namespace TileFlags {
inline constexpr std::uint32_t Horizontal = 0x80000000u;
inline constexpr std::uint32_t Vertical = 0x40000000u;
inline constexpr std::uint32_t Diagonal = 0x20000000u;
// The bit below them is the renderers' hexagonal turn: tile numbers stay under it.
inline constexpr std::uint32_t NumberMask = 0x0FFFFFFFu;
} // namespace TileFlags

// The most distinct tiles a map can number: every number from 1 up to the flag bits.
inline constexpr std::uint32_t MaxTileCount = TileFlags::NumberMask;

// A 64-bit hash of a run of bytes: four interleaved multiply-rotate lanes, so the hashing of a
// cell runs at memory speed. Only a speed-up: equal hashes are always confirmed byte for byte.
std::uint64_t HashBytes(const std::uint8_t* data, std::size_t size);

// The distinct tiles of a picture, each stored once as its pixels, row by row, `UnitBytes` bytes a
// pixel (a palette index, or blue-green-red). A cell is looked up by its hash and compared pixel
// for pixel; with flips on, the table also holds each tile's turned and mirrored forms, so a cell
// that is one of them is found with one lookup too.
class TTileSet {
  public:
    TTileSet(int tileWidth, int tileHeight, int unitBytes, bool matchFlips,
             std::uint32_t maxTiles = MaxTileCount);

    std::size_t TileBytes() const { return TileBytes_; }
    std::size_t Count() const { return Count_; }
    const std::uint8_t* Tile(std::size_t index) const;

    // The tile number (index + 1, with the flags under which the tile draws as the cell) of a
    // cell of TileBytes() bytes; a cell seen for the first time becomes the next tile. Raises
    // ETileMapRefused when one more tile than maxTiles would be needed, EOutOfMemory when the
    // tile cannot be kept.
    std::uint32_t Number(const std::uint8_t* cell);
    // Whether the last Number() added a tile.
    bool Added() const { return Added_; }

    // The flag sets a tile can be drawn with besides as it is: seven for a square tile, the three
    // that keep the shape (mirrors and the half turn) otherwise, none when flips are off.
    const std::vector<std::uint32_t>& Transforms() const { return Transforms_; }
    // The tile as drawn with the flags, into `out` (TileBytes() bytes).
    void Draw(const std::uint8_t* tile, std::uint32_t flags, std::uint8_t* out) const;

  private:
    struct TSlot {
        std::uint64_t Hash = 0;
        std::uint32_t Number = 0; // 0: free
    };
    bool Shows(const std::uint8_t* tile, std::uint32_t flags, const std::uint8_t* cell) const;
    void Insert(std::uint64_t hash, std::uint32_t number);
    void Grow();
    std::uint8_t* NewTile();

    int Width_, Height_, Unit_;
    std::size_t TileBytes_;
    std::uint32_t MaxTiles_;
    std::vector<std::uint32_t> Transforms_;
    std::size_t TilesPerChunk_;
    std::vector<std::unique_ptr<std::uint8_t[]>> Chunks_;
    std::size_t Count_ = 0;
    std::vector<TSlot> Slots_;
    std::size_t Used_ = 0;
    bool Added_ = false;
    mutable std::vector<std::uint8_t> Scratch_; // a tile drawn turned, to hash or compare
};
