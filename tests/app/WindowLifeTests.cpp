// SPDX-License-Identifier: GPL-3.0-or-later
// The refresh timer, and closing the window with unsaved changes.

#include "ShellFixture.h"

namespace {

class WindowLife : public ShellTest {
  protected:
    void StampSomething() {
        Paste(PatternImage(4, 4));
        Press(Qt::Key_Return);
        ASSERT_TRUE(Document().Modified());
    }
};

TEST_F(WindowLife, TimerShowsStatusAndEnablesCommandsAndUndoAndRedoFollowTheSteps) {
    Refresh(Form);
    EXPECT_FALSE(Named(Form, "Undo1")->isEnabled());
    Paste(PatternImage(24, 24));
    Refresh(Form);
    EXPECT_EQ(Named<QLabel>(Form, "StatusPanel1")->text(), " 1000 x 1000 x 24-bit");
    EXPECT_EQ(Named<QLabel>(Form, "StatusPanel3")->text(), "24 x 24 (X=0, Y=0)");
    EXPECT_TRUE(Named(Form, "Cut1")->isEnabled());
    EXPECT_TRUE(Named(Form, "MirrorHorizontal1")->isEnabled());

    Press(Qt::Key_Return);
    QTest::qWait(120); // the real 50 ms timer
    EXPECT_EQ(Form->windowTitle(), "Tessimap *");
    EXPECT_TRUE(Named(Form, "Undo1")->isEnabled());
    EXPECT_FALSE(Named(Form, "Cut1")->isEnabled());
    const TColor stamped = Document().Picture().Pixel(0, 0);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Document().Picture().Pixel(0, 0), clBlack);
    Refresh(Form);
    EXPECT_EQ(Form->windowTitle(), "Tessimap"); // back at the picture as it was
    EXPECT_FALSE(Named(Form, "Undo1")->isEnabled());
    EXPECT_TRUE(Named(Form, "Redo1")->isEnabled());
    // Redo answers to both of its keys.
    Press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Document().Picture().Pixel(0, 0), stamped);
    Press(Qt::Key_Z, Qt::ControlModifier);
    Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Document().Picture().Pixel(0, 0), stamped);
    Refresh(Form);
    EXPECT_FALSE(Named(Form, "Redo1")->isEnabled());
}

TEST_F(WindowLife, ClosingAsksOnlyWithChangesAndOnlyOnce) {
    EXPECT_TRUE(Form->close());
    EXPECT_TRUE(Modal.Shown.empty());
    Form->show();
    StampSomething();
    Modal.Answers = {false};
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(Modal.Shown, std::vector<std::string>{"Warning|Save changes?"});
    EXPECT_TRUE(Modal.Dialogs.empty());
}

// Yes on an untitled picture shows the save dialog. Whether that save fails or the dialog is
// cancelled, the picture is not saved: the window stays open and the picture modified.
TEST_F(WindowLife, YesOnAnUntitledPictureClosesOnlyOnceItIsSaved) {
    TTempFolder folder;
    StampSomething();
    Modal.Answers = {true, true, true};
    Modal.FileChoices = {folder.File("missing-folder/map.bmp"), std::nullopt, folder.File("map.bmp")};
    EXPECT_FALSE(Form->close());
    EXPECT_EQ(Modal.Errors.size(), 1u);
    Press(Qt::Key_F4, Qt::AltModifier); // the dialog cancelled
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Document().Modified());
    ASSERT_EQ(Modal.Dialogs.size(), 2u);
    EXPECT_EQ(Modal.Dialogs[1].Title, "Save picture");

    EXPECT_TRUE(Form->close());
    EXPECT_EQ(Modal.Dialogs.size(), 3u);
    EXPECT_TRUE(std::filesystem::exists(folder.File("map.bmp")));
}

} // namespace
