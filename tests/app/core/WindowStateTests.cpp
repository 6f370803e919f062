// Start values, title, enabled commands, status texts, depth and size of the picture.

#include "ScriptedModal.h"
#include "picture/TestFiles.h"

#include <gtest/gtest.h>

namespace {

const TColor Red = RGB(255, 0, 0), Green = RGB(0, 255, 0);

TBitmap Solid(int w, int h, TColor color) {
    TBitmap b(w, h);
    b.Brush.Color = color;
    b.FillRect(Bounds(0, 0, w, h));
    return b;
}

TEST(WindowState, StartsWithTheDefaultPicture) {
    TDocumentFixture f;
    const TPictureDocument& d = f.Document;
    EXPECT_EQ(d.Picture.Width(), 1000);
    EXPECT_EQ(d.Picture.Height(), 1000);
    EXPECT_EQ(d.Picture.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(d.Picture.Pixel(999, 999), clBlack);
    EXPECT_EQ(d.StepX, 8);
    EXPECT_EQ(d.StepY, 8);
    EXPECT_EQ(d.ActualStep, 1);
    EXPECT_FALSE(d.TransparentChecked);
    EXPECT_FALSE(d.Modified);
    EXPECT_FALSE(d.UndoAvailable);
    EXPECT_TRUE(d.UndoBitmap.Empty());
    EXPECT_EQ(d.Title(), "Tessimap");
    EXPECT_EQ(d.StatusTexts()[0], " 1000 x 1000 x 24-bit");
}

TEST(WindowState, TitleNamesTheFileWithoutItsFolder) {
    TDocumentFixture f;
    f.Document.CurrentFile = "/home/ann/maps/castle.bmp";
    EXPECT_EQ(f.Document.Title(), "Tessimap - castle.bmp");
}

TEST(WindowState, CommandsFollowTheDocumentState) {
    TDocumentFixture f;
    TPictureDocument& d = f.Document;
    TCommandStates s = d.CommandStates(false);
    EXPECT_FALSE(s.Undo || s.Paste || s.FloatingCommands || s.Export);
    EXPECT_TRUE(d.CommandStates(true).Paste);

    d.Paste(Solid(24, 24, Red), 0, 0);
    s = d.CommandStates(true);
    EXPECT_TRUE(s.FloatingCommands);
    EXPECT_FALSE(s.Undo);
    EXPECT_EQ(d.StatusTexts()[2], "24 x 24");

    d.StampFloating();
    s = d.CommandStates(true);
    EXPECT_FALSE(s.FloatingCommands);
    EXPECT_TRUE(s.Undo);
    EXPECT_EQ(d.StatusTexts()[2], "");
    EXPECT_FALSE(s.Export);
    d.CurrentFile = "/tmp/a.bmp";
    EXPECT_TRUE(d.CommandStates(false).Export);
}

TEST(WindowState, StatusTextsShowSizeDepthAndCursor) {
    TDocumentFixture f;
    TPictureDocument& d = f.Document;
    ASSERT_TRUE(d.ResizePicture(320, 200, true));
    ASSERT_TRUE(d.SetColorDepth(4));
    d.CursorText = "X=12, Y=7";
    const auto texts = d.StatusTexts();
    EXPECT_EQ(texts[0], " 320 x 200 x 4-bit");
    EXPECT_EQ(texts[1], "X=12, Y=7");
    EXPECT_EQ(texts[2], "");
}

class ColorDepths : public testing::TestWithParam<std::pair<int, TPixelFormat>> {};

TEST_P(ColorDepths, DepthConvertsPictureFloatingImageAndUndoTogether) {
    TDocumentFixture f;
    TPictureDocument& d = f.Document;
    d.Paste(Solid(6, 6, Red), 0, 0);
    d.StampFloating();
    d.Paste(Solid(5, 5, Red), 16, 16);
    ASSERT_TRUE(d.SetColorDepth(GetParam().first));
    EXPECT_EQ(d.Picture.PixelFormat(), GetParam().second);
    EXPECT_EQ(d.FloatingBitmap.PixelFormat(), GetParam().second);
    EXPECT_EQ(d.UndoBitmap.PixelFormat(), GetParam().second);
    // The frame was off during the conversion: the ring comes back as the converted image.
    d.StampFloating();
    const TColor red = d.Picture.Pixel(2, 2);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(d.Picture.Pixel(16 + i, 16), red) << i;
        EXPECT_EQ(d.Picture.Pixel(20, 16 + i), red) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(WindowState, ColorDepths,
                         testing::Values(std::pair{1, TPixelFormat::pf1bit}, std::pair{4, TPixelFormat::pf4bit},
                                         std::pair{8, TPixelFormat::pf8bit}, std::pair{16, TPixelFormat::pf16bit},
                                         std::pair{24, TPixelFormat::pf24bit}));

TEST(WindowState, DepthOutsideTheListChangesNothing) {
    TDocumentFixture f;
    ASSERT_TRUE(f.Document.SetColorDepth(8));
    for (const int bits : {0, 2, 32}) {
        f.Document.SetColorDepth(bits);
        EXPECT_EQ(f.Document.Picture.PixelFormat(), TPixelFormat::pf8bit) << bits;
    }
}

TEST(WindowState, ResizeStampsFirstReportsTheOldSizeAndFills) {
    TDocumentFixture f;
    TPictureDocument& d = f.Document;
    d.Paste(Solid(4, 4, Red), 8, 8);
    int oldWidth = 0, oldHeight = 0;
    ASSERT_TRUE(d.ResizePicture(300, 200, false, &oldWidth, &oldHeight));
    EXPECT_EQ(oldWidth, 1000);
    EXPECT_EQ(oldHeight, 1000);
    EXPECT_EQ(d.Picture.Width(), 300);
    EXPECT_EQ(d.Picture.Height(), 200);
    EXPECT_FALSE(d.Floating);
    EXPECT_EQ(d.Picture.Pixel(9, 9), Red);

    d.BackgroundColor = Green;
    d.ApplyBackgroundColor();
    ASSERT_TRUE(d.ResizePicture(50, 40, true));
    EXPECT_EQ(d.Picture.Pixel(9, 9), Green);
    EXPECT_EQ(d.Picture.Pixel(49, 39), Green);
    EXPECT_EQ(f.Host.Resized, 2);
}

TEST(WindowState, HugeResizeReportsOutOfMemoryAndKeepsThePicture) {
    TDocumentFixture f;
    TPictureDocument& d = f.Document;
    d.Picture.SetPixel(3, 3, Red);
    EXPECT_FALSE(d.ResizePicture(2000000000, 2000000000, true));
    ASSERT_EQ(f.Modal.Shown.size(), 1u);
    EXPECT_EQ(f.Modal.Shown[0], "Warning|Out of memory, picture is too large!");
    EXPECT_EQ(d.Picture.Width(), 1000);
    EXPECT_EQ(d.Picture.Pixel(3, 3), Red);
    EXPECT_FALSE(f.Host.WaitCursor);
}

TEST(WindowState, SaveChangesAskedOnceAndNoOrCancelLetsTheActionGoOn) {
    TDocumentFixture f;
    TPictureDocument& d = f.Document;
    d.Modified = true;
    f.Modal.Answers = {false};
    EXPECT_TRUE(d.AskSaveChanges());
    EXPECT_EQ(f.Modal.Shown, std::vector<std::string>{"Warning|Save changes?"});
    EXPECT_TRUE(f.Modal.Dialogs.empty());
    EXPECT_FALSE(d.Modified);

    d.Modified = true;
    f.Modal.Answers = {true}; // no file name yet: the save dialog, then cancel
    EXPECT_TRUE(d.AskSaveChanges());
    EXPECT_EQ(f.Modal.Dialogs.size(), 1u);
    EXPECT_FALSE(d.Modified);
}

TEST(WindowState, FailedSaveAfterYesKeepsThePictureModified) {
    TTempFolder folder;
    TDocumentFixture f;
    TPictureDocument& d = f.Document;
    d.CurrentFile = folder.File("missing-folder/picture.bmp");
    d.Modified = true;
    f.Modal.Answers = {true};
    EXPECT_FALSE(d.AskSaveChanges());
    EXPECT_TRUE(d.Modified);
    EXPECT_EQ(f.Modal.Errors.size(), 1u);
}

} // namespace
