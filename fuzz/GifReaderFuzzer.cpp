// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the GIF reader. Whatever it accepts must come back as a picture of
// the editor's formats whose every index has its colour; whatever it refuses, it refuses with one of
// the picture errors, never by reading or writing outside its buffers or allocating far beyond
// what the input could fill.

#include "ByteSource.h"
#include "Errors.h"
#include "GifReader.h"
#include "ReadPictureChecks.h"

#include <cstdint>
#include <cstdlib>
#include <new>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadPictureChecks::LimitMemory();
    try {
        TMemorySource source(data, size);
        TReadReport report;
        const TBitmap bitmap = ReadGif(source, RGB(1, 2, 3), report);
        ReadPictureChecks::CheckReadPicture(bitmap, report);
    } catch (const EPictureError&) {
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
