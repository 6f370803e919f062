// SPDX-License-Identifier: GPL-3.0-or-later
// Packing the colour tables: which colours stay, in which order, and how pixels follow them.

#include "GifExtension.h"
#include "GifImage.h"
#include "GifTestSupport.h"
#include "Histogram.h"

#include <gtest/gtest.h>

#include <limits>
#include <numeric>

namespace {

using TBytes = std::vector<std::uint8_t>;

std::vector<TGIFColor> Greys(const TBytes& levels) {
    std::vector<TGIFColor> colors;
    for (const std::uint8_t level : levels)
        colors.push_back({level, level, level});
    return colors;
}

TBytes AllLevels() {
    TBytes levels(256);
    std::iota(levels.begin(), levels.end(), 0);
    return levels;
}

// Runs of {index, count}.
TBytes Runs(std::initializer_list<std::pair<int, int>> runs) {
    TBytes pixels;
    for (const auto& [index, count] : runs)
        pixels.insert(pixels.end(), std::size_t(count), std::uint8_t(index));
    return pixels;
}

TGIFSubImage& AddGreyImage(TGIFImage& image, const TBytes& levels, const TBytes& pixels) {
    TGIFSubImage& sub = image.AddSubImage();
    sub.SetSize(int(pixels.size()), 1);
    sub.Data = pixels;
    sub.ColorMap.Assign(Greys(levels));
    return sub;
}

// Packs one sub-image of grey levels and checks the global table, the pixels and that no
// transparency is left.
void ExpectPacked(const TBytes& levels, const TBytes& pixels, const TBytes& packed, const TBytes& renumbered,
                  int transparent = -1) {
    TGIFImage image;
    TGIFSubImage& sub = AddGreyImage(image, levels, pixels);
    if (transparent >= 0) sub.SetTransparentIndex(std::uint8_t(transparent));
    image.PackColorTables();
    EXPECT_EQ(image.Header.ColorMap.Colors(), Greys(packed));
    EXPECT_TRUE(image.Header.ColorMap.Sorted);
    EXPECT_EQ(sub.ColorMap.Count(), 0);
    EXPECT_EQ(sub.Data, renumbered);
    EXPECT_EQ((std::pair{sub.Transparent(), int(sub.TransparentIndex())}), (std::pair{false, 0}));
}

TEST(PackColorTables, OneGlobalTableOfTheColoursInUseMostUsedFirst) {
    ExpectPacked(AllLevels(), Runs({{70, 5}, {3, 10}, {255, 1}}), {3, 70, 255},
                 Runs({{1, 5}, {0, 10}, {2, 1}}));
    // Entries 1 and 4 are one colour: 3 + 3 pixels outweigh the 5 of entry 2.
    ExpectPacked({0, 9, 1, 2, 9}, Runs({{2, 5}, {1, 3}, {4, 3}, {3, 1}}), {9, 1, 2},
                 Runs({{1, 5}, {0, 6}, {2, 1}}));
    // Equal counts, worked by hand on the list quicksort: entries 1, 5, 0, 2, 4, 3. A stable sort
    // would give 5, 1, 4, 3, 2, 0.
    ExpectPacked({0, 10, 20, 30, 40, 50}, Runs({{0, 1}, {1, 3}, {2, 1}, {3, 1}, {4, 1}, {5, 3}}),
                 {10, 50, 0, 20, 40, 30}, Runs({{2, 1}, {0, 3}, {3, 1}, {5, 1}, {4, 1}, {1, 3}}));
    // Pixels beyond their table count as entry 0.
    ExpectPacked({0, 5}, {1, 7, 200, 1, 1}, {5, 0}, {0, 1, 1, 0, 0});
}

TEST(PackColorTables, NoPixelsOrAnUnusedTransparentIndexGetNoEntry) {
    ExpectPacked({0, 1, 2, 3}, {}, {}, {});
    ExpectPacked({0, 1, 2}, {0, 1, 1}, {1, 0}, {1, 0, 0}, 2);
}

// Grey i (1..255) is used i + 1 times, index 0 is transparent and used; a second sub-image adds
// (0, 0, 7) once as the 256th colour, which goes to the nearest sum, grey 2 at 253.
TEST(PackColorTables, WithTransparencyThe255MostUsedStayAndTheRestTakeTheNearestSum) {
    TGIFImage image;
    TBytes pixels = Runs({{0, 4}});
    for (int i = 1; i < 256; ++i)
        pixels.insert(pixels.end(), std::size_t(i + 1), std::uint8_t(i));
    TGIFSubImage& first = AddGreyImage(image, AllLevels(), pixels);
    first.SetTransparentIndex(0);
    TGIFSubImage& second = image.AddSubImage();
    second.SetSize(1, 1);
    second.ColorMap.Assign({{0, 0, 7}});
    image.PackColorTables();
    const auto& table = image.Header.ColorMap.Colors();
    ASSERT_EQ(table.size(), 256u);
    EXPECT_EQ((std::vector<TGIFColor>{table[0], table[254], table[255]}), Greys({255, 1, 0}));
    EXPECT_EQ(first.TransparentIndex(), 255);
    EXPECT_EQ((TBytes{first.Data[0], first.Data[4], first.Data.back(), second.Data[0]}),
              (TBytes{255, 254, 0, 253}));
}

// A count stops at the 32-bit limit rather than leaving the remaining pixels uncounted, which
// would drop colours that only occur after the limit is reached.
TEST(Histogram, ACountAtTheLimitSaturatesAndTheOtherPixelsAreStillCounted) {
    TGIFImage image;
    TGIFSubImage& sub = AddGreyImage(image, {0, 1}, {0, 0, 0, 1});
    THistogram histogram(sub.ColorMap);
    histogram.Tallies[0].UseCount = std::numeric_limits<std::int32_t>::max() - 1;
    histogram.ProcessSubImage(sub);
    EXPECT_EQ(histogram.Tallies[0].UseCount, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(histogram.Tallies[1].UseCount, 1);
}

} // namespace
