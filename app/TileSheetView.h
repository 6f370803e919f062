// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TileSheetGrid.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

// One tile sheet on screen: the picture at its own zoom (100 to 800 %) with its cell grid over
// it. A click picks a cell, a drag the block of cells it spans; the arrow keys move a cell cursor
// and Enter picks the cell under it. The sheet is read-only: it is converted once, and a repaint
// scales only the part exposed.
class TTileSheetView : public QWidget {
  public:
    static constexpr int MinZoom = 1;
    static constexpr int MaxZoom = 8;

    TTileSheetView(QImage sheet, const TTileSheetGrid& grid, QWidget* parent);

    const QImage& Sheet() const { return Sheet_; }
    const TTileSheetGrid& Grid() const { return Grid_; }
    void SetGrid(const TTileSheetGrid& grid);
    int Zoom() const { return Zoom_; }
    // 1, 2, 4 or 8: the nearest of them within the range.
    void SetZoom(int zoom);
    QPoint CursorCell() const { return Cursor_; }

    // A block of cells was picked (columns and rows as a rectangle); byMouse for a click or drag.
    std::function<void(const QRect& cells, bool byMouse)> Picked;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    QPoint SheetPixelAt(QPoint control) const;
    QRect ControlRectOf(const QRect& sheetPixels) const;
    QRect CellsRectOnScreen(const QRect& cells) const;

    QImage Sheet_;
    TTileSheetGrid Grid_;
    int Zoom_ = 1;
    QPoint Cursor_{0, 0};
    std::optional<QPoint> DragFrom_;
    QPoint DragTo_;
};
