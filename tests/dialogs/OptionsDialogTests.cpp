// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog with real key and mouse events: what it shows, what its edits let in, how
// its arrows step the offset, and what OK and Cancel leave in the document.

#include "DialogControls.h"
#include "DialogFixture.h"
#include "Form2.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

const TColor Blue = RGB(0, 0, 255), Olive = RGB(128, 128, 0);

class OptionsDialog : public TDialogTest<TForm2> {
  protected:
    TForm2& Open() { return TDialogTest<TForm2>::Open(Texts); }
    void Ok() { QTest::mouseClick(Dialog->OKBut, Qt::LeftButton); }
};

TEST_F(OptionsDialog, OpensWithTheDocumentsOptionsItsTextsAndTheFocusOnTheWidth) {
    StartPatternPicture(D, 320, 200, 8);
    TOptionsChange steps = D.CurrentOptions();
    steps.Options.StepX2 = 16;
    D.ApplyOptions(steps);
    D.SetFillColor(Olive);
    TForm2& f = Open();
    EXPECT_EQ(f.windowTitle(), "Setting");
    EXPECT_EQ(f.GroupBox1->title(), " Resolution of picture ");
    EXPECT_EQ(f.GroupBox4->title(), " Offset ");
    EXPECT_EQ(f.Label10->text(), "Step Y3:");
    EXPECT_EQ(f.Label5->text(), "X:");
    EXPECT_EQ(f.OKBut->text(), "&OK");
    EXPECT_EQ(f.Panel2->toolTip(), "Transparent color");
    EXPECT_EQ((std::array{f.EWidth->text(), f.EHeight->text(), f.EStepX2->text(), f.EOffsetX->text()}),
              (std::array<QString, 4>{"320", "200", "16", "0"}));
    EXPECT_EQ(f.Panel3->Color(), Olive);
    EXPECT_EQ(f.ComboBox1->currentText(), "8-bit color depth (256 colors)");
    EXPECT_EQ(QApplication::focusWidget(), f.EWidth);
    f.reject();

    // Every depth selects its own entry; a depth the list does not hold shows the first.
    for (const auto& [format, index] :
         {std::pair{TPixelFormat::pf1bit, 4}, std::pair{TPixelFormat::pf4bit, 3},
          std::pair{TPixelFormat::pf16bit, 1}, std::pair{TPixelFormat::pf32bit, 0}}) {
        EditPicture(D, [&](TBitmap& p) { p.SetPixelFormat(format); });
        EXPECT_EQ(Open().ComboBox1->currentIndex(), index);
    }
    // A new opening follows the language of the moment.
    Texts.SetTexts({{"SetForm", "Einstellungen"}, {"LWidth", "Breite"}});
    EXPECT_EQ(Open().windowTitle(), "Einstellungen");
    EXPECT_EQ(Dialog->Label1->text(), "Breite:");
}

TEST_F(OptionsDialog, EditsLetInOnlyWhatTheirFilterAllowsTypedOrPasted) {
    TForm2& f = Open();
    Retype(f.EWidth, "12a-3456");
    EXPECT_EQ(f.EWidth->text(), "12345");
    QTest::keyClick(f.EWidth, Qt::Key_Home);
    QTest::keyClick(f.EWidth, Qt::Key_9);
    EXPECT_EQ(f.EWidth->text(), "12345");
    Retype(f.EStepX1, "9x876");
    EXPECT_EQ(f.EStepX1->text(), "987");
    Retype(f.EStepX2, "1x"); // the second and third pairs take anything; OK checks them
    EXPECT_EQ(f.EStepX2->text(), "1x");
    // A minus only at the start and only once.
    Retype(f.EOffsetX, "-12-3");
    EXPECT_EQ(f.EOffsetX->text(), "-123");
    Retype(f.EOffsetY, "45");
    QTest::keyClick(f.EOffsetY, Qt::Key_Minus);
    EXPECT_EQ(f.EOffsetY->text(), "45");
    QTest::keyClick(f.EOffsetY, Qt::Key_Home);
    QTest::keyClick(f.EOffsetY, Qt::Key_Minus);
    QTest::keyClick(f.EOffsetY, Qt::Key_Home);
    QTest::keyClick(f.EOffsetY, Qt::Key_Minus);
    EXPECT_EQ(f.EOffsetY->text(), "-45");
    // Pasting goes through the same filter; what does not fit is left out of the pasted part.
    QGuiApplication::clipboard()->setText("7a-8b9c0d1");
    Retype(f.EHeight, "");
    QTest::keyClick(f.EHeight, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.EHeight->text(), "78901");
    Retype(f.EHeight, "12");
    QTest::keyClick(f.EHeight, Qt::Key_Home);
    QTest::keyClick(f.EHeight, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.EHeight->text(), "78912");
    Retype(f.EOffsetX, "");
    QTest::keyClick(f.EOffsetX, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.EOffsetX->text(), "78901");
}

TEST_F(OptionsDialog, ArrowsStepTheOffsetByTheActivePairsStepWithinTheLimits) {
    D.ChooseStepPair(2);
    TForm2& f = Open();
    Retype(f.EStepX2, "16");
    QTest::mouseClick(f.UpDown1->Up, Qt::LeftButton);
    EXPECT_EQ(f.EOffsetX->text(), "16");
    QTest::mouseClick(f.UpDown1->Down, Qt::LeftButton);
    QTest::mouseClick(f.UpDown1->Down, Qt::LeftButton);
    EXPECT_EQ(f.EOffsetX->text(), "-16");
    // The edit's own arrow keys do the same.
    f.EOffsetX->setFocus();
    Press(Qt::Key_Up);
    EXPECT_EQ(f.EOffsetX->text(), "0");

    Retype(f.EOffsetX, "9990");
    QTest::mouseClick(f.UpDown1->Up, Qt::LeftButton);
    EXPECT_EQ(f.EOffsetX->text(), "9990");
    Retype(f.EOffsetY, "-");
    Retype(f.EStepY2, "50000");
    QTest::mouseClick(f.UpDown2->Down, Qt::LeftButton);
    QTest::mouseClick(f.UpDown2->Down, Qt::LeftButton);
    QTest::mouseClick(f.UpDown2->Down, Qt::LeftButton);
    EXPECT_EQ(f.EOffsetY->text(), "-50000"); // longer than a user may type
    QTest::keyClick(f.EOffsetY, Qt::Key_End);
    QTest::keyClick(f.EOffsetY, Qt::Key_1);
    EXPECT_EQ(f.EOffsetY->text(), "-50000");
    // An empty step does not move; a step that is not a number says so and moves nothing.
    Retype(f.EStepX2, "");
    QTest::mouseClick(f.UpDown1->Up, Qt::LeftButton);
    EXPECT_EQ(f.EOffsetX->text(), "9990");
    Retype(f.EStepX2, "x");
    QTest::mouseClick(f.UpDown1->Down, Qt::LeftButton);
    EXPECT_EQ(f.EOffsetX->text(), "9990");
    EXPECT_EQ(Modal.Errors, std::vector<std::string>{"'x' is not a valid integer value"});
}

TEST_F(OptionsDialog, OkStoresStepsOfNothingOrZeroAsOneAndResizesToAtLeast256By192) {
    StartPatternPicture(D, 300, 300);
    TForm2& f = Open();
    const std::pair<QLineEdit*, QString> typed[] = {{f.EStepX1, "0"},   {f.EStepY1, "00"}, {f.EStepX2, ""},
                                                    {f.EStepY2, "007"}, {f.EStepX3, "-5"}, {f.EStepY3, "12"},
                                                    {f.EWidth, "100"},  {f.EHeight, "50"}};
    for (const auto& [edit, text] : typed)
        Retype(edit, text);
    f.EWidth->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ((std::array{D.Options().StepX1, D.Options().StepY1, D.Options().StepX2, D.Options().StepY2,
                          D.Options().StepX3, D.Options().StepY3}),
              (std::array{1, 1, 1, 7, 1, 12}));
    EXPECT_EQ(std::pair(f.EWidth->text(), f.EHeight->text()), std::pair(QString("256"), QString("192")));
    EXPECT_EQ(std::pair(D.Picture().Width(), D.Picture().Height()), std::pair(256, 192));
    EXPECT_EQ(f.result(), QDialog::Accepted);
}

TEST_F(OptionsDialog, AStepThatIsNotANumberAppliesNothingAndKeepsTheDialogOpen) {
    StartPatternPicture(D, 300, 300);
    TForm2& f = Open();
    Retype(f.EStepX1, "32");
    Retype(f.EWidth, "400");
    Retype(f.EStepY3, "3O");
    Ok();
    EXPECT_EQ(Modal.Errors, std::vector<std::string>{"'3O' is not a valid integer value"});
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), f.EStepY3);
    EXPECT_EQ(std::pair(D.Options().StepX1, D.Picture().Width()), std::pair(8, 300));
    Retype(f.EStepY3, "3");
    Ok();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(std::tuple(D.Options().StepX1, D.Options().StepY3, D.Picture().Width()),
              std::tuple(32, 3, 400));
}

TEST_F(OptionsDialog, ColourPanelsChooseOnlyForThemselvesAndCancelAppliesNothing) {
    StartPatternPicture(D, 256, 192);
    const TBitmap before = D.Picture();
    TForm2& f = Open();
    Modal.ColorChoices = {Blue, std::nullopt};
    QTest::mouseClick(f.Panel1, Qt::LeftButton);
    f.Panel2->setFocus();
    Press(Qt::Key_Space); // cancelled
    EXPECT_EQ(Modal.ColorPresets, (std::vector<TColor>{clBlack, clBlack}));
    EXPECT_EQ(std::pair(f.Panel1->Color(), f.Panel2->Color()), std::pair(Blue, clBlack));
    EXPECT_EQ(D.Options().BackgroundColor, clBlack);
    for (QLineEdit* edit : {f.EStepX1, f.EStepY1, f.EStepX2, f.EWidth, f.EHeight, f.EOffsetX})
        Retype(edit, "300");
    f.ComboBox1->setFocus();
    Press(Qt::Key_End);
    Press(Qt::Key_Escape);
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_EQ(std::tuple(D.Options().BackgroundColor, D.Options().StepX1, D.Options().StepY1,
                         D.Options().StepX2, D.Options().WidthPic),
              std::tuple(clBlack, 8, 8, 8, 256));
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, before));
    EXPECT_EQ(Modal.Shown, (std::vector<std::string>{"Background color|colour dialog",
                                                     "Transparent color|colour dialog"}));
    EXPECT_FALSE(D.Modified());
}

TEST_F(OptionsDialog, TwentyFourBitsOnA32BitPictureAskAndARefusalStillAppliesTheSize) {
    StartPatternPicture(D, 256, 192);
    EditPicture(D, [&](TBitmap& p) { p.SetPixelFormat(TPixelFormat::pf32bit); });
    TForm2& f = Open();
    EXPECT_EQ(f.ComboBox1->currentIndex(), 0);
    Retype(f.EHeight, "200");
    Ok();
    EXPECT_EQ(Modal.Shown,
              std::vector<std::string>{"Warning|Some colors can be lost, do you really want to continue?"});
    EXPECT_EQ(std::pair(D.Picture().BitsPerPixel(), D.Picture().Height()), std::pair(32, 200));

    // The last entry runs Black and White: the background turns white, the rest black.
    TForm2& again = Open();
    again.ComboBox1->setFocus();
    Press(Qt::Key_End);
    Modal.Answers = {true};
    Ok();
    EXPECT_EQ(D.Picture().PixelFormat(), TPixelFormat::pf1bit);
    EXPECT_TRUE(AreaIs(D.Picture(), Bounds(0, 192, 256, 8), clWhite));
    EXPECT_TRUE(AreaIs(D.Picture(), Bounds(0, 0, 256, 192), clBlack));
}

} // namespace
