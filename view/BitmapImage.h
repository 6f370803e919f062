// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <QImage>

// The part of a bitmap that a view shows, as a Qt image. Only the rectangle asked for is
// converted, so painting costs what is exposed, never the whole picture. The image is in the
// screen's 32-bit form, so drawing it is a plain copy.
QImage ImageOfRect(const TBitmap& bitmap, const TRect& rect);

// A whole bitmap as a Qt image of 24-bit colour, and back (the clipboard's form).
QImage ImageOfBitmap(const TBitmap& bitmap);
TBitmap BitmapOfImage(const QImage& image);
