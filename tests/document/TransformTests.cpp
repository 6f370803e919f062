// SPDX-License-Identifier: GPL-3.0-or-later
// Mirroring the floating image; Black and White, Clear Picture, colour picks and the flood fill.

#include "DocumentTestHelpers.h"

#include "OptionsChange.h"

#include <algorithm>
#include <functional>
#include <tuple>

namespace {

using Transform = TDocumentTest;

enum class TTurn { Horizontal, Vertical, Rotate };
using TShape = std::tuple<TTurn, int, int>;

// Turn, width and height of the lifted image, bits: from one row or column up to widths that
// split 1- and 4-bit bytes unevenly, lifted at an odd offset so that palette rows do too.
class Mirroring : public TDocumentFixture, public testing::TestWithParam<std::tuple<TShape, int>> {
  protected:
    void Turn(TTurn turn) {
        if (turn == TTurn::Horizontal)
            Document.MirrorHorizontal();
        else if (turn == TTurn::Vertical)
            Document.MirrorVertical();
        else
            Document.Rotate180();
    }
};

TEST_P(Mirroring, MovesEveryPixelToItsMirrorPlaceAndTwiceGivesTheImageBack) {
    const auto [shape, bits] = GetParam();
    const auto [turn, w, h] = shape;
    StartPatternPicture(Document, w + 5, h + 2, bits);
    const TBitmap before = Document.Picture();
    DragAndRelease(Document, 3, 1, 3 + w, 1 + h);
    EXPECT_EQ(before.PixelFormat(), Document.Floating().Bitmap.PixelFormat());
    const TBitmap framed = Document.Floating().Bitmap;
    Turn(turn);
    const TBitmap turned = Document.CopyFloating().Bitmap();
    const bool flipX = turn != TTurn::Vertical, flipY = turn != TTurn::Horizontal;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(before.Pixel(3 + (flipX ? w - 1 - x : x), 1 + (flipY ? h - 1 - y : y)),
                      turned.Pixel(x, y))
                << x << "," << y;
    EXPECT_TRUE(Document.Floating().Shown && !Document.Modified());
    Turn(turn);
    EXPECT_EQ(framed.PixelBuffer(), Document.Floating().Bitmap.PixelBuffer()) << "frame included";
    Document.StampFloating();
    EXPECT_EQ(before.PixelBuffer(), Document.Picture().PixelBuffer());
}

INSTANTIATE_TEST_SUITE_P(
    Transform, Mirroring,
    testing::Combine(testing::Values(TShape{TTurn::Horizontal, 3, 1}, TShape{TTurn::Vertical, 1, 3},
                                     TShape{TTurn::Rotate, 2, 2}, TShape{TTurn::Horizontal, 13, 5},
                                     TShape{TTurn::Rotate, 11, 4}),
                     testing::Values(1, 4, 8, 16, 24)));

// A quarter turn keeps the lifted image's top-left corner and swaps its sides; it changes
// neither Modified nor the history, and the opposite turn gives the framed image back.
class QuarterTurns : public TDocumentFixture, public testing::TestWithParam<int> {};

TEST_P(QuarterTurns, TurnTheLiftedImageAboutItsTopLeftCorner) {
    const int w = 11, h = 4;
    StartPatternPicture(Document, w + 5, h + 9, GetParam());
    const TBitmap before = Document.Picture();
    DragAndRelease(Document, 3, 1, 3 + w, 1 + h);
    const std::size_t undoSteps = Document.History().UndoCount();
    const TBitmap framed = Document.Floating().Bitmap;
    Document.Rotate90();
    const TBitmap turned = Document.CopyFloating().Bitmap();
    ASSERT_EQ(std::tuple(turned.Width(), turned.Height()), std::tuple(h, w));
    for (int y = 0; y < w; ++y)
        for (int x = 0; x < h; ++x)
            ASSERT_EQ(turned.Pixel(x, y), before.Pixel(3 + y, 1 + h - 1 - x)) << x << "," << y;
    const TFloatingImage& floating = Document.Floating();
    EXPECT_EQ(std::tuple(floating.Left, floating.Top, floating.Width, floating.Height),
              std::tuple(3, 1, h, w));
    EXPECT_FALSE(Document.Modified());
    EXPECT_EQ(Document.History().UndoCount(), undoSteps);
    EXPECT_FALSE(Document.History().CanRedo());
    Document.Rotate270();
    EXPECT_EQ(framed.PixelBuffer(), Document.Floating().Bitmap.PixelBuffer()) << "frame included";
    Document.StampFloating();
    EXPECT_EQ(before.PixelBuffer(), Document.Picture().PixelBuffer());
}

INSTANTIATE_TEST_SUITE_P(Transform, QuarterTurns, testing::Values(1, 4, 8, 16, 24));

TEST_F(Transform, MirroringALongImageLetsTheWindowRepaintMeanwhile) {
    StartPatternPicture(D, 30, 400);
    D.SelectAll();
    Host.EventsProcessed = 0;
    D.MirrorVertical();
    EXPECT_GE(Host.EventsProcessed, 2);
    EXPECT_FALSE(Host.WaitCursor);
}

// The whole-picture commands that take seconds on a large picture tell the window how far they
// are, rising to 100 per cent in one progress that does not show at once (most such commands are
// over in an instant).
TEST_F(Transform, LongPictureCommandsReportRisingProgress) {
    const std::vector<std::pair<const char*, std::function<void()>>> commands{
        {"black and white", [&] { D.BlackWhite(); }},
        {"to 4 bits", [&] { D.SetColorDepth(4); }},
        {"to 8 bits, exact colours",
         [&] {
             D.ToggleExactColors();
             TOptionsChange change = D.CurrentOptions();
             change.Options.ColorDepth = 8;
             Modal.Answers.push_back(true); // yes, colours may be lost
             D.ApplyOptions(change);
             D.ToggleExactColors();
         }},
        {"smaller size", [&] { D.ResizePicture(200, 250, false); }},
        {"fill", [&] {
             D.ClearPicture();
             D.FloodFillAt(3, 3);
         }}};
    for (const auto& [name, run] : commands) {
        StartPatternPicture(D, 256, 300);
        Host.ProgressBegins.clear();
        Host.Percents.clear();
        Host.ProgressEnds = 0;
        run();
        EXPECT_EQ(Host.ProgressBegins, std::vector<bool>{false}) << name;
        EXPECT_EQ(Host.ProgressEnds, 1) << name;
        ASSERT_FALSE(Host.Percents.empty()) << name;
        EXPECT_TRUE(std::is_sorted(Host.Percents.begin(), Host.Percents.end())) << name;
        EXPECT_GE(Host.Percents.size(), 20u) << name;
        EXPECT_EQ(Host.Percents.back(), 100) << name;
    }
}

// The background black turns white, every other colour black, on the lifted image's edge too;
// the picture is then modified.
TEST_F(Transform, BlackWhiteWithBlackBackground) {
    StartPatternPicture(D, 4, 2);
    const TColor row[4] = {clBlack, RGB(255, 0, 0), clWhite, RGB(1, 0, 0)};
    for (int x = 0; x < 4; ++x)
        EditPicture(D, [&](TBitmap& p) { p.SetPixel(x, 0, row[x]); });
    DragAndRelease(D, 0, 0, 2, 2);
    ASSERT_FALSE(D.Modified());
    D.BlackWhite();
    EXPECT_EQ(std::pair(D.Picture().PixelFormat(), D.Floating().Bitmap.PixelFormat()),
              std::pair(TPixelFormat::pf1bit, TPixelFormat::pf1bit));
    EXPECT_TRUE(D.Modified()) << "a conversion that cannot be undone must not close unasked";
    D.StampFloating();
    const TColor expected[4] = {clWhite, clBlack, clBlack, clBlack};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(expected[x], D.Picture().Pixel(x, 0)) << x;
}

TEST_F(Transform, ColourPicksThenClearPictureFillsWithThePickedBackground) {
    StartPatternPicture(D, 12, 6);
    const TBitmap before = D.Picture();
    D.PickFillColor(1, 2);
    D.PickTransparentColor(7, 4);
    D.PickBackgroundColor(5, 3);
    D.PickFillColor(12, 2); // off the picture: ignored
    D.PickBackgroundColor(3, -1);
    EXPECT_EQ(before.Pixel(1, 2), D.Options().FillColor);
    EXPECT_EQ(before.Pixel(7, 4), D.Options().TransparentColor);
    D.ClearPicture();
    EXPECT_TRUE(AreaIs(D.Picture(), TRect(0, 0, 12, 6), before.Pixel(5, 3)));
    EXPECT_TRUE(D.Modified());
}

// A stamp first, which must stay undoable behind the fill; filling again with the colour already
// there changes nothing and is no step.
TEST_F(Transform, FloodFillStaysInItsRegionAndUndoesLikeAnyStep) {
    StartPatternPicture(D, 20, 20);
    D.ClearPicture();
    for (int y = 0; y < 20; ++y)
        EditPicture(D, [&](TBitmap& p) { p.SetPixel(10, y, clWhite); });
    const TBitmap beforeStamp = D.Picture();
    D.SetFillColor(RGB(255, 0, 0));
    D.Paste(SolidBitmap(3, 3, clWhite), 16, 16);
    D.StampFloating();
    ForgetChanges(D);
    const TBitmap beforeFill = D.Picture();
    D.FloodFillAt(3, 8);
    EXPECT_TRUE(AreaIs(D.Picture(), TRect(0, 0, 10, 20), RGB(255, 0, 0)));
    EXPECT_TRUE(AreaIs(D.Picture(), TRect(11, 0, 16, 20), clBlack));
    EXPECT_TRUE(D.Modified());
    const std::size_t steps = D.History().UndoCount();
    D.FloodFillAt(3, 8);
    EXPECT_EQ(D.History().UndoCount(), steps);

    D.Undo();
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, beforeFill));
    EXPECT_EQ(Host.Changed.back(), (TRect{0, 0, 10, 20}));
    D.Undo();
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, beforeStamp));
}

} // namespace
