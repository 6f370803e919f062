// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <array>
#include <cstddef>
#include <utility>

// A part of a bitmap in its own format and colour table, so that putting it back is a plain copy
// that gives back exactly the pixels it took. EOutOfMemory when it cannot be had.
TBitmap StripOf(const TBitmap& source, const TRect& area);

// The outermost ring of a bitmap's pixels, one pixel wide, kept aside in four strips. A floating
// image draws its frame into that ring of the very pixels it shares with an undo step or the
// clipboard; each of those keeps the ring as it truly is and puts it back over what it reads.
class TBitmapRing {
  public:
    TBitmapRing() = default;
    // The ring of bitmap as it is now. EOutOfMemory when the strips cannot be had.
    static TBitmapRing Of(const TBitmap& bitmap);
    // Strips kept elsewhere: one pixel wide at the left and right, one high at the top and bottom.
    TBitmapRing(TBitmap left, TBitmap top, TBitmap right, TBitmap bottom)
        : Strips_{std::move(left), std::move(top), std::move(right), std::move(bottom)} {}

    bool Empty() const { return Strips_[0].Empty(); }
    std::size_t Bytes() const;
    // Writes the kept ring into a bitmap of the size it was taken from, whose pixels are its
    // own. Needs no memory.
    void PutInto(TBitmap& bitmap) const noexcept;
    // The four strips, left, top, right, bottom, for a holder that writes them to a file.
    std::array<TBitmap, 4>& Strips() { return Strips_; }

  private:
    std::array<TBitmap, 4> Strips_;
};
