// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <cstdint>
#include <string>

// Pictures the benchmarks share.

// A 24-bit tile map: 64 x 64 tiles in a handful of colours, the pictures our users build.
TBitmap MakeTileMap(int width, int height);
// A square tile map made once per side and kept for the whole run, for rows that only read it.
const TBitmap& SharedTileMap(int side);

// A 24-bit map stamped from a tile sheet as an artist draws one: 64 tiles of 32 x 32, each a
// textured ground (grass, stone, water, sand …) in a few dozen shades with edges and specks,
// laid out in patches so that neighbouring cells often repeat a tile. About 200 colours in all.
TBitmap MakeSheetMap(int width, int height);

// A 24-bit picture of pseudo-random colours: the worst case for every colour lookup.
TBitmap MakeNoise(int width, int height, std::uint32_t seed = 1);

// A folder for benchmark files on the same disk the user would save to.
std::string BenchFolder();

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); 0 when it cannot be read.
std::uint64_t StatusKiB(const char* field);
