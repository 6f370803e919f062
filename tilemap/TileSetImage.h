// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

#include <cstdint>
#include <vector>

class TByteSink;
class TTileSet;

// The tile set as one PNG picture: the tiles left to right, then top to bottom, `columns` across,
// without margin or spacing, every pixel as in the picture. Palette tiles (one byte a pixel)
// keep the picture's colour table. Blue-green-red tiles are written with a table of exactly
// `colors` (their distinct colours as 0x00RRGGBB, sorted, at most 256), or as 24-bit RGB when
// `colors` is empty.
void WriteTileSetImage(const TTileSet& tiles, int tileWidth, int tileHeight, int unitBytes, int columns,
                       const std::vector<TRGBQuad>& paletteTable, const std::vector<std::uint32_t>& colors,
                       TByteSink& sink);
