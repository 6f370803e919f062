// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the GIF reader. Whatever it accepts must come back as a picture of
// the editor's formats whose every index has its colour; whatever it refuses, it refuses with one of
// the picture errors, never by reading or writing outside its buffers or allocating far beyond
// what the input could fill.

#include "ByteSource.h"
#include "Errors.h"
#include "GifReader.h"
#include "MemoryGuard.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// Pictures larger than this are refused as out of memory, so that each run stays fast.
constexpr std::uint64_t FuzzCeilingBytes = 4u << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryGuardHook::SetCeiling(FuzzCeilingBytes);
    try {
        TMemorySource source(data, size);
        TReadReport report;
        const TBitmap bitmap = ReadGif(source, RGB(1, 2, 3), report);
        if (report.RowsRead < 0 || report.RowsRead > bitmap.Height() || report.Height != bitmap.Height())
            std::abort();
        if (bitmap.ColorTable().size() > 256) std::abort();
        // Every index has its entry in the table, so a save keeps what the picture shows.
        if (IsPaletteFormat(bitmap.PixelFormat()))
            for (int y = 0; y < bitmap.Height(); ++y)
                for (int x = 0; x < bitmap.Width(); ++x)
                    if (bitmap.PixelValue(x, y) >= bitmap.ColorTable().size()) std::abort();
    } catch (const EPictureError&) {
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
