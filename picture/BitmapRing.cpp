// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapRing.h"

#include "RowCodec.h"

#include <cstring>
#include <utility>

TBitmap StripOf(const TBitmap& source, const TRect& area) {
    TBitmap strip(area.Width(), area.Height(), source.PixelFormat());
    strip.SetColorTable(source.ColorTable());
    strip.CopyRect(Bounds(0, 0, area.Width(), area.Height()), source, area);
    return strip;
}

namespace {

// Copies a strip's stored values to (x, y) of the bitmap, with no memory of its own.
void PutStrip(TBitmap& bitmap, int x, int y, const TBitmap& strip) noexcept {
    const TPixelFormat format = bitmap.PixelFormat();
    const int bits = BitsOfPixelFormat(format);
    for (int row = 0; row < strip.Height(); ++row) {
        const std::uint8_t* from = strip.ScanLine(row);
        std::uint8_t* to = bitmap.ScanLine(y + row);
        if (bits >= 8) {
            const std::size_t bytes = std::size_t(bits / 8);
            std::memcpy(to + bytes * std::size_t(x), from, bytes * std::size_t(strip.Width()));
            continue;
        }
        for (int i = 0; i < strip.Width(); ++i)
            RowCodec::SetValue(format, to, x + i, RowCodec::GetValue(format, from, i));
    }
}

} // namespace

TBitmapRing TBitmapRing::Of(const TBitmap& bitmap) {
    TBitmapRing ring;
    const int w = bitmap.Width(), h = bitmap.Height();
    if (w <= 0 || h <= 0) return ring;
    ring.Strips_ = {StripOf(bitmap, Bounds(0, 0, 1, h)), StripOf(bitmap, Bounds(0, 0, w, 1)),
                    StripOf(bitmap, Bounds(w - 1, 0, 1, h)), StripOf(bitmap, Bounds(0, h - 1, w, 1))};
    return ring;
}

std::size_t TBitmapRing::Bytes() const {
    std::size_t bytes = 0;
    for (const TBitmap& strip : Strips_)
        bytes += strip.PixelBuffer().size();
    return bytes;
}

void TBitmapRing::PutInto(TBitmap& bitmap) const noexcept {
    if (Empty()) return;
    PutStrip(bitmap, 0, 0, Strips_[0]);
    PutStrip(bitmap, 0, 0, Strips_[1]);
    PutStrip(bitmap, bitmap.Width() - 1, 0, Strips_[2]);
    PutStrip(bitmap, 0, bitmap.Height() - 1, Strips_[3]);
}
