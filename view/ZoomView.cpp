// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZoomView.h"

#include "RowCodec.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Division that rounds towards minus infinity, so points left of or above the picture map to
// pixels off it rather than onto its first row or column.
int FloorDiv(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

int CeilDiv(int value, int divisor) {
    return -FloorDiv(-value, divisor);
}

std::uint32_t Brightness(QRgb p) {
    return (std::uint32_t(qRed(p)) * 3 + std::uint32_t(qGreen(p)) * 4 + std::uint32_t(qBlue(p))) / 8;
}

// Inverting a middle grey gives a middle grey; such pixels take black or white instead.
constexpr int MinInvertedDistance = 96;

QRgb ContrastingDot(QRgb p) {
    const auto distance = [](int channel) { return std::abs(255 - 2 * channel); };
    if (std::max({distance(qRed(p)), distance(qGreen(p)), distance(qBlue(p))}) >= MinInvertedDistance)
        return p ^ 0x00FFFFFFu;
    return Brightness(p) >= 128 ? 0xFF000000u : 0xFFFFFFFFu;
}

// The view columns (or rows) within [first, end) on which a grid line of the given step falls,
// as flags from `first` on.
std::vector<char> GridLines(const TZoomView& view, int first, int end, int pictureExtent, int step,
                            bool columns) {
    std::vector<char> lines(std::size_t(std::max(end - first, 0)), 0);
    const auto viewOf = [&](int p) {
        return columns ? view.ViewOf(QPoint(p, 0)).x() : view.ViewOf(QPoint(0, p)).y();
    };
    const QPoint firstPicture = view.PictureOf(QPoint(first, first));
    int n = std::max((columns ? firstPicture.x() : firstPicture.y()) / step - 1, 0);
    for (; n * std::int64_t(step) < pictureExtent; ++n) {
        const int at = viewOf(n * step);
        if (at >= end) break;
        if (at >= first) lines[std::size_t(at - first)] = 1;
    }
    return lines;
}

} // namespace

bool TZoomView::SetLevel(int level) {
    level = std::clamp(level, MinLevel, MaxLevel);
    if (level == Level_) return false;
    Level_ = level;
    return true;
}

int TZoomView::PerMille() const {
    return Level_ >= 0 ? 1000 << Level_ : 1000 >> -Level_;
}

int TZoomView::FitLevel(QSize picture, QSize area) {
    TZoomView view;
    for (int level = MaxLevel; level > MinLevel; --level) {
        view.SetLevel(level);
        const QSize size = view.ViewSize(picture.width(), picture.height());
        if (size.width() <= area.width() && size.height() <= area.height()) return level;
    }
    return MinLevel;
}

QSize TZoomView::ViewSize(int pictureWidth, int pictureHeight) const {
    if (Level_ >= 0) return QSize(pictureWidth << Level_, pictureHeight << Level_);
    return QSize(CeilDiv(pictureWidth, 1 << -Level_), CeilDiv(pictureHeight, 1 << -Level_));
}

QPoint TZoomView::PictureOf(QPoint view) const {
    if (Level_ >= 0) return QPoint(FloorDiv(view.x(), 1 << Level_), FloorDiv(view.y(), 1 << Level_));
    return QPoint(view.x() * (1 << -Level_), view.y() * (1 << -Level_));
}

QPoint TZoomView::ViewOf(QPoint picture) const {
    if (Level_ >= 0) return QPoint(picture.x() * (1 << Level_), picture.y() * (1 << Level_));
    return QPoint(FloorDiv(picture.x(), 1 << -Level_), FloorDiv(picture.y(), 1 << -Level_));
}

QRect TZoomView::ViewOf(const TRect& picture) const {
    if (Level_ >= 0) {
        const int f = 1 << Level_;
        return QRect(picture.Left * f, picture.Top * f, picture.Width() * f, picture.Height() * f);
    }
    const int f = 1 << -Level_;
    const int left = FloorDiv(picture.Left, f), top = FloorDiv(picture.Top, f);
    return QRect(left, top, CeilDiv(picture.Right, f) - left, CeilDiv(picture.Bottom, f) - top);
}

TRect TZoomView::PictureOf(const QRect& view) const {
    const int right = view.x() + view.width(), bottom = view.y() + view.height();
    if (Level_ >= 0) {
        const int f = 1 << Level_;
        return TRect{FloorDiv(view.x(), f), FloorDiv(view.y(), f), CeilDiv(right, f), CeilDiv(bottom, f)};
    }
    const int f = 1 << -Level_;
    return TRect{view.x() * f, view.y() * f, right * f, bottom * f};
}

namespace {

// Magnified: each decoded picture row is widened once and copied to the screen rows it covers.
void PaintMagnified(const TBitmap& bitmap, int level, const QRect& exposed, const QRect& shown,
                    QImage& image) {
    const int f = 1 << level;
    const int left = shown.left() >> level, width = (shown.right() >> level) + 1 - left;
    const bool direct = bitmap.PixelFormat() == TPixelFormat::pf24bit;
    std::vector<std::uint8_t> decoded(direct ? 0 : std::size_t(width) * 3);
    const auto target = [&](int vy) {
        return reinterpret_cast<QRgb*>(image.scanLine(vy - exposed.top())) + (shown.left() - exposed.left());
    };
    for (int py = shown.top() >> level; py <= shown.bottom() >> level; ++py) {
        const std::uint8_t* bgr = bitmap.ScanLine(py) + std::size_t(left) * 3;
        if (!direct) {
            RowCodec::DecodeSpan(bitmap.PixelFormat(), bitmap.ColorTable(), bitmap.ScanLine(py), left, width,
                                 decoded.data());
            bgr = decoded.data();
        }
        const int firstRow = std::max(shown.top(), py * f),
                  rowEnd = std::min(shown.bottom() + 1, (py + 1) * f);
        QRgb* line = target(firstRow);
        for (int vx = shown.left(); vx <= shown.right(); ++vx) {
            const std::uint8_t* p = bgr + std::size_t((vx >> level) - left) * 3;
            *line++ = 0xFF000000u | QRgb(p[2]) << 16 | QRgb(p[1]) << 8 | p[0];
        }
        for (int vy = firstRow + 1; vy < rowEnd; ++vy)
            std::memcpy(target(vy), target(firstRow), std::size_t(shown.width()) * sizeof(QRgb));
    }
}

// Reduced without averaging: the pixel at the centre of each block (or of the part of it on the
// bitmap), one read per screen pixel.
void PaintSampled(const TBitmap& bitmap, int shift, const QRect& exposed, const QRect& shown, QImage& image) {
    const int half = (1 << shift) / 2;
    for (int vy = shown.top(); vy <= shown.bottom(); ++vy) {
        const int py = std::min((vy << shift) + half, bitmap.Height() - 1);
        auto* out =
            reinterpret_cast<QRgb*>(image.scanLine(vy - exposed.top())) + (shown.left() - exposed.left());
        for (int vx = shown.left(); vx <= shown.right(); ++vx) {
            const TColor c = bitmap.Pixel(std::min((vx << shift) + half, bitmap.Width() - 1), py);
            *out++ = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
        }
    }
}

} // namespace

QImage TZoomView::Paint(const TBitmap& bitmap, const TReducedCopies* reduced, const QRect& exposed) const {
    QImage image(exposed.size(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    const QSize size = ViewSize(bitmap.Width(), bitmap.Height());
    const QRect shown = exposed.intersected(QRect(QPoint(0, 0), size));
    if (shown != exposed) image.fill(Qt::black);
    if (shown.isEmpty()) return image;
    if (Level_ >= 0) {
        PaintMagnified(bitmap, Level_, exposed, shown, image);
        return image;
    }
    const int shift = -Level_;
    QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(shown.top() - exposed.top())) +
                (shown.left() - exposed.left());
    const std::size_t stride = std::size_t(image.bytesPerLine()) / sizeof(QRgb);
    const TReducedImage* copy = reduced ? reduced->Find(shift, bitmap.Width(), bitmap.Height()) : nullptr;
    if (!copy) {
        if ((std::int64_t(shown.width()) * shown.height() << 2 * shift) > AveragingBudget) {
            PaintSampled(bitmap, shift, exposed, shown, image);
            return image;
        }
        const TRect blocks{shown.left(), shown.top(), shown.right() + 1, shown.bottom() + 1};
        AverageBlocks(bitmap, shift, blocks, out, stride);
        return image;
    }
    for (int vy = shown.top(); vy <= shown.bottom(); ++vy, out += stride)
        std::memcpy(out, copy->Row(vy) + shown.left(), std::size_t(shown.width()) * sizeof(QRgb));
    return image;
}

namespace {

QImage KeyedOut(const QImage& painted, TColor transparent) {
    QImage image = painted.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(GetRValue(transparent), GetGValue(transparent), GetBValue(transparent));
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] == key) row[x] = 0;
    }
    return image;
}

} // namespace

QImage TZoomView::PaintKeyed(const TBitmap& bitmap, const QRect& exposed, TColor transparent) const {
    QImage image(exposed.size(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    const QRect shown = exposed.intersected(QRect(QPoint(0, 0), ViewSize(bitmap.Width(), bitmap.Height())));
    if (shown != exposed) image.fill(Qt::black);
    if (!shown.isEmpty()) {
        if (Level_ >= 0)
            PaintMagnified(bitmap, Level_, exposed, shown, image);
        else
            PaintSampled(bitmap, -Level_, exposed, shown, image);
    }
    return KeyedOut(image, transparent);
}

QRect TZoomView::ViewOfImage(const TRect& picture) const {
    if (Level_ >= 0) return ViewOf(picture);
    const int f = 1 << -Level_, half = f / 2;
    const auto side = [&](int first, int end) {
        int from = CeilDiv(first - half, f), to = CeilDiv(end - half, f);
        if (to <= from && end > first) {
            from = FloorDiv(first + (end - first) / 2, f);
            to = from + 1;
        }
        return std::pair(from, to);
    };
    const auto [left, right] = side(picture.Left, picture.Right);
    const auto [top, bottom] = side(picture.Top, picture.Bottom);
    return QRect(left, top, right - left, bottom - top);
}

QImage TZoomView::PaintImage(const TBitmap& bitmap, QPoint origin, const QRect& exposed,
                             std::optional<TColor> transparent) const {
    const int f = 1 << std::abs(Level_);
    // On the block grid the bitmap's own blocks are the picture's: the usual painting serves.
    if (Level_ >= 0 || (origin.x() % f == 0 && origin.y() % f == 0)) {
        const QRect local = exposed.translated(-ViewOf(origin));
        return transparent ? PaintKeyed(bitmap, local, *transparent) : Paint(bitmap, nullptr, local);
    }
    QImage image(exposed.size(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::black);
    const bool sampled =
        transparent || (std::int64_t(exposed.width()) * exposed.height() * f * f > AveragingBudget);
    for (int vy = exposed.top(); vy <= exposed.bottom(); ++vy) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(vy - exposed.top()));
        const int top = std::max(vy * f - origin.y(), 0),
                  bottom = std::min(vy * f + f - origin.y(), bitmap.Height());
        for (int vx = exposed.left(); vx <= exposed.right(); ++vx, ++out) {
            const int left = std::max(vx * f - origin.x(), 0),
                      right = std::min(vx * f + f - origin.x(), bitmap.Width());
            if (left >= right || top >= bottom) continue;
            if (sampled) {
                const TColor c = bitmap.Pixel(std::clamp(vx * f + f / 2 - origin.x(), left, right - 1),
                                              std::clamp(vy * f + f / 2 - origin.y(), top, bottom - 1));
                *out = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
                continue;
            }
            std::uint32_t red = 0, green = 0, blue = 0;
            for (int y = top; y < bottom; ++y)
                for (int x = left; x < right; ++x) {
                    const TColor c = bitmap.Pixel(x, y);
                    red += GetRValue(c);
                    green += GetGValue(c);
                    blue += GetBValue(c);
                }
            const std::uint32_t count = std::uint32_t((right - left) * (bottom - top)), half = count / 2;
            *out = qRgb(int((red + half) / count), int((green + half) / count), int((blue + half) / count));
        }
    }
    return transparent ? KeyedOut(image, *transparent) : image;
}

bool TZoomView::GridShows(int stepX, int stepY) const {
    const int cell = std::min(stepX, stepY);
    if (cell <= 0) return false;
    return Level_ >= 0 ? std::int64_t(cell) << Level_ >= MinGridCell : cell >> -Level_ >= MinGridCell;
}

void TZoomView::DrawGrid(QImage& image, const QRect& exposed, QSize picture, int stepX, int stepY) const {
    if (!GridShows(stepX, stepY)) return;
    const QRect shown = exposed.intersected(QRect(QPoint(0, 0), ViewSize(picture.width(), picture.height())));
    if (shown.isEmpty()) return;
    const int x0 = shown.left(), x1 = shown.right() + 1, y0 = shown.top(), y1 = shown.bottom() + 1;
    const std::vector<char> columns = GridLines(*this, x0, x1, picture.width(), stepX, true);
    const std::vector<char> rows = GridLines(*this, y0, y1, picture.height(), stepY, false);
    const auto pixel = [&](int x, int y) -> QRgb& {
        return reinterpret_cast<QRgb*>(image.scanLine(y - exposed.top()))[x - exposed.left()];
    };
    // Dots sit on even view coordinates; where two lines cross, only the column draws.
    for (int x = x0; x < x1; ++x)
        if (columns[std::size_t(x - x0)])
            for (int y = y0 + (y0 & 1); y < y1; y += 2)
                pixel(x, y) = ContrastingDot(pixel(x, y));
    for (int y = y0; y < y1; ++y)
        if (rows[std::size_t(y - y0)])
            for (int x = x0 + (x0 & 1); x < x1; x += 2)
                if (!columns[std::size_t(x - x0)]) pixel(x, y) = ContrastingDot(pixel(x, y));
}
