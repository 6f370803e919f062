// SPDX-License-Identifier: GPL-3.0-or-later
// The five filter types and the choice between them, against rows worked out by hand.

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

    // Paeth on the second byte of a two-byte row: upper left, up, left, and the one predicted.
    for (const auto& [upperLeft, up, left, predicted] :
         std::initializer_list<std::array<std::uint8_t, 4>>{{50, 0, 100, 50},   // upper left closest
                                                            {100, 80, 110, 80}, // up ties upper left: up
                                                            {100, 110, 80, 80}, // left ties upper left: left
                                                            {0, 200, 10, 200}}) { // up closest
        const TBytes paethPrior{upperLeft, up}, paethRow{left, 5};
        TBytes two(2);
        ScanlineFilter::Paeth(paethRow.data(), paethPrior.data(), two.data(), 2, 1);
        EXPECT_EQ(two, (TBytes{std::uint8_t(left - upperLeft), std::uint8_t(5 - predicted)})) << int(up);
    }
}

TEST(ScanlineFilter, ChoiceTakesHighestScoreLowerTypeOnTiesAndNoneWhenNothingScores) {
    EXPECT_EQ(ScanlineFilter::Score(TBytes{1, 2, 1, 2, 1, 2}.data(), 6), 4u);
    EXPECT_EQ(ScanlineFilter::Score(TBytes{7, 7, 7}.data(), 3), 1u);
    const TBytes none{1, 2, 3, 4, 5, 6}, sub{0, 0, 0, 1, 2, 3}, up{9, 9, 9, 9, 9, 9},
        average{1, 2, 3, 1, 2, 3}, paeth{1, 2, 1, 2, 1, 2}; // scores 0, 1, 4, 0, 4
    const std::array<const std::uint8_t*, 5> outputs{none.data(), sub.data(), up.data(), average.data(),
                                                     paeth.data()};
    using enum TFilterType;
    EXPECT_EQ(ScanlineFilter::Choose(AllFilterTypes, outputs, 6), Up);
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(Paeth) | FilterBit(Sub), outputs, 6), Paeth);
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(Average) | FilterBit(Sub), outputs, 2), None)
        << "rows under 3 bytes";
    EXPECT_EQ(ScanlineFilter::Choose(FilterBit(Average), outputs, 6), Average)
        << "a single type is not scored";
}

TEST(ScanlineFilter, NearestZeroTakesTheSmallestSignedSumLowerTypeOnTies) {
    EXPECT_EQ(ScanlineFilter::Distance(TBytes{0, 1, 255, 128, 127}.data(), 5), 0u + 1 + 1 + 128 + 127);
    const TBytes none{9, 9, 9}, sub{250, 3, 0}, up{2, 2, 2}, average{255, 255, 254}, paeth{1, 1, 4};
    // sums 27, 9, 6, 4, 6
    const std::array<const std::uint8_t*, 5> outputs{none.data(), sub.data(), up.data(), average.data(),
                                                     paeth.data()};
    using enum TFilterType;
    EXPECT_EQ(ScanlineFilter::ChooseNearestZero(AllFilterTypes, outputs, 3), Average);
    EXPECT_EQ(ScanlineFilter::ChooseNearestZero(FilterBit(Up) | FilterBit(Paeth), outputs, 3), Up);
    EXPECT_EQ(ScanlineFilter::ChooseNearestZero(FilterBit(None) | FilterBit(Sub), outputs, 3), Sub);
}

} // namespace
