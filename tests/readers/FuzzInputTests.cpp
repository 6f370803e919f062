// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzz targets' seeds and kept inputs, read by every ordinary test run: each ends in a
// picture or in one of the readers' own errors.

#include "../picture/TestFiles.h"

#include "ByteSource.h"
#include "Errors.h"
#include "GifReader.h"
#include "MemoryGuard.h"
#include "PngReader.h"

#include <gtest/gtest.h>

namespace {

TEST(ReaderFuzzInputs, EachEndsInAPictureOrAReaderError) {
    int files = 0;
    for (const std::string target : {"fuzz_png_reader", "fuzz_gif_reader"})
        for (const char* folder : {"/fuzz/seeds/", "/tests/fuzz/"}) {
            const std::string inputs = std::string(TESSIMAP_SOURCE_DIR) + folder + target;
            if (!std::filesystem::exists(inputs)) continue;
            for (const auto& entry : std::filesystem::directory_iterator(inputs)) {
                SCOPED_TRACE(entry.path().string());
                const std::vector<std::uint8_t> bytes = ReadFileBytes(entry.path().string());
                TMemorySource source(bytes);
                TReadReport report;
                MemoryGuardHook::SetCeiling(64u << 20);
                try {
                    const TBitmap bitmap = target == "fuzz_png_reader" ? ReadPng(source, clBlack, report)
                                                                       : ReadGif(source, clBlack, report);
                    EXPECT_EQ(report.Height, bitmap.Height());
                } catch (const EPictureError&) {
                }
                MemoryGuardHook::Reset();
                ++files;
            }
        }
    EXPECT_GT(files, 0);
}

} // namespace
