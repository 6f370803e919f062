// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSink.h"
#include "GifItem.h"

#include <cstdint>

// The byte that ends a GIF file.
class TGIFTrailer : public TGIFItem {
  public:
    using TGIFItem::TGIFItem;
    void SaveToSink(TByteSink& sink) override {
        constexpr std::uint8_t Trailer = 0x3B;
        sink.Write(&Trailer, 1);
    }
};
