// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What tessimap-export was asked to do.
struct TExportArguments {
    enum class TAction { Run, Help, Version };
    TAction Action = TAction::Run; // Help and Version print and end; nothing else is read
    enum class TMode { Depth, Gif, Png, TileMap };
    TMode Mode = TMode::Depth;
    int Depth = 24;
    bool Exact = false; // 8-bit results keep the picture's own colours
    std::string Output;
    // --tilemap WxH: the tile size, and whether turned tiles and empty cells are matched.
    int TileWidth = 0, TileHeight = 0;
    bool Flips = false, Empty = false;
    std::uint32_t EmptyColor = 0; // 0x00BBGGRR, black unless --transparent names another
    std::vector<std::string> Inputs;
};

// Parses the command line (without the program name). Raises std::invalid_argument with a
// message for the user when the arguments do not make a command.
TExportArguments ParseExportArguments(const std::vector<std::string>& arguments);

// One paragraph of usage text.
std::string ExportUsage();
std::string ExportVersionText();

// Exit status of a wrong use, as the shell's own tools use it.
constexpr int ExportUsageExitStatus = 2;
