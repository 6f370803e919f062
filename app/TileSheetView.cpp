// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileSheetView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

int FloorDiv(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

TTileSheetView::TTileSheetView(QImage sheet, const TTileSheetGrid& grid, QWidget* parent)
    : QWidget(parent), Sheet_(std::move(sheet)), Grid_(grid) {
    setObjectName("TileSheetView");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // The screen's own form, so painting at 100 % is a plain copy.
    if (Sheet_.format() != QImage::Format_RGB32 && Sheet_.format() != QImage::Format_ARGB32_Premultiplied)
        Sheet_ = Sheet_.convertToFormat(Sheet_.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                 : QImage::Format_RGB32);
    setFixedSize(Sheet_.size());
}

void TTileSheetView::SetGrid(const TTileSheetGrid& grid) {
    Grid_ = grid;
    const QSize cells = Grid_.Cells(Sheet_.size());
    Cursor_ = QPoint(std::clamp(Cursor_.x(), 0, std::max(cells.width() - 1, 0)),
                     std::clamp(Cursor_.y(), 0, std::max(cells.height() - 1, 0)));
    update();
}

void TTileSheetView::SetZoom(int zoom) {
    int level = 1;
    while (level * 2 <= std::clamp(zoom, MinZoom, MaxZoom))
        level *= 2;
    if (level == Zoom_) return;
    Zoom_ = level;
    setFixedSize(Sheet_.size() * Zoom_);
    update();
}

QPoint TTileSheetView::SheetPixelAt(QPoint control) const {
    return QPoint(FloorDiv(control.x(), Zoom_), FloorDiv(control.y(), Zoom_));
}

QRect TTileSheetView::ControlRectOf(const QRect& sheetPixels) const {
    return QRect(sheetPixels.topLeft() * Zoom_, sheetPixels.size() * Zoom_);
}

QRect TTileSheetView::CellsRectOnScreen(const QRect& cells) const {
    const QRect first = Grid_.CellRect(cells.topLeft());
    const QRect last = Grid_.CellRect(cells.bottomRight());
    return ControlRectOf(first.united(last));
}

void TTileSheetView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    PaintTileSheet(painter, Sheet_, Grid_, Zoom_, event->rect(), palette().window().color());
    const QSize cells = Grid_.Cells(Sheet_.size());
    if (cells.isEmpty()) return;
    painter.setBrush(Qt::NoBrush);
    if (DragFrom_) {
        painter.setPen(QPen(palette().highlight().color(), 2));
        painter.drawRect(CellsRectOnScreen(QRect(*DragFrom_, DragTo_).normalized()).adjusted(1, 1, -1, -1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 2, Qt::DashLine));
        painter.drawRect(CellsRectOnScreen(QRect(Cursor_, Cursor_)).adjusted(1, 1, -1, -1));
    }
}

void TTileSheetView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = SheetPixelAt(event->position().toPoint());
    const std::optional<QPoint> cell = Grid_.CellAt(at, Sheet_.size());
    if (!cell) return;
    DragFrom_ = *cell;
    DragTo_ = *cell;
    Cursor_ = *cell;
    update();
}

void TTileSheetView::mouseMoveEvent(QMouseEvent* event) {
    if (!DragFrom_ || !(event->buttons() & Qt::LeftButton)) return;
    const QPoint cell = Grid_.NearestCell(SheetPixelAt(event->position().toPoint()), Sheet_.size());
    if (cell == DragTo_) return;
    DragTo_ = cell;
    update();
}

void TTileSheetView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !DragFrom_) return;
    const QRect cells = QRect(*DragFrom_, DragTo_).normalized();
    DragFrom_.reset();
    update();
    if (Picked) Picked(cells, true);
}

void TTileSheetView::keyPressEvent(QKeyEvent* event) {
    const QSize cells = Grid_.Cells(Sheet_.size());
    QPoint next = Cursor_;
    switch (event->key()) {
    case Qt::Key_Left:
        next.rx() -= 1;
        break;
    case Qt::Key_Right:
        next.rx() += 1;
        break;
    case Qt::Key_Up:
        next.ry() -= 1;
        break;
    case Qt::Key_Down:
        next.ry() += 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!cells.isEmpty() && Picked) Picked(QRect(Cursor_, Cursor_), false);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (cells.isEmpty()) return;
    next = QPoint(std::clamp(next.x(), 0, cells.width() - 1), std::clamp(next.y(), 0, cells.height() - 1));
    if (next == Cursor_) return;
    update(CellsRectOnScreen(QRect(Cursor_, Cursor_)));
    Cursor_ = next;
    update(CellsRectOnScreen(QRect(Cursor_, Cursor_)));
    // The scroll area around the view keeps the cursor in sight.
    for (QWidget* up = parentWidget(); up; up = up->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
            const QRect shown = CellsRectOnScreen(QRect(Cursor_, Cursor_));
            scroll->ensureVisible(shown.center().x(), shown.center().y(), shown.width(), shown.height());
            break;
        }
}

// Ctrl with the wheel zooms; the plain wheel is left to the scroll area around the view.
void TTileSheetView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    const int turn = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (turn != 0) SetZoom(turn > 0 ? Zoom_ * 2 : Zoom_ / 2);
    event->accept();
}
