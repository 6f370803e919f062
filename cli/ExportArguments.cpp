// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportArguments.h"

#include <charconv>
#include <stdexcept>

#ifndef TESSIMAP_VERSION
#define TESSIMAP_VERSION "unknown"
#endif

namespace {

int ParseDepth(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw std::invalid_argument("--depth needs a number, not \"" + text + "\"");
    if (value != 1 && value != 4 && value != 8 && value != 16 && value != 24)
        throw std::invalid_argument("--depth must be 24, 16, 8, 4 or 1, not " + text);
    return value;
}

// "32x16" (or "32X16"): two whole numbers; whether they cut a picture is judged with the picture.
void ParseTileSize(const std::string& text, TExportArguments& result) {
    const std::size_t x = text.find_first_of("xX");
    auto number = [&](std::size_t from, std::size_t to, int& value) {
        const auto [end, error] = std::from_chars(text.data() + from, text.data() + to, value);
        return from < to && error == std::errc() && end == text.data() + to;
    };
    if (x == std::string::npos || !number(0, x, result.TileWidth) ||
        !number(x + 1, text.size(), result.TileHeight))
        throw std::invalid_argument("--tilemap needs a tile size as WIDTHxHEIGHT, such as 32x32, not \"" +
                                    text + "\"");
}

// "#RRGGBB" or "RRGGBB", as colours are written for the web.
std::uint32_t ParseColor(const std::string& text) {
    const std::size_t from = !text.empty() && text[0] == '#' ? 1 : 0;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data() + from, text.data() + text.size(), value, 16);
    if (text.size() - from != 6 || error != std::errc() || end != text.data() + text.size())
        throw std::invalid_argument("--transparent needs a colour as RRGGBB, such as ff00ff, not \"" + text +
                                    "\"");
    return ((value >> 16) & 0xFF) | (value & 0xFF00) | ((value & 0xFF) << 16);
}

} // namespace

std::string ExportUsage() {
    return "usage: tessimap-export [--exact] --depth N --output OUT.bmp IN\n"
           "       tessimap-export [--exact] --gif IN [IN ...]\n"
           "       tessimap-export [--exact] --png IN [IN ...]\n"
           "       tessimap-export --tilemap WxH [--flips] [--empty [--transparent RRGGBB]] IN\n"
           "       tessimap-export --help | --version\n"
           "  --depth N      convert to N bits per pixel (24, 16, 8, 4 or 1) and save as OUT.bmp\n"
           "  -o, --output   the file --depth writes\n"
           "  --gif, --png   export each picture beside itself as IN.gif or IN.png,\n"
           "                 never over IN itself\n"
           "  --exact        keep the picture's own colours in 8 bits (--gif, --png,\n"
           "                 --depth 8) instead of the fixed halftone colours; more than\n"
           "                 256 colours are reduced to 256, and a note on stderr says so\n"
           "  --tilemap WxH  cut the picture into tiles of W x H pixels and write beside it\n"
           "                 IN-tiles.png (each distinct tile once), IN.tsx, IN.tmx, IN.tmj\n"
           "                 and IN.csv (the grid); the size must divide the picture's\n"
           "  --flips        a tile turned or mirrored reuses the earlier tile, flagged\n"
           "  --empty        a cell wholly of the transparent colour gets no tile\n"
           "  --transparent  that colour (default 000000, black)\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "Exit status: 0 done, 1 a picture could not be read or written, 2 wrong use.\n";
}

std::string ExportVersionText() {
    return std::string("tessimap-export ") + TESSIMAP_VERSION +
           "\nLicensed under the GNU GPL, version 3 or later.\n";
}

TExportArguments ParseExportArguments(const std::vector<std::string>& arguments) {
    TExportArguments result;
    bool depthGiven = false, gif = false, png = false, tileMap = false, transparent = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw std::invalid_argument(a + " needs a value");
            return arguments[++i];
        };
        if (a == "-h" || a == "--help") {
            result.Action = TExportArguments::TAction::Help;
            return result;
        } else if (a == "-v" || a == "--version") {
            result.Action = TExportArguments::TAction::Version;
            return result;
        } else if (a == "--depth") {
            result.Depth = ParseDepth(value());
            depthGiven = true;
        } else if (a == "--output" || a == "-o") {
            result.Output = value();
        } else if (a == "--gif") {
            gif = true;
        } else if (a == "--png") {
            png = true;
        } else if (a == "--tilemap") {
            ParseTileSize(value(), result);
            tileMap = true;
        } else if (a == "--flips") {
            result.Flips = true;
        } else if (a == "--empty") {
            result.Empty = true;
        } else if (a == "--transparent") {
            result.EmptyColor = ParseColor(value());
            transparent = true;
        } else if (a == "--exact") {
            result.Exact = true;
        } else if (a.size() > 1 && a[0] == '-') {
            throw std::invalid_argument("unknown option " + a);
        } else {
            result.Inputs.push_back(a);
        }
    }
    if (int(depthGiven) + int(gif) + int(png) + int(tileMap) != 1)
        throw std::invalid_argument("give exactly one of --depth, --gif, --png and --tilemap");
    if ((result.Flips || result.Empty) && !tileMap)
        throw std::invalid_argument("--flips and --empty go with --tilemap");
    if (transparent && !result.Empty) throw std::invalid_argument("--transparent goes with --empty");
    if (tileMap && result.Exact)
        throw std::invalid_argument("--exact does not go with --tilemap: it keeps every colour");
    if (tileMap && result.Inputs.size() > 1)
        throw std::invalid_argument("--tilemap cuts exactly one picture");
    if (result.Exact && depthGiven && result.Depth != 8)
        throw std::invalid_argument("--exact goes with --gif, --png or --depth 8");
    if (result.Inputs.empty()) throw std::invalid_argument("no input picture given");
    if (depthGiven) {
        if (result.Output.empty()) throw std::invalid_argument("--depth needs --output OUT.bmp");
        if (result.Inputs.size() != 1) throw std::invalid_argument("--depth converts exactly one picture");
    } else if (!result.Output.empty()) {
        throw std::invalid_argument("--output goes with --depth only");
    }
    result.Mode = gif       ? TExportArguments::TMode::Gif
                  : png     ? TExportArguments::TMode::Png
                  : tileMap ? TExportArguments::TMode::TileMap
                            : TExportArguments::TMode::Depth;
    return result;
}
