// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the BMP reader the editor opens pictures with. Whatever it accepts
// must survive a save and read back as the same pixels, and convert to the depths the editor
// uses. The reader by the row has a target of its own (BmpRowsFuzzer.cpp).

#include "BmpFile.h"
#include "ByteSink.h"
#include "ByteSource.h"
#include "Errors.h"
#include "MemoryGuard.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// Pictures larger than this are refused as out of memory, so that each run stays fast: every
// pixel of a row is decoded whether or not the input filled it, and the arithmetic that leads up
// to the refusal is what matters here. The conversions get more, for the colour matcher's 16 MiB
// table of answers.
constexpr std::uint64_t PictureCeilingBytes = 2u << 20;
constexpr std::uint64_t ConversionCeilingBytes = 20u << 20;
constexpr std::uint64_t ConvertedPixelsAtMost = 1u << 16;
// A header may declare half a million rows over a few hundred bytes; saving and reading them
// again costs per row and finds nothing a few thousand rows would not.
constexpr int SavedRowsAtMost = 4096;

bool SamePicture(const TBitmap& a, const TBitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.PixelFormat() == b.PixelFormat() &&
           a.PixelBuffer() == b.PixelBuffer() && a.ColorTable() == b.ColorTable();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryGuardHook::SetCeiling(PictureCeilingBytes);
    TBitmap bitmap;
    try {
        TMemorySource source(data, size);
        bitmap = ReadBitmap(source);
    } catch (const EPictureError&) {
        return 0;
    }
    if (bitmap.Height() > SavedRowsAtMost) return 0;
    try {
        TMemorySink sink;
        WriteBitmap(bitmap, sink);
        TMemorySource written(sink.Bytes);
        if (!SamePicture(bitmap, ReadBitmap(written))) std::abort();
        if (std::uint64_t(bitmap.Width()) * std::uint64_t(bitmap.Height()) <= ConvertedPixelsAtMost) {
            MemoryGuardHook::SetCeiling(ConversionCeilingBytes);
            bitmap.Converted(TPixelFormat::pf24bit);
            bitmap.Converted(TPixelFormat::pf8bit);
            bitmap.Converted(TPixelFormat::pf16bit);
        }
    } catch (const EOutOfMemory&) {
        // A ceiling above, reached by a copy or a conversion.
    } catch (const std::bad_alloc&) {
        // The same, for a table built with plain new.
    }
    return 0;
}
