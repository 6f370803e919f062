// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

#include <vector>

// The fixed colour tables of the palette depths.

// 256 entries: the 16 colours of the 4-bit table, the 6x6x6 cube with levels 0, 51, ..., 255
// (entry 16 + 36 r + 6 g + b), then the greys 8, 18, ..., 238.
const std::vector<TRGBQuad>& HalftonePalette();

// The 16-colour table of 4-bit pictures.
const std::vector<TRGBQuad>& SixteenColorPalette();

// Black, then white.
const std::vector<TRGBQuad>& MonochromePalette();

// The table a new bitmap of the given palette depth gets (1, 4 or 8 bits).
const std::vector<TRGBQuad>& DefaultPaletteForBits(int bits);
