// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting with the mouse, lifting the selection into the floating image, and copying it.

#include "DocumentTestHelpers.h"
#include "picture/TestFiles.h"

namespace {

using Selection = TDocumentTest;

struct TDrag {
    const char* Name;
    int X0, Y0, X1, Y1;
    TRect Expected; // empty: nothing is selected
};

class SelectionDrag : public TDocumentFixture, public testing::TestWithParam<TDrag> {};

// In a 20 x 10 picture: each direction, past each edge, and drags that enclose nothing.
TEST_P(SelectionDrag, LiftsTheClampedRectangleAndLeavesBackgroundBehind) {
    StartPatternPicture(Document, 20, 10);
    const TBitmap before = Document.Picture();
    const TRect r = GetParam().Expected;
    DragAndRelease(Document, GetParam().X0, GetParam().Y0, GetParam().X1, GetParam().Y1);
    EXPECT_FALSE(Document.Selection().Active || Document.Modified());
    if (r.IsEmpty()) {
        EXPECT_FALSE(Document.Floating().Active || Document.Floating().Shown || Document.History().CanUndo());
        EXPECT_TRUE(SameArea(Document.Picture(), 0, 0, before));
        DragAndRelease(Document, 1, 1, 3, 3); // the next press selects rather than stamps
        EXPECT_TRUE(Document.Floating().Active);
        return;
    }
    ASSERT_TRUE(Document.Floating().Active);
    EXPECT_EQ(r, TRect(Document.Floating().Left, Document.Floating().Top,
                       Document.Floating().Left + Document.Floating().Width,
                       Document.Floating().Top + Document.Floating().Height));
    const TBitmap lifted = Document.CopyFloating().Bitmap();
    ASSERT_EQ(std::pair(r.Width(), r.Height()), std::pair(lifted.Width(), lifted.Height()));
    EXPECT_TRUE(SameArea(lifted, 0, 0, before, r.Left, r.Top, r.Width(), r.Height()));
    // Only the lifted rectangle turns to background.
    TBitmap expected = before;
    expected.Brush.Color = Document.Options().BackgroundColor;
    expected.FillRect(r);
    EXPECT_TRUE(SameArea(Document.Picture(), 0, 0, expected));
}

INSTANTIATE_TEST_SUITE_P(Selection, SelectionDrag,
                         testing::ValuesIn(std::vector<TDrag>{
                             {"RightDown", 2, 3, 7, 9, {2, 3, 7, 9}},
                             {"LeftUp", 7, 9, 2, 3, {2, 3, 7, 9}},
                             {"LeftDown", 7, 3, 2, 9, {2, 3, 7, 9}},
                             {"RightUp", 2, 9, 7, 3, {2, 3, 7, 9}},
                             {"PastRight", 5, 4, 500, 8, {5, 4, 20, 8}},
                             {"PastBottom", 5, 4, 9, 77, {5, 4, 9, 10}},
                             {"PastLeft", 5, 4, -30, 6, {0, 4, 5, 6}},
                             {"PastTop", 5, 4, 12, -1, {5, 0, 12, 4}},
                             {"PastBottomRight", 5, 4, 21, 11, {5, 4, 20, 10}},
                             {"Click", 6, 6, 6, 6, {}},
                             {"VerticalLine", 6, 6, 6, 9, {}},
                             {"HorizontalLine", 6, 6, 0, 6, {}}}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Selection, UndoAfterLiftAndClearSelectionOrAfterLiftMoveAndStamp) {
    D.SetBackgroundColor(RGB(0, 0, 255));
    StartPatternPicture(D, 32, 16);
    const TBitmap before = D.Picture();
    DragAndRelease(D, 4, 4, 10, 12);
    D.ClearSelection();
    EXPECT_FALSE(D.Floating().Active);
    EXPECT_TRUE(D.Modified());
    EXPECT_TRUE(AreaIs(D.Picture(), TRect(4, 4, 10, 12), RGB(0, 0, 255)));
    D.Undo();
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, before));
    DragAndRelease(D, 0, 0, 4, 4);
    D.MoveFloating(TArrow::Right, false);
    D.StampFloating();
    EXPECT_TRUE(SameArea(D.Picture(), 8, 0, before, 0, 0, 4, 4));
    D.Undo(); // only the stamp's area comes back
    EXPECT_TRUE(SameArea(D.Picture(), 8, 0, before, 8, 0, 4, 4));
    EXPECT_TRUE(AreaIs(D.Picture(), TRect(0, 0, 4, 4), RGB(0, 0, 255)));
}

TEST_F(Selection, SelectAllLiftsTheWholePictureAndStampingPutsItBack) {
    StartPatternPicture(D, 256, 192);
    const TBitmap before = D.Picture();
    D.SelectAll();
    ASSERT_TRUE(D.Floating().Active);
    EXPECT_EQ(TRect(0, 0, 256, 192), Bounds(D.Floating().Left, D.Floating().Top, D.Floating().Bitmap.Width(),
                                            D.Floating().Bitmap.Height()));
    EXPECT_TRUE(AreaIs(D.Picture(), TRect(0, 0, 256, 192), D.Options().BackgroundColor));
    EXPECT_FALSE(Host.WaitCursor);
    D.StampFloating();
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, before));
}

TEST_F(Selection, WithTransparencyTheFrameShowsOnlyWhileDraggingAndCopyCarriesNone) {
    StartPatternPicture(D, 20, 10);
    for (int x = 2; x < 12; ++x)
        EditPicture(D, [&](TBitmap& p) { p.SetPixel(x, 2, D.Options().TransparentColor); });
    const TBitmap before = D.Picture();
    D.ToggleTransparency();
    D.BeginSelection(2, 2);
    D.DragSelection(12, 8);
    EXPECT_FALSE(D.Floating().Active);
    EXPECT_EQ(D.StatusTexts()[2], "10 x 6 (X=2, Y=2)");
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, before));
    for (int y = 1; y < 5; ++y)
        EXPECT_TRUE(IsFramePixel(D.Floating().Bitmap.Pixel(0, y))) << y;
    D.EndSelection();
    EXPECT_TRUE(D.Floating().Active);
    EXPECT_TRUE(SameArea(D.Floating().Bitmap, 0, 0, before, 2, 2, 10, 6));
    EXPECT_TRUE(SameArea(D.CopyFloating().Bitmap(), 0, 0, before, 2, 2, 10, 6));
}

// Select All lends the lifted pixels to its undo step and to a copy rather than copying them:
// the frame drawn again, a mirror, a drop, Undo and Redo must leave both as they were lifted,
// whether the step stays in memory or goes to disk at once.
class SelectAllShares : public TDocumentFixture, public testing::TestWithParam<bool> {};

TEST_P(SelectAllShares, TheCopyAndTheUndoStepKeepThePixelsAsLifted) {
    TTempFolder folder;
    StartPatternPicture(Document, 20, 10);
    if (GetParam()) {
        Document.SetHistoryFolder(folder.Path().string());
        Document.SetHistoryBudget(1);
    }
    const TBitmap before = Document.Picture();
    Document.SelectAll();
    const TImageCopy copy = Document.CopyFloating();
    Document.ToggleTransparency();
    Document.ToggleTransparency();
    Document.MirrorHorizontal();
    EXPECT_TRUE(SameArea(copy.Bitmap(), 0, 0, before));
    EXPECT_FALSE(SameArea(Document.CopyFloating().Bitmap(), 0, 0, before));
    Document.DropFloating();
    Document.Undo();
    EXPECT_TRUE(SameArea(Document.Picture(), 0, 0, before));
    Document.Redo();
    EXPECT_TRUE(SameArea(Document.CopyFloating().Bitmap(), 0, 0, before));
    EXPECT_TRUE(AreaIs(Document.Picture(), TRect(0, 0, 20, 10), Document.Options().BackgroundColor));
    Document.Undo();
    EXPECT_TRUE(SameArea(Document.Picture(), 0, 0, before));
    EXPECT_TRUE(SameArea(copy.Bitmap(), 0, 0, before));
}

INSTANTIATE_TEST_SUITE_P(Steps, SelectAllShares, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "OnDisk" : "InMemory";
                         });

} // namespace
