// Keys, mouse and wheel on the main window, as the user gives them.

#include "ShellFixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

namespace {

const TColor Red = RGB(255, 0, 0);

class WindowInput : public ShellTest {
  protected:
    void PasteTile(int width, int height) {
        PutOnClipboard(PatternImage(width, height));
        Press(Qt::Key_V, Qt::ControlModifier);
        ASSERT_TRUE(Document().Floating);
    }
    void Wheel(int turn) {
        QWheelEvent event(QPointF(10, 10), QPointF(Form->ScrollBox1->viewport()->mapToGlobal(QPoint(10, 10))),
                          QPoint(), QPoint(0, turn), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Form->ScrollBox1->viewport(), &event);
    }
};

TEST_F(WindowInput, ArrowKeysMoveFloatingImageEvenWhenScrollAreaHasFocus) {
    PasteTile(10, 10);
    Form->ScrollBox1->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Form->ScrollBox1);
    Press(Qt::Key_Right);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Document().FloatLeft, 8);
    EXPECT_EQ(Document().FloatTop, 1);
    EXPECT_EQ(Form->Image2->pos(), QPoint(8, 1));
    // The scroll area did not take the keys for itself.
    EXPECT_EQ(Form->ScrollBox1->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(Form->ScrollBox1->verticalScrollBar()->value(), 0);
}

TEST_F(WindowInput, EnterAndLeftClickStampWhereTheImageStands) {
    UsePicture(64, 48);
    PasteTile(6, 5);
    Press(Qt::Key_Right);
    Click(Form->Image1, QPoint(40, 40));
    EXPECT_FALSE(Document().Floating);
    EXPECT_FALSE(Form->Image2->isVisible());
    EXPECT_TRUE(HoldsPattern(Document().Picture, 8, 0, 6, 5));
    EXPECT_TRUE(Document().Modified);

    PasteTile(6, 5);
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    EXPECT_FALSE(Document().Floating);
    EXPECT_TRUE(HoldsPattern(Document().Picture, 0, 8, 6, 5));
}

// Mouse positions are inside Image2, which moves under the mouse as it is dragged.
TEST_F(WindowInput, DraggingFloatingImageKeepsTheGrabbedPointUnderTheMouse) {
    UsePicture(64, 48);
    PasteTile(6, 5);
    Mouse(Form->Image2, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    Mouse(Form->Image2, QEvent::MouseMove, QPoint(5, 9), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(Form->Image2->pos(), QPoint(3, 7));
    Mouse(Form->Image2, QEvent::MouseMove, QPoint(3, 3), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(Form->Image2->pos(), QPoint(4, 8));
    Mouse(Form->Image2, QEvent::MouseMove, QPoint(9, 9), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    Mouse(Form->Image2, QEvent::MouseButtonRelease, QPoint(9, 9), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Document().FloatLeft, 4); // Shift held: no drag
    EXPECT_EQ(Document().FloatTop, 8);
}

TEST_F(WindowInput, MouseDragOnPictureLiftsTheRectangle) {
    UsePicture(64, 48);
    PutOnClipboard(PatternImage(20, 10));
    Press(Qt::Key_V, Qt::ControlModifier);
    Press(Qt::Key_Return); // the pattern now stands in the picture at (0, 0)
    Drag(Form->Image1, QPoint(2, 3), QPoint(12, 9));
    ASSERT_TRUE(Document().Floating);
    EXPECT_EQ(Form->Image2->geometry(), QRect(2, 3, 10, 6));
    for (int y = 3; y < 9; ++y)
        for (int x = 2; x < 12; ++x)
            ASSERT_EQ(Document().Picture.Pixel(x, y), Document().BackgroundColor);
    const TBitmap lifted = Document().CopyFloating();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(lifted.Pixel(x, y), PatternColor(x + 2, y + 3));
}

TEST_F(WindowInput, DragPastThePictureStopsAtItsEdges) {
    UsePicture(64, 48);
    Drag(Form->Image1, QPoint(50, 40), QPoint(500, 400));
    ASSERT_TRUE(Document().Floating);
    EXPECT_EQ(Form->Image2->geometry(), QRect(50, 40, 14, 8));
}

TEST_F(WindowInput, AltLeftClickFillsTheRegionUnderTheMouse) {
    UsePicture(64, 48);
    for (int y = 0; y < 48; ++y)
        Document().Picture.SetPixel(20, y, Red);
    Click(Form->Image1, QPoint(5, 5), Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(Document().Picture.Pixel(0, 0), clWhite);
    EXPECT_EQ(Document().Picture.Pixel(19, 47), clWhite);
    EXPECT_EQ(Document().Picture.Pixel(20, 10), Red);
    EXPECT_EQ(Document().Picture.Pixel(21, 10), clBlack);
    EXPECT_TRUE(Document().Modified);
    EXPECT_FALSE(Document().UndoAvailable);
}

TEST_F(WindowInput, CtrlDigitsSwitchStepPairsWithMenuCheckAndButtonDown) {
    Document().StepX2 = 16;
    Document().StepY2 = 4;
    Press(Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(Document().ActualStep, 2);
    EXPECT_EQ(Document().StepX, 16);
    EXPECT_EQ(Document().StepY, 4);
    EXPECT_TRUE(Form->Step[1]->isChecked());
    EXPECT_FALSE(Form->Step[0]->isChecked());
    Press(Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(Document().StepX, 8);
    EXPECT_TRUE(Form->Step[0]->isChecked());
    EXPECT_FALSE(Form->Step[1]->isChecked());
}

TEST_F(WindowInput, CtrlTTogglesTransparencyAndItsCheck) {
    Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(Document().TransparentChecked);
    EXPECT_TRUE(Form->Transparent1->isChecked());
    Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(Document().TransparentChecked);
    EXPECT_FALSE(Form->Transparent1->isChecked());
}

TEST_F(WindowInput, WheelScrollsVerticallyBy35AndHomeEndPageKeysJump) {
    QApplication::processEvents();
    QScrollBar* vertical = Form->ScrollBox1->verticalScrollBar();
    QScrollBar* horizontal = Form->ScrollBox1->horizontalScrollBar();
    ASSERT_TRUE(vertical->isVisible());
    Wheel(-120);
    EXPECT_EQ(vertical->value(), 35);
    Wheel(-1); // one step whatever the size of the turn
    EXPECT_EQ(vertical->value(), 70);
    Wheel(120);
    EXPECT_EQ(vertical->value(), 35);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(vertical->value(), vertical->maximum());
    EXPECT_EQ(horizontal->value(), horizontal->maximum());
    Press(Qt::Key_End);
    EXPECT_EQ(horizontal->value(), 0);
    EXPECT_EQ(vertical->value(), vertical->maximum());
    Press(Qt::Key_Home);
    EXPECT_EQ(vertical->value(), 0);
}

TEST_F(WindowInput, WheelScrollsHorizontallyBy70WhenThereIsNoVerticalBar) {
    UsePicture(2000, 100);
    QApplication::processEvents();
    ASSERT_FALSE(Form->ScrollBox1->verticalScrollBar()->isVisible());
    Wheel(-120);
    EXPECT_EQ(Form->ScrollBox1->horizontalScrollBar()->value(), 70);
    Wheel(120);
    EXPECT_EQ(Form->ScrollBox1->horizontalScrollBar()->value(), 0);
}

TEST_F(WindowInput, SmallPictureShrinksTheWindowToFitIt) {
    UsePicture(256, 192);
    QApplication::processEvents();
    EXPECT_EQ(Form->ScrollBox1->viewport()->size(), QSize(256, 192));
    EXPECT_FALSE(Form->ScrollBox1->verticalScrollBar()->isVisible());
    EXPECT_FALSE(Form->ScrollBox1->horizontalScrollBar()->isVisible());
}

TEST_F(WindowInput, ZoomStretchesThePictureAndASelectionTakesPicturePixels) {
    UsePicture(64, 48);
    Document().Picture.SetPixel(5, 5, Red);
    Form->Zoom1->actions().at(1)->trigger(); // 200%
    EXPECT_EQ(Form->Image1->size(), QSize(128, 96));
    EXPECT_EQ(Form->Image1->grab().toImage().pixel(11, 11), qRgb(255, 0, 0));
    Drag(Form->Image1, QPoint(8, 8), QPoint(28, 18));
    ASSERT_TRUE(Document().Floating);
    const TBitmap lifted = Document().CopyFloating();
    EXPECT_EQ(lifted.Width(), 10);
    EXPECT_EQ(lifted.Height(), 5);
    EXPECT_EQ(lifted.Pixel(1, 1), Red);
}

TEST_F(WindowInput, PasteLandsOnTheGridAfterTheScrollPosition) {
    Form->ScrollBox1->horizontalScrollBar()->setValue(13);
    PasteTile(4, 4);
    EXPECT_EQ(Document().FloatLeft, 16);
    EXPECT_EQ(Document().FloatTop, 0);
}

} // namespace
