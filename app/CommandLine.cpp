// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

#ifndef TESSIMAP_VERSION
#define TESSIMAP_VERSION "unknown"
#endif

namespace {

// The toolkit's own options; the window system takes them out of the argument list itself.
constexpr std::array<std::string_view, 11> ToolkitOptionsWithValue = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",  "style",  "stylesheet",
    "qwindowgeometry", "qwindowtitle",       "qwindowicon",   "display", "session"};
constexpr std::array<std::string_view, 5> ToolkitFlags = {"reverse", "nograb", "dograb", "sync",
                                                          "widgetcount"};

template <std::size_t N> bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// "-style" and "--style" both reach the toolkit; "-style=fusion" carries its value along.
std::string_view ToolkitOptionName(std::string_view argument) {
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument.substr(0, argument.find('='));
}

TEditorCommandLine Problem(std::string text) {
    TEditorCommandLine result;
    result.Action = TEditorCommandLine::TAction::Error;
    result.Problem = std::move(text);
    return result;
}

} // namespace

std::string EditorUsage() {
    return "usage: tessimap [FILE]\n"
           "Builds large pictures by stamping small images onto a step grid.\n"
           "  FILE           a BMP picture to open at start-up\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "  --recover JOURNAL\n"
           "                 reopen an unsaved picture kept after a crash (another window\n"
           "                 starts the editor so when it recovers more than one)\n";
}

std::string EditorVersionText() {
    return std::string("tessimap ") + TESSIMAP_VERSION +
           "\nLicensed under the GNU GPL, version 3 or later.\n";
}

TEditorCommandLine ParseEditorCommandLine(const std::vector<std::string>& arguments) {
    TEditorCommandLine result;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const bool isOption = !optionsEnded && a.size() > 1 && a[0] == '-';
        if (!isOption) {
            if (!result.StartFile.empty())
                return Problem("only one picture can be opened, not \"" + a + "\" too");
            if (a.empty()) return Problem("the picture's file name is empty");
            // The picture keeps the name it was opened under; a relative one would change meaning
            // with the working folder. Without a working folder the name stays as given.
            std::error_code noFolder;
            const std::filesystem::path absolute = std::filesystem::absolute(a, noFolder);
            result.StartFile = noFolder ? a : absolute.lexically_normal().string();
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--recover") {
            if (++i >= arguments.size() || arguments[i].empty()) return Problem("--recover needs a journal");
            result.RecoverJournal = arguments[i];
        } else if (a == "-h" || a == "--help") {
            result.Action = TEditorCommandLine::TAction::Help;
            return result;
        } else if (a == "-v" || a == "--version") {
            result.Action = TEditorCommandLine::TAction::Version;
            return result;
        } else if (const std::string_view name = ToolkitOptionName(a);
                   Contains(ToolkitOptionsWithValue, name)) {
            if (a.find('=') == std::string::npos && ++i >= arguments.size())
                return Problem(a + " needs a value");
        } else if (!Contains(ToolkitFlags, name)) {
            return Problem("unknown option " + a);
        }
    }
    return result;
}

int AnswerWithoutWindow(const TEditorCommandLine& command, std::ostream& out, std::ostream& err) {
    switch (command.Action) {
    case TEditorCommandLine::TAction::Help:
        out << EditorUsage();
        return 0;
    case TEditorCommandLine::TAction::Version:
        out << EditorVersionText();
        return 0;
    case TEditorCommandLine::TAction::Error:
        err << "tessimap: " << command.Problem << "\nTry 'tessimap --help' for more information.\n";
        return UsageExitStatus;
    case TEditorCommandLine::TAction::Run:
        break;
    }
    return 0;
}
