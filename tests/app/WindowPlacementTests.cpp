// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

// Two screens side by side: a 1920 × 1080 primary whose bottom 40 rows are a panel, and a
// 1280 × 1024 one to its right.
const std::vector<QRect> kScreens{QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};

struct TPlacementCase {
    const char* Name;
    QRect Stored;
    QRect Expected;
};

class WindowPlacement : public testing::TestWithParam<TPlacementCase> {};

TEST_P(WindowPlacement, KeepsAGrabbableWindowElseCentresIt) {
    EXPECT_EQ(PlaceStoredWindow(GetParam().Stored, kScreens), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowPlacement,
    testing::Values(
        TPlacementCase{"Inside", QRect(80, 80, 1600, 1000), QRect(80, 80, 1600, 1000)},
        TPlacementCase{"OnTheTopEdge", QRect(0, 0, 700, 500), QRect(0, 0, 700, 500)},
        // 100 pixels of the top edge still on the primary screen, the rest off its left side.
        TPlacementCase{"GripOfExactly100", QRect(-600, 300, 700, 500), QRect(-600, 300, 700, 500)},
        TPlacementCase{"GripOf99", QRect(-601, 300, 700, 500), QRect(610, 270, 700, 500)},
        // The title bar above the screen cannot be grabbed, however much of the body shows.
        TPlacementCase{"TopAboveTheScreen", QRect(100, -1, 700, 500), QRect(610, 270, 700, 500)},
        TPlacementCase{"StripBehindThePanel", QRect(100, 1021, 700, 500), QRect(610, 270, 700, 500)},
        TPlacementCase{"LowestGrabbableTop", QRect(100, 1020, 700, 500), QRect(100, 1020, 700, 500)},
        TPlacementCase{"MonitorRemoved", QRect(4000, 200, 700, 500), QRect(610, 270, 700, 500)},
        // Kept on the second screen and limited to its size, not the primary's.
        TPlacementCase{"SecondScreenLimitsSize", QRect(2000, 10, 1900, 1900), QRect(2000, 10, 1280, 1024)},
        TPlacementCase{"LargerThanPrimary", QRect(0, 0, 3000, 2000), QRect(0, 0, 1920, 1040)},
        TPlacementCase{"CentredAndLimited", QRect(0, -50, 3000, 2000), QRect(0, 0, 1920, 1040)},
        // A window narrower than the grip needs only its whole width inside.
        TPlacementCase{"NarrowWindow", QRect(1850, 5, 70, 70), QRect(1850, 5, 70, 70)},
        // Straddling the two screens: neither holds a 100-pixel strip on its own.
        TPlacementCase{"StraddlesTwoScreensWithTooLittleOnEach", QRect(1860, 1030, 150, 300),
                       QRect(885, 370, 150, 300)}),
    [](const testing::TestParamInfo<TPlacementCase>& info) { return std::string(info.param.Name); });

TEST(WindowPlacementWithoutScreens, KeepsTheStoredRectangle) {
    EXPECT_EQ(PlaceStoredWindow(QRect(-5000, -5000, 10, 10), {}), QRect(-5000, -5000, 10, 10));
}

} // namespace
