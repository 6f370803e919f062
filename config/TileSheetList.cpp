// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileSheetList.h"

#include "IniFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kSection = "TileSheets";

std::string KeyOf(const char* name, int n) {
    return name + std::to_string(n);
}

bool SheetFileExists(const std::string& path) {
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos) return false;
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

} // namespace

TTileSheetList LoadTileSheets(const TIniFile& ini, int defaultWidth, int defaultHeight) {
    TTileSheetList list;
    const int count = std::clamp(ini.ReadInteger(kSection, "Count", 0), 0, MaxTileSheets);
    const int current = ini.ReadInteger(kSection, "Current", 1);
    for (int n = 1; n <= count; ++n) {
        TTileSheetEntry sheet;
        sheet.File = ini.ReadString(kSection, KeyOf("File", n).c_str(), "");
        if (!SheetFileExists(sheet.File)) continue;
        sheet.TileWidth = ini.ReadInteger(kSection, KeyOf("TileWidth", n).c_str(), defaultWidth);
        sheet.TileHeight = ini.ReadInteger(kSection, KeyOf("TileHeight", n).c_str(), defaultHeight);
        if (sheet.TileWidth < 1) sheet.TileWidth = std::max(defaultWidth, 1);
        if (sheet.TileHeight < 1) sheet.TileHeight = std::max(defaultHeight, 1);
        sheet.Margin = std::max(ini.ReadInteger(kSection, KeyOf("Margin", n).c_str(), 0), 0);
        sheet.Spacing = std::max(ini.ReadInteger(kSection, KeyOf("Spacing", n).c_str(), 0), 0);
        // The chosen tab keeps its sheet when sheets before it are dropped.
        if (n <= current) list.Current = int(list.Sheets.size());
        list.Sheets.push_back(std::move(sheet));
    }
    return list;
}

void SaveTileSheets(TIniFile& ini, const TTileSheetList& list) {
    ini.EraseSection(kSection);
    const int count = int(std::min<std::size_t>(list.Sheets.size(), MaxTileSheets));
    ini.WriteInteger(kSection, "Count", count);
    for (int n = 1; n <= count; ++n) {
        const TTileSheetEntry& sheet = list.Sheets[std::size_t(n - 1)];
        ini.WriteString(kSection, KeyOf("File", n).c_str(), sheet.File);
        ini.WriteInteger(kSection, KeyOf("TileWidth", n).c_str(), sheet.TileWidth);
        ini.WriteInteger(kSection, KeyOf("TileHeight", n).c_str(), sheet.TileHeight);
        ini.WriteInteger(kSection, KeyOf("Margin", n).c_str(), sheet.Margin);
        ini.WriteInteger(kSection, KeyOf("Spacing", n).c_str(), sheet.Spacing);
    }
    ini.WriteInteger(kSection, "Current", count == 0 ? 0 : std::clamp(list.Current, 0, count - 1) + 1);
}
