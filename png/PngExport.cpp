#include "PngExport.h"

#include "ByteSink.h"
#include "PngObject.h"

void ExportPng(const TBitmap& picture, TByteSink& sink) {
    TPNGObject png;
    // An 8-bit picture is its own 8-bit copy, table included; the others are converted on a
    // scratch copy. Either way the rows are compressed where they are, not copied once more.
    TBitmap scratch;
    if (picture.PixelFormat() != TPixelFormat::pf8bit) scratch = picture.Converted(TPixelFormat::pf8bit);
    const TBitmap& eightBit = picture.PixelFormat() == TPixelFormat::pf8bit ? picture : scratch;
    png.AssignBitmap(eightBit, TPNGObject::TPixelUse::Borrow);
    // The exported file never carries transparency, whatever the picture is marked.
    png.RemoveTransparency();
    png.SaveToStream(sink);
}

void ExportPngFile(const TBitmap& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportPng(picture, sink); });
}
