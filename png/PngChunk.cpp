// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngChunk.h"

#include "ByteSink.h"
#include "ChunkIHDR.h"
#include "Crc32.h"
#include "Errors.h"
#include "PngFormat.h"
#include "PngObject.h"

namespace {

void PutBig32(std::uint8_t* at, std::uint32_t value) {
    at[0] = std::uint8_t(value >> 24);
    at[1] = std::uint8_t(value >> 16);
    at[2] = std::uint8_t(value >> 8);
    at[3] = std::uint8_t(value);
}

} // namespace

void WriteChunkFrame(TByteSink& sink, const TChunkType& type, const std::uint8_t* data, std::size_t size) {
    if (size > PngFormat::MaxChunkLength) throw EPictureError("PNG chunk too large");
    // Length (4) and type code (4) go out together; the CRC starts at the type code.
    std::uint8_t head[8];
    PutBig32(head, std::uint32_t(size));
    for (std::size_t i = 0; i < 4; ++i)
        head[4 + i] = std::uint8_t(type[i]);
    sink.Write(head, sizeof head);
    std::uint32_t crc = PngCrcUpdate(PngCrcStart, head + 4, 4);
    if (size > 0) {
        sink.Write(data, size);
        crc = PngCrcUpdate(crc, data, size);
    }
    std::uint8_t tail[4];
    PutBig32(tail, PngCrcFinal(crc));
    sink.Write(tail, sizeof tail);
}

void TChunk::SaveToStream(TByteSink& sink) {
    WriteChunkFrame(sink, Type_, Data.data(), Data.size());
}

TChunkIHDR& TChunk::Header() const {
    auto* header = Owner_->Chunks.Count() > 0 ? dynamic_cast<TChunkIHDR*>(Owner_->Chunks.Item(0)) : nullptr;
    if (!header) throw EPictureError("PNG image has no header chunk");
    return *header;
}
