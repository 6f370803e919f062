// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

// What `tessimap [FILE]` was asked to do. The command line is read before the window system is
// touched, so --help, --version and a wrong use answer even where no display is available.
struct TEditorCommandLine {
    enum class TAction { Run, Help, Version, Error };
    TAction Action = TAction::Run;
    std::string StartFile; // the picture to open at start-up; empty for a new picture
    // --recover: a recovery journal another window was told to reopen, recovered without asking.
    std::string RecoverJournal;
    std::string Problem; // with Error: what is wrong, for the user
};

// Parses the arguments without the program name. Options the toolkit reads itself (-platform,
// -style …) are let through for it.
TEditorCommandLine ParseEditorCommandLine(const std::vector<std::string>& arguments);

std::string EditorUsage();
std::string EditorVersionText();

// Exit status of a wrong use of either program, as the shell's own tools use it.
constexpr int UsageExitStatus = 2;

// Prints the help or version text on out, or the problem and a hint on err, for every action
// but Run; returns the exit status.
int AnswerWithoutWindow(const TEditorCommandLine& command, std::ostream& out, std::ostream& err);
