// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <string>

class TByteSink;
class TByteSource;
class TRowSource;

// Reading and writing Windows bitmap (BMP) files.

// Reads a BMP file. A file of zero bytes gives a bitmap without pixels. Raises EInvalidGraphic,
// EReadError or EOutOfMemory; no input can make it read or write outside its buffers.
// AsStored keeps what reads as 32 bits (32-bit, 15-bit, unusual masks, run-length) in 32 bits;
// Editing decodes it straight into the 24 bits the editor converts it to.
enum class TBmpReadDepth { AsStored, Editing };
TBitmap ReadBitmap(TByteSource& source, TBmpReadDepth depth = TBmpReadDepth::AsStored);
TBitmap LoadBitmapFromFile(const std::string& path,
                           TBmpReadDepth depth = TBmpReadDepth::AsStored); // also EFOpenError

// Writes the layout of the bitmap's colour depth; a bitmap without pixels writes nothing.
void WriteBitmap(const TBitmap& bitmap, TByteSink& sink);
// The same for rows read as they are written, with the layout a save of them keeps.
void WriteBitmapRows(TRowSource& rows, const TBmpFileLayout& layout, TByteSink& sink);
// Writes through a temporary file that replaces the target only when complete; EFCreateError
// or EWriteError leave an earlier file as it was.
void SaveBitmapToFile(const TBitmap& bitmap, const std::string& path);
