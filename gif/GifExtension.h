// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GifItem.h"

#include <cstdint>

class TGIFSubImage;

// Extension blocks: introducer 0x21, a label, data sub-blocks. Any of them needs GIF89a.
class TGIFExtension : public TGIFItem {
  public:
    explicit TGIFExtension(TGIFSubImage& subImage);
    TGIFVersion Version() const override { return TGIFVersion::gv89a; }
    virtual std::uint8_t Label() const = 0;

    TGIFSubImage& SubImage;
};

// The graphic control extension: here only for what it says about transparency.
class TGIFGraphicControlExtension : public TGIFExtension {
  public:
    using TGIFExtension::TGIFExtension;
    std::uint8_t Label() const override { return 0xF9; }
    void SaveToSink(TByteSink& sink) override;

    bool Transparent = false;
    std::uint8_t TransparentColorIndex = 0;
    std::uint16_t Delay = 0;   // hundredths of a second
    std::uint8_t Disposal = 0; // 3 bits
};
