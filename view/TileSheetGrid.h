// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QPainter;

// The cells a tile sheet is cut into: tiles of one size, a margin before the first and a spacing
// between neighbours. Only whole cells count; a strip too narrow for one at the right or bottom
// edge belongs to none. Cells are numbered by column and row from 0.
struct TTileSheetGrid {
    int TileWidth = 8;
    int TileHeight = 8;
    int Margin = 0;
    int Spacing = 0;

    // How many whole cells a sheet of this size holds across and down.
    QSize Cells(QSize sheet) const;
    // The sheet pixels of a cell.
    QRect CellRect(QPoint cell) const;
    // The cell holding a sheet pixel; none in the margin, the spacing or past the last cell.
    std::optional<QPoint> CellAt(QPoint pixel, QSize sheet) const;
    // The cell nearest a sheet pixel, for a drag that strays into a gap or off the sheet.
    QPoint NearestCell(QPoint pixel, QSize sheet) const;
    // The cells whose rectangles meet a sheet rectangle, as a range of columns and rows.
    QRect CellsMeeting(const QRect& pixels, QSize sheet) const;
};

// The tiles of a block of cells (columns and rows as a rectangle) side by side as one image,
// without the spacing between them. A null image for a block outside the sheet's cells.
QImage TileBlockImage(const QImage& sheet, const TTileSheetGrid& grid, const QRect& cells);

// Paints the exposed rectangle of a sheet shown at zoom (1, 2, 4 or 8 screen pixels a sheet
// pixel) with its cells outlined over it, each outline the inverse of what lies under it. Only
// the sheet pixels under the exposed rectangle are scaled; no outlines while a cell would be
// under 4 screen pixels. Outside the sheet it fills with `background`.
void PaintTileSheet(QPainter& painter, const QImage& sheet, const TTileSheetGrid& grid, int zoom,
                    const QRect& exposed, const QColor& background);
