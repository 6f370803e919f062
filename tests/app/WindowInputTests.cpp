// SPDX-License-Identifier: GPL-3.0-or-later
// Keys, mouse and wheel on the main window, as the user gives them.

#include "ShellFixture.h"

namespace {

const TColor Red = RGB(255, 0, 0);

class WindowInput : public ShellTest {
  protected:
    void Wheel(int turn) {
        QWidget* viewport = Named<QScrollArea>(Form, "ScrollBox1")->viewport();
        QWheelEvent event(QPointF(10, 10), QPointF(viewport->mapToGlobal(QPoint(10, 10))), QPoint(),
                          QPoint(0, turn), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }
    QScrollBar* Vertical() { return Named<QScrollArea>(Form, "ScrollBox1")->verticalScrollBar(); }
    QScrollBar* Horizontal() { return Named<QScrollArea>(Form, "ScrollBox1")->horizontalScrollBar(); }
};

TEST_F(WindowInput, ArrowKeysMoveFloatingImageEvenWhenScrollAreaHasFocus) {
    Paste(PatternImage(10, 10));
    Named<QScrollArea>(Form, "ScrollBox1")->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Named<QScrollArea>(Form, "ScrollBox1"));
    Press(Qt::Key_Right);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Named<TFloatingControl>(Form, "Image2")->geometry(), QRect(8, 1, 10, 10));
    EXPECT_EQ(Horizontal()->value(), 0); // the scroll area did not take the keys for itself
    EXPECT_EQ(Vertical()->value(), 0);
}

// Mouse positions are inside Image2, which moves under the mouse as it is dragged.
TEST_F(WindowInput, FloatingImageFollowsTheGrabbedPointAndALeftClickStampsIt) {
    UsePicture(64, 48);
    Paste(PatternImage(6, 5));
    Mouse(Named<TFloatingControl>(Form, "Image2"), QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    Mouse(Named<TFloatingControl>(Form, "Image2"), QEvent::MouseMove, QPoint(5, 9), Qt::LeftButton);
    Mouse(Named<TFloatingControl>(Form, "Image2"), QEvent::MouseMove, QPoint(3, 3), Qt::LeftButton);
    EXPECT_EQ(Named<TFloatingControl>(Form, "Image2")->pos(), QPoint(4, 8));
    Mouse(Named<TFloatingControl>(Form, "Image2"), QEvent::MouseMove, QPoint(9, 9), Qt::LeftButton,
          Qt::ShiftModifier); // no drag
    Mouse(Named<TFloatingControl>(Form, "Image2"), QEvent::MouseButtonRelease, QPoint(9, 9), Qt::NoButton);
    EXPECT_EQ(Named<TFloatingControl>(Form, "Image2")->pos(), QPoint(4, 8));

    Click(Named<TPictureControl>(Form, "Image1"), QPoint(40, 40));
    EXPECT_FALSE(Named<TFloatingControl>(Form, "Image2")->isVisible());
    EXPECT_TRUE(HoldsPattern(Document().Picture(), 4, 8, 6, 5));
}

// Enter stamps the pasted pattern at (0, 0) first.
TEST_F(WindowInput, MouseDragOnPictureLiftsTheRectangleAndStopsAtTheEdges) {
    UsePicture(64, 48);
    Paste(PatternImage(20, 10));
    Press(Qt::Key_Return);
    Drag(Named<TPictureControl>(Form, "Image1"), QPoint(2, 3), QPoint(12, 9));
    EXPECT_EQ(Named<TFloatingControl>(Form, "Image2")->geometry(), QRect(2, 3, 10, 6));
    EXPECT_EQ(Document().Picture().Pixel(2, 3), Document().Options().BackgroundColor);
    EXPECT_EQ(Document().Picture().Pixel(11, 8), Document().Options().BackgroundColor);
    EXPECT_TRUE(HoldsPattern(Document().CopyFloating().Bitmap(), 0, 0, 10, 6, 2, 3));

    Press(Qt::Key_Return);
    Drag(Named<TPictureControl>(Form, "Image1"), QPoint(50, 40), QPoint(500, 400));
    EXPECT_EQ(Named<TFloatingControl>(Form, "Image2")->geometry(), QRect(50, 40, 14, 8));
}

TEST_F(WindowInput, AltLeftClickFillsTheRegionUnderTheMouse) {
    UsePicture(64, 48);
    for (int y = 0; y < 48; ++y)
        EditPicture(Document(), [&](TBitmap& p) { p.SetPixel(20, y, Red); });
    Click(Named<TPictureControl>(Form, "Image1"), QPoint(5, 5), Qt::AltModifier);
    EXPECT_EQ(Document().Picture().Pixel(0, 0), clWhite);
    EXPECT_EQ(Document().Picture().Pixel(19, 47), clWhite);
    EXPECT_EQ(Document().Picture().Pixel(21, 10), clBlack);
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

    UsePicture(456, 192);
    EXPECT_EQ(Named<QScrollArea>(Form, "ScrollBox1")->viewport()->size(), QSize(456, 192));
    EXPECT_FALSE(Vertical()->isVisible() || Horizontal()->isVisible());
}

// Around a picture smaller than the bars need, the window keeps every menu title, toolbar button
// and status text whole; a large picture opened afterwards can still be scrolled.
TEST_F(WindowInput, ATinyPictureNeverFoldsTheMenusToolbarOrStatusBar) {
    UsePicture(64, 48);
    Refresh(Form);
    const QMenuBar* bar = Form->menuBar();
    for (QAction* title : bar->actions()) {
        if (title->isVisible()) {
            EXPECT_TRUE(bar->rect().contains(bar->actionGeometry(title))) << title->text().toStdString();
        }
    }
    for (const char* extension : {"qt_menubar_ext_button", "qt_toolbar_ext_button"})
        EXPECT_FALSE(Form->findChild<QWidget*>(extension)->isVisible()) << extension;
    const QLabel* panel = Named<QLabel>(Form, "StatusPanel1");
    EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(panel->text()));
    EXPECT_GE(Named<QScrollArea>(Form, "ScrollBox1")->viewport()->height(), 64);
    EXPECT_EQ(Named<TPictureControl>(Form, "Image1")->pos(), QPoint(0, 0));

    const QSize small = Form->size();
    UsePicture(2000, 2000);
    EXPECT_EQ(Form->size(), small) << "the window never grows by itself";
    EXPECT_TRUE(Vertical()->isVisible() && Horizontal()->isVisible());
}

TEST_F(WindowInput, WheelScrollsSidewaysBy70WithoutAVerticalBar) {
    UsePicture(2000, 100);
    ASSERT_FALSE(Vertical()->isVisible());
    Wheel(-120);
    EXPECT_EQ(Horizontal()->value(), 70);
}

TEST_F(WindowInput, ZoomStretchesThePictureAndASelectionTakesPicturePixels) {
    UsePicture(64, 48);
    EditPicture(Document(), [&](TBitmap& p) { p.SetPixel(5, 5, Red); });
    Named(Form, "Zoom200")->trigger();
    EXPECT_EQ(Named<TPictureControl>(Form, "Image1")->size(), QSize(128, 96));
    EXPECT_EQ(Named<TPictureControl>(Form, "Image1")->grab().toImage().pixel(11, 11), qRgb(255, 0, 0));
    Drag(Named<TPictureControl>(Form, "Image1"), QPoint(8, 8), QPoint(28, 18));
    const TBitmap lifted = Document().CopyFloating().Bitmap();
    EXPECT_EQ(QSize(lifted.Width(), lifted.Height()), QSize(10, 5));
    EXPECT_EQ(lifted.Pixel(1, 1), Red);
}

// The middle panel follows the mouse over the picture; a drag is held to the picture's edges.
TEST_F(WindowInput, TheCursorPanelFollowsTheMouse) {
    UsePicture(64, 48);
    auto* image = Named<TPictureControl>(Form, "Image1");
    const QLabel* panel = Named<QLabel>(Form, "StatusPanel2");
    Mouse(image, QEvent::MouseMove, QPoint(10, 7), Qt::NoButton);
    EXPECT_EQ(panel->text(), "X=10, Y=7");
    Mouse(image, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    Mouse(image, QEvent::MouseMove, QPoint(90, 70), Qt::LeftButton);
    EXPECT_EQ(panel->text(), "X=64, Y=48");
    EXPECT_EQ(Named<QLabel>(Form, "StatusPanel3")->text(), "59 x 43 (X=5, Y=5)");
    Mouse(image, QEvent::MouseButtonRelease, QPoint(90, 70), Qt::NoButton);
}

TEST_F(WindowInput, PasteLandsOnTheGridOfTheStepPairChosenWithCtrlDigits) {
    TOptionsChange steps = Document().CurrentOptions();
    steps.Options.StepX2 = 16;
    Document().ApplyOptions(steps);
    Horizontal()->setValue(20);
    Press(Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(Named(Form, "Step2")->isChecked());
    EXPECT_FALSE(Named(Form, "Step1")->isChecked());
    Paste(PatternImage(4, 4));
    EXPECT_EQ(QPoint(Document().Floating().Left, Document().Floating().Top), QPoint(32, 0));
    Press(Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(Named(Form, "Step1")->isChecked());
    EXPECT_FALSE(Named(Form, "Step2")->isChecked());
}

} // namespace
