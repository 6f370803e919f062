// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"
#include "PngChunk.h"

// Simple transparency: one colour of the image that shows as transparent.
class TChunktRNS : public TChunk {
  public:
    static constexpr TChunkType Code{'t', 'R', 'N', 'S'};
    explicit TChunktRNS(TPNGObject& owner) : TChunk(owner, Code) {}

    // Fills the data for the header's colour type: for a palette image, an alpha byte for each
    // entry up to the first one of this colour (255, and 0 for that entry); for RGB, the colour
    // as three 16-bit samples; for grey, its red sample as one. A palette without the colour
    // leaves the data empty.
    void SetTransparentColor(TColor color);

    // An empty chunk is left out: there is nothing transparent.
    void SaveToStream(TByteSink& sink) override;
};
