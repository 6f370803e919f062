#pragma once

#include "Bitmap.h"

#include <string>

class TByteSink;
class TByteSource;

// Reading and writing Windows bitmap (BMP) files.

// Reads a BMP file. A file of zero bytes gives a bitmap without pixels. Raises EInvalidGraphic,
// EReadError or EOutOfMemory; no input can make it read or write outside its buffers.
TBitmap ReadBitmap(TByteSource& source);
TBitmap LoadBitmapFromFile(const std::string& path); // also EFOpenError

// Writes the layout of the bitmap's colour depth; a bitmap without pixels writes nothing.
void WriteBitmap(const TBitmap& bitmap, TByteSink& sink);
// Writes through a temporary file that replaces the target only when complete; EFCreateError
// or EWriteError leave an earlier file as it was.
void SaveBitmapToFile(const TBitmap& bitmap, const std::string& path);
