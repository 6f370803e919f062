// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChunkPLTE.h"

#include "ChunkIHDR.h"
#include "Errors.h"
#include "PngFormat.h"

void TChunkPLTE::SaveToStream(TByteSink& sink) {
    if (EntryCount == 0 || EntryCount > PngFormat::MaxPaletteEntries)
        throw EPictureError("PNG palette must have 1 to 256 entries");
    const auto& table = Header().ColorTable();
    Data.resize(std::size_t(EntryCount) * PngFormat::PaletteEntryBytes);
    std::uint8_t* out = Data.data();
    for (std::uint32_t i = 0; i < EntryCount; ++i) {
        *out++ = table[i].Red;
        *out++ = table[i].Green;
        *out++ = table[i].Blue;
    }
    TChunk::SaveToStream(sink);
}
