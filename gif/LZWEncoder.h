// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GIFEncoder.h"
#include "HashTable.h"

#include <array>
#include <cstdint>

// GIF's variable-width LZW. The stream opens with a clear code; the code width grows right
// after a code is written once the next free code no longer fits it; the table is reset instead
// of assigning code 4095, so the largest code ever assigned is 4094.
class TLZWEncoder final : public TGIFEncoder {
  protected:
    void WriteCode(unsigned code) override;
    void Clear() override;
    void CompressLoop() override;
    void FinishPixels() override;

  private:
    static constexpr int MaxCodeWidth = 12;
    static constexpr int LastCode = 4095; // reaching it resets the table instead
    // Once 12 bits wide the ceiling is out of reach, so the width stays until the next clear.
    static constexpr unsigned TopCeiling = 4096;

    template <bool CheckLimit> void Run();
    // WriteCode without the virtual call, for the loop.
    void Emit(unsigned code);

    bool Started_ = false; // the first pixel has come and the table is cleared
    unsigned Current_ = 0; // the code of the string in progress
    std::int16_t CurrentCode = 0;
    std::int16_t NextCode = 0;
    THashTable HashTable;
    // The last string found or added after each prefix code: (0x100 | pixel) << 12 | code, 0
    // for none. Pictures repeat the same few strings (runs of one colour above all), and one
    // look here spares the probe of the string table for them.
    std::array<std::uint32_t, 4096> LastChild_{};
};
