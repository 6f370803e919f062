// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and Redo from the keyboard while the window is in use: after a change of size, and while
// the mouse drags.

#include "ShellFixture.h"

namespace {

using UndoWindow = ShellTest;

// A picture made larger through the options dialog, taken back, then a stamp: the history must
// not lose count of what it holds, which left it dropping steps for ever.
TEST_F(UndoWindow, UndoOfALargerPictureThenAStampLeavesTheWindowWorking) {
    UsePicture(300, 200);
    Modal.Answers = {true};
    QTimer::singleShot(0, [] {
        // The options open on the width, selected whole.
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && QTest::qWaitFor([&] {
                return QApplication::focusWidget() && QApplication::focusWidget()->window() == dialog;
            })) {
            QTest::keyClicks(QApplication::focusWidget(), "400");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        if (QApplication::activeModalWidget()) QApplication::activeModalWidget()->close();
    });
    Press(Qt::Key_F8);
    ASSERT_EQ(Document().Picture().Width(), 400);
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Press(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(Document().Picture().Width(), 300);
    Paste(PatternImage(8, 8));
    Press(Qt::Key_Return);
    EXPECT_TRUE(HoldsPattern(Document().Picture(), 0, 0, 8, 8));
    EXPECT_EQ(Document().History().UndoCount(), 1u);
    EXPECT_EQ(Document().History().RedoCount(), 0u);
}

// Ctrl+Z while a rubber band or the floating image is dragged does nothing, so the release
// cannot bring back pixels of a step taken back under it.
TEST_F(UndoWindow, CtrlZWaitsUntilTheDragIsLetGo) {
    UsePicture(64, 48);
    Paste(PatternImage(8, 8));
    Press(Qt::Key_Return);
    const TBitmap stamped = Document().Picture();
    auto* image1 = Named<TPictureControl>(Form, "Image1");
    Mouse(image1, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    Mouse(image1, QEvent::MouseMove, QPoint(20, 20), Qt::LeftButton);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(Named(Form, "Undo1")->isEnabled());
    Mouse(image1, QEvent::MouseButtonRelease, QPoint(20, 20), Qt::NoButton);
    Press(Qt::Key_Return);
    EXPECT_TRUE(SameArea(Document().Picture(), 0, 0, stamped, 0, 0, 64, 48));

    Paste(PatternImage(8, 8));
    auto* image2 = Named<TFloatingControl>(Form, "Image2");
    Mouse(image2, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    Mouse(image2, QEvent::MouseMove, QPoint(5, 5), Qt::LeftButton);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Document().Floating().Active) << "the dragged image stays";
    Mouse(image2, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(std::pair(Document().Floating().Left, Document().Floating().Top), std::pair(2, 2))
        << "the pasted image is dropped and the lifted one floats again";
}

} // namespace
