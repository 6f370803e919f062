// Packing the colour tables: which colours stay, in which order, and how pixels follow them.

#include "GifExtension.h"
#include "GifImage.h"
#include "GifTestSupport.h"
#include "Histogram.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TGIFSubImage& AddIndexed(TGIFImage& image, const std::vector<TGIFColor>& colors,
                         const std::vector<std::uint8_t>& pixels) {
    TGIFSubImage& sub = image.AddSubImage();
    sub.SetSize(int(pixels.size()), 1);
    sub.Data = pixels;
    sub.ColorMap.Assign(colors);
    return sub;
}

std::vector<TGIFColor> Greys(int count) {
    std::vector<TGIFColor> colors;
    for (int i = 0; i < count; ++i)
        colors.push_back({std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
    return colors;
}

std::vector<std::uint8_t> Repeat(std::initializer_list<std::pair<int, int>> runs) {
    std::vector<std::uint8_t> pixels;
    for (const auto& [index, count] : runs)
        pixels.insert(pixels.end(), std::size_t(count), std::uint8_t(index));
    return pixels;
}

TEST(PackColorTables, ThreeUsedEntriesOf256BecomeAGlobalTableByUse) {
    TGIFImage image;
    TGIFSubImage& sub = AddIndexed(image, Greys(256), Repeat({{70, 5}, {3, 10}, {255, 1}, {70, 0}}));
    image.PackColorTables();
    EXPECT_EQ(image.Header.ColorMap.Colors(),
              (std::vector<TGIFColor>{{3, 3, 3}, {70, 70, 70}, {255, 255, 255}}));
    EXPECT_TRUE(image.Header.ColorMap.Sorted);
    EXPECT_EQ(sub.ColorMap.Count(), 0);
    EXPECT_EQ(sub.Data, Repeat({{1, 5}, {0, 10}, {2, 1}}));
}

TEST(PackColorTables, EqualColoursMergeIntoOneEntryWithTheSummedCount) {
    // Entries 1 and 4 are the same colour: 3 + 3 pixels outweigh the 5 of entry 2.
    std::vector<TGIFColor> colors{{0, 0, 0}, {9, 8, 7}, {1, 1, 1}, {2, 2, 2}, {9, 8, 7}};
    TGIFImage image;
    TGIFSubImage& sub = AddIndexed(image, colors, Repeat({{2, 5}, {1, 3}, {4, 3}, {3, 1}}));
    image.PackColorTables();
    EXPECT_EQ(image.Header.ColorMap.Colors(), (std::vector<TGIFColor>{{9, 8, 7}, {1, 1, 1}, {2, 2, 2}}));
    EXPECT_EQ(sub.Data, Repeat({{1, 5}, {0, 6}, {2, 1}}));
}

TEST(PackColorTables, EqualCountsComeOutInTheOrderOfTheListQuicksort) {
    // Counts 1, 3, 1, 1, 1, 3 for red levels 10 to 60. Worked through by hand on the list
    // quicksort: entries 1, 5, 0, 2, 4, 3. A stable sort would give 5, 1, 4, 3, 2, 0.
    std::vector<TGIFColor> colors;
    for (int i = 1; i <= 6; ++i)
        colors.push_back({std::uint8_t(10 * i), 0, 0});
    TGIFImage image;
    AddIndexed(image, colors, Repeat({{0, 1}, {1, 3}, {2, 1}, {3, 1}, {4, 1}, {5, 3}}));
    image.PackColorTables();
    std::vector<int> reds;
    for (const TGIFColor& c : image.Header.ColorMap.Colors())
        reds.push_back(c.Red);
    EXPECT_EQ(reds, (std::vector<int>{20, 60, 10, 30, 50, 40}));
}

TEST(PackColorTables, PixelsBeyondTheirTableCountAsEntryZero) {
    TGIFImage image;
    TGIFSubImage& sub = AddIndexed(image, {{5, 5, 5}, {6, 6, 6}}, {1, 7, 200, 1, 1});
    image.PackColorTables();
    EXPECT_EQ(image.Header.ColorMap.Colors(), (std::vector<TGIFColor>{{6, 6, 6}, {5, 5, 5}}));
    EXPECT_EQ(sub.Data, (std::vector<std::uint8_t>{0, 1, 1, 0, 0}));
}

TEST(PackColorTables, ATransparentIndexThatNeverOccursLosesItsTransparency) {
    // Every grey but 7, which is the transparent index: 255 colours in use.
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 256; ++i)
        pixels.push_back(std::uint8_t(i == 7 ? 8 : i));
    TGIFImage image;
    TGIFSubImage& sub = AddIndexed(image, Greys(256), pixels);
    sub.SetTransparentIndex(7);
    image.PackColorTables();
    EXPECT_FALSE(sub.Transparent());
    EXPECT_EQ(sub.TransparentIndex(), 0);
    // All 255 are kept and no slot is reserved for transparency.
    EXPECT_EQ(image.Header.ColorMap.Count(), 255);
}

TEST(PackColorTables, WithTransparencyThe255MostUsedStayAndTheRestTakeTheNearestSum) {
    // Sub-image 1: grey i (i = 1..255) used i + 1 times, index 0 transparent and used.
    // Sub-image 2: colour (0, 0, 1), used once, the 256th colour: it goes to grey 1 (sum 3),
    // the least used kept grey, at index 254.
    TGIFImage image;
    std::vector<std::uint8_t> pixels = Repeat({{0, 4}});
    for (int i = 1; i < 256; ++i)
        pixels.insert(pixels.end(), std::size_t(i + 1), std::uint8_t(i));
    TGIFSubImage& first = AddIndexed(image, Greys(256), pixels);
    first.SetTransparentIndex(0);
    TGIFSubImage& second = AddIndexed(image, {{0, 0, 1}}, {0});

    image.PackColorTables();
    const auto& table = image.Header.ColorMap.Colors();
    ASSERT_EQ(table.size(), 256u);
    EXPECT_EQ(table[0], (TGIFColor{255, 255, 255}));
    EXPECT_EQ(table[254], (TGIFColor{1, 1, 1}));
    EXPECT_EQ(table[255], (TGIFColor{0, 0, 0}));
    EXPECT_EQ(first.TransparentIndex(), 255);
    EXPECT_EQ(first.Data[0], 255);
    EXPECT_EQ(first.Data[4], 254);
    EXPECT_EQ(first.Data.back(), 0);
    EXPECT_EQ(second.Data, (std::vector<std::uint8_t>{254}));
}

// Counts stop at the 32-bit limit rather than leaving the remaining pixels uncounted, which
// would drop colours that only occur after the limit is reached.
TEST(Histogram, ACountAtTheLimitSaturatesAndTheOtherPixelsAreStillCounted) {
    TGIFImage image;
    TGIFSubImage& sub = AddIndexed(image, Greys(2), {0, 0, 0, 1});
    THistogram histogram(sub.ColorMap);
    histogram.Tallies[0].UseCount = std::numeric_limits<std::int32_t>::max() - 1;
    histogram.ProcessSubImage(sub);
    EXPECT_EQ(histogram.Tallies[0].UseCount, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(histogram.Tallies[1].UseCount, 1);
}

TEST(PackColorTables, AnImageWithoutPixelsGetsAnEmptyTableInsteadOfFailing) {
    TGIFImage image;
    image.AddSubImage().ColorMap.Assign(Greys(4));
    image.PackColorTables();
    EXPECT_EQ(image.Header.ColorMap.Count(), 0);
}

} // namespace
