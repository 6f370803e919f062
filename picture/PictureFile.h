// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <string>

// Opens a picture file the way the editor does: a picture that reads as 32 bits per pixel
// (32-bit, 15-bit and run-length files) becomes 24 bits.
TBitmap OpenPictureForEditing(const std::string& path);

// The file name with its extension replaced: "maps/level1.bmp" and ".gif" give "maps/level1.gif".
// A name without an extension gets one.
std::string WithExtension(const std::string& path, const std::string& extension);

// Whether two names lead to the same file once relative parts, "..", symbolic links and hard
// links are resolved. Names of files that do not exist yet are compared as resolved paths.
bool IsSameFile(const std::string& a, const std::string& b);
