// The one-level undo of the last stamp.

#include "DocumentPictures.h"
#include "ScriptedModal.h"

#include <gtest/gtest.h>

namespace {

const TColor Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);

// A 48 x 48 picture whose every pixel differs, so a restored area must be restored exactly.
class UndoTest : public TDocumentFixture, public testing::Test {
protected:
    void SetUp() override {
        Document.Picture = PatternBitmap(48, 48);
        Document.ApplyBackgroundColor();
        Before = Document.Picture;
    }
    void StampAt(const TBitmap& tile, int x, int y) {
        Document.Paste(tile, 0, 0);
        Document.GrabFloating(0, 0);
        Document.DragFloating(x, y);
        Document.StampFloating();
    }
    TPictureDocument& D = Document;
    TBitmap Before;
};

TEST_F(UndoTest, PasteStampUndoRestoresThePictureAndDisablesUndo) {
    StampAt(SolidBitmap(10, 6, Red), 8, 16);
    D.Modified = false;
    D.Undo();
    EXPECT_TRUE(SameBitmap(D.Picture, Before));
    EXPECT_FALSE(D.CommandStates(false).Undo);
    EXPECT_TRUE(D.Modified); // the picture differs from what was saved after the stamp
    EXPECT_EQ(Host.Changed.back(), (TRect{8, 16, 18, 22}));
    // Not a toggle: a second Undo puts nothing back.
    D.Picture.SetPixel(9, 17, Blue);
    D.Undo();
    EXPECT_EQ(D.Picture.Pixel(9, 17), Blue);
}

TEST_F(UndoTest, PastingTwiceThenUndoUndoesTheFirstStampAndDropsTheSecondImage) {
    D.Paste(SolidBitmap(8, 8, Red), 0, 0);
    D.Paste(SolidBitmap(4, 4, Blue), 16, 16);
    D.Undo();
    EXPECT_TRUE(SameBitmap(D.Picture, Before));
    EXPECT_FALSE(D.Floating || D.FloatShown);
}

TEST_F(UndoTest, StampHangingOverTheEdgesIsUndoneInsideThePicture) {
    StampAt(SolidBitmap(10, 10, Red), -4, -4);
    StampAt(SolidBitmap(10, 10, Blue), 44, 40);
    D.Undo();
    EXPECT_TRUE(AreasMatch(D.Picture, 40, 40, Before, 40, 40, 8, 8));
    EXPECT_TRUE(AreaHas(D.Picture, Bounds(0, 0, 6, 6), Red));
}

TEST_F(UndoTest, UndoAreaFollowsAColorDepthChange) {
    StampAt(SolidBitmap(8, 8, Red), 0, 0);
    ASSERT_TRUE(D.SetColorDepth(8));
    EXPECT_EQ(D.UndoBitmap.PixelFormat(), TPixelFormat::pf8bit);
    D.Undo();
    TBitmap expected = Before;
    expected.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_TRUE(SameBitmap(D.Picture, expected));
}

} // namespace
