#include "LZWEncoder.h"

#include "GifErrors.h"

namespace {
[[noreturn]] void ColorNotInTable() { throw GIFException("Color not in color table"); }
} // namespace

void TLZWEncoder::WriteCode(unsigned code) {
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
    WriteCode(ClearCode);
    HashTable.Clear();
    NextCode = std::int16_t(ClearCode + 2);
}

void TLZWEncoder::CompressLoop() {
    // The table is already empty when the encoder is made; Clear empties it again anyway.
    Clear();
    const std::uint8_t* pixel = Pixels;
    const std::uint8_t* const end = Pixels + PixelsLeft;
    const unsigned limit = unsigned(ColorLimit);

    if (*pixel >= limit) ColorNotInTable();
    unsigned current = *pixel++;
    for (; pixel != end; ++pixel) {
        const unsigned value = *pixel;
        if (value >= limit) ColorNotInTable();
        const std::uint32_t key = (current << 8) | value;
        int slot;
        const int code = HashTable.Find(key, slot);
        if (code >= 0) {
            current = unsigned(code);
            continue;
        }
        CurrentCode = std::int16_t(current);
        WriteCode(current);
        current = value;
        if (NextCode >= LastCode || slot < 0) {
            Clear();
        } else {
            HashTable.Store(slot, key, NextCode);
            ++NextCode;
        }
    }
    CurrentCode = std::int16_t(current);
    WriteCode(current);
    PixelsLeft = 0;
}
