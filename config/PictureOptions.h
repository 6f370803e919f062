// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

#include <string>

// The undo history's memory when the settings name none, in MiB: 512, or a quarter of the
// machine's memory when that is less.
int DefaultUndoMemory();

// The picture options as one value: the settings file loads and saves it, the document holds it
// and the options dialog edits a copy of it. Values are kept as stored; the places that use a
// step treat anything below 1 as 1.
struct TPictureOptions {
    int WidthPic = 1000;
    int HeightPic = 1000;
    int StepX1 = 8, StepY1 = 8;
    int StepX2 = 8, StepY2 = 8;
    int StepX3 = 8, StepY3 = 8;
    int ActualStep = 1; // the active pair, 1 to 3
    TColor BackgroundColor = clBlack;
    TColor TransparentColor = clBlack;
    TColor FillColor = clWhite;
    int ColorDepth = 24;                  // 1, 4, 8, 16 or 24 bits per pixel
    bool Transparency = false;            // the transparency switch
    bool ExactColors = false;             // 8-bit conversions keep the picture's own colours
    int UndoMemory = DefaultUndoMemory(); // MiB the undo history may hold
    int UndoDisk = 4096;                  // MiB its steps that do not fit the memory may take on disk

    friend bool operator==(const TPictureOptions&, const TPictureOptions&) = default;
};

// The insert-text dialog's font, kept by the settings file between runs.
struct TFontOptions {
    std::string FontName = "Arial";
    int FontSize = 12; // points
    bool FontStyleB = false;
    bool FontStyleI = false;
    bool FontStyleU = false;
    TColor FontColor = clWhite;

    friend bool operator==(const TFontOptions&, const TFontOptions&) = default;
};
