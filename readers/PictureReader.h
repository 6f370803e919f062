// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "Color.h"
#include "ProgressSource.h"
#include "ReadReport.h"
#include "RowSource.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The picture formats the editor reads, told apart by their first bytes, not by the file's name.
enum class TPictureKind { Bmp, Png, Gif };

// PNG and GIF by their signatures; anything else is left to the BMP reader to accept or refuse.
TPictureKind PictureKindOf(const std::uint8_t* bytes, std::size_t size);
// The same for a file; EFOpenError when it cannot be opened.
TPictureKind PictureKindOfFile(const std::string& path);

// Opens a picture file for editing, whatever its format: BMP as the editor always has, PNG and
// GIF at the depths of ours that hold them. Pixels more transparent than opaque take the
// transparent colour. The report tells of a file that ends early (opened with the missing rows
// zero) and of partly transparent pixels made opaque. With a progress report, it hears the share
// of the file read each time it grows by a whole per cent.
TBitmap ReadPictureFile(const std::string& path, TColor transparentColor, TReadReport& report,
                        const TProgressSource::TReport& progress = {});

// The rows of a picture file as they are read, for conversions that hold only a few rows. A file
// that ends early raises ETruncatedPixels, at once or where its rows run out. A BMP file that can
// only be read whole (run-length pixels) is read whole.
std::unique_ptr<TRowSource> OpenPictureRows(const std::string& path, TColor transparentColor);

// The BMP layout a save of the rows keeps: the file's own for a BMP file read by the row, none
// for anything else.
TBmpFileLayout FileLayoutOf(const TRowSource& rows);
