// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include <algorithm>

namespace {

bool TopStripInside(const QRect& window, const QRect& area) {
    const QRect strip(window.left(), window.top(), window.width(), kGripHeight);
    const QRect inside = strip.intersected(area);
    return inside.height() >= kGripHeight && inside.width() >= std::min(kGripWidth, window.width());
}

QSize LimitedTo(const QSize& size, const QRect& area) {
    return size.boundedTo(area.size());
}

} // namespace

QRect PlaceStoredWindow(const QRect& stored, const std::vector<QRect>& availableAreas) {
    if (availableAreas.empty()) return stored;
    for (const QRect& area : availableAreas)
        if (TopStripInside(stored, area)) return QRect(stored.topLeft(), LimitedTo(stored.size(), area));
    const QRect& primary = availableAreas.front();
    const QSize size = LimitedTo(stored.size(), primary);
    // Integer halves, as the first start centres a window with no stored place.
    return QRect(primary.left() + (primary.width() - size.width()) / 2,
                 primary.top() + (primary.height() - size.height()) / 2, size.width(), size.height());
}
