#include "PngExport.h"

#include "ByteSink.h"
#include "ConvertedRows.h"
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

void ExportPngFile(TRowSource& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportPng(picture, sink); });
}

void ExportPngFile(const TBitmap& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportPng(picture, sink); });
}
