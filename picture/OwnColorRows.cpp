// SPDX-License-Identifier: GPL-3.0-or-later
#include "OwnColorRows.h"

#include "MemoryGuard.h"

namespace {

TOwnColors OwnColorsOfSource(TRowSource& source) {
    return OwnColorsOfRows([&source](auto&& add) {
        source.Rewind(TRowOrder::TopFirst);
        for (int y = 0; y < source.Height(); ++y)
            add(source.PixelFormat(), source.ColorTable(), source.NextRow(), source.Width());
    });
}

} // namespace

TOwnColorRows::TOwnColorRows(TRowSource& source)
    : Source_(source), Colors_(OwnColorsOfSource(source)), Mapper_(Colors_.Table) {
    for (auto& row : Rows_)
        row = AllocateBytes(RowBytes());
}

const std::uint8_t* TOwnColorRows::NextRow() {
    const std::uint8_t* from = Source_.NextRow();
    // Every pixel is written anew and the padding was zeroed once.
    std::uint8_t* to = Rows_[Turn_].data();
    Turn_ ^= 1;
    Mapper_.MapRow(Source_.PixelFormat(), Source_.ColorTable(), from, Source_.Width(), to);
    return to;
}
