// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PictureOptions.h"

// What the options dialog asks of the document once every edit has been checked: the picture
// options it edits (steps, colours, ColorDepth, WidthPic and HeightPic; the active pair and the
// transparency switch stay the document's) and a one-time offset.
struct TOptionsChange {
    TPictureOptions Options;
    // Columns (rows) of background added at the left (top); negative values cut them off.
    int OffsetX = 0;
    int OffsetY = 0;
};

// The smallest picture the options allow, and the largest an offset may make.
inline constexpr int MinPictureWidth = 256;
inline constexpr int MinPictureHeight = 192;
inline constexpr int MaxShiftedSide = 99999;
