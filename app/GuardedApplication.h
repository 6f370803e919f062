// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <exception>

// The application whose event delivery is the one guard around every handler: a menu command,
// shortcut, toolbar button, mouse, key, wheel or timer handler of any window or dialog that
// raises an error shows its message and the program carries on. Qt cannot carry an exception
// through its event loop, so it must end here, where every event passes.
class TGuardedApplication : public QApplication {
  public:
    TGuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows a failed command's error the way the main window shows errors: out of memory with
    // the document's out-of-memory text and warning title, anything else as its message.
    static void ReportFailure(const std::exception* error);
};
