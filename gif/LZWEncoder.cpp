// SPDX-License-Identifier: GPL-3.0-or-later
#include "LZWEncoder.h"

#include "GifErrors.h"

namespace {
[[noreturn]] void ColorNotInTable() {
    throw GIFException("Color not in color table");
}
} // namespace

void TLZWEncoder::WriteCode(unsigned code) {
    Emit(code);
}

inline void TLZWEncoder::Emit(unsigned code) {
    PackCode(code);
    if (unsigned(NextCode) > CodeCeiling || ResetPending) {
        if (ResetPending) {
            CodeWidth = StartWidth;
            CodeCeiling = (1u << StartWidth) - 1;
            ResetPending = false;
        } else {
            ++CodeWidth;
            CodeCeiling = CodeWidth == MaxCodeWidth ? TopCeiling : (1u << CodeWidth) - 1;
        }
    }
}

void TLZWEncoder::Clear() {
    ResetPending = true;
    Emit(ClearCode);
    HashTable.Clear();
    LastChild_.fill(0);
    NextCode = std::int16_t(ClearCode + 2);
}

void TLZWEncoder::CompressLoop() {
    // Below 256 colours a byte can name a colour that is not there; at 256 every byte is one.
    if (ColorLimit < 256)
        Run<true>();
    else
        Run<false>();
}

template <bool CheckLimit> void TLZWEncoder::Run() {
    constexpr std::uint32_t Found = 0x100; // marks a LastChild_ entry in use
    const std::uint8_t* pixel = Pixels;
    const std::uint8_t* const end = Pixels + PixelsLeft;
    const unsigned limit = unsigned(ColorLimit);

    if (!Started_) {
        // The table is already empty when the encoder is made; Clear empties it again anyway.
        Clear();
        if (CheckLimit && *pixel >= limit) ColorNotInTable();
        Current_ = *pixel++;
        Started_ = true;
    }
    unsigned current = Current_;
    for (; pixel != end; ++pixel) {
        const unsigned value = *pixel;
        if (CheckLimit && value >= limit) ColorNotInTable();
        const std::uint32_t last = LastChild_[current];
        if ((last >> THashTable::CodeBits) == (Found | value)) {
            current = last & THashTable::CodeMask;
            continue;
        }
        const std::uint32_t key = (current << 8) | value;
        int slot;
        const int code = HashTable.Find(key, slot);
        if (code >= 0) {
            LastChild_[current] = (Found | value) << THashTable::CodeBits | unsigned(code);
            current = unsigned(code);
            continue;
        }
        CurrentCode = std::int16_t(current);
        Emit(current);
        if (NextCode >= LastCode || slot < 0) {
            Clear();
        } else {
            HashTable.Store(slot, key, NextCode);
            LastChild_[current] = (Found | value) << THashTable::CodeBits | unsigned(NextCode);
            ++NextCode;
        }
        current = value;
    }
    Current_ = current;
    PixelsLeft = 0;
}

void TLZWEncoder::FinishPixels() {
    if (!Started_) return;
    CurrentCode = std::int16_t(Current_);
    WriteCode(Current_);
    Started_ = false;
}
