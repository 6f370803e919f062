// The five filter types, the choice between them, and files written with every filter allowed.

#include "ByteSink.h"
#include "PngObject.h"
#include "PngTestSupport.h"
#include "ScanlineFilter.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// One row against a prior row, distance 1, worked out by hand.
const Bytes Current{10, 20, 15, 200, 5, 255};
const Bytes Prior{0, 30, 10, 100, 250, 1};

TEST(ScanlineFilter, EachFilterMatchesHandWorkedRow) {
    Bytes out(Current.size());
    ScanlineFilter::Sub(Current.data(), out.data(), out.size(), 1);
    EXPECT_EQ(out, (Bytes{10, 10, 251, 185, 61, 250}));
    ScanlineFilter::Up(Current.data(), Prior.data(), out.data(), out.size());
    EXPECT_EQ(out, (Bytes{10, 246, 5, 100, 11, 254}));
    // 200 + 250 must not wrap before halving: 5 - 225 = 36.
    ScanlineFilter::Average(Current.data(), Prior.data(), out.data(), out.size(), 1);
    EXPECT_EQ(out, (Bytes{10, 0, 0, 143, 36, 252}));
}

TEST(ScanlineFilter, SubAndAverageLookOnePixelBackAtEveryDistance) {
    // Three bytes per pixel: the first pixel has nothing on its left.
    const Bytes current{10, 20, 30, 11, 25, 29};
    const Bytes prior{2, 4, 6, 8, 10, 12};
    Bytes out(6);
    ScanlineFilter::Sub(current.data(), out.data(), 6, 3);
    EXPECT_EQ(out, (Bytes{10, 20, 30, 1, 5, 255}));
    ScanlineFilter::Average(current.data(), prior.data(), out.data(), 6, 3);
    EXPECT_EQ(out, (Bytes{9, 18, 27, 2, 10, 8}));
}

struct TPaethCase {
    std::uint8_t UpperLeft, Up, Left;
    std::uint8_t Predicted;
};

class PaethPredictor : public ::testing::TestWithParam<TPaethCase> {};

TEST_P(PaethPredictor, PicksTheNeighbourClosestToTheEstimate) {
    const TPaethCase c = GetParam();
    // Second byte of a two-byte row: left, up and upper left are all free to choose.
    const Bytes prior{c.UpperLeft, c.Up};
    const Bytes current{c.Left, 5};
    Bytes out(2);
    ScanlineFilter::Paeth(current.data(), prior.data(), out.data(), 2, 1);
    EXPECT_EQ(out[0], std::uint8_t(c.Left - c.UpperLeft)) << "first byte is predicted from above";
    EXPECT_EQ(out[1], std::uint8_t(5 - c.Predicted));
}

INSTANTIATE_TEST_SUITE_P(Cases, PaethPredictor,
                         ::testing::Values(TPaethCase{50, 0, 100, 50},    // upper left closest
                                           TPaethCase{100, 80, 110, 80},  // up and upper left tie: up
                                           TPaethCase{100, 110, 80, 80},  // left and upper left tie: left
                                           TPaethCase{30, 30, 77, 77},    // flat above: left
                                           TPaethCase{0, 200, 10, 200})); // up closest

TEST(ScanlineFilter, ScoreCountsBytesRepeatingOneOfTheTwoBefore) {
    EXPECT_EQ(ScanlineFilter::Score(Bytes{1, 2, 1, 2, 1, 2}.data(), 6), 4u);
    EXPECT_EQ(ScanlineFilter::Score(Bytes{1, 2, 3, 1, 2, 3}.data(), 6), 0u);
    EXPECT_EQ(ScanlineFilter::Score(Bytes{7, 7, 7}.data(), 3), 1u);
    EXPECT_EQ(ScanlineFilter::Score(Bytes{7, 7}.data(), 2), 0u);
}

TEST(ScanlineFilter, ChoiceTakesHighestScoreLowerTypeOnTiesAndNoneWhenNothingScores) {
    const Bytes none{1, 2, 3, 4, 5, 6};      // 0
    const Bytes sub{0, 0, 0, 1, 2, 3};       // 1
    const Bytes up{9, 9, 9, 9, 9, 9};        // 4
    const Bytes average{1, 2, 3, 1, 2, 3};   // 0
    const Bytes paeth{1, 2, 1, 2, 1, 2};     // 4
    const std::array<const std::uint8_t*, 5> outputs{none.data(), sub.data(), up.data(), average.data(), paeth.data()};
    using enum TFilterType;
    EXPECT_EQ(ScanlineFilter::Choose(AllFilterTypes, outputs, 6), Up);
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(Paeth) | FilterBit(Sub), outputs, 6), Paeth);
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(None) | FilterBit(Sub), outputs, 6), Sub);
    // Nothing above zero: None, even when it is not allowed.
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(Average) | FilterBit(Sub), outputs, 2), None);
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(Average), outputs, 6), Average) << "a single type is not scored";
    EXPECT_EQ(ScanlineFilter::Choose(0, outputs, 6), None);
}

std::vector<std::uint8_t> WrittenWith(const TBitmap& picture, TFilterSet filters) {
    TPNGObject png;
    png.AllowedFilters = filters;
    png.AssignBitmap(picture);
    TMemorySink sink;
    png.SaveToStream(sink);
    return sink.Bytes;
}

TEST(ScanlineFilter, RowsThatScoreNothingAreWrittenUnfiltered) {
    TBitmap picture(2, 3, TPixelFormat::pf8bit); // rows of two bytes cannot score
    for (int y = 0; y < 3; ++y) picture.ScanLine(y)[0] = picture.ScanLine(y)[1] = std::uint8_t(y + 1);
    const auto data = InflateImageData(SplitChunks(WrittenWith(picture, AllFilterTypes)));
    EXPECT_EQ(data, (Bytes{0, 1, 1, 0, 2, 2, 0, 3, 3}));
}

class EveryFilterAllowed : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(EveryFilterAllowed, FileDecodesToThePicture) {
    for (const bool tiles : {false, true}) {
        TBitmap picture = tiles ? TilePicture(45, 30) : NoisePicture(45, 30);
        // Some runs in the noise too, so that every filter gets chosen somewhere.
        picture.Brush.Color = RGB(90, 90, 90);
        picture.FillRect(Bounds(0, 10, 30, 5));
        picture.SetPixelFormat(GetParam());
        for (const TFilterSet set : {AllFilterTypes, TFilterSet(FilterBit(TFilterType::Up)),
                                     TFilterSet(FilterBit(TFilterType::Average)), TFilterSet(FilterBit(TFilterType::Paeth)),
                                     TFilterSet(FilterBit(TFilterType::None))}) {
            SCOPED_TRACE(int(set));
            ExpectSamePixels(DecodeWithLibpng(WrittenWith(picture, set)), picture);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, EveryFilterAllowed,
                         ::testing::Values(TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                           TPixelFormat::pf24bit),
                         [](const auto& info) { return std::to_string(BitsOfPixelFormat(info.param)) + "bit"; });

} // namespace
