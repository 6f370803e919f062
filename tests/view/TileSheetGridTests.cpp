// SPDX-License-Identifier: GPL-3.0-or-later
// The cells of a tile sheet: how many fit, which one a point is in, and a block as one image.

#include "TileSheetGrid.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// A 50 x 30 sheet of 8 x 8 tiles.
TEST(TileSheetGrid, CellsCountWholeTilesAfterTheMarginWithSpacingBetween) {
    struct TCase {
        int Margin, Spacing;
        QSize Cells;
        QPoint Pixel;
        std::optional<QPoint> Cell;
    };
    const std::array<TCase, 6> cases{{
        {0, 0, {6, 3}, {15, 8}, QPoint(1, 1)},
        {0, 0, {6, 3}, {48, 5}, std::nullopt}, // the strip too narrow for a seventh column
        {1, 2, {5, 3}, {11, 1}, QPoint(1, 0)}, // 1 + 10: the second cell's first column
        {1, 2, {5, 3}, {9, 1}, std::nullopt},  // in the spacing
        {1, 2, {5, 3}, {0, 5}, std::nullopt},  // in the margin
        {3, 0, {5, 3}, {42, 26}, QPoint(4, 2)},
    }};
    for (const TCase& c : cases) {
        const TTileSheetGrid grid{8, 8, c.Margin, c.Spacing};
        EXPECT_EQ(grid.Cells(QSize(50, 30)), c.Cells) << c.Margin << "/" << c.Spacing;
        EXPECT_EQ(grid.CellAt(c.Pixel, QSize(50, 30)), c.Cell) << c.Pixel.x() << ", " << c.Pixel.y();
    }
}

// Spacing 2 between 4 x 4 tiles: the block leaves the gaps out.
TEST(TileSheetGrid, BlockImageJoinsTheTilesWithoutTheSpacing) {
    QImage sheet(20, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            sheet.setPixel(x, y, qRgb(x * 10, y * 10, 0));
    const TTileSheetGrid grid{4, 4, 1, 2};
    const QImage block = TileBlockImage(sheet, grid, QRect(1, 0, 2, 2));
    ASSERT_EQ(block.size(), QSize(8, 8));
    EXPECT_EQ(block.pixel(0, 0), sheet.pixel(7, 1));
    EXPECT_EQ(block.pixel(4, 0), sheet.pixel(13, 1));
    EXPECT_EQ(block.pixel(7, 7), sheet.pixel(16, 10));
    EXPECT_TRUE(TileBlockImage(sheet, grid, QRect(2, 0, 2, 1)).isNull()); // past the last column
}

} // namespace
