// SPDX-License-Identifier: GPL-3.0-or-later
#include "GuardedApplication.h"

#include "Errors.h"
#include "Form1.h"

#include <QMessageBox>

#include <new>

namespace {

// The main window whose document texts and modal interface messages go through.
TForm1* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* form = dynamic_cast<TForm1*>(widget)) return form;
    return nullptr;
}

bool IsOutOfMemory(const std::exception* error) {
    return !error || dynamic_cast<const std::bad_alloc*>(error) || dynamic_cast<const EOutOfMemory*>(error);
}

} // namespace

TGuardedApplication::TGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportFailure(&error);
    } catch (...) {
        ReportFailure(nullptr);
    }
    return false;
}

void TGuardedApplication::ReportFailure(const std::exception* error) {
    TForm1* form = MainWindow();
    if (!form) {
        QMessageBox::warning(nullptr, "Warning", IsOutOfMemory(error) ? "Out of memory" : error->what());
        return;
    }
    const bool outOfMemory = IsOutOfMemory(error);
    form->Document().ReportFailure(outOfMemory, outOfMemory ? std::string() : error->what());
}
