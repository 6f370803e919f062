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

} // namespace

std::string ExportUsage() {
    return "usage: tessimap-export [--exact] --depth N --output OUT.bmp IN.bmp\n"
           "       tessimap-export [--exact] --gif IN.bmp [IN.bmp ...]\n"
           "       tessimap-export [--exact] --png IN.bmp [IN.bmp ...]\n"
           "       tessimap-export --help | --version\n"
           "  --depth N      convert to N bits per pixel (24, 16, 8, 4 or 1) and save as OUT.bmp\n"
           "  -o, --output   the file --depth writes\n"
           "  --gif, --png   export each picture beside itself as IN.gif or IN.png,\n"
           "                 never over IN itself\n"
           "  --exact        keep the picture's own colours in 8 bits (--gif, --png,\n"
           "                 --depth 8) instead of the fixed halftone colours; more than\n"
           "                 256 colours are reduced to 256, and a note on stderr says so\n"
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
    bool depthGiven = false, gif = false, png = false;
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
        } else if (a == "--exact") {
            result.Exact = true;
        } else if (a.size() > 1 && a[0] == '-') {
            throw std::invalid_argument("unknown option " + a);
        } else {
            result.Inputs.push_back(a);
        }
    }
    if (int(depthGiven) + int(gif) + int(png) != 1)
        throw std::invalid_argument("give exactly one of --depth, --gif and --png");
    if (result.Exact && depthGiven && result.Depth != 8)
        throw std::invalid_argument("--exact goes with --gif, --png or --depth 8");
    if (result.Inputs.empty()) throw std::invalid_argument("no input picture given");
    if (depthGiven) {
        if (result.Output.empty()) throw std::invalid_argument("--depth needs --output OUT.bmp");
        if (result.Inputs.size() != 1) throw std::invalid_argument("--depth converts exactly one picture");
    } else if (!result.Output.empty()) {
        throw std::invalid_argument("--output goes with --depth only");
    }
    result.Mode = gif   ? TExportArguments::TMode::Gif
                  : png ? TExportArguments::TMode::Png
                        : TExportArguments::TMode::Depth;
    return result;
}
