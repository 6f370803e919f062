// The five filter types, the choice between them, and files written with other filter sets.

#include "ByteSink.h"
#include "PngObject.h"
#include "PngTestSupport.h"
#include "ScanlineFilter.h"

#include <gtest/gtest.h>

namespace {

TEST(ScanlineFilter, EachFilterMatchesHandWorkedRows) {
    const TBytes current{10, 20, 15, 200, 5, 255}, prior{0, 30, 10, 100, 250, 1};
    TBytes out(6);
    ScanlineFilter::Sub(current.data(), out.data(), 6, 1);
    EXPECT_EQ(out, (TBytes{10, 10, 251, 185, 61, 250}));
    ScanlineFilter::Up(current.data(), prior.data(), out.data(), 6);
    EXPECT_EQ(out, (TBytes{10, 246, 5, 100, 11, 254}));
    ScanlineFilter::Average(current.data(), prior.data(), out.data(), 6, 1);
    EXPECT_EQ(out, (TBytes{10, 0, 0, 143, 36, 252})) << "200 + 250 must not wrap before halving";

    // Three bytes per pixel: the first pixel has nothing on its left.
    const TBytes rgb{10, 20, 30, 11, 25, 29}, rgbPrior{2, 4, 6, 8, 10, 12};
    ScanlineFilter::Sub(rgb.data(), out.data(), 6, 3);
    EXPECT_EQ(out, (TBytes{10, 20, 30, 1, 5, 255}));
    ScanlineFilter::Average(rgb.data(), rgbPrior.data(), out.data(), 6, 3);
    EXPECT_EQ(out, (TBytes{9, 18, 27, 2, 10, 8}));
}

struct TPaethCase {
    std::uint8_t UpperLeft, Up, Left, Predicted;
};
class PaethPredictor : public ::testing::TestWithParam<TPaethCase> {};

TEST_P(PaethPredictor, PicksTheNeighbourClosestToTheEstimate) {
    const TPaethCase c = GetParam();
    // The second byte of a two-byte row, whose three neighbours are all free to choose.
    const TBytes prior{c.UpperLeft, c.Up}, current{c.Left, 5};
    TBytes out(2);
    ScanlineFilter::Paeth(current.data(), prior.data(), out.data(), 2, 1);
    EXPECT_EQ(out, (TBytes{std::uint8_t(c.Left - c.UpperLeft), std::uint8_t(5 - c.Predicted)}));
}

INSTANTIATE_TEST_SUITE_P(Cases, PaethPredictor,
                         ::testing::Values(TPaethCase{50, 0, 100, 50},    // upper left closest
                                           TPaethCase{100, 80, 110, 80},  // up ties upper left: up
                                           TPaethCase{100, 110, 80, 80},  // left ties upper left: left
                                           TPaethCase{0, 200, 10, 200})); // up closest

TEST(ScanlineFilter, ChoiceTakesHighestScoreLowerTypeOnTiesAndNoneWhenNothingScores) {
    EXPECT_EQ(ScanlineFilter::Score(TBytes{1, 2, 1, 2, 1, 2}.data(), 6), 4u);
    EXPECT_EQ(ScanlineFilter::Score(TBytes{7, 7, 7}.data(), 3), 1u);
    const TBytes none{1, 2, 3, 4, 5, 6}, sub{0, 0, 0, 1, 2, 3}, up{9, 9, 9, 9, 9, 9}, average{1, 2, 3, 1, 2, 3},
        paeth{1, 2, 1, 2, 1, 2}; // scores 0, 1, 4, 0, 4
    const std::array<const std::uint8_t*, 5> outputs{none.data(), sub.data(), up.data(), average.data(), paeth.data()};
    using enum TFilterType;
    EXPECT_EQ(ScanlineFilter::Choose(AllFilterTypes, outputs, 6), Up);
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(Paeth) | FilterBit(Sub), outputs, 6), Paeth);
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(Average) | FilterBit(Sub), outputs, 2), None) << "rows under 3 bytes";
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(Average), outputs, 6), Average) << "a single type is not scored";
}

TBytes WrittenWith(const TBitmap& picture, TFilterSet filters) {
    TPNGObject png;
    png.AllowedFilters = filters;
    png.AssignBitmap(picture);
    TMemorySink sink;
    png.SaveToStream(sink);
    return sink.Bytes;
}

TEST(ScanlineFilter, RowsThatScoreNothingAreWrittenUnfiltered) {
    TBitmap picture(2, 3, TPixelFormat::pf8bit);
    for (int y = 0; y < 3; ++y) picture.ScanLine(y)[0] = picture.ScanLine(y)[1] = std::uint8_t(y + 1);
    EXPECT_EQ(InflateImageData(SplitChunks(WrittenWith(picture, AllFilterTypes))), (TBytes{0, 1, 1, 0, 2, 2, 0, 3, 3}));
}

class OtherFilterSets : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(OtherFilterSets, FileDecodesToThePicture) {
    for (TBitmap picture : {TilePicture(45, 30), NoisePicture(45, 30)}) {
        picture.Brush.Color = RGB(90, 90, 90); // a flat patch, so that every filter wins somewhere
        picture.FillRect(Bounds(0, 10, 30, 5));
        picture.SetPixelFormat(GetParam());
        for (const TFilterType only : {TFilterType::None, TFilterType::Up, TFilterType::Average, TFilterType::Paeth})
            ExpectDecodesTo(WrittenWith(picture, FilterBit(only)), picture);
        ExpectDecodesTo(WrittenWith(picture, AllFilterTypes), picture);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, OtherFilterSets,
                         ::testing::Values(TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                           TPixelFormat::pf24bit));

} // namespace
