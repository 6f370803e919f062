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
        std::cerr << "tessimap-export: " << e.what() << '\n' << ExportUsage();
        return 1;
    }
    return RunExport(parsed, std::cout, std::cerr);
}
