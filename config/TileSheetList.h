// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class TIniFile;

// One open tile sheet: its file and the grid its tiles are cut on.
struct TTileSheetEntry {
    std::string File;
    int TileWidth = 8;
    int TileHeight = 8;
    int Margin = 0;  // pixels before the first cell, left and top
    int Spacing = 0; // pixels between neighbouring cells
    friend bool operator==(const TTileSheetEntry&, const TTileSheetEntry&) = default;
};

// The open tile sheets in tab order and the chosen tab (an index into Sheets; 0 when empty).
struct TTileSheetList {
    std::vector<TTileSheetEntry> Sheets;
    int Current = 0;
};

// The most sheets read back, so a damaged Count cannot keep the start waiting.
constexpr int MaxTileSheets = 64;

// The TileSheets section: Count, then FileN, TileWidthN, TileHeightN, MarginN and SpacingN for N
// from 1, and Current, the chosen tab's number. A sheet whose file is no longer a regular file
// is dropped, and Current follows the sheet it named. A tile side below 1 gives the default
// side (the active steps); a margin or spacing below 0 gives 0.
TTileSheetList LoadTileSheets(const TIniFile& ini, int defaultWidth, int defaultHeight);
// Writes the section anew, so no key of a sheet closed since stays behind.
void SaveTileSheets(TIniFile& ini, const TTileSheetList& list);
