// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "BitmapRing.h"

// A copy of an image that costs nothing when it is made: it shares the image's pixels (the
// image copies them before it changes them) and keeps aside the ring under the image's frame,
// which the frame covers in the shared pixels. The true pixels are put together when asked for.
class TImageCopy {
  public:
    TImageCopy() = default;
    // pixels shared with a framed image, and the ring its frame covers.
    TImageCopy(TBitmap pixels, TBitmapRing ring) : Pixels_(std::move(pixels)), Ring_(std::move(ring)) {}

    bool Empty() const { return Pixels_.Empty(); }
    int Width() const { return Pixels_.Width(); }
    int Height() const { return Pixels_.Height(); }
    TPixelFormat PixelFormat() const { return Pixels_.PixelFormat(); }

    // The image as it was copied, in a bitmap of its own. EOutOfMemory when it cannot be had.
    TBitmap Bitmap() const;

  private:
    TBitmap Pixels_;
    TBitmapRing Ring_;
};
