#pragma once

#include "Bitmap.h"

#include <string>

class TByteSink;

// The whole PNG export of a picture: a copy converted to 8 bits per pixel (an 8-bit picture
// keeps its own table), turned into an indexed-colour PNG without transparency, and written.
// Raises EPictureError with the message for the user; the picture is untouched.
void ExportPng(const TBitmap& picture, TByteSink& sink);

// The same into a file, written under a temporary name and renamed over the target when complete.
void ExportPngFile(const TBitmap& picture, const std::string& path);
