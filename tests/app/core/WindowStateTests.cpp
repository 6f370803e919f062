// Start values, title, enabled commands, status texts, depth and size of the picture.

#include "DocumentPictures.h"
#include "ScriptedModal.h"
#include "picture/TestFiles.h"

#include <gtest/gtest.h>

namespace {

const TColor Red = RGB(255, 0, 0), Green = RGB(0, 255, 0);

class WindowState : public TDocumentFixture, public testing::Test {
protected:
    TPictureDocument& D = Document;
};

TEST_F(WindowState, StartsWithTheDefaultPictureAndTitle) {
    EXPECT_TRUE(AreaHas(D.Picture, Bounds(0, 0, 1000, 1000), clBlack));
    EXPECT_EQ(D.Picture.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(D.StepX, 8);
    EXPECT_EQ(D.StepY, 8);
    EXPECT_EQ(D.ActualStep, 1);
    EXPECT_FALSE(D.TransparentChecked || D.Modified || D.UndoAvailable);
    EXPECT_TRUE(D.UndoBitmap.Empty());
    EXPECT_EQ(D.StatusTexts()[0], " 1000 x 1000 x 24-bit");
    EXPECT_EQ(D.Title(), "Tessimap");
    D.CurrentFile = "/home/ann/maps/castle.bmp";
    EXPECT_EQ(D.Title(), "Tessimap - castle.bmp");
}

TEST_F(WindowState, CommandsAndStatusFollowTheDocumentState) {
    TCommandStates s = D.CommandStates(false);
    EXPECT_FALSE(s.Undo || s.Paste || s.FloatingCommands || s.Export);
    EXPECT_TRUE(D.CommandStates(true).Paste);

    D.Paste(SolidBitmap(24, 24, Red), 0, 0);
    EXPECT_TRUE(D.CommandStates(true).FloatingCommands);
    EXPECT_EQ(D.StatusTexts()[2], "24 x 24");

    D.StampFloating();
    s = D.CommandStates(true);
    EXPECT_FALSE(s.FloatingCommands);
    EXPECT_TRUE(s.Undo);
    EXPECT_EQ(D.StatusTexts()[2], "");
    D.CurrentFile = "/tmp/a.bmp";
    EXPECT_TRUE(D.CommandStates(false).Export);

    ASSERT_TRUE(D.ResizePicture(320, 200, true));
    ASSERT_TRUE(D.SetColorDepth(4));
    D.CursorText = "X=12, Y=7";
    EXPECT_EQ(D.StatusTexts(), (std::array<std::string, 3>{" 320 x 200 x 4-bit", "X=12, Y=7", ""}));
}

class ColorDepths : public WindowState, public testing::WithParamInterface<std::pair<int, TPixelFormat>> {};

TEST_P(ColorDepths, DepthConvertsPictureFloatingImageAndUndoTogether) {
    D.Paste(SolidBitmap(6, 6, Red), 0, 0);
    D.StampFloating();
    D.Paste(SolidBitmap(5, 5, Red), 16, 16);
    ASSERT_TRUE(D.SetColorDepth(GetParam().first));
    EXPECT_EQ(D.Picture.PixelFormat(), GetParam().second);
    EXPECT_EQ(D.FloatingBitmap.PixelFormat(), GetParam().second);
    EXPECT_EQ(D.UndoBitmap.PixelFormat(), GetParam().second);
    // The frame was off during the conversion: the ring comes back as the converted image.
    D.StampFloating();
    EXPECT_TRUE(AreaHas(D.Picture, Bounds(16, 16, 5, 5), D.Picture.Pixel(2, 2)));
    // Depths outside the list change nothing.
    for (const int bits : {0, 2, 32}) D.SetColorDepth(bits);
    EXPECT_EQ(D.Picture.PixelFormat(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(WindowState, ColorDepths,
                         testing::Values(std::pair{1, TPixelFormat::pf1bit}, std::pair{4, TPixelFormat::pf4bit},
                                         std::pair{8, TPixelFormat::pf8bit}, std::pair{16, TPixelFormat::pf16bit},
                                         std::pair{24, TPixelFormat::pf24bit}));

TEST_F(WindowState, ResizeStampsFirstReportsTheOldSizeAndFills) {
    D.Paste(SolidBitmap(4, 4, Red), 8, 8);
    int oldWidth = 0, oldHeight = 0;
    ASSERT_TRUE(D.ResizePicture(300, 200, false, &oldWidth, &oldHeight));
    EXPECT_EQ(oldWidth, 1000);
    EXPECT_EQ(oldHeight, 1000);
    EXPECT_EQ(D.Picture.Width(), 300);
    EXPECT_EQ(D.Picture.Pixel(9, 9), Red);

    D.BackgroundColor = Green;
    D.ApplyBackgroundColor();
    ASSERT_TRUE(D.ResizePicture(50, 40, true));
    EXPECT_TRUE(AreaHas(D.Picture, Bounds(0, 0, 50, 40), Green));
    EXPECT_EQ(Host.Resized, 2);
}

TEST_F(WindowState, HugeResizeReportsOutOfMemoryAndKeepsThePicture) {
    D.Picture.SetPixel(3, 3, Red);
    EXPECT_FALSE(D.ResizePicture(2000000000, 2000000000, true));
    EXPECT_EQ(Modal.Shown, std::vector<std::string>{"Warning|Out of memory, picture is too large!"});
    EXPECT_EQ(D.Picture.Width(), 1000);
    EXPECT_EQ(D.Picture.Pixel(3, 3), Red);
    EXPECT_FALSE(Host.WaitCursor);
}

TEST_F(WindowState, SaveChangesAskedOnceAndNoOrCancelLetsTheActionGoOn) {
    for (const bool yes : {false, true}) { // Yes without a file name: the save dialog, cancelled
        D.Modified = true;
        Modal.Answers = {yes};
        Modal.Shown.clear();
        EXPECT_TRUE(D.AskSaveChanges());
        EXPECT_EQ(Modal.Shown, std::vector<std::string>{"Warning|Save changes?"});
        EXPECT_EQ(Modal.Dialogs.size(), yes ? 1u : 0u);
        EXPECT_FALSE(D.Modified);
    }
}

TEST_F(WindowState, FailedSaveAfterYesKeepsThePictureModified) {
    TTempFolder folder;
    D.CurrentFile = folder.File("missing-folder/picture.bmp");
    D.Modified = true;
    Modal.Answers = {true};
    EXPECT_FALSE(D.AskSaveChanges());
    EXPECT_TRUE(D.Modified);
    EXPECT_EQ(Modal.Errors.size(), 1u);
}

} // namespace
