// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

class TByteSink;
class TGIFHeader;
class TGIFSubImage;

// One colour table entry as a GIF file stores it.
struct TGIFColor {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    friend bool operator==(const TGIFColor&, const TGIFColor&) = default;
};

// A GIF colour table holds at most 2^8 entries.
inline constexpr int MaxGIFColors = 256;

// The table size exponent for n colours: 0 for none, else the smallest b >= 1 with 2^b >= n.
int BitsForColorCount(int count);

// An ordered colour table. The file stores 2^BitsForColorCount(Count()) entries; the ones past
// Count() are written black.
class TGIFColorMap {
  public:
    virtual ~TGIFColorMap() = default;

    int Count() const { return int(Colors_.size()); }
    // Entries allocated: 16 for up to 16 colours, then whole multiples of 32, never above 256.
    int Capacity() const { return Capacity_; }
    const TGIFColor& operator[](int index) const { return Colors_[std::size_t(index)]; }
    const std::vector<TGIFColor>& Colors() const { return Colors_; }

    // Appends a colour; GIFException when the table already holds 256.
    void Add(TGIFColor color);
    // Replaces the whole table; GIFException for more than 256 colours.
    void Assign(const std::vector<TGIFColor>& colors);
    void Clear();

    int BitsPerPixel() const { return BitsForColorCount(Count()); }
    // BitsPerPixel() - 1, that is -1 for an empty table.
    int ColorResolution() const { return BitsPerPixel() - 1; }

    // The entries red, green, blue, padded with black to a power of two.
    void SaveToSink(TByteSink& sink) const;

    // The table is ordered by use, most used first.
    bool Sorted = false;

  private:
    void Reserve(int count);

    std::vector<TGIFColor> Colors_;
    int Capacity_ = 0;
};

class TGIFGlobalColorMap : public TGIFColorMap {
  public:
    explicit TGIFGlobalColorMap(TGIFHeader& header) : Header(header) {}
    TGIFHeader& Header;
};

class TGIFLocalColorMap : public TGIFColorMap {
  public:
    explicit TGIFLocalColorMap(TGIFSubImage& subImage) : SubImage(subImage) {}
    TGIFSubImage& SubImage;
};
