#pragma once

#include "Bitmap.h"

#include <string>

class TByteSink;

// The whole GIF export of a picture: a copy converted to 8 bits per pixel (an 8-bit picture
// keeps its own table), imported as one sub-image, its colour table packed, written as GIF87a.
// Raises EPictureError (or a GIF error) with the message for the user; the picture is untouched.
void ExportGif(const TBitmap& picture, TByteSink& sink);

// The same into a file, written under a temporary name and renamed over the target when complete.
void ExportGifFile(const TBitmap& picture, const std::string& path);
