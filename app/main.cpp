// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIdentity.h"
#include "CommandLine.h"
#include "Form1.h"
#include "GuardedApplication.h"
#include "QtModal.h"

#include <QApplication>

#include <iostream>

int main(int argc, char* argv[]) {
    const TEditorCommandLine command = ParseEditorCommandLine({argv + 1, argv + argc});
    if (command.Action != TEditorCommandLine::TAction::Run)
        return AnswerWithoutWindow(command, std::cout, std::cerr);
    TGuardedApplication application(argc, argv);
    SetApplicationIdentity();
    TQtModal modal;
    TForm1 form(modal);
    modal.SetParent(&form);
    form.SetStartFile(command.StartFile);
    form.SetRecoverJournal(command.RecoverJournal);
    form.show();
    return application.exec();
}
