// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "MemoryGuard.h"
#include "ReadReport.h"

#include <cstdint>
#include <cstdlib>

// What every picture reader's target holds a read to, whatever the format.
namespace ReadPictureChecks {

// Pictures larger than this are refused as out of memory, so that each run stays fast.
constexpr std::uint64_t FuzzCeilingBytes = 4u << 20;

inline void LimitMemory() {
    MemoryGuardHook::SetCeiling(FuzzCeilingBytes);
}

// The report agrees with the picture, and every index has its entry in the table, so a save
// keeps what the picture shows.
inline void CheckReadPicture(const TBitmap& bitmap, const TReadReport& report) {
    if (report.RowsRead < 0 || report.RowsRead > bitmap.Height() || report.Height != bitmap.Height())
        std::abort();
    if (bitmap.ColorTable().size() > 256) std::abort();
    if (IsPaletteFormat(bitmap.PixelFormat()))
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (bitmap.PixelValue(x, y) >= bitmap.ColorTable().size()) std::abort();
}

} // namespace ReadPictureChecks
