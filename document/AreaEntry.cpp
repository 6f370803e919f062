// SPDX-License-Identifier: GPL-3.0-or-later
// The history entry of a stamp or a lift: the covered rectangle's stored pixel values.

#include "AreaEntry.h"

#include "RowCodec.h"
#include "SpillFile.h"

#include <algorithm>
#include <array>
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

TAreaEntry::TAreaEntry(const TRect& area, const TBitmap& lifted)
    : THistoryEntry(THistoryStep::Lift), Area_(area), Ring_(TBitmapRing::Of(lifted)) {
    Pixels_ = lifted.Shared();
}

void TAreaEntry::KeepFloating(TBitmap floating, int left, int top) {
    Floating_ = std::move(floating);
    FloatingLeft_ = left;
    FloatingTop_ = top;
}

std::size_t TAreaEntry::Bytes() const {
    return sizeof(*this) + Pixels_.PixelBuffer().capacity() + Ring_.Bytes() +
           Floating_.PixelBuffer().capacity() + Floating_.ColorTable().capacity() * sizeof(TRGBQuad);
}

TRect TAreaEntry::Exchange(TBitmap& picture) noexcept {
    if (!Ring_.Empty()) {
        // The pixels are the entry's alone now, so the frame in them can go.
        Ring_.PutInto(Pixels_);
        Ring_ = TBitmapRing();
    }
    // A lift of the whole picture trades buffers instead of copying both ways.
    if (Area_ == Bounds(0, 0, picture.Width(), picture.Height()) &&
        Pixels_.PixelFormat() == picture.PixelFormat() && Pixels_.RowBytes() == picture.RowBytes()) {
        picture.SwapPixels(Pixels_);
        return Area_;
    }
    for (int y = 0; y < Area_.Height(); ++y)
        ExchangeSpan(picture.PixelFormat(), picture.ScanLine(Area_.Top + y), Area_.Left, Pixels_.ScanLine(y),
                     Area_.Width());
    return Area_;
}

void TAreaEntry::Store(TSpillFile& file) {
    // Written as they are, frame and all while the floating image shares them; the ring follows.
    file.Write(std::as_const(Pixels_).PixelBuffer());
    file.Write(std::as_const(Floating_).PixelBuffer());
    if (!Ring_.Empty())
        for (const TBitmap& strip : Ring_.Strips())
            file.Write(strip.PixelBuffer());
    Pixels_.ReleasePixels();
    Floating_.ReleasePixels();
    if (!Ring_.Empty())
        for (TBitmap& strip : Ring_.Strips())
            strip.ReleasePixels();
}

void TAreaEntry::Load(TSpillFile& file) {
    using TAllocator = TPixelBytes::allocator_type;
    file.Rewind();
    TPixelBytes pixels = file.Read<std::uint8_t, TAllocator>();
    TPixelBytes floating = file.Read<std::uint8_t, TAllocator>();
    std::array<TPixelBytes, 4> ring;
    if (!Ring_.Empty())
        for (TPixelBytes& strip : ring)
            strip = file.Read<std::uint8_t, TAllocator>();
    Pixels_.PixelBuffer() = std::move(pixels);
    Floating_.PixelBuffer() = std::move(floating);
    if (!Ring_.Empty())
        for (std::size_t i = 0; i < ring.size(); ++i)
            Ring_.Strips()[i].PixelBuffer() = std::move(ring[i]);
}
