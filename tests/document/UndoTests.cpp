// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and Redo through the document's commands: steps taken back in order and applied again,
// whole-picture steps, a redone lift, and the modified flag following the saved step.

#include "DocumentTestHelpers.h"
#include "picture/TestFiles.h"

#include <functional>

namespace {

const TColor Red = RGB(255, 0, 0), Green = RGB(0, 200, 0), Blue = RGB(0, 0, 255);

testing::AssertionResult SamePicture(const TBitmap& a, const TBitmap& b) {
    if (a.PixelFormat() != b.PixelFormat()) return testing::AssertionFailure() << "formats differ";
    if (a.PixelBuffer() != b.PixelBuffer()) return testing::AssertionFailure() << "pixels differ";
    return testing::AssertionSuccess();
}

using UndoHistory = TDocumentTest;

TEST_F(UndoHistory, StampsUndoInOrderRedoBackAndANewStepClearsRedo) {
    StartPatternPicture(D, 64, 48);
    std::vector<TBitmap> states{D.Picture()};
    for (const TColor color : {Red, Green, Blue}) {
        D.Paste(SolidBitmap(12, 12, color), 8 * int(states.size()), 8);
        D.StampFloating();
        states.push_back(D.Picture());
    }
    for (std::size_t i = 3; i > 0; --i) {
        D.Undo();
        EXPECT_TRUE(SamePicture(D.Picture(), states[i - 1])) << "undo to " << i - 1;
    }
    EXPECT_FALSE(D.CommandStates(false).Undo);
    for (std::size_t i = 1; i <= 3; ++i) {
        ASSERT_TRUE(D.CommandStates(false).Redo);
        D.Redo();
        EXPECT_TRUE(SamePicture(D.Picture(), states[i])) << "redo to " << i;
    }
    EXPECT_FALSE(D.CommandStates(false).Redo);

    D.Undo();
    D.Paste(SolidBitmap(4, 4, Red), 0, 0);
    D.StampFloating();
    EXPECT_FALSE(D.CommandStates(false).Redo);
    Modal.Answers = {false};
    D.New();
    EXPECT_FALSE(D.CommandStates(false).Undo || D.CommandStates(false).Redo);
}

// UndoMemory=1 holds one 512 x 512 stamp (768 KiB) but not two: the older goes.
TEST_F(UndoHistory, TheSettingsBudgetDropsTheOldestStepsFirst) {
    TPictureOptions options = D.OptionsToKeep();
    options.UndoMemory = 1;
    D.ApplyLoadedOptions(options, D.Font());
    StartPatternPicture(D, 600, 600);
    D.Paste(SolidBitmap(512, 512, Red), 0, 0);
    D.StampFloating();
    const TBitmap afterFirst = D.Picture();
    D.Paste(SolidBitmap(512, 512, Blue), 8, 8);
    D.StampFloating();
    EXPECT_EQ(D.History().UndoCount(), 1u);
    D.Undo();
    EXPECT_TRUE(SamePicture(D.Picture(), afterFirst));
    EXPECT_FALSE(D.CommandStates(false).Undo);
}

TEST_F(UndoHistory, RedoneLiftFloatsAgainWhereItWas) {
    StartPatternPicture(D, 32, 16);
    const TBitmap before = D.Picture();
    DragAndRelease(D, 4, 4, 10, 12);
    const TBitmap lifted = D.CopyFloating().Bitmap(), hole = D.Picture();
    D.Undo();
    EXPECT_TRUE(SamePicture(D.Picture(), before));
    EXPECT_FALSE(D.Floating().Active || D.Floating().Shown);
    D.Redo();
    EXPECT_TRUE(SamePicture(D.Picture(), hole));
    ASSERT_TRUE(D.Floating().Active && D.Floating().Shown);
    EXPECT_EQ(std::pair(D.Floating().Left, D.Floating().Top), std::pair(4, 4));
    EXPECT_TRUE(SamePicture(D.CopyFloating().Bitmap(), lifted));
    D.StampFloating();
    EXPECT_TRUE(SamePicture(D.Picture(), before));
}

// A step larger than the memory budget goes to disk instead of emptying the history, so a
// lifted and deleted picture comes back.
TEST_F(UndoHistory, AStepLargerThanTheBudgetIsKeptOnDisk) {
    TTempFolder folder;
    TPictureOptions options = D.OptionsToKeep();
    options.UndoMemory = 1;
    D.ApplyLoadedOptions(options, D.Font());
    D.SetHistoryFolder(folder.Path().string());
    StartPatternPicture(D, 700, 600);
    const TBitmap before = D.Picture();
    D.SelectAll();
    D.ClearSelection();
    EXPECT_GT(D.History().DiskBytes(), 0u);
    D.Undo();
    D.Undo();
    EXPECT_TRUE(SamePicture(D.Picture(), before));
    D.Redo();
    EXPECT_FALSE(SamePicture(D.Picture(), before));
}

// Stamping a lifted tile and undoing the stamp floats the tile again, framed where it was, over
// the hole the lift left; the lift is a step of its own.
TEST_F(UndoHistory, UndoingAStampFloatsTheImageAgain) {
    StartPatternPicture(D, 32, 24);
    const TBitmap before = D.Picture();
    DragAndRelease(D, 4, 4, 12, 10);
    const TBitmap lifted = D.CopyFloating().Bitmap(), hole = D.Picture();
    const TBitmap framed = D.Floating().Bitmap;
    D.MoveFloating(TArrow::Right, false);
    D.StampFloating();
    const TBitmap stamped = D.Picture();

    D.Undo();
    EXPECT_TRUE(SamePicture(D.Picture(), hole));
    ASSERT_TRUE(D.Floating().Active && D.Floating().Shown);
    EXPECT_EQ(std::pair(D.Floating().Left, D.Floating().Top), std::pair(12, 4));
    EXPECT_TRUE(SamePicture(D.Floating().Bitmap, framed));
    EXPECT_TRUE(SamePicture(D.CopyFloating().Bitmap(), lifted));
    D.Undo();
    EXPECT_TRUE(SamePicture(D.Picture(), before));
    EXPECT_FALSE(D.Floating().Active);
    D.Redo();
    D.Redo();
    EXPECT_TRUE(SamePicture(D.Picture(), stamped));
    EXPECT_FALSE(D.Floating().Active);
}

// Undo and Redo wait while a rubber band or the floating image follows the mouse: the release
// would otherwise lift, or leave, pixels of a picture that changed under the drag.
TEST_F(UndoHistory, UndoAndRedoWaitForADragToEnd) {
    StartPatternPicture(D, 48, 32);
    D.Paste(SolidBitmap(8, 8, Red), 0, 0);
    D.StampFloating();
    const TBitmap stamped = D.Picture();
    D.BeginSelection(20, 10);
    D.DragSelection(30, 20);
    EXPECT_FALSE(D.CommandStates(false).Undo);
    D.Undo();
    D.EndSelection();
    D.StampFloating();
    EXPECT_TRUE(SamePicture(D.Picture(), stamped));

    D.Paste(SolidBitmap(8, 8, Blue), 16, 16);
    D.GrabFloating(1, 1);
    D.Undo();
    EXPECT_TRUE(D.Floating().Active);
    D.ReleaseFloating();
    D.Undo();
    EXPECT_EQ(std::pair(D.Floating().Left, D.Floating().Top), std::pair(20, 10))
        << "the blue image is dropped and the lifted one floats again";
}

struct TWholeStep {
    const char* Name;
    std::function<void(TPictureDocument&, TScriptedModal&)> Command;
};

class WholePictureStep : public TDocumentTest, public testing::WithParamInterface<TWholeStep> {};

// Depth and size come back with the pixels, and the options follow the picture.
TEST_P(WholePictureStep, UndoesAndRedoes) {
    StartPatternPicture(D, 300, 200);
    const TBitmap before = D.Picture();
    GetParam().Command(D, Modal);
    const TBitmap after = D.Picture();
    ASSERT_FALSE(SamePicture(before, after));
    ASSERT_TRUE(D.Modified());
    D.Undo();
    EXPECT_TRUE(SamePicture(D.Picture(), before));
    EXPECT_EQ(std::pair(D.Options().WidthPic, D.Options().HeightPic), std::pair(300, 200));
    EXPECT_FALSE(D.Modified()) << "back at the picture as New made it";
    D.Redo();
    EXPECT_TRUE(SamePicture(D.Picture(), after));
    EXPECT_EQ(std::pair(D.Options().WidthPic, D.Options().HeightPic),
              std::pair(after.Width(), after.Height()));
    EXPECT_TRUE(D.Modified());
}

void ApplyChanged(TPictureDocument& d, TScriptedModal& modal,
                  const std::function<void(TOptionsChange&)>& edit) {
    TOptionsChange change = d.CurrentOptions();
    edit(change);
    modal.Answers = {true};
    d.ApplyOptions(change);
}

INSTANTIATE_TEST_SUITE_P(
    Document, WholePictureStep,
    testing::Values(TWholeStep{"ClearPicture",
                               [](TPictureDocument& d, TScriptedModal&) { d.ClearPicture(); }},
                    TWholeStep{"BlackWhite", [](TPictureDocument& d, TScriptedModal&) { d.BlackWhite(); }},
                    TWholeStep{"FourBitDepth",
                               [](TPictureDocument& d, TScriptedModal& m) {
                                   ApplyChanged(d, m, [](TOptionsChange& c) { c.Options.ColorDepth = 4; });
                               }},
                    TWholeStep{"SmallerSize",
                               [](TPictureDocument& d, TScriptedModal& m) {
                                   ApplyChanged(d, m, [](TOptionsChange& c) { c.Options.WidthPic = 280; });
                               }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(UndoHistory, UndoingToTheSavedPictureClearsModifiedAndAnyOtherStepSetsIt) {
    TTempFolder folder;
    StartPatternPicture(D, 40, 30);
    D.Paste(SolidBitmap(6, 6, Red), 0, 0);
    D.StampFloating();
    Modal.FileChoices.push_back(folder.File("map.bmp"));
    ASSERT_TRUE(D.SaveAs());
    D.Paste(SolidBitmap(6, 6, Blue), 8, 8);
    D.StampFloating();
    D.Undo();
    EXPECT_FALSE(D.Modified());
    D.Undo();
    EXPECT_TRUE(D.Modified());
    D.Redo();
    EXPECT_FALSE(D.Modified());

    // Saved, then one step back: the save question comes, as for any change.
    ASSERT_TRUE(D.Save());
    D.Undo();
    EXPECT_TRUE(D.Modified());
    Modal.Answers = {false};
    D.New();
    EXPECT_EQ(Modal.Shown, std::vector<std::string>{"Warning|Save changes?"});
}

} // namespace
