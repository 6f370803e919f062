// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChunktRNS.h"

#include "ChunkIHDR.h"
#include "ChunkPLTE.h"
#include "PngFormat.h"
#include "PngObject.h"

void TChunktRNS::SetTransparentColor(TColor color) {
    Data.clear();
    const TChunkIHDR& header = Header();
    switch (header.ColorType) {
    case PngFormat::ColorTypePalette: {
        const TChunkPLTE* palette = Owner().Chunks.ItemFromClass<TChunkPLTE>();
        const std::uint32_t entries = palette ? palette->EntryCount : 0;
        for (std::uint32_t i = 0; i < entries && i < header.ColorTable().size(); ++i)
            if (ColorOf(header.ColorTable()[i]) == color) {
                Data.assign(i + 1, 255); // opaque
                Data[i] = 0;             // fully transparent
                break;
            }
        break;
    }
    case PngFormat::ColorTypeRGB:
        // 16-bit samples, most significant byte first; the image's 8-bit samples fill the low byte.
        Data = {0, GetRValue(color), 0, GetGValue(color), 0, GetBValue(color)};
        break;
    case PngFormat::ColorTypeGrey:
        Data = {0, GetRValue(color)};
        break;
    default:
        break;
    }
}

void TChunktRNS::SaveToStream(TByteSink& sink) {
    if (!Data.empty()) TChunk::SaveToStream(sink);
}
