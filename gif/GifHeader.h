// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GifColorMap.h"
#include "GifItem.h"

#include <cstdint>

// The signature, the logical screen descriptor and the global colour table.
class TGIFHeader : public TGIFItem {
  public:
    explicit TGIFHeader(TGIFImage& image) : TGIFItem(image), ColorMap(*this) {}

    // Recomputes the packed fields from the image's colour tables.
    void Prepare();
    // GIFException "Unsupported GIF version" when the image has no sub-image.
    void SaveToSink(TByteSink& sink) override;

    std::uint16_t ScreenWidth = 0;
    std::uint16_t ScreenHeight = 0;
    std::uint8_t PackedFields = 0;
    std::uint8_t BackgroundColorIndex = 0;
    std::uint8_t AspectRatio = 0;
    TGIFGlobalColorMap ColorMap;
};
