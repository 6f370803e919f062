// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapMimeData.h"

#include <QBuffer>
#include <QImage>

namespace {

const QString PngType = QStringLiteral("image/png");
const QString QtImageType = QStringLiteral("application/x-qt-image");

} // namespace

TBitmapMimeData::TBitmapMimeData(TBitmap pixels) : Pixels_(std::move(pixels)) {
    if (Pixels_.PixelFormat() != TPixelFormat::pf24bit) Pixels_.SetPixelFormat(TPixelFormat::pf24bit);
}

QStringList TBitmapMimeData::formats() const {
    return {QtImageType, PngType};
}

bool TBitmapMimeData::hasFormat(const QString& mimeType) const {
    return mimeType == QtImageType || mimeType == PngType;
}

QImage TBitmapMimeData::View() const {
    // The bitmap's rows run top down, blue, green, red, padded as a QImage's are.
    return QImage(Pixels_.ScanLine(0), Pixels_.Width(), Pixels_.Height(), qsizetype(Pixels_.RowBytes()),
                  QImage::Format_BGR888);
}

QVariant TBitmapMimeData::retrieveData(const QString& mimeType, QMetaType) const {
    if (Pixels_.Empty()) return {};
    if (mimeType == QtImageType) return QVariant(View().copy());
    if (mimeType == PngType) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        // Fastest compression: the receiving program decodes it at once, and a large picture
        // should not keep it waiting.
        if (!View().save(&buffer, "PNG", 90)) return {};
        return bytes;
    }
    return {};
}
