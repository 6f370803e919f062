#include "EditingHelpers.h"
#include "ScriptedModal.h"

#include <gtest/gtest.h>

namespace {

class Selection : public TDocumentFixture, public testing::Test {};

struct TDrag {
    const char* Name;
    int X0, Y0, X1, Y1;
    TRect Expected; // empty: nothing is selected
};

// Drags in a 20 x 10 picture: each direction, past each edge, and drags that enclose nothing.
class SelectionDrag : public TDocumentFixture, public testing::TestWithParam<TDrag> {};

TEST_P(SelectionDrag, LiftsTheClampedRectangleAndLeavesBackgroundBehind) {
    StartPatternPicture(Document, 20, 10);
    const TBitmap before = Document.Picture;
    const TDrag drag = GetParam();
    const TRect r = drag.Expected;

    DragAndRelease(Document, drag.X0, drag.Y0, drag.X1, drag.Y1);
    EXPECT_FALSE(Document.Selecting);
    EXPECT_FALSE(Document.Modified);
    if (r.IsEmpty()) {
        EXPECT_FALSE(Document.Floating || Document.FloatShown || Document.UndoAvailable);
        EXPECT_TRUE(SameArea(Document.Picture, 0, 0, before));
        DragAndRelease(Document, 1, 1, 3, 3); // the next press selects rather than stamps
        EXPECT_TRUE(Document.Floating);
        return;
    }
    EXPECT_EQ(r, TRect(Document.SelLeft, Document.SelTop, Document.SelRight, Document.SelBottom));
    ASSERT_TRUE(Document.Floating);
    EXPECT_EQ(r.Left, Document.FloatLeft);
    EXPECT_EQ(r.Top, Document.FloatTop);
    const TBitmap lifted = Document.CopyFloating();
    ASSERT_EQ(r.Width(), lifted.Width());
    ASSERT_EQ(r.Height(), lifted.Height());
    EXPECT_TRUE(SameArea(lifted, 0, 0, before, r.Left, r.Top, r.Width(), r.Height()));
    EXPECT_TRUE(AreaIs(Document.Picture, r, Document.BackgroundColor));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom) {
                ASSERT_EQ(before.Pixel(x, y), Document.Picture.Pixel(x, y)) << x << ", " << y;
            }
}

INSTANTIATE_TEST_SUITE_P(
    Selection, SelectionDrag,
    testing::Values(TDrag{"RightDown", 2, 3, 7, 9, TRect(2, 3, 7, 9)}, TDrag{"LeftUp", 7, 9, 2, 3, TRect(2, 3, 7, 9)},
                    TDrag{"LeftDown", 7, 3, 2, 9, TRect(2, 3, 7, 9)}, TDrag{"RightUp", 2, 9, 7, 3, TRect(2, 3, 7, 9)},
                    TDrag{"PastRight", 5, 4, 500, 8, TRect(5, 4, 20, 8)},
                    TDrag{"PastBottom", 5, 4, 9, 77, TRect(5, 4, 9, 10)},
                    TDrag{"PastLeft", 5, 4, -30, 6, TRect(0, 4, 5, 6)},
                    TDrag{"PastTop", 5, 4, 12, -1, TRect(5, 0, 12, 4)},
                    TDrag{"PastBottomRight", 5, 4, 21, 11, TRect(5, 4, 20, 10)},
                    TDrag{"Click", 6, 6, 6, 6, {}}, TDrag{"VerticalLine", 6, 6, 6, 9, {}},
                    TDrag{"HorizontalLine", 6, 6, 0, 6, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Selection, LiftThenClearSelectionThenUndoRestoresTheLiftedPixels) {
    Document.BackgroundColor = RGB(0, 0, 255);
    StartPatternPicture(Document, 16, 16);
    const TBitmap before = Document.Picture;

    DragAndRelease(Document, 4, 4, 10, 12);
    Document.ClearSelection();
    EXPECT_FALSE(Document.Floating);
    EXPECT_TRUE(Document.Modified);
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(4, 4, 10, 12), RGB(0, 0, 255)));

    Document.Undo();
    EXPECT_TRUE(SameArea(Document.Picture, 0, 0, before));
}

TEST_F(Selection, LiftMoveStampUndoRestoresOnlyTheStampArea) {
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

TEST_F(Selection, SelectAllLiftsTheWholePictureAndEnterStampsItBack) {
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
    EXPECT_TRUE(SameArea(Document.Picture, 0, 0, before));
}

// Palette pictures lift and stamp their stored values exactly, whatever their table.
class SelectionDepth : public TDocumentFixture, public testing::TestWithParam<int> {};

TEST_P(SelectionDepth, LiftAndStampBackGiveTheSameBytes) {
    StartPatternPicture(Document, 23, 9, GetParam());
    const TBitmap before = Document.Picture;
    DragAndRelease(Document, 3, 1, 17, 8);
    EXPECT_EQ(before.PixelFormat(), Document.FloatingBitmap.PixelFormat());
    Document.StampFloating();
    EXPECT_EQ(before.PixelBuffer(), Document.Picture.PixelBuffer());
}

INSTANTIATE_TEST_SUITE_P(Selection, SelectionDepth, testing::Values(1, 4, 8, 16, 24));

TEST_F(Selection, WithTransparencyTheFrameShowsOnlyWhileDraggingAndCopyCarriesNone) {
    StartPatternPicture(Document, 20, 10);
    for (int x = 2; x < 12; ++x) Document.Picture.SetPixel(x, 2, Document.TransparentColor);
    const TBitmap before = Document.Picture;
    Document.ToggleTransparency();

    Document.BeginSelection(2, 2);
    Document.DragSelection(12, 8);
    EXPECT_FALSE(Document.Floating);
    EXPECT_TRUE(SameArea(Document.Picture, 0, 0, before));
    for (int y = 1; y < 5; ++y) { // the frame's black and white ring down the left edge
        const TColor ring = Document.FloatingBitmap.Pixel(0, y);
        EXPECT_TRUE(ring == clBlack || ring == clWhite) << y;
    }

    Document.EndSelection();
    EXPECT_TRUE(SameArea(Document.FloatingBitmap, 0, 0, before, 2, 2, 10, 6));
    EXPECT_TRUE(SameArea(Document.CopyFloating(), 0, 0, before, 2, 2, 10, 6));
    EXPECT_TRUE(Document.Floating);
}

} // namespace
