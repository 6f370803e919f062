// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageControls.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TPictureControl::TPictureControl(const TPictureDocument& document, TImageControlHost& host, QWidget* parent)
    : QWidget(parent), Document_(document), Host_(host) {
    setObjectName("Image1");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // the status bar follows the mouse with no button held
}

void TPictureControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    Host_.Viewport().Paint(painter, event->rect(), Document_.Picture(), Document_.EffectiveStepX(),
                           Document_.EffectiveStepY());
}

void TPictureControl::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Host_.Image1MouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void TPictureControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Host_.Image1MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
}

void TPictureControl::mouseReleaseEvent(QMouseEvent*) {
    Host_.Image1MouseUp();
}

TFloatingControl::TFloatingControl(const TPictureDocument& document, TImageControlHost& host, QWidget* parent)
    : QWidget(parent), Document_(document), Host_(host) {
    setObjectName("Image2");
    hide();
    setEnabled(false);
}

void TFloatingControl::paintEvent(QPaintEvent* event) {
    const TFloatingImage& floating = Document_.Floating();
    if (floating.Bitmap.Empty() || width() <= 0 || height() <= 0) return;
    QPainter painter(this);
    Host_.Viewport().PaintFloating(
        painter, event->rect(), floating.Bitmap, QPoint(floating.Left, floating.Top),
        floating.DisplayTransparent ? std::optional<TColor>(Document_.Options().TransparentColor)
                                    : std::nullopt);
}

void TFloatingControl::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Host_.Image2MouseDown(event->button(), at.x(), at.y());
}

void TFloatingControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Host_.Image2MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
}

void TFloatingControl::mouseReleaseEvent(QMouseEvent* event) {
    Host_.Image2MouseUp(event->button());
}
