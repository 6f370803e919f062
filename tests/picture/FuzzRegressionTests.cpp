// SPDX-License-Identifier: GPL-3.0-or-later
// Every input that ever made the BMP reader crash, hang or ask for absurd memory, kept in
// tests/fuzz/fuzz_bmp_reader: each must now end in a picture or in one of the reader's own errors.

#include "BmpFile.h"
#include "BmpFileRows.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "PictureFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

// Where the editor opens a file, the rows read from the file one at a time are the rows it holds.
void ExpectRowsAsOpened(const std::string& path) {
    TBitmap picture;
    try {
        picture = OpenPictureForEditing(path);
    } catch (const EPictureError&) {
        return;
    }
    TBmpFileRows rows(path);
    if (!rows.Streamable()) return;
    ASSERT_EQ(rows.PixelFormat(), picture.PixelFormat());
    ASSERT_EQ(rows.Height(), picture.Height());
    EXPECT_EQ(rows.ColorTable(), picture.ColorTable());
    rows.Rewind(TRowOrder::TopFirst);
    for (int y = 0; y < picture.Height(); ++y)
        ASSERT_TRUE(std::equal(picture.ScanLine(y), picture.ScanLine(y) + picture.RowBytes(), rows.NextRow()))
            << "row " << y;
}

} // namespace

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
        ExpectRowsAsOpened(entry.path().string());
    }
    MemoryGuardHook::Reset();
    EXPECT_GT(files, 0);
}
