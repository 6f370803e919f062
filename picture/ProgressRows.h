// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Errors.h"
#include "RowSource.h"

#include <functional>
#include <utility>

// The rows of another source, telling each time the share of rows read in the current pass grows
// by a whole per cent how many per cent it is. When the answer is false the next row raises
// ECancelled, so a file being written from these rows stops and the earlier file stays.
class TProgressRows final : public TRowSource {
  public:
    using TReport = std::function<bool(int percent)>;
    TProgressRows(TRowSource& rows, TReport report) : Rows_(rows), Report_(std::move(report)) {}
    int Width() const override { return Rows_.Width(); }
    int Height() const override { return Rows_.Height(); }
    TPixelFormat PixelFormat() const override { return Rows_.PixelFormat(); }
    const std::vector<TRGBQuad>& ColorTable() const override { return Rows_.ColorTable(); }
    void Rewind(TRowOrder order) override {
        Rows_.Rewind(order);
        Read_ = 0;
        Percent_ = -1;
    }
    const std::uint8_t* NextRow() override {
        const int percent = Height() > 0 ? int((long long)(Read_++) * 100 / Height()) : 100;
        if (percent != Percent_) {
            Percent_ = percent;
            if (!Report_(percent)) throw ECancelled();
        }
        return Rows_.NextRow();
    }

  private:
    TRowSource& Rows_;
    TReport Report_;
    int Read_ = 0;
    int Percent_ = -1;
};
