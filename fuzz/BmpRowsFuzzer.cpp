// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the BMP reader by the row, the one tessimap-export reads with, through
// a file in memory. Opening may not allocate for the pixels, however many a header declares; a
// file the editor refuses is refused by the row too; and where the editor opens the bytes, the
// rows read in either order are the rows it holds.

#include "BmpFile.h"
#include "BmpFileRows.h"
#include "ByteSource.h"
#include "Errors.h"
#include "MemoryGuard.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Rows are compared only in pictures the editor holds in this much memory, of this many rows or
// less: every pixel of a row is decoded, whether or not the input filled it, and a larger or
// taller picture only repeats the comparison of zeros at a cost that slows the search.
constexpr std::uint64_t FuzzCeilingBytes = 2u << 20;
constexpr int ComparedRowsAtMost = 4096;

// One file in memory, rewritten for every input: no disk, and no name to clean up.
int MemoryFile = -1;
std::string MemoryFilePath;

bool WriteMemoryFile(const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(MemoryFile, 0) != 0) return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::pwrite(MemoryFile, data + done, size - done, off_t(done));
        if (wrote <= 0) return false;
        done += std::size_t(wrote);
    }
    return true;
}

// The picture the editor opens from the bytes, or nothing with the reason it was refused.
std::optional<TBitmap> OpenedByEditor(const std::uint8_t* data, std::size_t size, bool& refusedAsBroken) {
    refusedAsBroken = false;
    try {
        TMemorySource source(data, size);
        return ReadBitmap(source, TBmpReadDepth::Editing);
    } catch (const EOutOfMemory&) {
    } catch (const EPictureError&) {
        refusedAsBroken = true;
    } catch (const std::bad_alloc&) {
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MemoryFile = ::memfd_create("fuzz-bmp-rows", MFD_CLOEXEC);
    if (MemoryFile < 0) std::abort();
    MemoryFilePath = "/proc/self/fd/" + std::to_string(MemoryFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteMemoryFile(data, size)) std::abort();
    std::optional<TBmpFileRows> rows;
    {
        // Every guarded allocation fails here: opening must not need one.
        const TForcedOutOfMemory nothingAllocates;
        try {
            rows.emplace(MemoryFilePath);
        } catch (const EOutOfMemory&) {
            std::abort();
        } catch (const EPictureError&) {
        }
    }

    // Set again for every input: the scope above ended in a reset.
    MemoryGuardHook::SetCeiling(FuzzCeilingBytes);
    bool refusedAsBroken = false;
    const std::optional<TBitmap> opened = OpenedByEditor(data, size, refusedAsBroken);
    if (refusedAsBroken && rows && rows->Streamable()) std::abort();
    if (!opened || !rows || !rows->Streamable() || opened->Height() > ComparedRowsAtMost) return 0;
    if (rows->PixelFormat() != opened->PixelFormat() || rows->Width() != opened->Width() ||
        rows->Height() != opened->Height() || rows->ColorTable() != opened->ColorTable())
        std::abort();
    try {
        for (const TRowOrder order : {TRowOrder::TopFirst, TRowOrder::BottomFirst}) {
            rows->Rewind(order);
            for (int i = 0; i < opened->Height(); ++i) {
                const int y = order == TRowOrder::TopFirst ? i : opened->Height() - 1 - i;
                if (std::memcmp(rows->NextRow(), opened->ScanLine(y), opened->RowBytes()) != 0) std::abort();
            }
        }
    } catch (const EOutOfMemory&) {
        // The ceiling, reached by the row blocks.
    }
    return 0;
}
