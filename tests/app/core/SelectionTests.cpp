#include "EditingHelpers.h"
#include "ScriptedModal.h"

#include <gtest/gtest.h>

namespace {

class Selection : public TDocumentFixture, public testing::Test {};

struct TDrag {
    const char* Name;
    int X0, Y0, X1, Y1;
};

// The same rectangle (2, 3) to (7, 9), dragged from each of its corners.
class SelectionDirection : public TDocumentFixture, public testing::TestWithParam<TDrag> {};

TEST_P(SelectionDirection, EveryDirectionLiftsTheSameRectangle) {
    StartPatternPicture(Document, 20, 12);
    const TBitmap before = Document.Picture;
    const TDrag drag = GetParam();

    DragAndRelease(Document, drag.X0, drag.Y0, drag.X1, drag.Y1);

    EXPECT_EQ(TRect(2, 3, 7, 9), TRect(Document.SelLeft, Document.SelTop, Document.SelRight, Document.SelBottom));
    ASSERT_TRUE(Document.Floating);
    EXPECT_FALSE(Document.Selecting);
    EXPECT_EQ(2, Document.FloatLeft);
    EXPECT_EQ(3, Document.FloatTop);
    EXPECT_TRUE(SameBitmap(Document.CopyFloating(), [&] {
        TBitmap part(5, 6);
        part.CopyRect(TRect(0, 0, 5, 6), before, TRect(2, 3, 7, 9));
        return part;
    }()));
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(2, 3, 7, 9), Document.BackgroundColor));
    // Around the hole nothing moved.
    EXPECT_TRUE(SameArea(Document.Picture, 0, 0, before, 0, 0, 20, 3));
    EXPECT_TRUE(SameArea(Document.Picture, 7, 3, before, 7, 3, 13, 9));
    EXPECT_FALSE(Document.Modified);
    EXPECT_TRUE(Document.UndoAvailable);
}

INSTANTIATE_TEST_SUITE_P(Selection, SelectionDirection,
                         testing::Values(TDrag{"RightDown", 2, 3, 7, 9}, TDrag{"LeftUp", 7, 9, 2, 3},
                                         TDrag{"LeftDown", 7, 3, 2, 9}, TDrag{"RightUp", 2, 9, 7, 3}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TEdgeDrag {
    const char* Name;
    int X1, Y1;
    TRect Expected;
};

// From (5, 4) in a 20 x 10 picture, past each edge and corner.
class SelectionPastEdge : public TDocumentFixture, public testing::TestWithParam<TEdgeDrag> {};

TEST_P(SelectionPastEdge, StopsAtThePictureEdgeIncludingTheLastColumnAndRow) {
    StartPatternPicture(Document, 20, 10);
    const TBitmap before = Document.Picture;
    const TEdgeDrag drag = GetParam();

    DragAndRelease(Document, 5, 4, drag.X1, drag.Y1);

    const TRect r = drag.Expected;
    EXPECT_EQ(r, TRect(Document.SelLeft, Document.SelTop, Document.SelRight, Document.SelBottom));
    ASSERT_TRUE(Document.Floating);
    const TBitmap lifted = Document.CopyFloating();
    ASSERT_EQ(r.Width(), lifted.Width());
    ASSERT_EQ(r.Height(), lifted.Height());
    EXPECT_TRUE(SameArea(lifted, 0, 0, before, r.Left, r.Top, r.Width(), r.Height()));
    EXPECT_TRUE(AreaIs(Document.Picture, r, Document.BackgroundColor));
}

INSTANTIATE_TEST_SUITE_P(
    Selection, SelectionPastEdge,
    testing::Values(TEdgeDrag{"Right", 500, 8, TRect(5, 4, 20, 8)}, TEdgeDrag{"Bottom", 9, 77, TRect(5, 4, 9, 10)},
                    TEdgeDrag{"Left", -30, 6, TRect(0, 4, 5, 6)}, TEdgeDrag{"Top", 12, -1, TRect(5, 0, 12, 4)},
                    TEdgeDrag{"BottomRight", 21, 11, TRect(5, 4, 20, 10)},
                    TEdgeDrag{"TopLeft", -1, -1, TRect(0, 0, 5, 4)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Selection, CursorTextShowsTheClampedPosition) {
    StartPatternPicture(Document, 20, 10);
    Document.BeginSelection(3, 3);
    Document.DragSelection(45, -8);
    EXPECT_EQ("X=20, Y=0", Document.CursorText);
}

TEST_F(Selection, WhileDraggingIsFramedAndNotYetFloating) {
    StartPatternPicture(Document, 20, 10);
    const TBitmap before = Document.Picture;
    Document.BeginSelection(2, 2);
    Document.DragSelection(12, 8);

    EXPECT_TRUE(Document.Selecting);
    EXPECT_FALSE(Document.Floating);
    EXPECT_TRUE(Document.FloatShown);
    EXPECT_EQ(10, Document.FloatWidth);
    EXPECT_EQ(6, Document.FloatHeight);
    // The frame's black and white ring over the copy; the picture itself is untouched.
    for (int x = 0; x < 10; ++x) {
        const TColor ring = Document.FloatingBitmap.Pixel(x, 0);
        EXPECT_TRUE(ring == clBlack || ring == clWhite) << x;
    }
    EXPECT_TRUE(SameArea(Document.FloatingBitmap, 1, 1, before, 3, 3, 8, 4));
    EXPECT_TRUE(SameBitmap(Document.Picture, before));
}

TEST_F(Selection, WithTransparencyIsFramedOnlyWhileDragged) {
    StartPatternPicture(Document, 20, 10);
    const TBitmap before = Document.Picture;
    Document.ToggleTransparency();
    Document.BeginSelection(2, 2);
    Document.DragSelection(12, 8);
    EXPECT_NE(before.Pixel(2, 2), Document.FloatingBitmap.Pixel(0, 0));

    Document.EndSelection();
    EXPECT_TRUE(SameArea(Document.FloatingBitmap, 0, 0, before, 2, 2, 10, 6));
    EXPECT_TRUE(Document.FloatingBitmap.Transparent);
}

struct TEmptyDrag {
    const char* Name;
    int X1, Y1;
};

class SelectionEmpty : public TDocumentFixture, public testing::TestWithParam<TEmptyDrag> {};

TEST_P(SelectionEmpty, SelectsNothingAndChangesNothing) {
    StartPatternPicture(Document, 20, 10);
    const TBitmap before = Document.Picture;

    DragAndRelease(Document, 6, 6, GetParam().X1, GetParam().Y1);

    EXPECT_FALSE(Document.Floating);
    EXPECT_FALSE(Document.Selecting);
    EXPECT_FALSE(Document.FloatShown);
    EXPECT_FALSE(Document.UndoAvailable);
    EXPECT_FALSE(Document.Modified);
    EXPECT_TRUE(SameBitmap(Document.Picture, before));
    // The next click starts a new selection instead of stamping something invisible.
    DragAndRelease(Document, 1, 1, 3, 3);
    EXPECT_TRUE(Document.Floating);
}

INSTANTIATE_TEST_SUITE_P(Selection, SelectionEmpty,
                         testing::Values(TEmptyDrag{"Click", 6, 6}, TEmptyDrag{"VerticalLine", 6, 9},
                                         TEmptyDrag{"HorizontalLine", 0, 6}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Selection, LiftClearAndUndoRestoresTheLiftedPixels) {
    Document.BackgroundColor = RGB(0, 0, 255);
    StartPatternPicture(Document, 16, 16);
    const TBitmap before = Document.Picture;

    DragAndRelease(Document, 4, 4, 10, 12);
    Document.ClearSelection();
    EXPECT_FALSE(Document.Floating);
    EXPECT_FALSE(Document.FloatShown);
    EXPECT_TRUE(Document.Modified);
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(4, 4, 10, 12), RGB(0, 0, 255)));

    ASSERT_TRUE(Document.UndoAvailable);
    Document.Undo();
    EXPECT_TRUE(SameBitmap(Document.Picture, before));
    EXPECT_FALSE(Document.UndoAvailable);
}

TEST_F(Selection, LiftMoveStampUndoKeepsTheHoleFilled) {
    StartPatternPicture(Document, 32, 16);
    const TBitmap before = Document.Picture;

    DragAndRelease(Document, 0, 0, 4, 4);
    Document.MoveFloating(TArrow::Right, false); // by the step of 8
    Document.StampFloating();
    EXPECT_TRUE(SameArea(Document.Picture, 8, 0, before, 0, 0, 4, 4));

    Document.Undo();
    EXPECT_TRUE(SameArea(Document.Picture, 8, 0, before, 8, 0, 4, 4));
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(0, 0, 4, 4), Document.BackgroundColor));
}

TEST_F(Selection, SelectAllLiftsTheWholePictureAndStampsItBackInPlace) {
    StartPatternPicture(Document, 256, 192);
    const TBitmap before = Document.Picture;

    Document.SelectAll();
    ASSERT_TRUE(Document.Floating);
    EXPECT_EQ(0, Document.FloatLeft);
    EXPECT_EQ(0, Document.FloatTop);
    EXPECT_EQ(256, Document.FloatingBitmap.Width());
    EXPECT_EQ(192, Document.FloatingBitmap.Height());
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(0, 0, 256, 192), Document.BackgroundColor));
    EXPECT_FALSE(Host.WaitCursor);

    Document.StampFloating();
    EXPECT_TRUE(SameBitmap(Document.Picture, before));
}

TEST_F(Selection, SelectAllStampsAnEarlierFloatingImageFirst) {
    StartPatternPicture(Document, 40, 30);
    TBitmap tile(4, 4);
    tile.Brush.Color = RGB(9, 200, 9);
    tile.FillRect(TRect(0, 0, 4, 4));
    Document.Paste(tile, 0, 0);

    Document.SelectAll();
    Document.StampFloating();
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(0, 0, 4, 4), RGB(9, 200, 9)));
}

// Palette pictures lift and stamp their stored values exactly, whatever their table.
class SelectionDepth : public TDocumentFixture, public testing::TestWithParam<int> {};

TEST_P(SelectionDepth, LiftAndStampBackGiveTheSamePicture) {
    StartPatternPicture(Document, 23, 9, GetParam());
    const TBitmap before = Document.Picture;

    DragAndRelease(Document, 3, 1, 17, 8);
    EXPECT_EQ(before.PixelFormat(), Document.FloatingBitmap.PixelFormat());
    Document.StampFloating();
    EXPECT_EQ(before.PixelBuffer(), Document.Picture.PixelBuffer());
}

INSTANTIATE_TEST_SUITE_P(Selection, SelectionDepth, testing::Values(1, 4, 8, 16, 24));

TEST_F(Selection, CopyWithTransparencyOnCarriesNoFrameAndKeepsTransparentPixels) {
    StartPatternPicture(Document, 20, 10);
    // The transparent colour along the selection's edge, where a frame would go.
    for (int x = 2; x < 12; ++x) Document.Picture.SetPixel(x, 2, Document.TransparentColor);
    const TBitmap before = Document.Picture;
    Document.ToggleTransparency();

    DragAndRelease(Document, 2, 2, 12, 8);
    const TBitmap copy = Document.CopyFloating();
    EXPECT_TRUE(SameArea(copy, 0, 0, before, 2, 2, 10, 6));
    EXPECT_TRUE(Document.Floating);
}

TEST_F(Selection, CopyTakesTheFrameOffAndPutsItBack) {
    StartPatternPicture(Document, 20, 10);
    const TBitmap before = Document.Picture;
    DragAndRelease(Document, 2, 2, 12, 8);
    const TBitmap framed = Document.FloatingBitmap;
    ASSERT_FALSE(SameArea(framed, 0, 0, before, 2, 2, 10, 6));

    const TBitmap copy = Document.CopyFloating();
    EXPECT_TRUE(SameArea(copy, 0, 0, before, 2, 2, 10, 6));
    EXPECT_EQ(framed.PixelBuffer(), Document.FloatingBitmap.PixelBuffer());
}

} // namespace
