// Every input that ever made the BMP reader crash, hang or ask for absurd memory, kept in
// tests/fuzz/fuzz_bmp_reader: each must now end in a picture or in one of the reader's own errors.

#include "BmpFile.h"
#include "Errors.h"
#include "MemoryGuard.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(FuzzRegressions, EveryKeptInputReadsOrFailsWithAPictureError) {
    // The same ceiling the fuzzer runs under, so a file that declares gigabytes is not given them.
    MemoryGuardHook::SetCeiling(64u << 20);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TESSIMAP_FUZZ_REGRESSIONS)) {
        if (entry.path().extension() != ".bmp") continue;
        ++files;
        SCOPED_TRACE(entry.path().filename().string());
        try {
            const TBitmap picture = LoadBitmapFromFile(entry.path().string());
            (void)picture.Converted(TPixelFormat::pf24bit);
        } catch (const EPictureError&) {
        }
    }
    MemoryGuardHook::Reset();
    EXPECT_GT(files, 0);
}
