#include "PictureFile.h"

#include "BmpFile.h"

TBitmap OpenPictureForEditing(const std::string& path) {
    TBitmap picture = LoadBitmapFromFile(path);
    if (BitsOfPixelFormat(picture.PixelFormat()) == 32) picture.SetPixelFormat(TPixelFormat::pf24bit);
    return picture;
}

std::string WithExtension(const std::string& path, const std::string& extension) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}
