// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureViewport.h"

#include "Errors.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <new>

TPictureViewport::TPictureViewport(QScrollArea& scrollBox, QWidget& control)
    : ScrollBox_(scrollBox), Control_(control) {}

void TPictureViewport::SetGrid(bool on) {
    if (on == Grid_) return;
    Grid_ = on;
    Control_.update();
}

void TPictureViewport::PictureResized(const TBitmap& picture) {
    try {
        Reduced_.Rebuild(picture);
    } catch (const EOutOfMemory&) {
        Reduced_.Clear();
    } catch (const std::bad_alloc&) {
        Reduced_.Clear();
    }
    const QSize size = View_.ViewSize(picture.Width(), picture.Height());
    Control_.setFixedSize(std::max(size.width(), 1), std::max(size.height(), 1));
    Control_.update();
}

void TPictureViewport::PictureChanged(const TBitmap& picture, const TRect& area) {
    Reduced_.Update(picture, area);
    Control_.update(View_.ViewOf(area));
}

QPoint TPictureViewport::ScrollPosition() const {
    return QPoint(ScrollBox_.horizontalScrollBar()->value(), ScrollBox_.verticalScrollBar()->value());
}

void TPictureViewport::SetScrollPosition(QPoint position) {
    ScrollBox_.horizontalScrollBar()->setValue(position.x()); // the scroll bars clamp to their range
    ScrollBox_.verticalScrollBar()->setValue(position.y());
}

bool TPictureViewport::Zoom(int level, const TBitmap& picture, std::optional<QPoint> anchor) {
    const QPoint at = anchor.value_or(ScrollBox_.viewport()->rect().center());
    // The anchor's picture position in fractions of a pixel. A scroll position holds whole
    // screen pixels, which at 12.5 % are eight picture pixels; while nothing has scrolled since
    // the last zoom around the same point, that zoom's exact position is taken again, so that
    // zooming out and back in returns to the pixel the user started from.
    const QPoint scroll = ScrollPosition();
    if (!LastAnchor_ || LastAnchor_->Scroll != scroll || LastAnchor_->At != at) {
        const double scale = std::ldexp(1.0, View_.Level());
        LastAnchor_ = TAnchor{at, scroll, (scroll.x() + at.x()) / scale, (scroll.y() + at.y()) / scale};
    }
    if (!View_.SetLevel(level)) return false;
    const QSize size = View_.ViewSize(picture.Width(), picture.Height());
    Control_.setFixedSize(std::max(size.width(), 1), std::max(size.height(), 1));
    const double scale = std::ldexp(1.0, View_.Level());
    SetScrollPosition(QPoint(int(std::lround(LastAnchor_->PictureX * scale)) - at.x(),
                             int(std::lround(LastAnchor_->PictureY * scale)) - at.y()));
    LastAnchor_->Scroll = ScrollPosition();
    Control_.update();
    return true;
}

QPoint TPictureViewport::FirstVisiblePixel() const {
    const QPoint scroll = ScrollPosition();
    QPoint pixel = View_.PictureOf(scroll);
    // A pixel cut by the viewport's edge is not in sight; the next one is.
    const QPoint shown = View_.ViewOf(pixel);
    if (shown.x() < scroll.x()) pixel.rx() += 1;
    if (shown.y() < scroll.y()) pixel.ry() += 1;
    return pixel;
}

void TPictureViewport::ScrollToPicture(QPoint picture) {
    SetScrollPosition(View_.ViewOf(picture));
}

void TPictureViewport::Paint(QPainter& painter, const QRect& exposed, const TBitmap& picture, int stepX,
                             int stepY) const {
    QImage image = View_.Paint(picture, &Reduced_, exposed);
    if (Grid_) View_.DrawGrid(image, exposed, QSize(picture.Width(), picture.Height()), stepX, stepY);
    painter.drawImage(exposed.topLeft(), image);
}

void TPictureViewport::PaintFloating(QPainter& painter, const QRect& exposed, const TBitmap& floating,
                                     QPoint origin, std::optional<TColor> transparent) const {
    const QPoint corner =
        View_.ViewOfImage(Bounds(origin.x(), origin.y(), floating.Width(), floating.Height())).topLeft();
    painter.drawImage(exposed.topLeft(),
                      View_.PaintImage(floating, origin, exposed.translated(corner), transparent));
}
