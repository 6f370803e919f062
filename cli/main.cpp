// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportArguments.h"
#include "ExportCommands.h"

#include <iostream>
#include <stdexcept>

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    TExportArguments parsed;
    try {
        parsed = ParseExportArguments(arguments);
    } catch (const std::invalid_argument& e) {
        std::cerr << "tessimap-export: " << e.what()
                  << "\nTry 'tessimap-export --help' for more information.\n";
        return ExportUsageExitStatus;
    }
    if (parsed.Action == TExportArguments::TAction::Help) {
        std::cout << ExportUsage();
        return 0;
    }
    if (parsed.Action == TExportArguments::TAction::Version) {
        std::cout << ExportVersionText();
        return 0;
    }
    return RunExport(parsed, std::cout, std::cerr);
}
