// SPDX-License-Identifier: GPL-3.0-or-later
// The picture area's tests need widgets; the application outlives them all.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Test discovery runs this program without the test environment: never look for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
