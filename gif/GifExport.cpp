#include "GifExport.h"

#include "ByteSink.h"
#include "GifErrors.h"
#include "GifImage.h"

#include <new>

namespace {
constexpr int MaxSide = 65535; // the 16-bit width and height fields of a GIF
} // namespace

void ExportGif(const TBitmap& picture, TByteSink& sink) {
    if (picture.Empty()) throw GIFException("The picture has no pixels to export");
    if (picture.Width() > MaxSide || picture.Height() > MaxSide)
        throw GIFException("A GIF image cannot be larger than 65535 x 65535 pixels");

    try {
        TGIFImage image;
        if (picture.PixelFormat() == TPixelFormat::pf8bit) {
            // Already 8 bits with its own table: nothing to convert, so no copy is needed.
            image.Assign(picture);
        } else {
            image.Assign(picture.Converted(TPixelFormat::pf8bit));
        }
        image.PackColorTables();
        image.SaveToSink(sink);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}

void ExportGifFile(const TBitmap& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportGif(picture, sink); });
}
