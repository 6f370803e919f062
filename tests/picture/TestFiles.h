// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

// A folder of real files for one test, removed afterwards.
class TTempFolder {
  public:
    TTempFolder() {
        Path_ = std::filesystem::temp_directory_path() /
                ("tessimap-test-" + std::to_string(::getpid()) + "-" + std::to_string(Counter()++));
        std::filesystem::create_directories(Path_);
    }
    ~TTempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(Path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(Path_, ignored);
    }
    std::string File(const std::string& name) const { return (Path_ / name).string(); }
    const std::filesystem::path& Path() const { return Path_; }

  private:
    static int& Counter() {
        static int counter = 0;
        return counter;
    }
    std::filesystem::path Path_;
};

inline std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
inline std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint16_t(b[at] | b[at + 1] << 8);
}
