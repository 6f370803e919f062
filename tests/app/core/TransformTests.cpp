#include "EditingHelpers.h"
#include "ScriptedModal.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

class Transform : public TDocumentFixture, public testing::Test {};

enum class TTurn { Horizontal, Vertical, Rotate };

void Apply(TPictureDocument& document, TTurn turn) {
    if (turn == TTurn::Horizontal) document.MirrorHorizontal();
    else if (turn == TTurn::Vertical) document.MirrorVertical();
    else document.Rotate180();
}

struct TShape {
    const char* Name;
    int Width, Height;
    TTurn Turn;
};

// From one row or column up to widths that split 1- and 4-bit bytes unevenly, at every depth.
class Mirroring : public TDocumentFixture, public testing::TestWithParam<std::tuple<TShape, int>> {};

TEST_P(Mirroring, MovesEveryPixelToItsMirrorPlaceAndTwiceGivesTheImageBack) {
    const auto [shape, bits] = GetParam();
    const int w = shape.Width, h = shape.Height;
    StartPatternPicture(Document, w, h, bits);
    const TBitmap before = Document.Picture;
    Document.SelectAll();
    const TBitmap framed = Document.FloatingBitmap;

    Apply(Document, shape.Turn);
    const TBitmap turned = Document.CopyFloating();
    const bool flipX = shape.Turn != TTurn::Vertical, flipY = shape.Turn != TTurn::Horizontal;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(before.Pixel(flipX ? w - 1 - x : x, flipY ? h - 1 - y : y), turned.Pixel(x, y)) << x << ", " << y;
    EXPECT_EQ(0, Document.FloatLeft);
    EXPECT_TRUE(Document.FloatShown);
    EXPECT_FALSE(Document.Modified);

    Apply(Document, shape.Turn);
    EXPECT_EQ(framed.PixelBuffer(), Document.FloatingBitmap.PixelBuffer()) << "frame included";
}

INSTANTIATE_TEST_SUITE_P(Transform, Mirroring,
                         testing::Combine(testing::Values(TShape{"Horizontal3x1", 3, 1, TTurn::Horizontal},
                                                          TShape{"Vertical1x3", 1, 3, TTurn::Vertical},
                                                          TShape{"Rotate2x2", 2, 2, TTurn::Rotate},
                                                          TShape{"Horizontal13x5", 13, 5, TTurn::Horizontal},
                                                          TShape{"Rotate11x4", 11, 4, TTurn::Rotate}),
                                          testing::Values(1, 4, 8, 16, 24)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) + "_" +
                                    std::to_string(std::get<1>(info.param)) + "bits";
                         });

TEST_F(Transform, MirroringALongImageLetsTheWindowRepaintMeanwhile) {
    StartPatternPicture(Document, 30, 400);
    Document.SelectAll();
    Host.EventsProcessed = 0;
    Document.MirrorVertical();
    EXPECT_GE(Host.EventsProcessed, 2);
    EXPECT_FALSE(Host.WaitCursor);
}

// The background black turns white, every other colour black; the lifted image's edge too.
TEST_F(Transform, BlackWhiteWithBlackBackground) {
    StartPatternPicture(Document, 4, 2);
    const TColor row[4] = {clBlack, RGB(255, 0, 0), clWhite, RGB(1, 0, 0)};
    for (int x = 0; x < 4; ++x) Document.Picture.SetPixel(x, 0, row[x]);
    DragAndRelease(Document, 0, 0, 2, 2); // black and red on the lifted image's ring
    Document.BlackWhite();
    EXPECT_EQ(TPixelFormat::pf1bit, Document.Picture.PixelFormat());
    EXPECT_EQ(TPixelFormat::pf1bit, Document.FloatingBitmap.PixelFormat());
    EXPECT_EQ(TPixelFormat::pf1bit, Document.UndoBitmap.PixelFormat());
    EXPECT_FALSE(Document.Modified);

    Document.StampFloating();
    const TColor expected[4] = {clWhite, clBlack, clBlack, clBlack};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(expected[x], Document.Picture.Pixel(x, 0)) << x;
}

TEST_F(Transform, ColourPicksThenClearPictureFillsWithThePickedBackground) {
    StartPatternPicture(Document, 12, 6);
    const TBitmap before = Document.Picture;
    Document.PickFillColor(1, 2);
    Document.PickTransparentColor(7, 4);
    Document.PickBackgroundColor(5, 3);
    Document.PickFillColor(12, 2); // off the picture: ignored
    Document.PickBackgroundColor(3, -1);
    EXPECT_EQ(before.Pixel(1, 2), Document.FillColor);
    EXPECT_EQ(before.Pixel(7, 4), Document.TransparentColor);
    EXPECT_EQ(before.Pixel(5, 3), Document.BackgroundColor);

    Document.ClearPicture();
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(0, 0, 12, 6), before.Pixel(5, 3)));
    EXPECT_TRUE(Document.Modified);
}

TEST_F(Transform, FloodFillStaysInItsRegionAndDisablesUndoEvenWhenNothingChanges) {
    StartPatternPicture(Document, 20, 20);
    Document.ClearPicture();
    Document.Picture.Pen.Color = clWhite;
    Document.Picture.Brush.Style = TBrushStyle::bsClear;
    Document.Picture.Rectangle(TRect(4, 4, 14, 14));
    Document.ApplyBackgroundColor();
    Document.Picture.Brush.Style = TBrushStyle::bsSolid;
    DragAndRelease(Document, 15, 15, 18, 18);
    Document.StampFloating();
    Document.Modified = false;

    Document.FillColor = RGB(255, 0, 0);
    Document.FloodFillAt(8, 8);
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(5, 5, 13, 13), RGB(255, 0, 0)));
    EXPECT_EQ(clWhite, Document.Picture.Pixel(4, 8));
    EXPECT_EQ(clBlack, Document.Picture.Pixel(2, 2));
    EXPECT_FALSE(Document.UndoAvailable);
    EXPECT_TRUE(Document.Modified);

    DragAndRelease(Document, 15, 15, 18, 18);
    Document.StampFloating();
    Document.Modified = false;
    const TBitmap before = Document.Picture;
    Document.FloodFillAt(9, 9); // already the fill colour
    EXPECT_TRUE(SameArea(Document.Picture, 0, 0, before));
    EXPECT_FALSE(Document.UndoAvailable);
    EXPECT_TRUE(Document.Modified);
}

// A serpentine corridor half a million pixels long, the kind of region that exhausts a recursive fill.
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
    EXPECT_EQ(clWhite, Document.Picture.Pixel(5, Side - 2));
}

} // namespace
