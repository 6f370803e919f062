// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngExport.h"

#include "ByteSink.h"
#include "ConvertedRows.h"
#include "Errors.h"
#include "OwnColorRows.h"
#include "PngObject.h"

#include <new>

void WritePngRows(TRowSource& rows, TByteSink& sink, bool smallest) {
    TPNGObject png;
    if (smallest) png.Compression = TPNGObject::TCompression::Smallest;
    png.AssignRows(rows);
    png.SaveToStream(sink);
}

void ExportPng(TRowSource& picture, TByteSink& sink) {
    TConvertedRows eightBit(picture, TPixelFormat::pf8bit);
    WritePngRows(eightBit, sink);
}

void ExportPng(const TBitmap& picture, TByteSink& sink) {
    TBitmapRows rows(picture);
    ExportPng(rows, sink);
}

TOwnColors ExportPngExact(TRowSource& picture, TByteSink& sink) {
    try {
        TOwnColorRows own(picture);
        TPNGObject png;
        png.Compression = TPNGObject::TCompression::Smallest;
        png.AssignIndexRows(own);
        png.SaveToStream(sink);
        return own.Colors();
    } catch (const std::bad_alloc&) {
        // The colour tables are plain allocations; the user is told as for any picture too large.
        throw EOutOfMemory();
    }
}

TOwnColors ExportPngExactFile(TRowSource& picture, const std::string& path) {
    TOwnColors colors;
    WriteFileSafely(path, [&](TByteSink& sink) { colors = ExportPngExact(picture, sink); });
    return colors;
}

void ExportPngFile(TRowSource& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportPng(picture, sink); });
}

void ExportPngFile(const TBitmap& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportPng(picture, sink); });
}
