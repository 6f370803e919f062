// The refresh timer, and closing the window with unsaved changes.

#include "ShellFixture.h"
#include "picture/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>

namespace {

class WindowLife : public ShellTest {
  protected:
    void StampSomething() {
        PutOnClipboard(PatternImage(4, 4));
        QTest::keyClick(Form.get(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(Form.get(), Qt::Key_Return);
        ASSERT_TRUE(Document().Modified);
    }
    int QuestionsAsked() const {
        return int(std::count(Modal.Shown.begin(), Modal.Shown.end(), std::string("Warning|Save changes?")));
    }
};

TEST_F(WindowLife, StartsWithABlackPictureTitledTessimap) {
    EXPECT_EQ(Form->windowTitle(), "Tessimap");
    EXPECT_EQ(Document().Picture.Width(), 1000);
    EXPECT_EQ(Document().Picture.Height(), 1000);
    EXPECT_EQ(Document().Picture.Pixel(999, 999), clBlack);
    EXPECT_EQ(Form->Image1->size(), QSize(1000, 1000));
    EXPECT_TRUE(Form->Step[0]->isChecked());
    EXPECT_FALSE(Form->Transparent1->isChecked());
}

TEST_F(WindowLife, TimerEnablesUndoAfterAStampAndCtrlZTakesItBack) {
    Form->Timer1Timer();
    EXPECT_FALSE(Form->Undo1->isEnabled());
    StampSomething();
    QTest::qWait(120); // the real 50 ms timer
    EXPECT_TRUE(Form->Undo1->isEnabled());
    EXPECT_TRUE(Form->Paste1->isEnabled());
    EXPECT_FALSE(Form->Cut1->isEnabled());
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Document().Picture.Pixel(0, 0), clBlack);
    Form->Timer1Timer();
    EXPECT_FALSE(Form->Undo1->isEnabled());
}

TEST_F(WindowLife, TimerShowsTheStatusTextsAndFloatingCommands) {
    PutOnClipboard(PatternImage(24, 24));
    QTest::keyClick(Form.get(), Qt::Key_V, Qt::ControlModifier);
    Form->Timer1Timer();
    EXPECT_EQ(Form->StatusPanels[0]->text(), " 1000 x 1000 x 24-bit");
    EXPECT_EQ(Form->StatusPanels[2]->text(), "24 x 24");
    EXPECT_TRUE(Form->Cut1->isEnabled());
    EXPECT_TRUE(Form->MirrorHorizontal1->isEnabled());
    EXPECT_FALSE(Form->ExportToGIF1->isEnabled());
}

TEST_F(WindowLife, ClosingWithChangesAsksOnceAndNoCloses) {
    StampSomething();
    Modal.Answers = {false};
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(QuestionsAsked(), 1);
    EXPECT_TRUE(Modal.Dialogs.empty());
}

TEST_F(WindowLife, ClosingWithoutChangesAsksNothing) {
    EXPECT_TRUE(Form->close());
    EXPECT_TRUE(Modal.Shown.empty());
}

TEST_F(WindowLife, YesOnAnUntitledPictureShowsTheSaveDialogAndCancelStillCloses) {
    StampSomething();
    Modal.Answers = {true};
    EXPECT_TRUE(Form->close());
    ASSERT_EQ(Modal.Dialogs.size(), 1u);
    EXPECT_EQ(Modal.Dialogs[0].Title, "Save picture");
    EXPECT_EQ(Modal.Dialogs[0].DefaultExtension, "bmp");
}

TEST_F(WindowLife, AFailedSaveKeepsTheWindowOpenAndThePictureModified) {
    TTempFolder folder;
    StampSomething();
    Modal.Answers = {true};
    Modal.FileChoices = {folder.File("missing-folder/map.bmp")};
    EXPECT_FALSE(Form->close());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Document().Modified);
    EXPECT_FALSE(Modal.Errors.empty());
}

} // namespace
