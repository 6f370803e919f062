// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifColorMap.h"

#include "ByteSink.h"
#include "GifErrors.h"

#include <algorithm>
#include <array>

int BitsForColorCount(int count) {
    if (count <= 0) return 0;
    int bits = 1;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

void TGIFColorMap::Reserve(int count) {
    if (count <= Capacity_) return;
    constexpr int SmallTable = 16;
    constexpr int Granule = 32;
    const int wanted = count <= SmallTable ? SmallTable : (count + Granule - 1) / Granule * Granule;
    Capacity_ = std::min(wanted, MaxGIFColors);
    Colors_.reserve(std::size_t(Capacity_));
}

void TGIFColorMap::Add(TGIFColor color) {
    if (Count() >= MaxGIFColors) throw GIFException("Color table overflow");
    Reserve(Count() + 1);
    Colors_.push_back(color);
}

void TGIFColorMap::Assign(const std::vector<TGIFColor>& colors) {
    if (colors.size() > std::size_t(MaxGIFColors)) throw GIFException("Color table overflow");
    Reserve(int(colors.size()));
    Colors_ = colors;
}

void TGIFColorMap::Clear() {
    Colors_.clear();
    Capacity_ = 0;
    Sorted = false;
}

void TGIFColorMap::SaveToSink(TByteSink& sink) const {
    if (Colors_.empty()) return;
    std::array<std::uint8_t, 3 * MaxGIFColors> bytes{}; // black padding is all zeros
    for (std::size_t i = 0; i < Colors_.size(); ++i) {
        bytes[3 * i] = Colors_[i].Red;
        bytes[3 * i + 1] = Colors_[i].Green;
        bytes[3 * i + 2] = Colors_[i].Blue;
    }
    sink.Write(bytes.data(), 3 * (std::size_t(1) << BitsPerPixel()));
}
