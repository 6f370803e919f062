// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFile.h"

#include "BmpFile.h"

#include <filesystem>
#include <system_error>

TBitmap OpenPictureForEditing(const std::string& path) {
    return LoadBitmapFromFile(path, TBmpReadDepth::Editing);
}

std::string WithExtension(const std::string& path, const std::string& extension) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code error;
    // Two names of one existing file (a hard link included) share the file's identity.
    if (fs::equivalent(a, b, error) && !error) return true;
    const fs::path first = fs::weakly_canonical(fs::absolute(a, error), error);
    if (error) return a == b;
    const fs::path second = fs::weakly_canonical(fs::absolute(b, error), error);
    if (error) return a == b;
    return first == second;
}
