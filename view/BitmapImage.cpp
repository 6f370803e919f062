// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapImage.h"

#include "RowCodec.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// BGR triples to the screen's 32-bit form (0xffRRGGBB), so painting is a plain copy.
void ExpandToRgb32(const std::uint8_t* bgr, int count, QRgb* out) {
    for (int x = 0; x < count; ++x, bgr += 3)
        out[x] = 0xFF000000u | (QRgb(bgr[2]) << 16) | (QRgb(bgr[1]) << 8) | bgr[0];
}

} // namespace

QImage ImageOfRect(const TBitmap& bitmap, const TRect& rect) {
    const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
    const int right = std::min(rect.Right, bitmap.Width()), bottom = std::min(rect.Bottom, bitmap.Height());
    if (right <= left || bottom <= top) return QImage();
    const int width = right - left;
    QImage image(width, bottom - top, QImage::Format_RGB32);
    if (image.isNull()) return image;
    const bool direct = bitmap.PixelFormat() == TPixelFormat::pf24bit;
    std::vector<std::uint8_t> row(direct ? 0 : std::size_t(width) * 3);
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* bgr = bitmap.ScanLine(y) + std::size_t(left) * 3;
        if (!direct) {
            RowCodec::DecodeSpan(bitmap.PixelFormat(), bitmap.ColorTable(), bitmap.ScanLine(y), left, width,
                                 row.data());
            bgr = row.data();
        }
        ExpandToRgb32(bgr, width, reinterpret_cast<QRgb*>(image.scanLine(y - top)));
    }
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
