// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

// The LZW string table: open addressing over a prime number of 32-bit slots, so that a reset is
// one fill and no string costs an allocation. A used slot holds (key << 12) | code, where the
// key is (prefix code << 8) | pixel; a slot whose top 20 bits are all ones is empty.
class THashTable {
  public:
    static constexpr int Size = 8009;
    static constexpr std::uint32_t EmptySlot = 0xFFFFFFFFu;
    static constexpr int CodeBits = 12;
    static constexpr std::uint32_t CodeMask = (1u << CodeBits) - 1;
    // Doubling modulo 8009 walks cycles of 4004 slots. A table holding more strings than that
    // could, with unlucky keys, fill one cycle; the probe stops there instead of going round.
    static constexpr int MaxProbes = 4005;

    THashTable() { Clear(); }
    void Clear() { Slots_.fill(EmptySlot); }

    // The code stored under the key, or -1 when the key is absent. For an absent key, slot is
    // where Store may put it, or -1 when its probe found no free slot.
    int Find(std::uint32_t key, int& slot) const {
        int h = Hash(key);
        for (int probes = 0; probes < MaxProbes; ++probes) {
            const std::uint32_t entry = Slots_[std::size_t(h)];
            if ((entry >> CodeBits) == (EmptySlot >> CodeBits)) {
                slot = h;
                return -1;
            }
            if ((entry >> CodeBits) == key) return int(entry & CodeMask);
            h = Next(h);
        }
        slot = -1;
        return -1;
    }

    int Lookup(std::uint32_t key) const {
        int slot;
        return Find(key, slot);
    }

    // False when the probe for the key found no free slot.
    bool Insert(std::uint32_t key, int code) {
        int slot;
        if (Find(key, slot) >= 0 || slot < 0) return false;
        Store(slot, key, code);
        return true;
    }

    void Store(int slot, std::uint32_t key, int code) {
        Slots_[std::size_t(slot)] = (key << CodeBits) | (std::uint32_t(code) & CodeMask);
    }

    static int Hash(std::uint32_t key) { return int((key ^ (key >> 4)) % Size); }
    static int Next(int h) {
        if (h == 0) return Size - 1;
        const int doubled = 2 * h;
        return doubled >= Size ? doubled - Size : doubled;
    }

  private:
    std::array<std::uint32_t, Size> Slots_;
};
