// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSink.h"

#include <cstddef>
#include <cstdint>

// Cuts a byte stream into GIF data sub-blocks: a length byte, then up to 255 bytes.
class TGIFWriter {
  public:
    static constexpr int MaxBlockData = 255;

    explicit TGIFWriter(TByteSink& destination) : Destination_(destination) {}

    void WriteByte(std::uint8_t byte) {
        BlockBuffer_[BlockFill_++] = byte;
        if (BlockFill_ == BlockSize) FlushFullBlock();
    }

    void Write(const void* data, std::size_t count) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        for (std::size_t i = 0; i < count; ++i)
            WriteByte(bytes[i]);
    }

    // Writes the short last sub-block, if any. Data of 255 x k bytes leaves none.
    void Finish() {
        if (BlockFill_ > 1) {
            BlockBuffer_[0] = std::uint8_t(BlockFill_ - 1);
            Destination_.Write(BlockBuffer_, BlockFill_);
            BlockFill_ = 1;
        }
    }

  private:
    static constexpr std::size_t BlockSize = 1 + MaxBlockData; // length byte + data

    void FlushFullBlock() {
        BlockBuffer_[0] = MaxBlockData;
        Destination_.Write(BlockBuffer_, BlockSize);
        BlockFill_ = 1;
    }

    TByteSink& Destination_;
    std::uint8_t BlockBuffer_[BlockSize] = {};
    std::size_t BlockFill_ = 1;
};
