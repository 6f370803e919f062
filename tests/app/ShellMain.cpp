// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt application must outlive every window and die before Qt's own globals.

#include "GuardedApplication.h"

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Test discovery runs this program without the test environment: never look for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TGuardedApplication application(argc, argv); // as the program runs, with its guard
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
