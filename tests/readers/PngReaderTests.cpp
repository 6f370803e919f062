// SPDX-License-Identifier: GPL-3.0-or-later
// PNG files of every colour type and bit depth, written by libpng, open with the pixels their
// samples stand for, worked out here from the samples alone.

#include "ReaderTestFiles.h"

#include "../picture/TestFiles.h"

#include "ByteSource.h"
#include "Errors.h"
#include "PictureReader.h"
#include "PngReader.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

constexpr TColor Transparent = RGB(1, 254, 3);

// libpng's rounding of a 16-bit sample to 8 bits.
std::uint8_t Eight(unsigned v, int depth) {
    return depth == 16 ? std::uint8_t((v * 255 + 32895) >> 16) : std::uint8_t(v);
}

struct TPngCase {
    const char* Name;
    TPngSpec Spec;
    TPixelFormat Format;
};

TPngSpec Spec(int colorType, int depth, bool interlaced = false) {
    TPngSpec spec;
    spec.ColorType = colorType;
    spec.BitDepth = depth;
    spec.Interlaced = interlaced;
    return spec;
}

std::vector<TPngCase> Cases() {
    std::vector<TPngCase> cases;
    for (const int depth : {1, 2, 4, 8, 16}) {
        const auto format = depth == 1   ? TPixelFormat::pf1bit
                            : depth <= 4 ? TPixelFormat::pf4bit
                            : depth == 8 ? TPixelFormat::pf8bit
                                         : TPixelFormat::pf24bit;
        cases.push_back({"grey", Spec(PNG_COLOR_TYPE_GRAY, depth), format});
        TPngSpec trns = Spec(PNG_COLOR_TYPE_GRAY, depth, true);
        trns.TransColor = png_color_16{0, 0, 0, 0, png_uint_16(std::min((1u << depth) - 1, 2u))};
        cases.push_back({"grey interlaced tRNS", trns, format});
        if (depth == 16) continue;
        TPngSpec palette = Spec(PNG_COLOR_TYPE_PALETTE, depth);
        // A table shorter than the depth allows: the indices past it are black.
        const int entries = depth == 1 ? 2 : (1 << depth) - 1;
        for (int i = 0; i < entries; ++i)
            palette.Palette.push_back({png_byte(i * 37), png_byte(255 - i), png_byte(i * 11 + 5)});
        palette.TransAlpha = {0, 200, 255, 100};
        palette.TransAlpha.resize(std::min<std::size_t>(4, palette.Palette.size()));
        cases.push_back({"palette tRNS", palette, depth == 1 ? TPixelFormat::pf1bit : format});
    }
    for (const int depth : {8, 16})
        for (const bool interlaced : {false, true}) {
            cases.push_back({"rgb", Spec(PNG_COLOR_TYPE_RGB, depth, interlaced), TPixelFormat::pf24bit});
            TPngSpec trns = Spec(PNG_COLOR_TYPE_RGB, depth, interlaced);
            trns.TransColor = png_color_16{0, 1, 0, 1, 0};
            cases.push_back({"rgb tRNS", trns, TPixelFormat::pf24bit});
            cases.push_back(
                {"grey+alpha", Spec(PNG_COLOR_TYPE_GRAY_ALPHA, depth, interlaced), TPixelFormat::pf24bit});
            cases.push_back(
                {"rgba", Spec(PNG_COLOR_TYPE_RGB_ALPHA, depth, interlaced), TPixelFormat::pf24bit});
        }
    return cases;
}

// The colour the pixel stands for, and whether it is partly transparent made opaque.
std::pair<TColor, bool> Expected(const TPngSpec& s, int x, int y) {
    const int d = s.BitDepth;
    const unsigned v = s.Sample(x, y, 0);
    switch (s.ColorType) {
    case PNG_COLOR_TYPE_PALETTE: {
        const unsigned alpha = v < s.TransAlpha.size() ? s.TransAlpha[v] : 255;
        if (alpha < 128) return {Transparent, false};
        const png_color c = v < s.Palette.size() ? s.Palette[v] : png_color{0, 0, 0};
        return {RGB(c.red, c.green, c.blue), alpha < 255};
    }
    case PNG_COLOR_TYPE_GRAY: {
        if (s.TransColor && v == s.TransColor->gray) return {Transparent, false};
        const auto g = d == 16 ? Eight(v, 16) : std::uint8_t(v * 255 / ((1u << d) - 1));
        return {RGB(g, g, g), false};
    }
    case PNG_COLOR_TYPE_GRAY_ALPHA: {
        const auto a = Eight(s.Sample(x, y, 1), d), g = Eight(v, d);
        return {a < 128 ? Transparent : RGB(g, g, g), a >= 128 && a < 255};
    }
    default: {
        const unsigned r = v, g = s.Sample(x, y, 1), b = s.Sample(x, y, 2);
        if (s.TransColor && r == s.TransColor->red && g == s.TransColor->green && b == s.TransColor->blue)
            return {Transparent, false};
        const auto a = s.ColorType == PNG_COLOR_TYPE_RGB_ALPHA ? Eight(s.Sample(x, y, 3), d) : 255;
        return {a < 128 ? Transparent : RGB(Eight(r, d), Eight(g, d), Eight(b, d)), a >= 128 && a < 255};
    }
    }
}

TEST(PngReader, EveryColourTypeAndDepthOpensWithTheColoursOfItsSamples) {
    const TTempFolder folder;
    unsigned seed = 1;
    for (TPngCase c : Cases()) {
        SCOPED_TRACE(std::string(c.Name) + " " + std::to_string(c.Spec.BitDepth) + " bits" +
                     (c.Spec.Interlaced ? " interlaced" : ""));
        const unsigned limit = c.Spec.ColorType == PNG_COLOR_TYPE_PALETTE ? 1u << c.Spec.BitDepth : 0;
        // Few values at high depths, so that tRNS colours and every alpha band are met.
        c.Spec.FillRandom(seed++, c.Spec.BitDepth > 4 && c.Spec.TransColor ? 3 : limit);
        if (c.Spec.ColorType & PNG_COLOR_MASK_ALPHA)
            for (std::size_t i = c.Spec.Channels() - 1; i < c.Spec.Samples.size(); i += c.Spec.Channels())
                c.Spec.Samples[i] =
                    std::uint16_t((std::uint32_t(c.Spec.Samples[i]) * 7) % (1u << c.Spec.BitDepth));
        const std::string path = folder.File("case.png");
        ASSERT_TRUE(WritePngFile(path, c.Spec));

        TReadReport report;
        const TBitmap bitmap = ReadPictureFile(path, Transparent, report);
        EXPECT_EQ(bitmap.PixelFormat(), c.Format);
        ASSERT_EQ(bitmap.Width(), c.Spec.Width);
        ASSERT_EQ(bitmap.Height(), c.Spec.Height);
        EXPECT_FALSE(report.Damaged());
        std::uint64_t madeOpaque = 0;
        for (int y = 0; y < c.Spec.Height; ++y)
            for (int x = 0; x < c.Spec.Width; ++x) {
                const auto [color, partly] = Expected(c.Spec, x, y);
                ASSERT_EQ(bitmap.Pixel(x, y), color) << "at " << x << "," << y;
                madeOpaque += partly;
            }
        EXPECT_EQ(report.MadeOpaque, madeOpaque);

        // The rows read as they go, in both orders, are the rows opened whole.
        TPngFileRows rows(path, Transparent);
        for (const auto order : {TRowOrder::BottomFirst, TRowOrder::TopFirst}) {
            rows.Rewind(order);
            for (int i = 0; i < bitmap.Height(); ++i) {
                const int y = order == TRowOrder::TopFirst ? i : bitmap.Height() - 1 - i;
                ASSERT_TRUE(
                    std::equal(bitmap.ScanLine(y), bitmap.ScanLine(y) + rows.RowBytes(), rows.NextRow()));
            }
        }
    }
}

TEST(PngReader, AShortFileOpensWithTheRowsItHoldsAndRowsByTheRowRefuseIt) {
    const TTempFolder folder;
    TPngSpec spec = Spec(PNG_COLOR_TYPE_RGB, 8);
    spec.Width = 300;
    spec.Height = 200;
    spec.FillRandom(7);
    const std::string whole = folder.File("whole.png"), cut = folder.File("cut.png");
    ASSERT_TRUE(WritePngFile(whole, spec));
    std::vector<std::uint8_t> bytes = ReadFileBytes(whole);
    bytes.resize(bytes.size() / 2);
    WriteFileBytes(cut, bytes);

    TReadReport report;
    const TBitmap bitmap = ReadPictureFile(cut, Transparent, report);
    EXPECT_TRUE(report.Damaged());
    EXPECT_GT(report.RowsRead, 0);
    EXPECT_EQ(report.Height, 200);
    EXPECT_EQ(bitmap.Pixel(5, report.RowsRead - 1), (Expected(spec, 5, report.RowsRead - 1).first));
    EXPECT_EQ(bitmap.Pixel(5, 199), clBlack);

    TPngFileRows rows(cut, Transparent);
    rows.Rewind(TRowOrder::TopFirst);
    EXPECT_THROW(for (int y = 0; y < rows.Height(); ++y) rows.NextRow(), ETruncatedPixels);
    EXPECT_THROW(rows.Rewind(TRowOrder::BottomFirst), ETruncatedPixels);
}

TEST(PngReader, HostileOrDamagedFilesAreRefusedWithTheirError) {
    const TTempFolder folder;
    TPngSpec spec = Spec(PNG_COLOR_TYPE_PALETTE, 8);
    spec.Palette.assign(4, png_color{1, 2, 3});
    spec.FillRandom(3, 4);
    const std::string path = folder.File("p.png");
    ASSERT_TRUE(WritePngFile(path, spec));
    const std::vector<std::uint8_t> good = ReadFileBytes(path);
    // IHDR sits at 8 (length, type), its width at 16 and height at 20, its CRC at 29.
    const auto withCrc = [](std::vector<std::uint8_t> b) {
        const auto crc = crc32(crc32(0, nullptr, 0), b.data() + 12, 17);
        for (int i = 0; i < 4; ++i)
            b[29 + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
        return b;
    };
    std::vector<std::uint8_t> huge = good;
    for (const std::size_t at : {16, 20})
        huge[at] = 0x7f, huge[at + 1] = huge[at + 2] = huge[at + 3] = 0xff;
    std::vector<std::uint8_t> badCrc = good;
    badCrc[good.size() - 20] ^= 0x55; // inside the last IDAT
    std::vector<std::uint8_t> headerOnly(good.begin(), good.begin() + 20);

    const struct {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
        const char* Error;
    } cases[] = {
        {"too large for memory", withCrc(huge), "Out of memory"},
        {"damaged data", badCrc, "PNG image is not valid"},
        {"ends in the header", headerOnly, "Stream read error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteFileBytes(path, c.Bytes);
        TReadReport report;
        try {
            ReadPictureFile(path, Transparent, report);
            ADD_FAILURE() << "opened";
        } catch (const EPictureError& error) {
            EXPECT_NE(std::string(error.what()).find(c.Error), std::string::npos) << error.what();
        }
        EXPECT_THROW(
            {
                const auto rows = OpenPictureRows(path, Transparent);
                rows->Rewind(TRowOrder::TopFirst);
                for (int y = 0; y < rows->Height(); ++y)
                    rows->NextRow();
            },
            EPictureError);
    }
}

} // namespace
