#pragma once

#include <string>
#include <vector>

// What tessimap-export was asked to do.
struct TExportArguments {
    enum class TMode { Depth, Gif, Png };
    TMode Mode = TMode::Depth;
    int Depth = 24;
    std::string Output;
    std::vector<std::string> Inputs;
};

// Parses the command line (without the program name). Raises std::invalid_argument with a
// message for the user when the arguments do not make a command.
TExportArguments ParseExportArguments(const std::vector<std::string>& arguments);

// One paragraph of usage text.
std::string ExportUsage();
