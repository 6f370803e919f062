// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the BMP reader. Whatever it accepts must survive a save and read
// back as the same pixels, and convert to the depths the editor uses; and a file of the bytes
// read a row at a time must give the rows the editor opens.

#include "BmpFile.h"
#include "BmpFileRows.h"
#include "ByteSink.h"
#include "ByteSource.h"
#include "Errors.h"
#include "MemoryGuard.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <unistd.h>

namespace {

// Pictures larger than this are refused as out of memory, so that each run stays fast; the
// arithmetic that leads up to the refusal is what matters here. The colour matcher's 16 MiB
// table of answers still fits.
constexpr std::uint64_t FuzzCeilingBytes = 20u << 20;
constexpr std::uint64_t ConvertedPixelsAtMost = 1u << 16;

bool SamePicture(const TBitmap& a, const TBitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.PixelFormat() == b.PixelFormat() &&
           a.PixelBuffer() == b.PixelBuffer() && a.ColorTable() == b.ColorTable();
}

// Where the editor opens the bytes, the rows read from a file of them one at a time, in either
// order, are the rows it holds.
void CompareRowsWithOpened(const std::uint8_t* data, std::size_t size) {
    TBitmap opened;
    try {
        TMemorySource source(data, size);
        opened = ReadBitmap(source, TBmpReadDepth::Editing);
    } catch (const EPictureError&) {
        return;
    } catch (const std::bad_alloc&) {
        return;
    }
    static const std::string path = "/tmp/fuzz-bmp-rows-" + std::to_string(::getpid()) + ".bmp";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    // The file goes when the rows have been compared, whichever way that ends.
    const struct TRemove {
        const std::string& Path;
        ~TRemove() { std::remove(Path.c_str()); }
    } remove{path};
    try {
        TBmpFileRows rows(path);
        if (!rows.Streamable()) return;
        if (rows.PixelFormat() != opened.PixelFormat() || rows.Width() != opened.Width() ||
            rows.Height() != opened.Height() || rows.ColorTable() != opened.ColorTable())
            std::abort();
        for (const TRowOrder order : {TRowOrder::TopFirst, TRowOrder::BottomFirst}) {
            rows.Rewind(order);
            for (int i = 0; i < opened.Height(); ++i) {
                const int y = order == TRowOrder::TopFirst ? i : opened.Height() - 1 - i;
                if (std::memcmp(rows.NextRow(), opened.ScanLine(y), opened.RowBytes()) != 0) std::abort();
            }
        }
    } catch (const EOutOfMemory&) {
    } catch (const std::bad_alloc&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MemoryGuardHook::SetCeiling(FuzzCeilingBytes);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CompareRowsWithOpened(data, size);
    TBitmap bitmap;
    try {
        TMemorySource source(data, size);
        bitmap = ReadBitmap(source);
    } catch (const EPictureError&) {
        return 0;
    }
    try {
        TMemorySink sink;
        WriteBitmap(bitmap, sink);
        TMemorySource written(sink.Bytes);
        if (!SamePicture(bitmap, ReadBitmap(written))) std::abort();
        if (std::uint64_t(bitmap.Width()) * std::uint64_t(bitmap.Height()) <= ConvertedPixelsAtMost) {
            bitmap.Converted(TPixelFormat::pf24bit);
            bitmap.Converted(TPixelFormat::pf8bit);
            bitmap.Converted(TPixelFormat::pf16bit);
        }
    } catch (const EOutOfMemory&) {
        // The ceiling above, reached by a copy.
    } catch (const std::bad_alloc&) {
        // The same, for a table built with plain new.
    }
    return 0;
}
