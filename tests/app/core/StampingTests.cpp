// Placing, moving, sliding and stamping the floating image on the step grid.

#include "DocumentPictures.h"
#include "ScriptedModal.h"

#include <gtest/gtest.h>

namespace {

const TColor Red = RGB(255, 0, 0), Gray = RGB(128, 128, 128);

class StampingTest : public TDocumentFixture, public testing::Test {
protected:
    void UsePicture(int w, int h) {
        Document.WidthPic = w;
        Document.HeightPic = h;
        ASSERT_TRUE(Document.ResizePicture(w, h, true));
    }
    void PasteAt(const TBitmap& tile, int x, int y) {
        Document.Paste(tile, 0, 0);
        Document.GrabFloating(0, 0);
        Document.DragFloating(x - Document.FloatLeft, y - Document.FloatTop);
    }
    TPictureDocument& D = Document;
};

struct TPasteCase {
    int ScrollX, ScrollY, StepX, StepY, ExpectX, ExpectY;
};
class PasteLanding : public StampingTest, public testing::WithParamInterface<TPasteCase> {};

TEST_P(PasteLanding, LandsOnFirstGridPointAtOrAfterScrollPosition) {
    const TPasteCase c = GetParam();
    D.StepX = c.StepX;
    D.StepY = c.StepY;
    D.Paste(PatternBitmap(10, 10), c.ScrollX, c.ScrollY);
    EXPECT_EQ(D.FloatLeft, c.ExpectX);
    EXPECT_EQ(D.FloatTop, c.ExpectY);
    EXPECT_TRUE(D.Floating && D.FloatShown);
}

INSTANTIATE_TEST_SUITE_P(Stamping, PasteLanding,
                         testing::Values(TPasteCase{13, 13, 8, 8, 16, 16}, TPasteCase{16, 16, 8, 8, 16, 16},
                                         TPasteCase{0, 0, 8, 8, 0, 0}, TPasteCase{13, 7, 8, 5, 16, 10},
                                         // near the end nothing clamps the image into the picture
                                         TPasteCase{995, 0, 8, 8, 1000, 0},
                                         // a step below 1 counts as 1, so snapping ends at once
                                         TPasteCase{13, 7, 0, -4, 13, 7}));

struct TMoveCase {
    int Size, StartX, StartY;
    TArrow Arrow;
    bool Shift;
    int ExpectX, ExpectY;
};
class Moves : public StampingTest, public testing::WithParamInterface<TMoveCase> {};

// In a 256 x 256 picture with step 8: a move that would cross an edge is not made at all.
TEST_P(Moves, MoveByStepOrPixelIsRefusedPastTheEdge) {
    const TMoveCase c = GetParam();
    UsePicture(256, 256);
    PasteAt(PatternBitmap(c.Size, c.Size), c.StartX, c.StartY);
    D.MoveFloating(c.Arrow, c.Shift);
    EXPECT_EQ(D.FloatLeft, c.ExpectX);
    EXPECT_EQ(D.FloatTop, c.ExpectY);
}

INSTANTIATE_TEST_SUITE_P(
    Stamping, Moves,
    testing::Values(TMoveCase{10, 0, 0, TArrow::Left, false, 0, 0}, TMoveCase{10, 5, 0, TArrow::Left, false, 5, 0},
                    TMoveCase{10, 5, 0, TArrow::Left, true, 4, 0}, TMoveCase{10, 0, 5, TArrow::Up, false, 0, 5},
                    TMoveCase{10, 0, 5, TArrow::Up, true, 0, 4}, TMoveCase{32, 224, 0, TArrow::Right, false, 224, 0},
                    TMoveCase{32, 224, 0, TArrow::Right, true, 224, 0},
                    TMoveCase{32, 216, 0, TArrow::Right, false, 224, 0},
                    TMoveCase{32, 0, 220, TArrow::Down, false, 0, 220},
                    TMoveCase{32, 0, 223, TArrow::Down, true, 0, 224},
                    // a dragged image stays off the grid by the same amount
                    TMoveCase{10, 3, 5, TArrow::Right, false, 11, 5}));

struct TSlideCase {
    TArrow Arrow;
    int Gap, ExpectMove;
};
class Slides : public StampingTest, public testing::WithParamInterface<TSlideCase> {};

// A 20 x 20 image in the middle of a black 400 x 400 picture, a gray line Gap pixels away.
TEST_P(Slides, SlideStopsAtContentWithinEightyPixels) {
    const TSlideCase c = GetParam();
    UsePicture(400, 400);
    D.Picture.Brush.Color = Gray;
    const bool horizontal = c.Arrow == TArrow::Left || c.Arrow == TArrow::Right;
    const int sign = c.Arrow == TArrow::Left || c.Arrow == TArrow::Up ? -1 : 1;
    const int line = sign > 0 ? 210 + c.Gap : 189 - c.Gap;
    D.Picture.FillRect(horizontal ? Bounds(line, 0, 1, 400) : Bounds(0, line, 400, 1));
    PasteAt(PatternBitmap(20, 20), 190, 190);
    D.SlideToContact(c.Arrow);
    EXPECT_EQ(D.FloatLeft, 190 + (horizontal ? sign * c.ExpectMove : 0));
    EXPECT_EQ(D.FloatTop, 190 + (horizontal ? 0 : sign * c.ExpectMove));
}

INSTANTIATE_TEST_SUITE_P(Stamping, Slides,
                         testing::Values(TSlideCase{TArrow::Right, 40, 40}, TSlideCase{TArrow::Right, 80, 80},
                                         TSlideCase{TArrow::Right, 81, 0}, TSlideCase{TArrow::Right, 0, 0},
                                         TSlideCase{TArrow::Left, 40, 40}, TSlideCase{TArrow::Left, 81, 0},
                                         TSlideCase{TArrow::Up, 80, 80}, TSlideCase{TArrow::Down, 81, 0}));

class SlideToEdge : public StampingTest, public testing::WithParamInterface<std::pair<int, int>> {};

// On an empty 400-pixel-wide picture the edge itself is the content the slide meets.
TEST_P(SlideToEdge, SlideStopsFlushWithThePictureEdge) {
    UsePicture(400, 100);
    PasteAt(PatternBitmap(20, 20), GetParam().first, 40);
    D.SlideToContact(TArrow::Right);
    EXPECT_EQ(D.FloatLeft, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Stamping, SlideToEdge,
                         testing::Values(std::pair{380, 380}, std::pair{300, 380}, std::pair{299, 299}));

struct TSampleCase {
    int Height, Row;
    bool Sampled;
};
class SlideSampling : public StampingTest, public testing::WithParamInterface<TSampleCase> {};

// Only every tenth row (round-half-even many of them) and the last row are looked at.
TEST_P(SlideSampling, SlideSeesContentOnlyOnSampledRows) {
    const TSampleCase c = GetParam();
    UsePicture(400, 400);
    D.Picture.SetPixel(140, 100 + c.Row, Gray);
    PasteAt(PatternBitmap(30, c.Height), 100, 100);
    D.SlideToContact(TArrow::Right);
    EXPECT_EQ(D.FloatLeft, c.Sampled ? 110 : 100);
}

INSTANTIATE_TEST_SUITE_P(Stamping, SlideSampling,
                         testing::Values(TSampleCase{4, 0, false}, TSampleCase{4, 3, true}, TSampleCase{5, 0, false},
                                         TSampleCase{25, 10, true}, TSampleCase{25, 20, false},
                                         TSampleCase{35, 30, true}, TSampleCase{35, 33, false}));

TEST_F(StampingTest, PasteFramesTheImageAndStampLeavesTheFrameOut) {
    UsePicture(64, 64);
    const TBitmap tile = PatternBitmap(12, 9);
    D.Paste(tile, 0, 0);
    for (int x = 0; x < 12; ++x) {
        const TColor ring = D.FloatingBitmap.Pixel(x, 0);
        EXPECT_TRUE(ring == clBlack || ring == clWhite) << x;
    }
    EXPECT_TRUE(AreasMatch(D.FloatingBitmap, 1, 1, tile, 1, 1, 10, 7));
    D.MoveFloating(TArrow::Right, false);
    D.StampFloating();
    EXPECT_TRUE(AreasMatch(D.Picture, 8, 0, tile, 0, 0, 12, 9));
    EXPECT_FALSE(D.Floating || D.FloatShown);
    EXPECT_TRUE(D.Modified);
}

TEST_F(StampingTest, FrameSurvivesTransparencyTogglesAndLeavesCopiesClean) {
    const TBitmap tile = PatternBitmap(7, 5);
    D.Paste(tile, 0, 0);
    D.RestoreFloatingEdges();
    EXPECT_TRUE(SameBitmap(D.FloatingBitmap, tile));
    D.DrawFloatingFrame();
    D.ToggleTransparency();
    D.ToggleTransparency();
    D.StampFloating();
    EXPECT_TRUE(AreasMatch(D.Picture, 0, 0, tile, 0, 0, 7, 5));
}

TEST_F(StampingTest, StampLeavesTransparentColorOutOnlyWhileSwitchIsOn) {
    for (const bool transparent : {false, true}) {
        TDocumentFixture f;
        TPictureDocument& d = f.Document;
        d.TransparentColor = Red;
        d.BackgroundColor = Gray;
        d.ApplyBackgroundColor();
        ASSERT_TRUE(d.ResizePicture(32, 32, true));
        if (transparent) d.ToggleTransparency();
        TBitmap tile = PatternBitmap(6, 6);
        tile.SetPixel(0, 0, Red); // on the ring, under where a frame would be
        tile.SetPixel(3, 3, Red);
        d.Paste(tile, 0, 0);
        d.StampFloating();
        EXPECT_EQ(d.Picture.Pixel(0, 0), transparent ? Gray : Red);
        EXPECT_EQ(d.Picture.Pixel(3, 3), transparent ? Gray : Red);
        EXPECT_EQ(d.Picture.Pixel(5, 5), PatternAt(5, 5));
    }
}

TEST_F(StampingTest, PasteWhileFloatingStampsTheOldImageFirst) {
    UsePicture(64, 64);
    const TBitmap tile = PatternBitmap(8, 8);
    D.Paste(tile, 0, 0);
    D.MoveFloating(TArrow::Right, false);
    D.Paste(PatternBitmap(4, 4), 16, 16);
    EXPECT_TRUE(AreasMatch(D.Picture, 8, 0, tile, 0, 0, 8, 8));
    EXPECT_TRUE(D.UndoAvailable);
    EXPECT_EQ(D.UndoX, 8);
    EXPECT_EQ(D.UndoY, 0);
    EXPECT_EQ(D.FloatLeft, 16);
}

TEST_F(StampingTest, DragIsFreeAndStampClipsAtThePictureEdge) {
    UsePicture(32, 32);
    D.Paste(PatternBitmap(8, 8), 0, 0);
    D.GrabFloating(2, 3);
    D.DragFloating(-1, 0); // 3 left, 3 up
    EXPECT_EQ(D.FloatLeft, -3);
    EXPECT_EQ(D.FloatTop, -3);
    D.StampFloating();
    EXPECT_EQ(D.Picture.Pixel(0, 0), PatternAt(3, 3));
    EXPECT_EQ(Host.Changed.back(), (TRect{0, 0, 5, 5}));
}

} // namespace
