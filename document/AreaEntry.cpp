// SPDX-License-Identifier: GPL-3.0-or-later
// The history entry of a stamp or a lift: the covered rectangle's stored pixel values.

#include "AreaEntry.h"

#include "RowCodec.h"
#include "SpillFile.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

TRect ClippedTo(const TBitmap& picture, const TRect& area) {
    TRect r{std::max(area.Left, 0), std::max(area.Top, 0), std::min(area.Right, picture.Width()),
            std::min(area.Bottom, picture.Height())};
    if (r.IsEmpty()) r = TRect{};
    return r;
}

// Copies count pixels starting at column x of a picture row to the start of a stored row.
void CopySpan(TPixelFormat format, const std::uint8_t* pictureRow, int x, std::uint8_t* storedRow,
              int count) {
    const int bits = BitsOfPixelFormat(format);
    if (bits >= 8) {
        const std::size_t bytes = std::size_t(bits / 8);
        std::copy_n(pictureRow + bytes * std::size_t(x), bytes * std::size_t(count), storedRow);
        return;
    }
    for (int i = 0; i < count; ++i)
        RowCodec::SetValue(format, storedRow, i, RowCodec::GetValue(format, pictureRow, x + i));
}

// Exchanges count pixels starting at column x of a picture row with the start of a stored row.
// Whole bytes go through a small buffer in blocks, which the compiler turns into wide copies;
// 1- and 4-bit rows may start inside a byte and go pixel by pixel.
void ExchangeSpan(TPixelFormat format, std::uint8_t* pictureRow, int x, std::uint8_t* storedRow, int count) {
    const int bits = BitsOfPixelFormat(format);
    if (bits >= 8) {
        const std::size_t pixelBytes = std::size_t(bits / 8);
        std::uint8_t* picture = pictureRow + pixelBytes * std::size_t(x);
        std::size_t left = pixelBytes * std::size_t(count);
        std::uint8_t block[256];
        while (left > 0) {
            const std::size_t n = std::min(left, sizeof block);
            std::memcpy(block, storedRow, n);
            std::memcpy(storedRow, picture, n);
            std::memcpy(picture, block, n);
            storedRow += n;
            picture += n;
            left -= n;
        }
        return;
    }
    for (int i = 0; i < count; ++i) {
        const std::uint32_t kept = RowCodec::GetValue(format, storedRow, i);
        RowCodec::SetValue(format, storedRow, i, RowCodec::GetValue(format, pictureRow, x + i));
        RowCodec::SetValue(format, pictureRow, x + i, kept);
    }
}

} // namespace

TAreaEntry::TAreaEntry(THistoryStep step, const TBitmap& picture, const TRect& area)
    : THistoryEntry(step), Area_(ClippedTo(picture, area)) {
    if (Area_.IsEmpty()) return;
    Pixels_ = TBitmap(Area_.Width(), Area_.Height(), picture.PixelFormat());
    for (int y = 0; y < Area_.Height(); ++y)
        CopySpan(picture.PixelFormat(), picture.ScanLine(Area_.Top + y), Area_.Left, Pixels_.ScanLine(y),
                 Area_.Width());
}

void TAreaEntry::KeepFloating(TBitmap floating, int left, int top) {
    Floating_ = std::move(floating);
    FloatingLeft_ = left;
    FloatingTop_ = top;
}

std::size_t TAreaEntry::Bytes() const {
    return sizeof(*this) + Pixels_.PixelBuffer().capacity() + Floating_.PixelBuffer().capacity() +
           Floating_.ColorTable().capacity() * sizeof(TRGBQuad);
}

TRect TAreaEntry::Exchange(TBitmap& picture) noexcept {
    for (int y = 0; y < Area_.Height(); ++y)
        ExchangeSpan(picture.PixelFormat(), picture.ScanLine(Area_.Top + y), Area_.Left, Pixels_.ScanLine(y),
                     Area_.Width());
    return Area_;
}

void TAreaEntry::Store(TSpillFile& file) {
    file.Write(Pixels_.PixelBuffer());
    file.Write(Floating_.PixelBuffer());
    ReleaseBuffer(Pixels_.PixelBuffer());
    ReleaseBuffer(Floating_.PixelBuffer());
}

void TAreaEntry::Load(TSpillFile& file) {
    file.Rewind();
    std::vector<std::uint8_t> pixels = file.Read<std::uint8_t>();
    std::vector<std::uint8_t> floating = file.Read<std::uint8_t>();
    Pixels_.PixelBuffer() = std::move(pixels);
    Floating_.PixelBuffer() = std::move(floating);
}
