// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "OwnColors.h"

#include <string>

class TByteSink;
class TRowSource;

// The whole GIF export of a picture: its rows converted to 8 bits per pixel (an 8-bit picture
// keeps its own table), counted in a first pass to pack the colour table down to the colours in
// use, most used first, then renumbered and compressed in a second pass, written as GIF87a.
// Only a few rows are held at any time, whether they come from memory or from a file.
// Raises EPictureError (or a GIF error) with the message for the user; the picture is untouched.
void ExportGif(TRowSource& picture, TByteSink& sink);
void ExportGif(const TBitmap& picture, TByteSink& sink);

// The export that keeps the picture's own colours: exactly its colours when it has at most 256
// (reduced to 256 by the quantiser when it has more), packed as above. Returns the table and how
// many colours the picture had.
TOwnColors ExportGifExact(TRowSource& picture, TByteSink& sink);
TOwnColors ExportGifExactFile(TRowSource& picture, const std::string& path);

// The 8-bit rows of a picture, as the two passes above: their colour table packed and written
// with them. The colour conversion before is the caller's.
void WriteGifRows(TRowSource& eightBitRows, TByteSink& sink);

// The same into a file, written under a temporary name and renamed over the target when complete.
void ExportGifFile(TRowSource& picture, const std::string& path);
void ExportGifFile(const TBitmap& picture, const std::string& path);
