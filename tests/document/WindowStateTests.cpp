// SPDX-License-Identifier: GPL-3.0-or-later
// Start values, title, enabled commands, status texts, depth and size of the picture.

#include "DocumentTestHelpers.h"
#include "picture/TestFiles.h"

namespace {

const TColor Red = RGB(255, 0, 0), Green = RGB(0, 255, 0);

using WindowState = TDocumentTest;

TEST_F(WindowState, StartsEmptyAndCommandsStatusAndTitleFollowTheDocumentState) {
    EXPECT_TRUE(AreaIs(D.Picture(), Bounds(0, 0, 1000, 1000), clBlack));
    EXPECT_FALSE(D.Options().Transparency || D.Modified() || D.History().CanUndo());
    EXPECT_EQ(D.StatusTexts()[0], " 1000 x 1000 x 24-bit");
    EXPECT_EQ(D.Title(), "Tessimap");
    TCommandStates s = D.CommandStates(false);
    EXPECT_FALSE(s.Undo || s.Paste || s.FloatingCommands || s.Export);
    EXPECT_TRUE(D.CommandStates(true).Paste);
    D.Paste(SolidBitmap(24, 24, Red), 0, 0);
    EXPECT_TRUE(D.CommandStates(true).FloatingCommands);
    EXPECT_EQ(D.StatusTexts()[2], "24 x 24 (X=0, Y=0)");
    D.StampFloating();
    s = D.CommandStates(true);
    EXPECT_TRUE(s.Undo && !s.FloatingCommands);
    TTempFolder folder;
    Modal.FileChoices.push_back(folder.File("castle.bmp"));
    ASSERT_TRUE(D.SaveAs());
    EXPECT_TRUE(D.CommandStates(false).Export);
    EXPECT_EQ(D.Title(), "Tessimap - castle.bmp");
    ASSERT_TRUE(D.ResizePicture(320, 200, true));
    ASSERT_TRUE(D.SetColorDepth(4));
    EXPECT_EQ(D.StatusTexts(), (std::array<std::string, 3>{" 320 x 200 x 4-bit", "", ""}));
}

class ColorDepths : public WindowState, public testing::WithParamInterface<std::pair<int, TPixelFormat>> {};

TEST_P(ColorDepths, DepthConvertsPictureAndFloatingImageTogether) {
    const auto [bits, format] = GetParam();
    D.Paste(SolidBitmap(6, 6, Red), 0, 0);
    D.StampFloating();
    D.Paste(SolidBitmap(5, 5, Red), 16, 16);
    ASSERT_TRUE(D.SetColorDepth(bits));
    EXPECT_EQ(D.Picture().PixelFormat(), format);
    EXPECT_EQ(D.Floating().Bitmap.PixelFormat(), format);
    // The frame was off during the conversion: the ring comes back as the converted image.
    D.StampFloating();
    EXPECT_TRUE(AreaIs(D.Picture(), Bounds(16, 16, 5, 5), D.Picture().Pixel(2, 2)));
    for (const int other : {0, 2, 32})
        D.SetColorDepth(other);
    EXPECT_EQ(D.Picture().PixelFormat(), format);
}

INSTANTIATE_TEST_SUITE_P(WindowState, ColorDepths,
                         testing::Values(std::pair{1, TPixelFormat::pf1bit},
                                         std::pair{4, TPixelFormat::pf4bit},
                                         std::pair{8, TPixelFormat::pf8bit},
                                         std::pair{16, TPixelFormat::pf16bit},
                                         std::pair{24, TPixelFormat::pf24bit}));

TEST_F(WindowState, ResizeStampsFirstReportsTheOldSizeAndFills) {
    D.Paste(SolidBitmap(4, 4, Red), 8, 8);
    int oldWidth = 0, oldHeight = 0;
    ASSERT_TRUE(D.ResizePicture(300, 200, false, &oldWidth, &oldHeight));
    EXPECT_EQ(std::pair(oldWidth, oldHeight), std::pair(1000, 1000));
    EXPECT_EQ(D.Picture().Width(), 300);
    EXPECT_EQ(D.Picture().Pixel(9, 9), Red);
    D.SetBackgroundColor(Green);
    D.ApplyBackgroundColor();
    ASSERT_TRUE(D.ResizePicture(50, 40, true));
    EXPECT_TRUE(AreaIs(D.Picture(), Bounds(0, 0, 50, 40), Green));
    EXPECT_EQ(Host.Resized, 2);
}

TEST_F(WindowState, HugeResizeReportsOutOfMemoryAndKeepsThePicture) {
    EditPicture(D, [&](TBitmap& p) { p.SetPixel(3, 3, Red); });
    EXPECT_FALSE(D.ResizePicture(2000000000, 2000000000, true));
    EXPECT_EQ(Modal.Shown, std::vector<std::string>{"Warning|Out of memory, picture is too large!"});
    EXPECT_EQ(D.Picture().Width(), 1000);
    EXPECT_EQ(D.Picture().Pixel(3, 3), Red);
    EXPECT_FALSE(Host.WaitCursor);
}

} // namespace
