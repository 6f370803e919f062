#include "PngExport.h"

#include "ByteSink.h"
#include "Errors.h"

void ExportPng(const TBitmap&, TByteSink&) { throw EPictureError("PNG export is not built yet"); }

void ExportPngFile(const TBitmap& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportPng(picture, sink); });
}
