// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "OwnColors.h"

#include <string>

class TByteSink;
class TRowSource;

// The whole PNG export of a picture: its rows converted to 8 bits per pixel (an 8-bit picture
// keeps its own table), filtered and compressed as they come into an indexed-colour PNG without
// transparency. Only a few rows are held at any time, whether they come from memory or from a
// file. Raises EPictureError with the message for the user; the picture is untouched.
void ExportPng(TRowSource& picture, TByteSink& sink);
void ExportPng(const TBitmap& picture, TByteSink& sink);

// The export that keeps the picture's own colours: a palette of exactly its colours when it has
// at most 256 (reduced to 256 by the quantiser when it has more), at the fewest bits per pixel
// that reach them, compressed for the smallest file rather than the default export's bytes.
// Returns the table and how many colours the picture had.
TOwnColors ExportPngExact(TRowSource& picture, TByteSink& sink);
TOwnColors ExportPngExactFile(TRowSource& picture, const std::string& path);

// The rows of a palette picture as they are, written as an indexed-colour PNG of their depth
// (24-bit rows as truecolour). The colour conversion before is the caller's. Smallest spends
// time on the smallest file, as the exact-colours exports do.
void WritePngRows(TRowSource& paletteRows, TByteSink& sink, bool smallest = false);

// The same into a file, written under a temporary name and renamed over the target when complete.
void ExportPngFile(TRowSource& picture, const std::string& path);
void ExportPngFile(const TBitmap& picture, const std::string& path);
