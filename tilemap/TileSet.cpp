// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileSet.h"

#include "MemoryGuard.h"
#include "TileMapErrors.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::uint64_t Prime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t Prime2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t Prime3 = 0x165667B19E3779F9ull;

inline std::uint64_t Rotl(std::uint64_t x, int r) {
    return (x << r) | (x >> (64 - r));
}
inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline std::uint64_t Round(std::uint64_t acc, std::uint64_t input) {
    return Rotl(acc + input * Prime2, 31) * Prime1;
}

// Tiles are kept in blocks of about this many bytes, so the store grows without copying.
constexpr std::size_t ChunkBytes = std::size_t(4) << 20;

} // namespace

std::uint64_t HashBytes(const std::uint8_t* p, std::size_t size) {
    std::uint64_t a = Prime1 + Prime2, b = Prime2, c = 0, d = 0 - Prime1;
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        a = Round(a, Load64(p + i));
        b = Round(b, Load64(p + i + 8));
        c = Round(c, Load64(p + i + 16));
        d = Round(d, Load64(p + i + 24));
    }
    std::uint64_t h = Rotl(a, 1) + Rotl(b, 7) + Rotl(c, 12) + Rotl(d, 18) + size;
    for (; i + 8 <= size; i += 8)
        h = Rotl(h ^ Round(0, Load64(p + i)), 27) * Prime1 + Prime3;
    for (; i < size; ++i)
        h = Rotl(h ^ (p[i] * Prime3), 11) * Prime1;
    h ^= h >> 33;
    h *= Prime2;
    h ^= h >> 29;
    h *= Prime3;
    return h ^ (h >> 32);
}

TTileSet::TTileSet(int tileWidth, int tileHeight, int unitBytes, bool matchFlips, std::uint32_t maxTiles)
    : Width_(tileWidth), Height_(tileHeight), Unit_(unitBytes),
      TileBytes_(std::size_t(tileWidth) * std::size_t(tileHeight) * std::size_t(unitBytes)),
      MaxTiles_(std::min(maxTiles, MaxTileCount)),
      TilesPerChunk_(std::max<std::size_t>(1, ChunkBytes / TileBytes_)) {
    using namespace TileFlags;
    if (matchFlips) {
        Transforms_ = {Horizontal, Vertical, Horizontal | Vertical};
        if (tileWidth == tileHeight)
            for (std::uint32_t f :
                 {Diagonal | Horizontal, Diagonal | Vertical, Diagonal, Diagonal | Horizontal | Vertical})
                Transforms_.push_back(f);
    }
    Scratch_.resize(TileBytes_);
    Slots_.resize(1024);
}

const std::uint8_t* TTileSet::Tile(std::size_t index) const {
    return Chunks_[index / TilesPerChunk_].get() + (index % TilesPerChunk_) * TileBytes_;
}

void TTileSet::Draw(const std::uint8_t* tile, std::uint32_t flags, std::uint8_t* out) const {
    const bool h = flags & TileFlags::Horizontal, v = flags & TileFlags::Vertical,
               d = flags & TileFlags::Diagonal;
    const std::size_t unit = std::size_t(Unit_);
    for (int y = 0; y < Height_; ++y) {
        const int sy = v ? Height_ - 1 - y : y;
        for (int x = 0; x < Width_; ++x) {
            const int sx = h ? Width_ - 1 - x : x;
            // Drawn mirrored across the diagonal first: column sx of the drawing is row sx of
            // the tile.
            const std::size_t from = d ? std::size_t(sx) * std::size_t(Width_) + std::size_t(sy)
                                       : std::size_t(sy) * std::size_t(Width_) + std::size_t(sx);
            std::memcpy(out, tile + from * unit, unit);
            out += unit;
        }
    }
}

bool TTileSet::Shows(const std::uint8_t* tile, std::uint32_t flags, const std::uint8_t* cell) const {
    if (flags == 0) return std::memcmp(tile, cell, TileBytes_) == 0;
    // Rare (a hash hit on a turned form): drawing it costs no more than comparing.
    Draw(tile, flags, Scratch_.data());
    return std::memcmp(Scratch_.data(), cell, TileBytes_) == 0;
}

std::uint32_t TTileSet::Number(const std::uint8_t* cell) {
    Added_ = false;
    const std::uint64_t hash = HashBytes(cell, TileBytes_);
    const std::size_t mask = Slots_.size() - 1;
    for (std::size_t i = std::size_t(hash) & mask;; i = (i + 1) & mask) {
        const TSlot& slot = Slots_[i];
        if (slot.Number == 0) break;
        if (slot.Hash != hash) continue;
        const std::uint32_t flags = slot.Number & ~TileFlags::NumberMask;
        if (Shows(Tile((slot.Number & TileFlags::NumberMask) - 1), flags, cell)) return slot.Number;
    }
    if (Count_ >= MaxTiles_) {
        ETileMapRefused refusal(ETileMapRefused::TKind::TooManyTiles,
                                "The picture has more than " + std::to_string(MaxTiles_) +
                                    " different tiles, more than a tile map can number.");
        refusal.Limit = MaxTiles_;
        throw refusal;
    }
    std::uint8_t* tile = NewTile();
    std::memcpy(tile, cell, TileBytes_);
    const std::uint32_t number = std::uint32_t(Count_);
    Insert(hash, number);
    for (const std::uint32_t flags : Transforms_) {
        Draw(tile, flags, Scratch_.data());
        Insert(HashBytes(Scratch_.data(), TileBytes_), number | flags);
    }
    Added_ = true;
    return number;
}

std::uint8_t* TTileSet::NewTile() {
    const std::size_t slot = Count_ % TilesPerChunk_;
    if (slot == 0 && Count_ / TilesPerChunk_ == Chunks_.size()) {
        const std::uint64_t bytes = std::uint64_t(TilesPerChunk_) * TileBytes_;
        CheckAllocatable(bytes);
        try {
            ReserveOneMore(Chunks_);
            Chunks_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(bytes));
        } catch (const std::bad_alloc&) {
            throw EOutOfMemory();
        }
    }
    ++Count_;
    return Chunks_[(Count_ - 1) / TilesPerChunk_].get() + slot * TileBytes_;
}

void TTileSet::Insert(std::uint64_t hash, std::uint32_t number) {
    if ((Used_ + 1) * 2 > Slots_.size()) Grow();
    const std::size_t mask = Slots_.size() - 1;
    std::size_t i = std::size_t(hash) & mask;
    while (Slots_[i].Number != 0)
        i = (i + 1) & mask;
    Slots_[i] = TSlot{hash, number};
    ++Used_;
}

void TTileSet::Grow() {
    const std::size_t size = Slots_.size() * 2;
    std::vector<TSlot> grown;
    try {
        NoteAllocation(std::uint64_t(size) * sizeof(TSlot));
        CheckAllocatable(std::uint64_t(size) * sizeof(TSlot));
        grown.resize(size);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
    const std::size_t mask = size - 1;
    for (const TSlot& slot : Slots_) {
        if (slot.Number == 0) continue;
        std::size_t i = std::size_t(slot.Hash) & mask;
        while (grown[i].Number != 0)
            i = (i + 1) & mask;
        grown[i] = slot;
    }
    Slots_.swap(grown);
}
