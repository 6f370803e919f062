// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;
class TLanguageTexts;

// View > Zoom and View > Grid: the zoom levels as radio items with Fit to Window after them, the
// grid's check item, and the keys that zoom in and out by one level (Ctrl+Plus or Ctrl+=,
// Ctrl+Minus; Ctrl+0 is the 100 % item's). The window says what each does.
class TZoomMenu : public QObject {
  public:
    struct THandlers {
        std::function<void(int level)> Zoom; // a level from TZoomView::MinLevel to MaxLevel
        std::function<void(int steps)> ZoomBy;
        std::function<void()> FitToWindow;
        std::function<void(bool on)> Grid;
    };

    // Appends the Zoom submenu and the Grid item to the View menu; the zoom keys work anywhere
    // in `window`.
    TZoomMenu(QMenu& view, QWidget& window, THandlers handlers);

    QMenu* Menu() const { return Menu_; }
    QAction* LevelItem(int level) const;
    QAction* FitItem() const { return Fit_; }
    QAction* GridItem() const { return Grid_; }

    // Checks the item of the level the view shows, whoever changed it.
    void ShowLevel(int level);
    void ShowGrid(bool on);
    void ApplyTexts(const TLanguageTexts& texts);

  private:
    QMenu* Menu_ = nullptr;
    QActionGroup* Levels_ = nullptr;
    std::array<QAction*, 7> LevelItems_{};
    QAction* Fit_ = nullptr;
    QAction* Grid_ = nullptr;
};
