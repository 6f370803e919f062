// Keys, mouse and wheel on the main window, as the user gives them.

#include "ShellFixture.h"

namespace {

const TColor Red = RGB(255, 0, 0);

class WindowInput : public ShellTest {
  protected:
    void Wheel(int turn) {
        QWidget* viewport = Form->ScrollBox1->viewport();
        QWheelEvent event(QPointF(10, 10), QPointF(viewport->mapToGlobal(QPoint(10, 10))), QPoint(),
                          QPoint(0, turn), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }
    QScrollBar* Vertical() { return Form->ScrollBox1->verticalScrollBar(); }
    QScrollBar* Horizontal() { return Form->ScrollBox1->horizontalScrollBar(); }
};

TEST_F(WindowInput, ArrowKeysMoveFloatingImageEvenWhenScrollAreaHasFocus) {
    Paste(PatternImage(10, 10));
    Form->ScrollBox1->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Form->ScrollBox1);
    Press(Qt::Key_Right);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Form->Image2->geometry(), QRect(8, 1, 10, 10));
    EXPECT_EQ(Horizontal()->value(), 0); // the scroll area did not take the keys for itself
    EXPECT_EQ(Vertical()->value(), 0);
}

// Mouse positions are inside Image2, which moves under the mouse as it is dragged.
TEST_F(WindowInput, FloatingImageFollowsTheGrabbedPointAndALeftClickStampsIt) {
    UsePicture(64, 48);
    Paste(PatternImage(6, 5));
    Mouse(Form->Image2, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    Mouse(Form->Image2, QEvent::MouseMove, QPoint(5, 9), Qt::LeftButton);
    Mouse(Form->Image2, QEvent::MouseMove, QPoint(3, 3), Qt::LeftButton);
    EXPECT_EQ(Form->Image2->pos(), QPoint(4, 8));
    Mouse(Form->Image2, QEvent::MouseMove, QPoint(9, 9), Qt::LeftButton, Qt::ShiftModifier); // no drag
    Mouse(Form->Image2, QEvent::MouseButtonRelease, QPoint(9, 9), Qt::NoButton);
    EXPECT_EQ(Form->Image2->pos(), QPoint(4, 8));

    Click(Form->Image1, QPoint(40, 40));
    EXPECT_FALSE(Form->Image2->isVisible());
    EXPECT_TRUE(HoldsPattern(Document().Picture, 4, 8, 6, 5));
}

// Enter stamps the pasted pattern at (0, 0) first.
TEST_F(WindowInput, MouseDragOnPictureLiftsTheRectangleAndStopsAtTheEdges) {
    UsePicture(64, 48);
    Paste(PatternImage(20, 10));
    Press(Qt::Key_Return);
    Drag(Form->Image1, QPoint(2, 3), QPoint(12, 9));
    EXPECT_EQ(Form->Image2->geometry(), QRect(2, 3, 10, 6));
    EXPECT_EQ(Document().Picture.Pixel(2, 3), Document().Options.BackgroundColor);
    EXPECT_EQ(Document().Picture.Pixel(11, 8), Document().Options.BackgroundColor);
    EXPECT_TRUE(HoldsPattern(Document().CopyFloating(), 0, 0, 10, 6, 2, 3));

    Press(Qt::Key_Return);
    Drag(Form->Image1, QPoint(50, 40), QPoint(500, 400));
    EXPECT_EQ(Form->Image2->geometry(), QRect(50, 40, 14, 8));
}

TEST_F(WindowInput, AltLeftClickFillsTheRegionUnderTheMouse) {
    UsePicture(64, 48);
    for (int y = 0; y < 48; ++y)
        Document().Picture.SetPixel(20, y, Red);
    Click(Form->Image1, QPoint(5, 5), Qt::AltModifier);
    EXPECT_EQ(Document().Picture.Pixel(0, 0), clWhite);
    EXPECT_EQ(Document().Picture.Pixel(19, 47), clWhite);
    EXPECT_EQ(Document().Picture.Pixel(21, 10), clBlack);
}

TEST_F(WindowInput, WheelAndPageKeysScrollAndASmallPictureFitsTheWindow) {
    ASSERT_TRUE(Vertical()->isVisible());
    Wheel(-120);
    Wheel(-1); // one step whatever the size of the turn
    EXPECT_EQ(Vertical()->value(), 70);
    Wheel(120);
    EXPECT_EQ(Vertical()->value(), 35);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(QPoint(Horizontal()->value(), Vertical()->value()),
              QPoint(Horizontal()->maximum(), Vertical()->maximum()));
    Press(Qt::Key_End);
    EXPECT_EQ(Horizontal()->value(), 0);
    Press(Qt::Key_Home);
    EXPECT_EQ(Vertical()->value(), 0);

    UsePicture(256, 192);
    EXPECT_EQ(Form->ScrollBox1->viewport()->size(), QSize(256, 192));
    EXPECT_FALSE(Vertical()->isVisible() || Horizontal()->isVisible());
}

TEST_F(WindowInput, WheelScrollsSidewaysBy70WithoutAVerticalBar) {
    UsePicture(2000, 100);
    ASSERT_FALSE(Vertical()->isVisible());
    Wheel(-120);
    EXPECT_EQ(Horizontal()->value(), 70);
}

TEST_F(WindowInput, ZoomStretchesThePictureAndASelectionTakesPicturePixels) {
    UsePicture(64, 48);
    Document().Picture.SetPixel(5, 5, Red);
    Form->Zoom1->actions().at(1)->trigger(); // 200%
    EXPECT_EQ(Form->Image1->size(), QSize(128, 96));
    EXPECT_EQ(Form->Image1->grab().toImage().pixel(11, 11), qRgb(255, 0, 0));
    Drag(Form->Image1, QPoint(8, 8), QPoint(28, 18));
    const TBitmap lifted = Document().CopyFloating();
    EXPECT_EQ(QSize(lifted.Width(), lifted.Height()), QSize(10, 5));
    EXPECT_EQ(lifted.Pixel(1, 1), Red);
}

TEST_F(WindowInput, PasteLandsOnTheGridOfTheStepPairChosenWithCtrlDigits) {
    Document().Options.StepX2 = 16;
    Horizontal()->setValue(20);
    Press(Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(Form->Step2->isChecked());
    EXPECT_FALSE(Form->Step1->isChecked());
    Paste(PatternImage(4, 4));
    EXPECT_EQ(QPoint(Document().FloatLeft, Document().FloatTop), QPoint(32, 0));
    Press(Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(Form->Step1->isChecked());
    EXPECT_FALSE(Form->Step2->isChecked());
}

} // namespace
