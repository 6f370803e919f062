// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecentFiles.h"

#include "IniFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kSection = "Recent Files";

bool Listable(const std::string& path) {
    // A line break would write keys of its own into the settings file.
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos) return false;
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

} // namespace

bool TRecentFiles::Add(const std::string& path) {
    if (!Listable(path)) return false;
    const auto found = std::find(Slots_.begin(), Slots_.end(), path);
    // Rotating the run up to the old entry (or the last slot) moves it, or drops slot 9.
    const auto last = found == Slots_.end() ? Slots_.end() - 1 : found;
    std::rotate(Slots_.begin(), last, last + 1);
    Slots_.front() = path;
    return true;
}

void TRecentFiles::Load(const TIniFile& ini) {
    Slots_ = {};
    std::size_t next = 0;
    for (int key = 1; key <= Count; ++key) {
        const std::string path = ini.ReadString(kSection, std::to_string(key).c_str(), "");
        if (Listable(path)) Slots_[next++] = path;
    }
}

void TRecentFiles::Save(TIniFile& ini) const {
    for (int key = 1; key <= Count; ++key)
        ini.WriteString(kSection, std::to_string(key).c_str(), Slot(key));
}
