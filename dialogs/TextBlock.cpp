// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextBlock.h"

#include "DialogControls.h"
#include "Errors.h"
#include "MemoryGuard.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int ScreenDotsPerInch = 96;
constexpr int PointsPerInch = 72;
constexpr int BytesPerBlockPixel = 4; // the block is drawn in 32-bit form

} // namespace

QFont TextFont(const QString& family, int points, bool bold, bool italic, bool underline) {
    QFont font(family);
    font.setPixelSize(std::max(1, int(std::lround(double(points) * ScreenDotsPerInch / PointsPerInch))));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QImage RenderTextBlock(const QStringList& lines, const QFont& font, TColor text, TColor background) {
    const QFontMetrics metrics(font);
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const int lineHeight = metrics.height();
    if (width <= 0 || lineHeight <= 0 || lines.isEmpty()) return QImage();
    const std::uint64_t height = CheckedProduct(std::uint64_t(lines.size()), std::uint64_t(lineHeight));
    if (height > std::uint64_t(std::numeric_limits<int>::max() / 2)) throw EOutOfMemory();
    CheckAllocatable(CheckedProduct(CheckedProduct(std::uint64_t(width), height), BytesPerBlockPixel));
    QImage block(width, int(height), QImage::Format_RGB32);
    if (block.isNull()) throw EOutOfMemory();

    QPainter painter(&block);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    // The block with its one-pixel outline; each line's cell then covers the outline it reaches.
    painter.fillRect(block.rect(), QColorOf(background));
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(0, 0, width - 1, int(height) - 1);
    painter.setFont(font);
    painter.setPen(QColorOf(text));
    for (int i = 0; i < lines.size(); ++i) {
        const int top = i * lineHeight;
        painter.fillRect(0, top, metrics.horizontalAdvance(lines[i]), lineHeight, QColorOf(background));
        painter.drawText(0, top + metrics.ascent(), lines[i]);
    }
    return block;
}
