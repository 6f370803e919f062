// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PictureOptions.h"

class TIniFile;

// The picture options and the insert-text font in the settings file's Options and Font sections.
//
// Values are mended only where a stored value would do harm: a picture size below 1, or a font
// size outside 1 to 999, gives the default size; a colour keeps its low 24 bits (so -1 cannot pose
// as "no colour"); a colour depth is judged by its low 8 bits, anything but 1, 4, 8, 16 or 24
// giving 24; an UndoMemory below 0 gives the default. Steps, and the active pair number, are kept as stored:
// the step commands and the snapping deal with them.
TPictureOptions LoadPictureOptions(const TIniFile& ini);
void SavePictureOptions(TIniFile& ini, const TPictureOptions& options);

TFontOptions LoadFontOptions(const TIniFile& ini);
void SaveFontOptions(TIniFile& ini, const TFontOptions& font);

// The depth a stored ColorDepth value stands for.
int ColorDepthOf(int stored);
