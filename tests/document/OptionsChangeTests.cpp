// SPDX-License-Identifier: GPL-3.0-or-later
// The picture options applied to the document: steps, colours, depth, size and the offset shift,
// and what each group leaves alone when it cannot be applied.

#include "DocumentTestHelpers.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "OptionsChange.h"

namespace {

const TColor Blue = RGB(0, 0, 255), Red = RGB(255, 0, 0), Olive = RGB(128, 128, 0);
const std::string OutOfMemoryShown = "Warning|Out of memory, picture is too large!";
const std::string ColorLossShown = "Warning|Some colors can be lost, do you really want to continue?";

struct TNewSize {
    int Width, Height;
};

class OptionsChange : public TDocumentTest {
  protected:
    // A patterned picture of that size, saved and unmodified, with a stamp that can be undone.
    void Start(int width, int height, int bits = 24) {
        StartPatternPicture(D, width, height, bits);
        D.Paste(SolidBitmap(2, 2, Red), 0, 0);
        D.StampFloating();
        EditPicture(D, PaintPattern);
        ForgetChanges(D);
        Before = D.Picture();
        Change = D.CurrentOptions();
    }
    TBitmap Before;
    TOptionsChange Change;
};

TEST_F(OptionsChange, StepsBelowOneAreStoredAsOneAndTheActivePairTakesItsNewValues) {
    Start(256, 192);
    D.ChooseStepPair(2);
    Change.Options.StepX1 = 7;
    Change.Options.StepY1 = 0;
    Change.Options.StepX2 = 16;
    Change.Options.StepY2 = -4;
    Change.Options.StepX3 = 32;
    Change.Options.StepY3 = 24;
    Change.Options.BackgroundColor = Blue;
    Change.Options.TransparentColor = Olive;
    Change.Options.FillColor = Red;
    D.ApplyOptions(Change);
    EXPECT_EQ((std::array{D.Options().StepX1, D.Options().StepY1, D.Options().StepX2, D.Options().StepY2,
                          D.Options().StepX3, D.Options().StepY3}),
              (std::array{7, 1, 16, 1, 32, 24}));
    EXPECT_EQ(std::pair(D.StepX(), D.StepY()), std::pair(16, 1));
    EXPECT_EQ(std::tuple(D.Options().BackgroundColor, D.Options().TransparentColor, D.Options().FillColor),
              std::tuple(Blue, Olive, Red));
    // The new background is what later fills use; the picture itself keeps its pixels.
    EXPECT_EQ(D.Picture().Brush.Color, Blue);
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, Before));
    EXPECT_FALSE(D.Modified());
    EXPECT_TRUE(D.History().CanUndo());
    EXPECT_TRUE(Modal.Shown.empty());
}

struct TShift {
    int Width, Height, X, Y;
    int NewWidth, NewHeight; // the picture's size afterwards; unchanged when the shift is refused
};

void PrintTo(const TShift& s, std::ostream* out) {
    *out << s.Width << "x" << s.Height << " by (" << s.X << ", " << s.Y << ")";
}

class OffsetShift : public OptionsChange, public testing::WithParamInterface<TShift> {};

// The content moves by the offset; the band that opens has the background colour.
TEST_P(OffsetShift, MovesTheContentInsideAPictureResizedByTheOffset) {
    const TShift s = GetParam();
    Start(s.Width, s.Height);
    D.SetBackgroundColor(Blue);
    D.ApplyBackgroundColor();
    Change.Options.BackgroundColor = Blue;
    Change.OffsetX = s.X;
    Change.OffsetY = s.Y;
    D.ApplyOptions(Change);
    ASSERT_EQ(
        std::tuple(D.Options().WidthPic, D.Options().HeightPic, D.Picture().Width(), D.Picture().Height()),
        std::tuple(s.NewWidth, s.NewHeight, s.NewWidth, s.NewHeight));
    const bool shifted = s.NewWidth != s.Width || s.NewHeight != s.Height;
    EXPECT_EQ(D.Modified(), shifted);
    if (!shifted) {
        EXPECT_TRUE(SameArea(D.Picture(), 0, 0, Before));
        return;
    }
    const int left = std::max(s.X, 0), top = std::max(s.Y, 0);
    if (left > 0) {
        EXPECT_TRUE(AreaIs(D.Picture(), TRect{0, 0, left, s.NewHeight}, Blue));
    }
    if (top > 0) {
        EXPECT_TRUE(AreaIs(D.Picture(), TRect{0, 0, s.NewWidth, top}, Blue));
    }
    EXPECT_TRUE(SameArea(D.Picture(), left, top, Before, left - s.X, top - s.Y, s.NewWidth - left,
                         s.NewHeight - top));
    EXPECT_FALSE(Host.WaitCursor);
    const TBitmap after = D.Picture();
    D.Undo();
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, Before));
    EXPECT_EQ(std::pair(D.Options().WidthPic, D.Options().HeightPic), std::pair(s.Width, s.Height));
    D.Redo();
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, after));
    EXPECT_EQ(std::pair(D.Options().WidthPic, D.Options().HeightPic), std::pair(s.NewWidth, s.NewHeight));
}

INSTANTIATE_TEST_SUITE_P(OptionsChange, OffsetShift,
                         testing::Values(TShift{256, 192, 10, 0, 266, 192},   // ten columns at the left
                                         TShift{256, 192, -10, 0, 256, 192},  // 246 wide: refused
                                         TShift{300, 200, -20, 7, 280, 207},  // cut at the left, band on top
                                         TShift{256, 192, 0, -1, 256, 192})); // 191 high: refused

// A larger size fills what it adds with the background colour, not black; the rest stays.
TEST_F(OptionsChange, EnlargingFillsTheNewAreaWithTheBackgroundColour) {
    for (const TNewSize size : {TNewSize{300, 200}, TNewSize{256, 250}}) {
        Start(256, 192);
        Change.Options.BackgroundColor = Blue;
        Change.Options.WidthPic = size.Width;
        Change.Options.HeightPic = size.Height;
        D.ApplyOptions(Change);
        ASSERT_EQ(std::pair(D.Picture().Width(), D.Picture().Height()), std::pair(size.Width, size.Height));
        EXPECT_TRUE(SameArea(D.Picture(), 0, 0, Before, 0, 0, std::min(size.Width, 256), 192));
        if (size.Width > 256) {
            EXPECT_TRUE(AreaIs(D.Picture(), TRect{256, 0, size.Width, size.Height}, Blue)) << size.Width;
        }
        EXPECT_TRUE(AreaIs(D.Picture(), TRect{0, 192, size.Width, size.Height}, Blue)) << size.Width;
        D.Undo();
        EXPECT_TRUE(SameArea(D.Picture(), 0, 0, Before));
    }
}

TEST_F(OptionsChange, ShiftPastTheLargestPictureIsIgnored) {
    ASSERT_TRUE(D.ResizePicture(99990, 192, true));
    SetNewPictureSize(D, 99990, 192);
    Change = D.CurrentOptions();
    Change.OffsetX = 10;
    D.ApplyOptions(Change);
    EXPECT_EQ(std::pair(D.Options().WidthPic, D.Picture().Width()), std::pair(99990, 99990));
    EXPECT_FALSE(D.Modified());
}

// Refusing the question is driven through the dialog; here what an accepted change leaves.
TEST_F(OptionsChange, AnAcceptedDepthChangeKeepsThePixelsAndEndsUndoAndOnlyShrinkingAsks) {
    Start(256, 192);
    EditPicture(D, [&](TBitmap& p) { p.SetPixelFormat(TPixelFormat::pf32bit); });
    Before = D.Picture();
    Change.Options.ColorDepth = 24;
    Modal.Answers = {true};
    D.ApplyOptions(Change);
    EXPECT_EQ(D.Picture().BitsPerPixel(), 24);
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, Before));
    EXPECT_TRUE(D.Modified());
    D.Undo();
    EXPECT_EQ(D.Picture().BitsPerPixel(), 32);
    D.Redo();
    Change.Options.ColorDepth = 4;
    Modal.Answers = {true};
    D.ApplyOptions(Change);
    Change.Options.ColorDepth = 16;
    D.ApplyOptions(Change);
    EXPECT_EQ(Modal.Shown, std::vector<std::string>(2, ColorLossShown));
    EXPECT_EQ(D.Picture().BitsPerPixel(), 16);
}

// Sizes no machine here can hold; skipped where one could.
bool TooLargeForThisMachine(std::uint64_t bytes) {
    try {
        CheckAllocatable(bytes);
        return false;
    } catch (const EOutOfMemory&) {
        return true;
    }
}

TEST_F(OptionsChange, ResizeOrShiftOutOfMemoryLeavesPictureSizeModifiedAndUndoAsTheyWere) {
    if (!TooLargeForThisMachine(99999ull * 99999 * 3)) GTEST_SKIP() << "this machine could hold the picture";
    Start(256, 192);
    Change.Options.WidthPic = 99999;
    Change.Options.HeightPic = 99999;
    D.ApplyOptions(Change);
    EXPECT_EQ(Modal.Shown, std::vector<std::string>{OutOfMemoryShown});
    EXPECT_EQ(std::tuple(D.Options().WidthPic, D.Options().HeightPic, D.Modified(), D.History().CanUndo()),
              std::tuple(256, 192, false, true));

    Modal.Shown.clear();
    Change = D.CurrentOptions();
    Change.OffsetX = 99000;
    Change.OffsetY = 99000;
    D.ApplyOptions(Change);
    EXPECT_EQ(Modal.Shown, std::vector<std::string>{OutOfMemoryShown});
    EXPECT_EQ(std::tuple(D.Options().WidthPic, D.Options().HeightPic, D.Modified(), D.History().CanUndo()),
              std::tuple(256, 192, false, true));
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, Before));
    EXPECT_FALSE(Host.WaitCursor);
}

TEST_F(OptionsChange, AFloatingImageIsStampedBeforeTheOptionsApply) {
    Start(256, 192);
    D.Paste(SolidBitmap(8, 8, Red), 16, 16);
    Change.OffsetX = 8;
    D.ApplyOptions(Change);
    EXPECT_FALSE(D.Floating().Active);
    EXPECT_TRUE(AreaIs(D.Picture(), Bounds(24, 16, 8, 8), Red));
}

} // namespace
