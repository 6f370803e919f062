// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "Color.h"
#include "ReadReport.h"

class TByteSource;

// Reads the first frame of a GIF file on its logical screen, at 8 bits with the frame's colour
// table; the transparent index, if the frame has one, takes the transparent colour, and so does
// the screen around a frame that does not cover it (the background colour without one).
// A file that ends inside the frame opens with the rows it holds, the report telling how many;
// a damaged one raises EInvalidGraphic, one too large for memory EOutOfMemory.
TBitmap ReadGif(TByteSource& source, TColor transparentColor, TReadReport& report);
