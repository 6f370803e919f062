// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OwnColors.h"
#include "PaletteMapper.h"
#include "RowSource.h"

#include <vector>

// The conversion to 8 bits that keeps a picture's own colours, as a stage between a row source
// and an encoder. Made over a source, it reads the source once for the census (and once more
// for the quantiser when the picture has more than 256 colours); its rows then index that
// table, each pixel mapped to the nearest entry.
class TOwnColorRows final : public TRowSource {
  public:
    explicit TOwnColorRows(TRowSource& source);

    // The table and the picture's own colour count, for the message that tells what happened.
    const TOwnColors& Colors() const { return Colors_; }

    int Width() const override { return Source_.Width(); }
    int Height() const override { return Source_.Height(); }
    TPixelFormat PixelFormat() const override { return TPixelFormat::pf8bit; }
    const std::vector<TRGBQuad>& ColorTable() const override { return Colors_.Table; }
    void Rewind(TRowOrder order) override { Source_.Rewind(order); }
    const std::uint8_t* NextRow() override;

  private:
    TRowSource& Source_;
    TOwnColors Colors_;
    TPaletteMapper Mapper_;
    // Two rows in turn, so the row handed out before stays as it was.
    std::vector<std::uint8_t> Rows_[2];
    int Turn_ = 0;
};
