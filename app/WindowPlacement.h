// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

#include <vector>

// Where a window stored by an earlier run opens. It stays where it was when the user can still
// grab it: a strip of its top edge at least kGripWidth × kGripHeight pixels (the whole width
// of a narrower window) lies inside one screen's available area. Its size is then limited to
// that screen. Otherwise (a monitor since removed, a title bar pushed above the screen) it is
// centred on the first area, the primary screen's, at the size that screen allows. With no
// screens at all the stored rectangle is kept as it is.
constexpr int kGripWidth = 100;
constexpr int kGripHeight = 20;

QRect PlaceStoredWindow(const QRect& stored, const std::vector<QRect>& availableAreas);
