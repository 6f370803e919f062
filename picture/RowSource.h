// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "Color.h"
#include "PixelFormat.h"

#include <cstdint>
#include <vector>

enum class TRowOrder { TopFirst, BottomFirst };

// The rows of a picture, one at a time, as a bitmap of PixelFormat() stores them (padded to four
// bytes). The encoders take their pixels from here, so a picture in memory and a file being read
// go through the same codec.
class TRowSource {
  public:
    virtual ~TRowSource() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual TPixelFormat PixelFormat() const = 0;
    virtual const std::vector<TRGBQuad>& ColorTable() const = 0;

    // Starts again at the first row of the order; a source may be read any number of times.
    virtual void Rewind(TRowOrder order = TRowOrder::TopFirst) = 0;
    // The next row. It stays unchanged until the call after next, so that a filter can still look
    // at the row before. Raises EReadError when a file gives out.
    virtual const std::uint8_t* NextRow() = 0;

    std::size_t RowBytes() const { return RowBytesFor(Width(), BitsOfPixelFormat(PixelFormat())); }
};

// The rows of a bitmap in memory, where they are.
class TBitmapRows final : public TRowSource {
  public:
    explicit TBitmapRows(const TBitmap& bitmap) : Bitmap_(bitmap) {}
    int Width() const override { return Bitmap_.Width(); }
    int Height() const override { return Bitmap_.Height(); }
    TPixelFormat PixelFormat() const override { return Bitmap_.PixelFormat(); }
    const std::vector<TRGBQuad>& ColorTable() const override { return Bitmap_.ColorTable(); }
    void Rewind(TRowOrder order) override {
        BottomFirst_ = order == TRowOrder::BottomFirst;
        Next_ = 0;
    }
    const std::uint8_t* NextRow() override {
        const int i = Next_++;
        return Bitmap_.ScanLine(BottomFirst_ ? Bitmap_.Height() - 1 - i : i);
    }

  private:
    const TBitmap& Bitmap_;
    bool BottomFirst_ = false;
    int Next_ = 0;
};
