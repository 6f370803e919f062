// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapMimeData.h"

#include <QBuffer>
#include <QImage>

namespace {

const QString PngType = QStringLiteral("image/png");
const QString QtImageType = QStringLiteral("application/x-qt-image");

} // namespace

TBitmapMimeData::TBitmapMimeData(TImageCopy pixels) : Pixels_(std::move(pixels)) {
    if (Pixels_.PixelFormat() != TPixelFormat::pf24bit)
        Pixels_ = TImageCopy(Pixels_.Bitmap().Converted(TPixelFormat::pf24bit), TBitmapRing());
}

QStringList TBitmapMimeData::formats() const {
    return {QtImageType, PngType};
}

bool TBitmapMimeData::hasFormat(const QString& mimeType) const {
    return mimeType == QtImageType || mimeType == PngType;
}

QVariant TBitmapMimeData::retrieveData(const QString& mimeType, QMetaType) const {
    if (Pixels_.Empty() || (mimeType != QtImageType && mimeType != PngType)) return {};
    // The true pixels are put together only now, and only for as long as this request.
    const TBitmap pixels = Pixels_.Bitmap();
    // The bitmap's rows run top down, blue, green, red, padded as a QImage's are.
    const QImage view(pixels.ScanLine(0), pixels.Width(), pixels.Height(), qsizetype(pixels.RowBytes()),
                      QImage::Format_BGR888);
    if (mimeType == QtImageType) return QVariant(view.copy());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Fastest compression: the receiving program decodes it at once, and a large picture
    // should not keep it waiting.
    if (!view.save(&buffer, "PNG", 90)) return {};
    return bytes;
}
