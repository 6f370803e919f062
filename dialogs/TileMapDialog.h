// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TileMapExport.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;
class TLanguageTexts;

// File > Export Tile Map: the tile size (the active steps to begin with) and the two choices,
// matching turned and mirrored tiles and leaving cells of the transparent colour empty.
class TTileMapDialog : public QDialog {
  public:
    TTileMapDialog(int tileWidth, int tileHeight, const TLanguageTexts& texts, QWidget* parent = nullptr);

    // The choices made; the empty colour is the document's to fill in.
    TTileMapOptions Options() const;

    QSpinBox* TileWidth = nullptr;
    QSpinBox* TileHeight = nullptr;
    QCheckBox* Flips = nullptr;
    QCheckBox* Empty = nullptr;
    QPushButton* OKBut = nullptr;
    QPushButton* CancelBut = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};
