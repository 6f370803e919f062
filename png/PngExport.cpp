#include "PngExport.h"

#include "ByteSink.h"
#include "PngObject.h"

void ExportPng(const TBitmap& picture, TByteSink& sink) {
    TPNGObject png;
    if (picture.PixelFormat() == TPixelFormat::pf8bit) {
        // Converting to 8 bits would change nothing: the picture keeps its own table, and the
        // image object copies the pixels anyway, so no scratch copy is needed.
        png.AssignBitmap(picture);
    } else {
        TBitmap scratch(picture);
        scratch.SetPixelFormat(TPixelFormat::pf8bit);
        png.AssignBitmap(scratch);
    } // the scratch copy is gone before the slow part starts
    // The exported file never carries transparency, whatever the picture is marked.
    png.RemoveTransparency();
    png.SaveToStream(sink);
}

void ExportPngFile(const TBitmap& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportPng(picture, sink); });
}
