#pragma once

#include "PictureDocument.h"

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

// The options as they stand, with the picture's own depth and no offset: what the dialog opens with.
TOptionsChange CurrentOptions(const TPictureDocument& document);

// Applies steps (anything below 1 is stored as 1), current steps, colours, colour depth, size and offset in
// that order. The depth asks before it can lose colours; a refusal keeps the depth and goes on with the size.
// Running out of memory shows the message and leaves that group, and every group after it that depends on it,
// as it was.
void ApplyOptions(TPictureDocument& document, const TOptionsChange& change);
