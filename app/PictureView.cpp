#include "PictureView.h"

#include "BitmapImage.h"

#include <QPaintEvent>
#include <QPainter>

TPictureView::TPictureView(const TBitmap& picture, QWidget* parent) : QWidget(parent), Picture_(picture) {
    setFixedSize(picture.Width(), picture.Height());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPictureView::paintEvent(QPaintEvent* event) {
    const QRect exposed = event->rect();
    const QImage part = ImageOfRect(
        Picture_, TRect{exposed.left(), exposed.top(), exposed.right() + 1, exposed.bottom() + 1});
    QPainter painter(this);
    if (!part.isNull()) painter.drawImage(exposed.topLeft(), part);
}
