// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageCopy.h"

TBitmap TImageCopy::Bitmap() const {
    TBitmap result(Pixels_);
    Ring_.PutInto(result);
    return result;
}
