#include "GifExport.h"

#include "ByteSink.h"
#include "Errors.h"

void ExportGif(const TBitmap&, TByteSink&) { throw EPictureError("GIF export is not built yet"); }

void ExportGifFile(const TBitmap& picture, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { ExportGif(picture, sink); });
}
