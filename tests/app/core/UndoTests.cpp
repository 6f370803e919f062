// The one-level undo of the last stamp.

#include "ScriptedModal.h"

#include <gtest/gtest.h>

namespace {

const TColor Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);

TBitmap Solid(int w, int h, TColor color) {
    TBitmap b(w, h);
    b.Brush.Color = color;
    b.FillRect(Bounds(0, 0, w, h));
    return b;
}

// A 48 x 48 picture whose every pixel differs, so a restored area must be restored exactly.
class UndoTest : public testing::Test {
protected:
    void SetUp() override {
        D.WidthPic = 48;
        D.HeightPic = 48;
        ASSERT_TRUE(D.ResizePicture(48, 48, false));
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) D.Picture.SetPixel(x, y, RGB(std::uint8_t(5 * x), std::uint8_t(5 * y), 7));
        Before = D.Picture;
    }
    testing::AssertionResult PictureIs(const TBitmap& expected) {
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                if (D.Picture.Pixel(x, y) != expected.Pixel(x, y))
                    return testing::AssertionFailure() << "differs at (" << x << ", " << y << ")";
        return testing::AssertionSuccess();
    }
    void StampAt(const TBitmap& tile, int x, int y) {
        D.Paste(tile, 0, 0);
        D.GrabFloating(0, 0);
        D.DragFloating(x, y);
        D.StampFloating();
    }
    TDocumentFixture F;
    TPictureDocument& D = F.Document;
    TBitmap Before;
};

TEST_F(UndoTest, PasteStampUndoRestoresThePictureAndDisablesUndo) {
    StampAt(Solid(10, 6, Red), 8, 16);
    ASSERT_FALSE(PictureIs(Before));
    D.Modified = false;
    D.Undo();
    EXPECT_TRUE(PictureIs(Before));
    EXPECT_FALSE(D.UndoAvailable);
    EXPECT_FALSE(D.CommandStates(false).Undo);
    EXPECT_TRUE(D.Modified); // the picture differs from what was saved after the stamp
    EXPECT_EQ(F.Host.Changed.back(), (TRect{8, 16, 18, 22}));
}

TEST_F(UndoTest, UndoIsOneLevelAndNotAToggle) {
    StampAt(Solid(10, 6, Red), 0, 0);
    D.Undo();
    D.Picture.SetPixel(1, 1, Blue);
    D.Undo();
    EXPECT_EQ(D.Picture.Pixel(1, 1), Blue);
}

TEST_F(UndoTest, PastingTwiceThenUndoUndoesTheFirstStampAndDropsTheSecondImage) {
    D.Paste(Solid(8, 8, Red), 0, 0);
    D.Paste(Solid(4, 4, Blue), 16, 16);
    D.Undo();
    EXPECT_TRUE(PictureIs(Before));
    EXPECT_FALSE(D.Floating);
    EXPECT_FALSE(D.FloatShown);
}

TEST_F(UndoTest, OnlyTheLastOfOverlappingStampsIsUndone) {
    StampAt(Solid(8, 8, Red), 0, 0);
    StampAt(Solid(8, 8, Blue), 4, 0);
    D.Undo();
    EXPECT_EQ(D.Picture.Pixel(5, 2), Red);
    EXPECT_EQ(D.Picture.Pixel(10, 2), Before.Pixel(10, 2));
    EXPECT_EQ(D.Picture.Pixel(2, 2), Red);
}

TEST_F(UndoTest, StampHangingOverTheEdgesIsUndoneInsideThePicture) {
    StampAt(Solid(10, 10, Red), -4, -4);
    StampAt(Solid(10, 10, Blue), 44, 40);
    EXPECT_EQ(D.Picture.Pixel(47, 47), Blue);
    D.Undo();
    EXPECT_EQ(D.Picture.Pixel(47, 47), Before.Pixel(47, 47));
    EXPECT_EQ(D.Picture.Pixel(44, 40), Before.Pixel(44, 40));
    EXPECT_EQ(D.Picture.Pixel(0, 0), Red);
}

TEST_F(UndoTest, UndoAreaFollowsAColorDepthChange) {
    StampAt(Solid(8, 8, Red), 0, 0);
    ASSERT_TRUE(D.SetColorDepth(8));
    EXPECT_EQ(D.UndoBitmap.PixelFormat(), TPixelFormat::pf8bit);
    const TBitmap converted = D.Picture;
    D.Undo();
    TBitmap expected = Before;
    expected.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_TRUE(PictureIs(expected));
    EXPECT_NE(D.Picture.Pixel(0, 0), converted.Pixel(0, 0));
}

} // namespace
