#include "BitmapImage.h"

#include "RowCodec.h"

#include <algorithm>
#include <cstring>

QImage ImageOfRect(const TBitmap& bitmap, const TRect& rect) {
    const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
    const int right = std::min(rect.Right, bitmap.Width()), bottom = std::min(rect.Bottom, bitmap.Height());
    if (right <= left || bottom <= top) return QImage();
    QImage image(right - left, bottom - top, QImage::Format_BGR888);
    if (image.isNull()) return image;
    for (int y = top; y < bottom; ++y)
        RowCodec::DecodeSpan(bitmap.PixelFormat(), bitmap.ColorTable(), bitmap.ScanLine(y), left, right - left,
                             image.scanLine(y - top));
    return image;
}

QImage ImageOfBitmap(const TBitmap& bitmap) {
    return ImageOfRect(bitmap, TRect{0, 0, bitmap.Width(), bitmap.Height()});
}

TBitmap BitmapOfImage(const QImage& image) {
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    TBitmap bitmap(bgr.width(), bgr.height(), TPixelFormat::pf24bit);
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(bitmap.ScanLine(y), bgr.constScanLine(y), std::size_t(bgr.width()) * 3);
    return bitmap;
}
