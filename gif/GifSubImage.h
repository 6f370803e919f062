// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GifColorMap.h"
#include "GifItem.h"
#include "GifList.h"

#include <array>
#include <cstdint>
#include <vector>

class TBitmap;
class TRowSource;
class TGIFGraphicControlExtension;

// One image of a GIF file: its descriptor, local colour table, extensions and index buffer.
class TGIFSubImage : public TGIFItem {
  public:
    explicit TGIFSubImage(TGIFImage& image);
    ~TGIFSubImage() override;

    // Fills the sub-image from an 8-bit bitmap: its size, its colour table in its own order,
    // its rows top row first. A bitmap without pixels leaves the sub-image empty.
    // GIFException for any other pixel format or for a side above 65535 pixels.
    void Assign(const TBitmap& bitmap);

    // Sets the size and a zeroed index buffer, widening the image's logical screen to fit.
    void SetSize(int width, int height);

    // No index buffer, or no width or height: nothing to write but the extensions.
    bool Empty() const { return Data.empty() || Width == 0 || Height == 0; }

    // Transparency lives in the graphic control extension.
    bool Transparent() const;
    std::uint8_t TransparentIndex() const;
    // Adds a graphic control extension (or reuses the one there is) marking an index transparent.
    TGIFGraphicControlExtension& SetTransparentIndex(std::uint8_t index);
    TGIFGraphicControlExtension* GraphicControlExtension = nullptr;

    TGIFVersion Version() const override;
    void SaveToSink(TByteSink& sink) override;

    // Writes the sub-image as SaveToSink does, but takes its pixels from 8-bit rows, top row
    // first, each index renumbered through translation, instead of from the index buffer; the
    // width and height must be set and the index buffer empty.
    void SaveRowsToSink(TByteSink& sink, TRowSource& rows,
                        const std::array<std::uint8_t, MaxGIFColors>& translation);

    std::uint16_t Left = 0;
    std::uint16_t Top = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::uint8_t PackedFields = 0;
    TGIFLocalColorMap ColorMap;
    TGIFExtensionList Extensions;
    // Width x Height colour indices, top row first, no padding.
    std::vector<std::uint8_t> Data;

  private:
    // Writes the image descriptor and the local table; gives the LZW code size and colour limit.
    void WriteDescriptor(TByteSink& sink, int& bitsPerPixel, int& colorLimit);
};
