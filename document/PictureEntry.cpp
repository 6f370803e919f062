// SPDX-License-Identifier: GPL-3.0-or-later
// The history entry of a whole-picture command.

#include "PictureEntry.h"

#include "SpillFile.h"

#include <algorithm>
#include <utility>

TPictureEntry::TPictureEntry(TBitmap before)
    : THistoryEntry(THistoryStep::WholePicture), Picture_(std::move(before)) {}

std::size_t TPictureEntry::Bytes() const {
    return sizeof(*this) + Picture_.PixelBuffer().capacity() +
           Picture_.ColorTable().capacity() * sizeof(TRGBQuad);
}

TRect TPictureEntry::Exchange(TBitmap& picture) noexcept {
    const TRect area{0, 0, std::max(picture.Width(), Picture_.Width()),
                     std::max(picture.Height(), Picture_.Height())};
    std::swap(picture, Picture_);
    std::swap(picture.Brush, Picture_.Brush);
    std::swap(picture.Pen, Picture_.Pen);
    std::swap(picture.Font, Picture_.Font);
    std::swap(picture.Transparent, Picture_.Transparent);
    std::swap(picture.TransparentColor, Picture_.TransparentColor);
    return area;
}

void TPictureEntry::Store(TSpillFile& file) {
    file.Write(std::as_const(Picture_).PixelBuffer());
    Picture_.ReleasePixels();
}

void TPictureEntry::Load(TSpillFile& file) {
    file.Rewind();
    Picture_.PixelBuffer() = file.Read<std::uint8_t, TPixelBytes::allocator_type>();
}
