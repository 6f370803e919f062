// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

#include <QIcon>
#include <QPointer>

#include <array>
#include <vector>

class QAction;

// The 16 x 16 images of the toolbar and the menu, by slot. Slots 12 to 14 are the swatches of
// the background, transparent and fill colours.
class TImageList {
  public:
    enum : int {
        NewPicture = 0,
        OpenPicture = 1,
        SavePicture = 2,
        Exit = 3,
        Undo = 4,
        Copy = 5,
        Cut = 6,
        Paste = 7,
        Help = 8,
        Transparent = 9,
        Setting = 10,
        InsertText = 11,
        BackgroundSwatch = 12,
        TransparentSwatch = 13,
        FillSwatch = 14,
        Step1 = 15,
        Step2 = 16,
        Step3 = 17,
        Count = 18
    };

    TImageList();
    const QIcon& Icon(int slot) const { return Icons_.at(std::size_t(slot)); }
    // Gives the action the slot's image and keeps it in step when the image changes.
    void Attach(QAction* action, int slot);
    // The colour inside a black one-pixel frame, on every action showing the slot.
    void UpdateColorSwatch(int slot, TColor color);

  private:
    std::array<QIcon, Count> Icons_;
    std::array<std::vector<QPointer<QAction>>, Count> Users_;
};
