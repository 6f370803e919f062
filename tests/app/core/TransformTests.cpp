#include "EditingHelpers.h"
#include "ScriptedModal.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

class Transform : public TDocumentFixture, public testing::Test {};

enum class TTurn { Horizontal, Vertical, Rotate };

void Apply(TPictureDocument& document, TTurn turn) {
    switch (turn) {
    case TTurn::Horizontal: document.MirrorHorizontal(); break;
    case TTurn::Vertical: document.MirrorVertical(); break;
    case TTurn::Rotate: document.Rotate180(); break;
    }
}

struct TShape {
    const char* Name;
    int Width, Height;
    TTurn Turn;
};

// Shapes from a single row or column up to widths that split 1- and 4-bit bytes unevenly.
class Mirroring : public TDocumentFixture, public testing::TestWithParam<std::tuple<TShape, int>> {};

TEST_P(Mirroring, MovesEveryPixelToItsMirrorPlaceAndBackAgain) {
    const auto [shape, bits] = GetParam();
    const int w = shape.Width, h = shape.Height;
    StartPatternPicture(Document, w, h, bits);
    const TBitmap before = Document.Picture;
    Document.SelectAll();
    const TBitmap framed = Document.FloatingBitmap;
    const bool undo = Document.UndoAvailable;

    Apply(Document, shape.Turn);
    const TBitmap turned = Document.CopyFloating();
    ASSERT_EQ(w, turned.Width());
    ASSERT_EQ(h, turned.Height());
    const bool flipX = shape.Turn != TTurn::Vertical;
    const bool flipY = shape.Turn != TTurn::Horizontal;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(before.Pixel(flipX ? w - 1 - x : x, flipY ? h - 1 - y : y), turned.Pixel(x, y))
                << "at (" << x << ", " << y << ")";
    EXPECT_EQ(0, Document.FloatLeft);
    EXPECT_EQ(0, Document.FloatTop);
    EXPECT_TRUE(Document.FloatShown);
    EXPECT_FALSE(Document.Modified);
    EXPECT_EQ(undo, Document.UndoAvailable);

    Apply(Document, shape.Turn);
    EXPECT_EQ(framed.PixelBuffer(), Document.FloatingBitmap.PixelBuffer()) << "frame included";
}

INSTANTIATE_TEST_SUITE_P(Transform, Mirroring,
                         testing::Combine(testing::Values(TShape{"Horizontal3x1", 3, 1, TTurn::Horizontal},
                                                          TShape{"Vertical1x3", 1, 3, TTurn::Vertical},
                                                          TShape{"Rotate2x2", 2, 2, TTurn::Rotate},
                                                          TShape{"Horizontal13x5", 13, 5, TTurn::Horizontal},
                                                          TShape{"Vertical6x7", 6, 7, TTurn::Vertical},
                                                          TShape{"Rotate11x4", 11, 4, TTurn::Rotate}),
                                          testing::Values(1, 4, 8, 16, 24)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) + "_" +
                                    std::to_string(std::get<1>(info.param)) + "bits";
                         });

TEST_F(Transform, MirroringRotateOfTwoByTwoGivesDCBA) {
    const TColor a = RGB(200, 0, 0), b = RGB(0, 200, 0), c = RGB(0, 0, 200), d = RGB(200, 200, 0);
    StartPatternPicture(Document, 2, 2);
    Document.Picture.SetPixel(0, 0, a);
    Document.Picture.SetPixel(1, 0, b);
    Document.Picture.SetPixel(0, 1, c);
    Document.Picture.SetPixel(1, 1, d);
    Document.SelectAll();
    Document.Rotate180();
    Document.StampFloating();
    EXPECT_EQ(d, Document.Picture.Pixel(0, 0));
    EXPECT_EQ(c, Document.Picture.Pixel(1, 0));
    EXPECT_EQ(b, Document.Picture.Pixel(0, 1));
    EXPECT_EQ(a, Document.Picture.Pixel(1, 1));
}

TEST_F(Transform, MirroringALongImageKeepsTheWindowResponsive) {
    StartPatternPicture(Document, 30, 400);
    DragAndRelease(Document, 0, 0, 30, 400);
    Host.EventsProcessed = 0;
    Document.MirrorVertical();
    EXPECT_GE(Host.EventsProcessed, 2);
    EXPECT_FALSE(Host.WaitCursor);
}

TEST_F(Transform, MirroringWithTransparencyKeepsTheImageTransparentAndUnframed) {
    StartPatternPicture(Document, 10, 4);
    const TBitmap before = Document.Picture;
    Document.ToggleTransparency();
    Document.SelectAll();
    Document.MirrorHorizontal();
    EXPECT_TRUE(Document.FloatingBitmap.Transparent);
    EXPECT_TRUE(Document.FloatDisplayTransparent);
    EXPECT_EQ(before.Pixel(9, 0), Document.FloatingBitmap.Pixel(0, 0));
}

TEST_F(Transform, BlackWhiteWithBlackBackgroundSwapsBlackForWhite) {
    StartPatternPicture(Document, 4, 2);
    const TColor row[4] = {clBlack, RGB(255, 0, 0), clWhite, RGB(1, 0, 0)};
    for (int x = 0; x < 4; ++x) {
        Document.Picture.SetPixel(x, 0, row[x]);
        Document.Picture.SetPixel(x, 1, row[3 - x]);
    }
    Document.BlackWhite();

    EXPECT_EQ(TPixelFormat::pf1bit, Document.Picture.PixelFormat());
    EXPECT_EQ(TPixelFormat::pf1bit, Document.UndoBitmap.PixelFormat());
    const TColor expected[4] = {clWhite, clBlack, clBlack, clBlack};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(expected[x], Document.Picture.Pixel(x, 0)) << x;
        EXPECT_EQ(expected[3 - x], Document.Picture.Pixel(x, 1)) << x;
    }
    EXPECT_FALSE(Document.Modified);
}

TEST_F(Transform, BlackWhiteTurnsTheFloatingImageEdgeToEdge) {
    StartPatternPicture(Document, 8, 8);
    // Background pixels on the lifted image's ring, where the frame stands.
    Document.Picture.SetPixel(2, 2, clBlack);
    Document.Picture.SetPixel(5, 4, clBlack);
    Document.Picture.SetPixel(3, 3, clBlack);
    DragAndRelease(Document, 2, 2, 6, 5);
    Document.BlackWhite();
    ASSERT_TRUE(Document.Floating);
    EXPECT_EQ(TPixelFormat::pf1bit, Document.FloatingBitmap.PixelFormat());

    Document.StampFloating();
    EXPECT_EQ(clWhite, Document.Picture.Pixel(2, 2));
    EXPECT_EQ(clWhite, Document.Picture.Pixel(5, 4));
    EXPECT_EQ(clWhite, Document.Picture.Pixel(3, 3));
    EXPECT_EQ(clBlack, Document.Picture.Pixel(4, 2));
    EXPECT_EQ(clBlack, Document.Picture.Pixel(2, 4));
}

TEST_F(Transform, ColourPickThenClearPictureFillsWithThePickedColour) {
    StartPatternPicture(Document, 12, 6);
    const TColor picked = Document.Picture.Pixel(5, 3);
    Document.PickBackgroundColor(5, 3);
    EXPECT_EQ(picked, Document.BackgroundColor);

    Document.ClearPicture();
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(0, 0, 12, 6), picked));
    EXPECT_TRUE(Document.Modified);
}

TEST_F(Transform, ColourPicksSetTheirColoursAndIgnorePointsOffThePicture) {
    StartPatternPicture(Document, 12, 6);
    Document.PickFillColor(1, 2);
    Document.PickTransparentColor(7, 4);
    EXPECT_EQ(PatternColor(1, 2), Document.FillColor);
    EXPECT_EQ(PatternColor(7, 4), Document.TransparentColor);

    Document.PickFillColor(12, 2);
    Document.PickTransparentColor(-1, 0);
    Document.PickBackgroundColor(3, 6);
    EXPECT_EQ(PatternColor(1, 2), Document.FillColor);
    EXPECT_EQ(PatternColor(7, 4), Document.TransparentColor);
    EXPECT_EQ(clBlack, Document.BackgroundColor);
}

TEST_F(Transform, ClearPictureLeavesTheFloatingImageAndUndoAlone) {
    StartPatternPicture(Document, 12, 6);
    DragAndRelease(Document, 1, 1, 5, 5);
    const TBitmap floating = Document.FloatingBitmap;
    Document.ClearPicture();
    EXPECT_TRUE(Document.Floating);
    EXPECT_TRUE(Document.UndoAvailable);
    EXPECT_EQ(floating.PixelBuffer(), Document.FloatingBitmap.PixelBuffer());
}

// A white box on black: the fill stays inside the connected region it started in.
TEST_F(Transform, FloodFillFillsTheConnectedRegionAndDisablesUndo) {
    StartPatternPicture(Document, 20, 20);
    Document.ClearPicture();
    Document.Picture.Brush.Color = clWhite;
    Document.Picture.Pen.Color = clWhite;
    Document.Picture.Brush.Style = TBrushStyle::bsClear;
    Document.Picture.Rectangle(TRect(4, 4, 14, 14));
    Document.ApplyBackgroundColor();
    Document.Picture.Brush.Style = TBrushStyle::bsSolid;
    DragAndRelease(Document, 15, 15, 18, 18);
    Document.StampFloating();
    ASSERT_TRUE(Document.UndoAvailable);
    Document.Modified = false;

    Document.FillColor = RGB(255, 0, 0);
    Document.FloodFillAt(8, 8);
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(5, 5, 13, 13), RGB(255, 0, 0)));
    EXPECT_EQ(clWhite, Document.Picture.Pixel(4, 8));
    EXPECT_EQ(clBlack, Document.Picture.Pixel(2, 2));
    EXPECT_FALSE(Document.UndoAvailable);
    EXPECT_TRUE(Document.Modified);
    // Later fills and clears still use the background colour.
    Document.ClearPicture();
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(0, 0, 20, 20), clBlack));
}

TEST_F(Transform, FloodFillOnTheFillColourStillDisablesUndoAndMarksModified) {
    StartPatternPicture(Document, 10, 10);
    DragAndRelease(Document, 1, 1, 3, 3);
    Document.StampFloating();
    Document.Modified = false;
    Document.FillColor = Document.Picture.Pixel(6, 6);
    const TBitmap before = Document.Picture;

    Document.FloodFillAt(6, 6);
    EXPECT_TRUE(SameBitmap(Document.Picture, before));
    EXPECT_FALSE(Document.UndoAvailable);
    EXPECT_TRUE(Document.Modified);
}

// A serpentine corridor a million pixels long, the kind of region that exhausts a recursive fill.
TEST_F(Transform, FloodFillFollowsARegionOfAnySize) {
    constexpr int Side = 1001;
    StartPatternPicture(Document, Side, Side);
    Document.ClearPicture();
    for (int y = 1; y < Side; y += 2)
        for (int x = 0; x < Side; ++x)
            if (x != ((y / 2) % 2 == 0 ? Side - 1 : 0)) Document.Picture.SetPixel(x, y, clWhite);
    Document.FillColor = RGB(0, 0, 255);

    Document.FloodFillAt(0, 0);
    EXPECT_EQ(RGB(0, 0, 255), Document.Picture.Pixel(Side - 1, Side - 1));
    EXPECT_EQ(RGB(0, 0, 255), Document.Picture.Pixel(0, Side - 1));
    EXPECT_EQ(clWhite, Document.Picture.Pixel(5, Side - 2));
}

} // namespace
