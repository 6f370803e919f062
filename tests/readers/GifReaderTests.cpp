// SPDX-License-Identifier: GPL-3.0-or-later
// GIF files written by giflib open as their first frame on the logical screen.

#include "ReaderTestFiles.h"

#include "../picture/TestFiles.h"

#include "Errors.h"
#include "MemoryGuard.h"
#include "PictureReader.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Transparent = RGB(9, 8, 7);

TGifSpec Frame(bool interlaced, int transparentIndex) {
    TGifSpec spec;
    spec.Interlaced = interlaced;
    spec.Height = 11;
    spec.ScreenHeight = 14;
    spec.TransparentIndex = transparentIndex;
    for (int i = 0; i < 8; ++i)
        spec.Colors.push_back({GifByteType(i * 30), GifByteType(200 - i), GifByteType(i)});
    for (int i = 0; i < spec.Width * spec.Height; ++i)
        spec.Pixels.push_back(GifPixelType((i * 5 + i / 7) % 8));
    return spec;
}

TColor ColorOfIndex(const TGifSpec& spec, int index) {
    if (index == spec.TransparentIndex) return Transparent;
    const GifColorType c = spec.Colors[std::size_t(index)];
    return RGB(c.Red, c.Green, c.Blue);
}

TEST(GifReader, TheFirstFrameOpensOnItsScreenAtEightBits) {
    const TTempFolder folder;
    const std::string path = folder.File("frame.gif");
    for (const bool interlaced : {false, true})
        for (const int transparent : {-1, 3}) {
            SCOPED_TRACE(std::string(interlaced ? "interlaced" : "") + " transparent " +
                         std::to_string(transparent));
            const TGifSpec spec = Frame(interlaced, transparent);
            ASSERT_TRUE(WriteGifFile(path, spec));
            TReadReport report;
            const TBitmap bitmap = ReadPictureFile(path, Transparent, report);
            EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
            ASSERT_EQ(bitmap.Width(), spec.ScreenWidth);
            ASSERT_EQ(bitmap.Height(), spec.ScreenHeight);
            EXPECT_FALSE(report.Damaged());
            // Around the frame: the transparent colour when the frame has one, else the background.
            const TColor around = ColorOfIndex(spec, transparent >= 0 ? transparent : spec.Background);
            for (int y = 0; y < spec.ScreenHeight; ++y)
                for (int x = 0; x < spec.ScreenWidth; ++x) {
                    const int fx = x - spec.Left, fy = y - spec.Top;
                    const bool inside = fx >= 0 && fy >= 0 && fx < spec.Width && fy < spec.Height;
                    ASSERT_EQ(bitmap.Pixel(x, y),
                              inside ? ColorOfIndex(spec, spec.Pixels[std::size_t(fy * spec.Width + fx)])
                                     : around)
                        << x << "," << y;
                }
        }
}

TEST(GifReader, AShortFileOpensWithTheRowsItHoldsAndDamageIsRefused) {
    const TTempFolder folder;
    TGifSpec spec = Frame(false, -1);
    spec.Width = spec.ScreenWidth = 200;
    spec.Height = spec.ScreenHeight = 100;
    spec.Left = spec.Top = 0;
    spec.Pixels.clear();
    for (int i = 0; i < spec.Width * spec.Height; ++i)
        spec.Pixels.push_back(GifPixelType((i * 7 + i / 13) % 8));
    const std::string path = folder.File("short.gif");
    ASSERT_TRUE(WriteGifFile(path, spec));
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    const std::vector<std::uint8_t> whole = bytes;
    bytes.resize(bytes.size() / 2);
    WriteFileBytes(path, bytes);

    TReadReport report;
    const TBitmap bitmap = ReadPictureFile(path, Transparent, report);
    EXPECT_TRUE(report.Damaged());
    EXPECT_GT(report.RowsRead, 10);
    EXPECT_EQ(bitmap.Pixel(3, report.RowsRead - 1),
              ColorOfIndex(spec, spec.Pixels[std::size_t((report.RowsRead - 1) * 200 + 3)]));
    EXPECT_THROW(OpenPictureRows(path, Transparent), ETruncatedPixels);

    // A screen 65535 wide and high is more than a test may hold; a file with no frame is no picture.
    std::vector<std::uint8_t> huge = whole;
    huge[6] = huge[7] = huge[8] = huge[9] = 0xff;
    const std::vector<std::uint8_t> noFrame{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'};
    for (const auto& [file, error] :
         {std::pair{huge, "Out of memory"}, std::pair{noFrame, "GIF image is not valid"}}) {
        WriteFileBytes(path, file);
        MemoryGuardHook::SetCeiling(64u << 20);
        try {
            ReadPictureFile(path, Transparent, report);
            ADD_FAILURE() << "opened";
        } catch (const EPictureError& e) {
            EXPECT_NE(std::string(e.what()).find(error), std::string::npos) << e.what();
        }
        MemoryGuardHook::Reset();
    }
}

} // namespace
