// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <functional>

enum class TQuarterTurn { Clockwise, CounterClockwise };

// A copy of a bitmap turned by a quarter turn: its width and height swap, its pixel format,
// colour table and drawing state stay. Clockwise puts the bottom-left pixel at the top left;
// counter-clockwise puts the top-right pixel there. EOutOfMemory when the copy cannot be had.
// A turn of a large picture calls `between` now and then, so a window can repaint meanwhile.
TBitmap QuarterTurned(const TBitmap& source, TQuarterTurn turn, const std::function<void()>& between = {});
