// SPDX-License-Identifier: GPL-3.0-or-later
// The stamp brush: the floating image on the grid under the pointer, and a drag's stamps as one
// step of the history.

#include "DocumentTestHelpers.h"

#include <array>

namespace {

class Brush : public TDocumentTest {
  protected:
    void UsePicture(int w, int h) {
        SetNewPictureSize(D, w, h);
        ASSERT_TRUE(D.ResizePicture(w, h, true));
    }
    // Whether the picture holds the pattern tile at (x, y).
    testing::AssertionResult HoldsTile(const TBitmap& tile, int x, int y) {
        for (int ty = 0; ty < tile.Height(); ++ty)
            for (int tx = 0; tx < tile.Width(); ++tx)
                if (D.Picture().Pixel(x + tx, y + ty) != tile.Pixel(tx, ty))
                    return testing::AssertionFailure() << "pixel (" << x + tx << ", " << y + ty << ")";
        return testing::AssertionSuccess();
    }
    // How many pixels differ from the background.
    int Painted() {
        int count = 0;
        for (int y = 0; y < D.Picture().Height(); ++y)
            for (int x = 0; x < D.Picture().Width(); ++x)
                count += D.Picture().Pixel(x, y) != D.Options().BackgroundColor;
        return count;
    }
};

// 100 x 60 picture, steps 16 x 10: the grid point at or before the pointer, stepped back until
// the image fits; an image larger than the picture goes to 0.
TEST_F(Brush, ImageFollowsThePointerOnTheGridInsideThePicture) {
    UsePicture(100, 60);
    SetSteps(D, 16, 10);
    const std::array<std::array<int, 6>, 6> cases{{
        {16, 10, 0, 0, 0, 0},     // the first cell
        {16, 10, 47, 35, 32, 30}, // inside a later cell
        {16, 10, 99, 59, 80, 50}, // the last whole cell
        {16, 10, -7, -3, 0, 0},   // left of and above the picture
        {32, 20, 99, 59, 64, 40}, // stepped back until 32 x 20 fits
        {120, 10, 50, 20, 0, 20}, // wider than the picture
    }};
    for (const auto& [w, h, x, y, left, top] : cases) {
        D.Paste(PatternBitmap(w, h), 0, 0);
        D.BrushTo(x, y);
        EXPECT_EQ(std::pair(D.Floating().Left, D.Floating().Top), std::pair(left, top)) << x << ", " << y;
        D.DropFloating();
    }
}

// A fast drag reports points far apart: the cells between them are stamped too, each once even
// when the pointer comes back, and the image floats on after every stamp.
TEST_F(Brush, DragStampsEveryCellOnTheWayAsOneStep) {
    UsePicture(128, 64);
    SetSteps(D, 8, 8);
    const TBitmap tile = PatternBitmap(8, 8);
    D.Paste(tile, 0, 0);
    const std::size_t steps = D.History().UndoCount();
    D.BeginStroke(3, 20);
    D.StrokeTo(44, 20); // cells 0 to 5 of row 2
    D.StrokeTo(3, 20);  // back over them
    D.EndStroke();
    for (int cell = 0; cell <= 5; ++cell)
        EXPECT_TRUE(HoldsTile(tile, cell * 8, 16)) << cell;
    EXPECT_EQ(Painted(), 6 * 64);
    EXPECT_TRUE(D.Floating().Active);
    EXPECT_EQ(D.History().UndoCount(), steps + 1);

    D.Undo();
    EXPECT_EQ(Painted(), 0);
    D.Redo();
    EXPECT_EQ(Painted(), 6 * 64);
}

// Stamps that overlap (a 16 x 16 image on an 8 x 8 grid over a painted picture) are taken back
// newest first and applied again oldest first, so both give exactly the pictures they should.
TEST_F(Brush, OverlappingStampsUndoAndRedoExactly) {
    UsePicture(64, 32);
    SetSteps(D, 8, 8);
    EditPicture(D, [](TBitmap& p) { PaintPattern(p); });
    const TBitmap before = D.Picture();
    D.Paste(SolidBitmap(16, 16, RGB(255, 0, 0)), 0, 0);
    D.BeginStroke(0, 0);
    D.EndStroke();
    D.DropFloating(); // not stamped again by the next paste
    D.Paste(SolidBitmap(16, 16, RGB(0, 0, 255)), 0, 0);
    D.BeginStroke(0, 0);
    D.StrokeTo(8, 8);
    D.EndStroke();
    const TBitmap after = D.Picture();
    EXPECT_EQ(after.Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(after.Pixel(20, 20), RGB(0, 0, 255));
    EXPECT_EQ(after.Pixel(30, 30), PatternColor(before, 30, 30));

    D.Undo(); // the blue drag only
    EXPECT_EQ(D.Picture().Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(D.Picture().Pixel(20, 20), PatternColor(before, 20, 20));
    D.Undo();
    EXPECT_TRUE(D.Picture().PixelBuffer() == before.PixelBuffer());
    D.Redo();
    D.Redo();
    EXPECT_TRUE(D.Picture().PixelBuffer() == after.PixelBuffer());
}

// Undo waits while the button is held, so a step is never taken back half-recorded; once the
// drag ends, one Undo takes back all of it.
TEST_F(Brush, UndoWaitsForTheDragToEnd) {
    UsePicture(64, 32);
    SetSteps(D, 8, 8);
    D.Paste(PatternBitmap(8, 8), 0, 0);
    const std::size_t steps = D.History().UndoCount();
    D.BeginStroke(0, 0);
    D.StrokeTo(20, 0);
    D.Undo();
    EXPECT_EQ(Painted(), 3 * 64);
    D.StrokeTo(40, 0);
    D.EndStroke();
    EXPECT_EQ(D.History().UndoCount(), steps + 1);
    D.Undo();
    EXPECT_EQ(Painted(), 0);
}

} // namespace
