#include "PngExport.h"

#include "ByteSink.h"
#include "ConvertedRows.h"
#include "OwnColorRows.h"
#include "PngObject.h"

void WritePngRows(TRowSource& rows, TByteSink& sink) {
    TPNGObject png;
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
    TOwnColorRows own(picture);
    TPNGObject png;
    png.AssignIndexRows(own);
    png.SaveToStream(sink);
    return own.Colors();
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
