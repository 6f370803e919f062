// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileSheetGrid.h"

#include <QPainter>

#include <algorithm>

namespace {

// Whole cells of `tile` with `spacing` between them after `margin` in `extent` pixels.
int CellCount(int extent, int tile, int margin, int spacing) {
    if (tile < 1 || extent - margin < tile) return 0;
    return (extent - margin - tile) / (tile + spacing) + 1;
}

// The cell index along one side holding position, or the one before the gap it lies in.
int FloorDiv(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// Cells smaller than this on screen get no outlines: they would only grey the sheet over.
constexpr int kMinGridCell = 4;

int IndexAt(int position, int tile, int margin, int spacing) {
    if (position < margin) return -1;
    return (position - margin) / (tile + spacing);
}

} // namespace

QSize TTileSheetGrid::Cells(QSize sheet) const {
    return QSize(CellCount(sheet.width(), TileWidth, Margin, Spacing),
                 CellCount(sheet.height(), TileHeight, Margin, Spacing));
}

QRect TTileSheetGrid::CellRect(QPoint cell) const {
    return QRect(Margin + cell.x() * (TileWidth + Spacing), Margin + cell.y() * (TileHeight + Spacing),
                 TileWidth, TileHeight);
}

std::optional<QPoint> TTileSheetGrid::CellAt(QPoint pixel, QSize sheet) const {
    const QSize cells = Cells(sheet);
    const QPoint cell(IndexAt(pixel.x(), TileWidth, Margin, Spacing),
                      IndexAt(pixel.y(), TileHeight, Margin, Spacing));
    if (cell.x() < 0 || cell.y() < 0 || cell.x() >= cells.width() || cell.y() >= cells.height())
        return std::nullopt;
    if (!CellRect(cell).contains(pixel)) return std::nullopt;
    return cell;
}

QPoint TTileSheetGrid::NearestCell(QPoint pixel, QSize sheet) const {
    const QSize cells = Cells(sheet);
    return QPoint(
        std::clamp(IndexAt(pixel.x(), TileWidth, Margin, Spacing), 0, std::max(cells.width() - 1, 0)),
        std::clamp(IndexAt(pixel.y(), TileHeight, Margin, Spacing), 0, std::max(cells.height() - 1, 0)));
}

QRect TTileSheetGrid::CellsMeeting(const QRect& pixels, QSize sheet) const {
    const QSize cells = Cells(sheet);
    if (cells.isEmpty() || pixels.isEmpty()) return QRect();
    const QPoint first = NearestCell(pixels.topLeft(), sheet);
    const QPoint last = NearestCell(pixels.bottomRight(), sheet);
    return QRect(first, last);
}

QImage TileBlockImage(const QImage& sheet, const TTileSheetGrid& grid, const QRect& cells) {
    const QSize count = grid.Cells(sheet.size());
    if (cells.isEmpty() || cells.left() < 0 || cells.top() < 0 || cells.right() >= count.width() ||
        cells.bottom() >= count.height())
        return QImage();
    QImage block(cells.width() * grid.TileWidth, cells.height() * grid.TileHeight, sheet.format());
    if (block.isNull()) return block;
    QPainter painter(&block);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int row = 0; row < cells.height(); ++row)
        for (int column = 0; column < cells.width(); ++column)
            painter.drawImage(QPoint(column * grid.TileWidth, row * grid.TileHeight), sheet,
                              grid.CellRect(cells.topLeft() + QPoint(column, row)));
    return block;
}

void PaintTileSheet(QPainter& painter, const QImage& sheet, const TTileSheetGrid& grid, int zoom,
                    const QRect& exposed, const QColor& background) {
    const auto sheetPixel = [zoom](QPoint p) { return QPoint(FloorDiv(p.x(), zoom), FloorDiv(p.y(), zoom)); };
    const auto onScreen = [zoom](const QRect& r) { return QRect(r.topLeft() * zoom, r.size() * zoom); };
    const QRect source =
        QRect(sheetPixel(exposed.topLeft()), sheetPixel(exposed.bottomRight())).intersected(sheet.rect());
    if (sheet.hasAlphaChannel() || onScreen(source) != exposed) painter.fillRect(exposed, background);
    if (!source.isEmpty()) painter.drawImage(onScreen(source), sheet, source);

    if (std::min(grid.TileWidth, grid.TileHeight) * zoom < kMinGridCell) return;
    const QRect range = grid.CellsMeeting(source, sheet.size());
    if (range.isEmpty()) return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::white, 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.setClipRect(exposed);
    for (int row = range.top(); row <= range.bottom(); ++row)
        for (int column = range.left(); column <= range.right(); ++column)
            painter.drawRect(onScreen(grid.CellRect(QPoint(column, row))).adjusted(0, 0, -1, -1));
    painter.restore();
}
