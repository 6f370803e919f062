// SPDX-License-Identifier: GPL-3.0-or-later
// Placing, moving, sliding and stamping the floating image on the step grid, and undoing a stamp.

#include "DocumentTestHelpers.h"

#include <tuple>

namespace {

const TColor Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Gray = RGB(128, 128, 128);

class Stamping : public TDocumentTest {
  protected:
    void UsePicture(int w, int h) {
        SetNewPictureSize(D, w, h);
        ASSERT_TRUE(D.ResizePicture(w, h, true));
    }
    void PasteAt(const TBitmap& tile, int x, int y) {
        D.Paste(tile, 0, 0);
        D.GrabFloating(0, 0);
        D.DragFloating(x - D.Floating().Left, y - D.Floating().Top);
    }
};

// Near the end nothing clamps the image into the picture; a step below 1 counts as 1.
TEST_F(Stamping, PasteLandsOnFirstGridPointAtOrAfterScrollPosition) {
    for (const auto& [scrollX, scrollY, stepX, stepY, x, y] :
         {std::array{13, 13, 8, 8, 16, 16}, std::array{16, 16, 8, 8, 16, 16}, std::array{0, 0, 8, 8, 0, 0},
          std::array{13, 7, 8, 5, 16, 10}, std::array{995, 0, 8, 8, 1000, 0},
          std::array{13, 7, 0, -4, 13, 7}}) {
        SetSteps(D, stepX, stepY);
        D.Paste(PatternBitmap(10, 10), scrollX, scrollY);
        EXPECT_EQ(std::pair(D.Floating().Left, D.Floating().Top), std::pair(x, y))
            << scrollX << ", " << scrollY;
        EXPECT_TRUE(D.Floating().Active && D.Floating().Shown);
    }
}

// In a 256 x 256 picture with step 8 a move that would cross an edge is not made at all; a
// dragged image stays off the grid by the same amount.
TEST_F(Stamping, MoveByStepOrPixelIsRefusedPastTheEdge) {
    UsePicture(256, 256);
    const std::vector<std::tuple<int, int, int, TArrow, bool, int, int>> moves{
        {10, 0, 0, TArrow::Left, false, 0, 0},     {10, 5, 0, TArrow::Left, false, 5, 0},
        {10, 5, 0, TArrow::Left, true, 4, 0},      {10, 0, 5, TArrow::Up, false, 0, 5},
        {10, 0, 5, TArrow::Up, true, 0, 4},        {32, 224, 0, TArrow::Right, false, 224, 0},
        {32, 224, 0, TArrow::Right, true, 224, 0}, {32, 216, 0, TArrow::Right, false, 224, 0},
        {32, 0, 220, TArrow::Down, false, 0, 220}, {32, 0, 223, TArrow::Down, true, 0, 224},
        {10, 3, 5, TArrow::Right, false, 11, 5}};
    for (const auto& [size, startX, startY, arrow, shift, x, y] : moves) {
        PasteAt(PatternBitmap(size, size), startX, startY);
        D.MoveFloating(arrow, shift);
        EXPECT_EQ(std::pair(D.Floating().Left, D.Floating().Top), std::pair(x, y))
            << startX << ", " << startY;
    }
}

// A 20 x 20 image in the middle of a black 400 x 400 picture, a gray line some pixels away.
TEST_F(Stamping, SlideStopsAtContentWithinEightyPixels) {
    for (const auto& [arrow, gap, move] :
         {std::tuple{TArrow::Right, 40, 40}, std::tuple{TArrow::Right, 80, 80},
          std::tuple{TArrow::Right, 81, 0}, std::tuple{TArrow::Right, 0, 0}, std::tuple{TArrow::Left, 40, 40},
          std::tuple{TArrow::Left, 81, 0}, std::tuple{TArrow::Up, 80, 80}, std::tuple{TArrow::Down, 81, 0}}) {
        UsePicture(400, 400);
        const bool horizontal = arrow == TArrow::Left || arrow == TArrow::Right;
        const int sign = arrow == TArrow::Left || arrow == TArrow::Up ? -1 : 1;
        const int line = sign > 0 ? 210 + gap : 189 - gap;
        EditPicture(D, [&](TBitmap& p) {
            p.Brush.Color = Gray;
            p.FillRect(horizontal ? Bounds(line, 0, 1, 400) : Bounds(0, line, 400, 1));
        });
        PasteAt(PatternBitmap(20, 20), 190, 190);
        D.SlideToContact(arrow);
        EXPECT_EQ(D.Floating().Left, 190 + (horizontal ? sign * move : 0)) << gap;
        EXPECT_EQ(D.Floating().Top, 190 + (horizontal ? 0 : sign * move)) << gap;
    }
}

// On an empty picture the edge itself is the content the slide meets.
TEST_F(Stamping, SlideStopsFlushWithThePictureEdge) {
    for (const auto& [start, expected] : {std::pair{380, 380}, std::pair{300, 380}, std::pair{299, 299}}) {
        UsePicture(400, 100);
        PasteAt(PatternBitmap(20, 20), start, 40);
        D.SlideToContact(TArrow::Right);
        EXPECT_EQ(D.Floating().Left, expected) << start;
    }
}

// Image height, row of a gray pixel 10 columns away, whether the slide sees it: only every
// tenth row (round-half-even many of them) and the last row are looked at.
TEST_F(Stamping, SlideSeesContentOnlyOnSampledRows) {
    for (const auto& [height, row, sampled] :
         {std::tuple{4, 0, false}, std::tuple{4, 3, true}, std::tuple{5, 0, false}, std::tuple{25, 10, true},
          std::tuple{25, 20, false}, std::tuple{35, 30, true}, std::tuple{35, 33, false}}) {
        UsePicture(400, 400);
        EditPicture(D, [&](TBitmap& p) { p.SetPixel(140, 100 + row, Gray); });
        PasteAt(PatternBitmap(30, height), 100, 100);
        D.SlideToContact(TArrow::Right);
        EXPECT_EQ(D.Floating().Left, sampled ? 110 : 100) << height << ", " << row;
    }
}

TEST_F(Stamping, PasteFramesTheImageAndStampLeavesTheFrameOut) {
    UsePicture(64, 64);
    const TBitmap tile = PatternBitmap(12, 9);
    D.Paste(tile, 0, 0);
    for (int x = 0; x < 12; ++x)
        EXPECT_TRUE(IsFramePixel(D.Floating().Bitmap.Pixel(x, 0))) << x;
    EXPECT_TRUE(SameArea(D.Floating().Bitmap, 1, 1, tile, 1, 1, 10, 7));
    D.ToggleTransparency();
    D.ToggleTransparency();
    D.MoveFloating(TArrow::Right, false);
    D.StampFloating();
    EXPECT_TRUE(SameArea(D.Picture(), 8, 0, tile, 0, 0, 12, 9));
    EXPECT_FALSE(D.Floating().Active || D.Floating().Shown);
    EXPECT_TRUE(D.Modified());
}

TEST_F(Stamping, StampLeavesTransparentColorOutOnlyWhileSwitchIsOn) {
    D.SetTransparentColor(Red);
    D.SetBackgroundColor(Gray);
    TBitmap tile = PatternBitmap(6, 6);
    tile.SetPixel(0, 0, Red); // on the ring, under where a frame would be
    tile.SetPixel(3, 3, Red);
    for (const bool transparent : {false, true}) {
        UsePicture(32, 32);
        if (transparent) D.ToggleTransparency();
        D.Paste(tile, 0, 0);
        D.StampFloating();
        EXPECT_EQ(D.Picture().Pixel(0, 0), transparent ? Gray : Red);
        EXPECT_EQ(D.Picture().Pixel(3, 3), transparent ? Gray : Red);
        EXPECT_EQ(D.Picture().Pixel(5, 5), tile.Pixel(5, 5));
    }
}

// Every pixel of the picture differs, so a restored area must be restored exactly.
TEST_F(Stamping, PasteStampUndoRestoresThePictureAndDisablesUndo) {
    D.ReplacePicture(PatternBitmap(48, 48));
    const TBitmap before = D.Picture();
    PasteAt(SolidBitmap(10, 6, Red), 8, 16);
    D.StampFloating();
    ForgetChanges(D);
    D.Undo();
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, before));
    EXPECT_FALSE(D.CommandStates(false).Undo);
    EXPECT_TRUE(D.Modified()); // the picture differs from what was saved after the stamp
    EXPECT_EQ(Host.Changed.back(), (TRect{8, 16, 18, 22}));
    EditPicture(D,
                [](TBitmap& p) { p.SetPixel(9, 17, Blue); }); // not a toggle: a second Undo puts nothing back
    D.Undo();
    EXPECT_EQ(D.Picture().Pixel(9, 17), Blue);
}

TEST_F(Stamping, PasteWhileFloatingStampsTheOldImageFirstAndUndoFloatsItAgain) {
    UsePicture(64, 64);
    const TBitmap tile = PatternBitmap(8, 8);
    D.Paste(tile, 0, 0);
    D.MoveFloating(TArrow::Right, false);
    D.Paste(PatternBitmap(4, 4), 16, 16);
    EXPECT_TRUE(SameArea(D.Picture(), 8, 0, tile, 0, 0, 8, 8));
    EXPECT_EQ(D.Floating().Left, 16);
    D.Undo();
    EXPECT_TRUE(AreaIs(D.Picture(), Bounds(0, 0, 64, 64), clBlack));
    ASSERT_TRUE(D.Floating().Active && D.Floating().Shown);
    EXPECT_EQ(std::pair(D.Floating().Left, D.Floating().Top), std::pair(8, 0));
    EXPECT_TRUE(SameArea(D.CopyFloating().Bitmap(), 0, 0, tile, 0, 0, 8, 8));
}

TEST_F(Stamping, DragIsFreeAndStampAndUndoClipAtThePictureEdge) {
    UsePicture(32, 32);
    const TBitmap tile = PatternBitmap(8, 8);
    D.Paste(tile, 0, 0);
    D.GrabFloating(2, 3);
    D.DragFloating(-1, 0); // 3 left, 3 up
    EXPECT_EQ(std::pair(D.Floating().Left, D.Floating().Top), std::pair(-3, -3));
    D.StampFloating();
    EXPECT_EQ(D.Picture().Pixel(0, 0), tile.Pixel(3, 3));
    EXPECT_EQ(Host.Changed.back(), (TRect{0, 0, 5, 5}));
    D.Undo();
    EXPECT_TRUE(AreaIs(D.Picture(), Bounds(0, 0, 32, 32), clBlack));
}

} // namespace
