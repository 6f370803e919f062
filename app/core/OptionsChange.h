#pragma once

#include "PictureDocument.h"

// What the options dialog asks of the document once every edit has been checked. The steps are
// whole numbers (anything below 1 is stored as 1); the size is at least the smallest picture.
struct TOptionsChange {
    int StepX1 = 8, StepY1 = 8, StepX2 = 8, StepY2 = 8, StepX3 = 8, StepY3 = 8;
    TColor BackgroundColor = clBlack;
    TColor TransparentColor = clBlack;
    TColor FillColor = clWhite;
    int ColorDepth = 24; // 24, 16, 8, 4 or 1
    int Width = 1000;
    int Height = 1000;
    // Columns (rows) of background added at the left (top); negative values cut them off.
    int OffsetX = 0;
    int OffsetY = 0;
};

// The smallest picture the options allow, and the largest an offset may make.
inline constexpr int MinPictureWidth = 256;
inline constexpr int MinPictureHeight = 192;
inline constexpr int MaxShiftedSide = 99999;

// The options as they stand, with no offset: what the dialog opens with.
TOptionsChange CurrentOptions(const TPictureDocument& document);

// Applies steps, current steps, colours, colour depth, size and offset in that order. The depth
// asks before it can lose colours; a refusal keeps the depth and goes on with the size. Running
// out of memory shows the message and leaves that group, and every group after it that depends
// on it, as it was.
void ApplyOptions(TPictureDocument& document, const TOptionsChange& change);
