#include "ImageControls.h"

#include "BitmapImage.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {

// The picture rectangle behind a control rectangle at the given magnification, rounded outwards.
TRect PictureRectOf(const QRect& control, int zoom) {
    return TRect{control.left() / zoom, control.top() / zoom, (control.right() + zoom) / zoom,
                 (control.bottom() + zoom) / zoom};
}

// The part of a bitmap as an image in which the transparent colour lets the parent show through.
QImage WithTransparentColor(QImage part, TColor transparent) {
    QImage image = part.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(GetRValue(transparent), GetGValue(transparent), GetBValue(transparent));
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] == key) row[x] = 0;
    }
    return image;
}

} // namespace

TPictureControl::TPictureControl(const TPictureDocument& document, TImageControlHost& host, QWidget* parent)
    : QWidget(parent), Document_(document), Host_(host) {
    setObjectName("Image1");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // the status bar follows the mouse with no button held
}

void TPictureControl::paintEvent(QPaintEvent* event) {
    const int zoom = std::max(Host_.ZoomFactor(), 1);
    const QRect exposed = event->rect();
    const TRect source = PictureRectOf(exposed, zoom);
    const QImage part = ImageOfRect(Document_.Picture(), source);
    QPainter painter(this);
    if (part.isNull()) {
        painter.fillRect(exposed, Qt::black);
        return;
    }
    const QRect target(source.Left * zoom, source.Top * zoom, part.width() * zoom, part.height() * zoom);
    painter.drawImage(target, part);
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
    const TBitmap& floating = Document_.Floating().Bitmap;
    if (floating.Empty() || width() <= 0 || height() <= 0) return;
    // The control may be larger than its bitmap by the zoom factor (a selection being dragged).
    const double scaleX = double(width()) / floating.Width(), scaleY = double(height()) / floating.Height();
    const QRect exposed = event->rect();
    const TRect source{int(exposed.left() / scaleX), int(exposed.top() / scaleY),
                       int((exposed.right() + 1) / scaleX + 0.999),
                       int((exposed.bottom() + 1) / scaleY + 0.999)};
    QImage part = ImageOfRect(floating, source);
    if (part.isNull()) return;
    if (Document_.Floating().DisplayTransparent)
        part = WithTransparentColor(std::move(part), Document_.Options().TransparentColor);
    QPainter painter(this);
    const QRectF target(source.Left * scaleX, source.Top * scaleY, part.width() * scaleX,
                        part.height() * scaleY);
    painter.drawImage(target, part);
}

void TFloatingControl::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Host_.Image2MouseDown(event->button(), at.x(), at.y());
}

void TFloatingControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Host_.Image2MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
}
