// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "LanguageTexts.h"
#include "TileSheetList.h"

#include <QDockWidget>
#include <QImage>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TModal;
class TTileSheetView;

// Reads a tile sheet's picture; the one place that knows which file formats a sheet may be.
// Raises the picture layer's errors for a file it cannot read.
QImage ReadTileSheet(const std::string& path, TColor transparentColor);

// The Tile Sheets panel beside the picture: one tab per open sheet, the grid of the chosen one
// (tile width and height, margin, spacing) and the buttons that add and remove sheets. Picking
// tiles hands their image to the window; the sheets themselves are never changed.
class TTileSheetPanel : public QDockWidget {
  public:
    // The window's tile size for a new sheet (the active steps) and where picked images go.
    struct THooks {
        std::function<QSize()> DefaultTile;
        std::function<void(const QImage& tiles, bool byMouse)> Picked;
        // The colour a sheet's transparent pixels take, so a stamp leaves them out as it does
        // the picture's own.
        std::function<TColor()> TransparentColor;
    };
    TTileSheetPanel(TModal& modal, THooks hooks, QWidget* parent);

    // Asks for a file and opens it as a new sheet; a file that cannot be read is reported.
    void AddSheetClick();
    void RemoveSheetClick();
    // Opens a sheet; false (after the error was shown when `report`) for a file it cannot read.
    bool AddSheet(const TTileSheetEntry& entry, bool report = true);

    // The open sheets as the settings keep them, and back: sheets that cannot be read are dropped.
    TTileSheetList Sheets() const;
    void ApplySheets(const TTileSheetList& list);
    void ApplyLanguage(const TLanguageTexts& texts);
    TTileSheetView* CurrentView() const;

  private:
    void ShowGridOfCurrent();
    void GridEdited();
    void PickCells(TTileSheetView& view, const QRect& cells, bool byMouse);

    TModal& Modal_;
    THooks Hooks_;
    QTabWidget* Tabs_ = nullptr;
    QPushButton *AddBut_ = nullptr, *RemoveBut_ = nullptr;
    QSpinBox *TileWidth_ = nullptr, *TileHeight_ = nullptr, *Margin_ = nullptr, *Spacing_ = nullptr;
    QLabel *TileWidthLabel_ = nullptr, *TileHeightLabel_ = nullptr, *MarginLabel_ = nullptr,
           *SpacingLabel_ = nullptr;
    std::string OpenTitle_ = "Add tile sheet";
    std::string FilterText_ = "pictures";
    std::string Folder_;
    bool ShowingGrid_ = false;
};
