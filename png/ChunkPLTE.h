// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PngChunk.h"

#include <cstdint>

// The palette: the first EntryCount entries of the header's colour table.
class TChunkPLTE : public TChunk {
  public:
    static constexpr TChunkType Code{'P', 'L', 'T', 'E'};
    explicit TChunkPLTE(TPNGObject& owner) : TChunk(owner, Code) {}

    std::uint32_t EntryCount = 0;

    // Red, green, blue of each entry, then the framing.
    void SaveToStream(TByteSink& sink) override;
};
