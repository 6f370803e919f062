// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GifHeader.h"
#include "GifList.h"
#include "GifSubImage.h"

class TBitmap;

// A GIF file in memory: the header with the global colour table, then the sub-images.
class TGIFImage {
  public:
    TGIFImage();
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    // No sub-image, no global colour table, a 0 x 0 logical screen.
    void Clear();

    // Replaces the whole image by one sub-image made from an 8-bit bitmap (see TGIFSubImage).
    void Assign(const TBitmap& bitmap);

    TGIFSubImage& AddSubImage();

    // GIFException when a sub-image already in the list would no longer fit.
    void SetScreenWidth(int width);
    void SetScreenHeight(int height);
    int ScreenWidth() const { return Header.ScreenWidth; }
    int ScreenHeight() const { return Header.ScreenHeight; }
    // Widens the logical screen until the sub-image fits in it.
    void FitScreenTo(const TGIFSubImage& subImage);

    // 89a as soon as one sub-image needs it; unknown without any sub-image.
    TGIFVersion Version() const;
    // The largest table size exponent of the global and the local tables.
    int BitsPerPixel() const;
    // The largest colour resolution of the global and the local tables; -1 with no table.
    int ColorResolution() const;

    // Replaces every colour table by one global table of the colours in use, most used first,
    // and renumbers the pixels to it.
    void PackColorTables();

    // The whole file. GIFException "Unsupported GIF version" with no sub-image.
    void SaveToSink(TByteSink& sink);

    TGIFHeader Header;
    TGIFImageList Images;
};
