// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

class TIniFile;

// The last nine pictures opened or saved under a new name, newest in slot 1. Filled slots always
// run from slot 1 without a gap.
class TRecentFiles {
  public:
    static constexpr int Count = 9;

    // Slot 1 to 9; empty when unused.
    const std::string& Slot(int n) const { return Slots_.at(std::size_t(n - 1)); }
    // Puts the path first, removing an earlier entry of the same text. A path that names no
    // regular file, or holds a line break, is not added: false.
    bool Add(const std::string& path);
    // "Recent Files" keys 1 to 9; entries whose file is gone close up.
    void Load(const TIniFile& ini);
    // Every key 1 to 9, empty values for empty slots.
    void Save(TIniFile& ini) const;

  private:
    std::array<std::string, Count> Slots_;
};
