// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColorMatcher.h"
#include "RowSource.h"

#include <memory>

// The colour conversion between a row source and an encoder: the rows of another source in
// another pixel format, converted as TBitmap::Converted converts a whole picture (a palette
// depth takes its fixed table and the nearest entry for each colour; a direct depth keeps the
// source's table). Rows already in the format pass through untouched, with the source's table.
class TConvertedRows final : public TRowSource {
  public:
    TConvertedRows(TRowSource& source, TPixelFormat format);

    int Width() const override { return Source_.Width(); }
    int Height() const override { return Source_.Height(); }
    TPixelFormat PixelFormat() const override { return Format_; }
    const std::vector<TRGBQuad>& ColorTable() const override {
        return PassThrough() ? Source_.ColorTable() : Table_;
    }
    void Rewind(TRowOrder order) override { Source_.Rewind(order); }
    const std::uint8_t* NextRow() override;

  private:
    bool PassThrough() const { return Format_ == Source_.PixelFormat(); }

    TRowSource& Source_;
    TPixelFormat Format_;
    std::vector<TRGBQuad> Table_;
    std::unique_ptr<TColorMatcher> Matcher_;
    std::vector<std::uint8_t> Bgr_;
    // Two rows in turn, so the row handed out before stays as it was.
    std::vector<std::uint8_t> Rows_[2];
    int Turn_ = 0;
};
