// SPDX-License-Identifier: GPL-3.0-or-later
// The view at every zoom level: coordinates both ways, what a repaint shows, and the grid.

#include "ZoomView.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

TBitmap Noise(int width, int height, TPixelFormat format) {
    TBitmap bitmap(width, height, TPixelFormat::pf24bit);
    std::mt19937 random(5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, random() & 0xFFFFFF);
    bitmap.SetPixelFormat(format);
    return bitmap;
}

TZoomView AtLevel(int level) {
    TZoomView view;
    view.SetLevel(level);
    return view;
}

QRgb ScreenColor(TColor c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

struct TMappingCase {
    int Level;
    QPoint View, Picture; // the picture pixel under a view point
    TRect PictureRect;    // shows as ViewRect, rounded outwards
    QRect ViewRect;
    QSize ViewOfTenBySix; // a 10 x 6 picture's size on screen
};

class ZoomMapping : public testing::TestWithParam<TMappingCase> {};

TEST_P(ZoomMapping, ViewAndPictureCoordinatesMeetInOnePlace) {
    const TMappingCase c = GetParam();
    const TZoomView view = AtLevel(c.Level);
    EXPECT_EQ(view.PictureOf(c.View), c.Picture);
    EXPECT_EQ(view.ViewOf(c.PictureRect), c.ViewRect);
    EXPECT_EQ(view.ViewSize(10, 6), c.ViewOfTenBySix);
    // Every picture pixel lies in the view rectangle that shows it, and maps back to itself.
    for (const QPoint p : {QPoint(0, 0), QPoint(9, 5), QPoint(7, 3)}) {
        const QRect shown = view.ViewOf(TRect{p.x(), p.y(), p.x() + 1, p.y() + 1});
        EXPECT_FALSE(shown.isEmpty());
        if (c.Level >= 0) {
            EXPECT_EQ(view.PictureOf(shown.bottomRight()), p);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ZoomMapping,
    testing::Values(TMappingCase{-3, {3, 1}, {24, 8}, {5, 5, 6, 6}, {0, 0, 1, 1}, {2, 1}},
                    TMappingCase{-2, {3, 2}, {12, 8}, {5, 3, 13, 9}, {1, 0, 3, 3}, {3, 2}},
                    TMappingCase{-1, {-1, 0}, {-2, 0}, {1, 1, 4, 4}, {0, 0, 2, 2}, {5, 3}},
                    TMappingCase{0, {-1, 7}, {-1, 7}, {1, 2, 3, 4}, {1, 2, 2, 2}, {10, 6}},
                    TMappingCase{2, {13, 5}, {3, 1}, {1, 2, 3, 4}, {4, 8, 8, 8}, {40, 24}},
                    TMappingCase{2, {-1, -4}, {-1, -1}, {0, 0, 1, 1}, {0, 0, 4, 4}, {40, 24}},
                    TMappingCase{3, {79, 47}, {9, 5}, {9, 5, 10, 6}, {72, 40, 8, 8}, {80, 48}}),
    [](const testing::TestParamInfo<TMappingCase>& info) {
        return "PerMille" + std::to_string(AtLevel(info.param.Level).PerMille()) + "_" +
               std::to_string(info.index);
    });

TEST(ZoomLevels, FitChoosesTheLargestThatShowsAll) {
    EXPECT_EQ(TZoomView::FitLevel({16384, 16384}, {1920, 1080}), -3) << "the smallest when nothing fits";
    EXPECT_EQ(TZoomView::FitLevel({2048, 1536}, {1900, 1000}), -1);
    EXPECT_EQ(TZoomView::FitLevel({256, 192}, {1000, 800}), 1);
    EXPECT_EQ(TZoomView::FitLevel({100, 100}, {900, 900}), 3);
}

// Below 100 % each screen pixel is the mean of the block it covers, so a one-pixel line stays
// on screen as a fainter line instead of vanishing between columns.
TEST(ZoomPaint, ReducedViewsAverageWhatEachScreenPixelCovers) {
    TBitmap picture(40, 24, TPixelFormat::pf24bit);
    picture.Brush.Color = clBlack;
    picture.FillRect(TRect{0, 0, 40, 24});
    picture.Brush.Color = clWhite;
    picture.FillRect(TRect{13, 0, 14, 24});
    TReducedCopies copies;
    copies.Rebuild(picture);
    for (int level = -3; level < 0; ++level) {
        const int block = 1 << -level;
        const QRgb line = qRgb(0, 0, 0) + ((255 + block / 2) / block) * 0x010101u;
        for (const TReducedCopies* reduced :
             {static_cast<const TReducedCopies*>(&copies), static_cast<const TReducedCopies*>(nullptr)}) {
            const QImage image = AtLevel(level).Paint(picture, reduced, QRect(0, 0, 40 / block, 24 / block));
            for (int y = 0; y < image.height(); ++y) {
                EXPECT_EQ(image.pixel(13 / block, y), line) << "level " << level;
                EXPECT_EQ(image.pixel(13 / block + 1, y), qRgb(0, 0, 0)) << "level " << level;
            }
        }
    }
}

// A whole view of a huge floating image at 12.5 % would read every one of its pixels; it shows
// the centre of each block instead, as an image with a transparent colour always does.
TEST(ZoomPaint, BeyondTheBudgetOrWithATransparentColourScreenPixelsShowTheirBlocksCentre) {
    const TBitmap huge = Noise(4096, 2049, TPixelFormat::pf24bit);
    const TZoomView eighth = AtLevel(-3);
    const QRect whole(QPoint(0, 0), eighth.ViewSize(4096, 2049));
    ASSERT_GT(std::int64_t(4096) * 2049, TZoomView::AveragingBudget);
    const QImage sampled = eighth.Paint(huge, nullptr, whole);
    for (const QPoint v : {QPoint(0, 0), QPoint(511, 3), QPoint(100, 256)})
        EXPECT_EQ(sampled.pixel(v),
                  ScreenColor(huge.Pixel(std::min(v.x() * 8 + 4, 4095), std::min(v.y() * 8 + 4, 2048))));

    TBitmap tile(8, 8, TPixelFormat::pf24bit);
    tile.Brush.Color = RGB(9, 9, 9);
    tile.FillRect(TRect{0, 0, 8, 8});
    tile.SetPixel(1, 0, clWhite);
    tile.SetPixel(6, 6, clWhite);
    const QImage magnified = AtLevel(1).PaintKeyed(tile, QRect(0, 0, 16, 16), RGB(9, 9, 9));
    EXPECT_EQ(magnified.pixel(3, 1), qRgb(255, 255, 255));
    EXPECT_EQ(qAlpha(magnified.pixel(4, 1)), 0);
    const QImage reduced = AtLevel(-2).PaintKeyed(tile, QRect(0, 0, 2, 2), RGB(9, 9, 9));
    EXPECT_EQ(qAlpha(reduced.pixel(0, 0)), 0) << "the centre of the first block is transparent";
    EXPECT_EQ(reduced.pixel(1, 1), qRgb(255, 255, 255));
}

// An image over the picture shows on exactly the screen pixels whose blocks have their centre on
// it, and where it covers a whole block with the colour the picture would show with the image
// drawn in. Corners off the block grid once widened it by a screen pixel, black at the far side.
TEST(ZoomPaint, AnImageOverThePictureShowsExactlyWhereItsPixelsAre) {
    const TBitmap tile = Noise(21, 19, TPixelFormat::pf24bit);
    for (const int level : {-3, -2, 0, 3})
        for (const QPoint origin : {QPoint(0, 0), QPoint(4, 4), QPoint(13, 6), QPoint(-3, 5)}) {
            SCOPED_TRACE(testing::Message()
                         << "level " << level << " at " << origin.x() << "," << origin.y());
            TBitmap picture(48, 40, TPixelFormat::pf24bit);
            picture.Draw(origin.x(), origin.y(), tile);
            const TZoomView view = AtLevel(level);
            const TRect image = Bounds(origin.x(), origin.y(), tile.Width(), tile.Height());
            const QRect place = view.ViewOfImage(image);
            const QImage shown = view.PaintImage(tile, origin, place, std::nullopt);
            const QImage drawn = view.Paint(picture, nullptr, place);
            // The picture pixels a screen column or row stands for: its block, and the block's centre.
            const auto block = [&](int v) {
                return level >= 0
                           ? std::tuple(v >> level, (v >> level) + 1, v >> level)
                           : std::tuple(v << -level, (v + 1) << -level, (v << -level) + (1 << -level) / 2);
            };
            const auto centreOn = [&](int v, int first, int end) {
                return std::get<2>(block(v)) >= first && std::get<2>(block(v)) < end;
            };
            for (const int vx : {place.left() - 1, place.right() + 1})
                EXPECT_FALSE(centreOn(vx, image.Left, image.Right)) << "column " << vx;
            for (const int vy : {place.top() - 1, place.bottom() + 1})
                EXPECT_FALSE(centreOn(vy, image.Top, image.Bottom)) << "row " << vy;
            for (int vy = place.top(); vy <= place.bottom(); ++vy)
                for (int vx = place.left(); vx <= place.right(); ++vx) {
                    ASSERT_TRUE(centreOn(vx, image.Left, image.Right) &&
                                centreOn(vy, image.Top, image.Bottom));
                    const QRgb pixel = shown.pixel(vx - place.left(), vy - place.top());
                    const auto [left, right, cx] = block(vx);
                    const auto [top, bottom, cy] = block(vy);
                    if (left >= image.Left && right <= image.Right && top >= image.Top &&
                        bottom <= image.Bottom && right <= picture.Width() && left >= 0)
                        ASSERT_EQ(pixel, drawn.pixel(vx - place.left(), vy - place.top())) << vx << "," << vy;
                    else
                        ASSERT_NE(pixel, qRgb(0, 0, 0)) << vx << "," << vy;
                }
        }
}

// A repaint of any part must match the same part of a repaint of the whole, grid included: the
// pictures's offset and the grid's dots are fixed to the view, not to the exposed rectangle.
TEST(ZoomPaint, AnyExposedPartMatchesTheWholeViewWithItsGrid) {
    const TBitmap picture = Noise(53, 37, TPixelFormat::pf8bit);
    TReducedCopies copies;
    copies.Rebuild(picture);
    for (int level = TZoomView::MinLevel; level <= TZoomView::MaxLevel; ++level) {
        const TZoomView view = AtLevel(level);
        const QSize size = view.ViewSize(53, 37);
        const QRect whole(0, 0, size.width() + 3, size.height() + 3); // past the edge shows black
        QImage full = view.Paint(picture, &copies, whole);
        view.DrawGrid(full, whole, {53, 37}, 32, 40);
        for (const QRect part :
             {QRect(1, 1, 5, 3), QRect(size.width() / 3, 3, size.width() / 2 + 3, size.height())}) {
            QImage image = view.Paint(picture, &copies, part);
            view.DrawGrid(image, part, {53, 37}, 32, 40);
            EXPECT_EQ(image, full.copy(part)) << "level " << level;
        }
    }
}

TEST(ZoomGrid, DottedLinesOfTheStepFromTheTopLeftPixelVisibleOnAnyColour) {
    TBitmap picture(32, 16, TPixelFormat::pf24bit);
    picture.Brush.Color = RGB(128, 128, 128);
    picture.FillRect(TRect{0, 0, 16, 16});
    picture.Brush.Color = RGB(0, 40, 250);
    picture.FillRect(TRect{16, 0, 32, 16});
    const TZoomView view = AtLevel(2);
    const QRect whole(0, 0, 128, 64);
    const QImage plain = view.Paint(picture, nullptr, whole);
    QImage grid = plain;
    view.DrawGrid(grid, whole, {32, 16}, 8, 4);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x) {
            const bool onColumn = x % 32 == 0, onRow = y % 16 == 0;
            const bool dot = (onColumn && y % 2 == 0) || (onRow && x % 2 == 0);
            if (!dot) {
                ASSERT_EQ(grid.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
                continue;
            }
            const QRgb a = grid.pixel(x, y), b = plain.pixel(x, y);
            const int distance = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                           std::abs(qBlue(a) - qBlue(b))});
            ASSERT_GE(distance, 96) << x << "," << y;
        }
}

TEST(ZoomGrid, IsLeftOutWhileItsCellsWouldBeUnderFourScreenPixels) {
    struct TCase {
        int Level, StepX, StepY;
        bool Shows;
    } cases[] = {{0, 4, 4, true},  {0, 3, 8, false}, {-3, 32, 32, true}, {-3, 32, 31, false},
                 {-1, 8, 9, true}, {2, 1, 1, true},  {1, 1, 2, false},   {0, 0, 8, false}};
    for (const TCase& c : cases)
        EXPECT_EQ(AtLevel(c.Level).GridShows(c.StepX, c.StepY), c.Shows)
            << c.Level << " " << c.StepX << "x" << c.StepY;
}

} // namespace
