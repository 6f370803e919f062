// SPDX-License-Identifier: GPL-3.0-or-later
// The insert-text dialog with real key and mouse events: its first opening, the stored font
// choices, the block it renders and what becomes of it once inserted.

#include "BitmapImage.h"
#include "DialogControls.h"
#include "DialogFixture.h"
#include "Form4.h"
#include "TextBlock.h"

#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <set>

namespace {

const TColor Blue = RGB(0, 0, 255), Magenta = RGB(255, 0, 255), Yellow = RGB(255, 255, 0);

class InsertTextDialog : public TDialogTest<TForm4> {
  protected:
    TForm4& Open() {
        return TDialogTest<TForm4>::Open(Texts, [this] {
            ++Pastes;
            D.Paste(BitmapOfImage(QGuiApplication::clipboard()->image()), 0, 0);
        });
    }
    void Type(const QString& text) { QTest::keyClicks(Dialog->Memo1, text); }
    void Insert() { QTest::mouseClick(Dialog->InsertBut, Qt::LeftButton); }
    // The font the block is rendered in, as the choices stand.
    QFont ChosenFont() const {
        return TextFont(QString::fromStdString(Font().FontName), Font().FontSize, Font().FontStyleB,
                        Font().FontStyleI, Font().FontStyleU);
    }

    // The font as the document keeps it for the next opening.
    const TFontOptions& Font() const { return D.Font(); }
    int Pastes = 0;
};

TEST_F(InsertTextDialog, FirstOpeningShowsArial12PlainWhiteOnTheTransparentColour) {
    TForm4& f = Open();
    EXPECT_EQ(f.windowTitle(), "Inserting Text");
    EXPECT_EQ(f.InsertBut->text(), "Insert");
    EXPECT_EQ(f.Panel1->toolTip(), "Text color");
    EXPECT_EQ(std::pair(f.ComboBox1->currentText(), f.ComboBox2->currentText()),
              std::pair(QString("Arial"), QString("12")));
    EXPECT_FALSE(f.Bold->isChecked() || f.Italic->isChecked() || f.Underline->isChecked());
    EXPECT_EQ(std::pair(f.Panel1->Color(), f.TextBackground()), std::pair(clWhite, clBlack));
    EXPECT_EQ(f.Memo1->palette().color(QPalette::Base), Qt::black);
    EXPECT_EQ(f.Memo1->font().pixelSize(), 16); // 12 points at 96 dots per inch
    EXPECT_FALSE(f.InsertBut->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), f.Memo1);
    EXPECT_GT(f.ComboBox1->count(), 0); // the installed families
}

TEST_F(InsertTextDialog, StylesAndSizeAreStoredAsChosenAndShownOnTheNextOpening) {
    TForm4& f = Open();
    QTest::mouseClick(f.Bold, Qt::LeftButton);
    QTest::mouseClick(f.Underline, Qt::LeftButton);
    EXPECT_TRUE(f.Memo1->font().bold() && f.Memo1->font().underline() && !f.Memo1->font().italic());
    EXPECT_EQ(std::tuple(Font().FontStyleB, Font().FontStyleI, Font().FontStyleU),
              std::tuple(true, false, true));
    // The size box takes digits only; no number at all, or 0, is the smallest size.
    Retype(f.ComboBox2, "2x0");
    EXPECT_EQ(std::pair(f.ComboBox2->currentText(), Font().FontSize), std::pair(QString("20"), 20));
    for (const QString typed : {"", "0"}) {
        Retype(f.ComboBox2, typed);
        EXPECT_EQ(Font().FontSize, 6) << typed.toStdString();
        EXPECT_EQ(f.Memo1->font().pixelSize(), 8);
    }
    Retype(f.ComboBox2, "14");
    Modal.ColorChoices = {Yellow, Blue};
    QTest::mouseDClick(f.Panel1, Qt::LeftButton);
    QTest::mouseDClick(f.Memo1->viewport(), Qt::LeftButton);
    EXPECT_EQ(std::pair(Font().FontColor, f.TextBackground()), std::pair(Yellow, Blue));
    f.reject();

    TForm4& again = Open();
    EXPECT_TRUE(again.Bold->isChecked() && again.Underline->isChecked() && !again.Italic->isChecked());
    EXPECT_EQ(again.ComboBox2->currentText(), "14");
    EXPECT_EQ(again.Panel1->Color(), Yellow);
    EXPECT_EQ(again.TextBackground(), clBlack); // the background served one insertion only
}

TEST_F(InsertTextDialog, InsertIsEnabledWhileTheTextAreaHoldsALine) {
    TForm4& f = Open();
    Type("a");
    EXPECT_TRUE(f.InsertBut->isEnabled());
    QTest::keyClick(f.Memo1, Qt::Key_Backspace);
    EXPECT_FALSE(f.InsertBut->isEnabled());
    QTest::keyClick(f.Memo1, Qt::Key_Return); // one empty line before the final break
    EXPECT_TRUE(f.InsertBut->isEnabled());
    EXPECT_EQ(f.DisplayedLines(), QStringList{""});
}

TEST_F(InsertTextDialog, TwoLinesGiveABlockAsWideAsTheLongerAndTwoLinesHighOnTheClipboardAndFloating) {
    D.SetTransparentColor(Magenta);
    TFontOptions font = D.Font();
    font.FontName = "Liberation Sans";
    D.SetFont(font);
    QGuiApplication::clipboard()->setText("before");
    TForm4& f = Open();
    Type("ab");
    QTest::keyClick(f.Memo1, Qt::Key_Return);
    Type("abcdef");
    QTest::keyClick(f.Memo1, Qt::Key_Return); // a final break adds no line
    Insert();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    const QFontMetrics metrics(ChosenFont());
    const int width = metrics.horizontalAdvance("abcdef"), line = metrics.height();
    const QImage block = QGuiApplication::clipboard()->image();
    ASSERT_EQ(block.size(), QSize(width, 2 * line));
    ASSERT_EQ(Pastes, 1);
    ASSERT_TRUE(D.Floating().Active);
    EXPECT_TRUE(SameArea(D.Floating().Bitmap, 1, 1, BitmapOfImage(block), 1, 1, width - 2, 2 * line - 2));

    // Left-aligned: the short line's letters lie within its own width, and the outline shows
    // beside it at the block's right edge.
    const TBitmap pixels = BitmapOfImage(block);
    const int shortWidth = metrics.horizontalAdvance("ab");
    for (int y = 1; y < line; ++y)
        for (int x = shortWidth; x < width - 1; ++x)
            ASSERT_EQ(pixels.Pixel(x, y), Magenta) << x << "," << y;
    EXPECT_TRUE(AreaIs(pixels, TRect{width - 1, 0, width, line}, clBlack));
    EXPECT_TRUE(AreaIs(pixels, TRect{shortWidth, 0, width, 1}, clBlack));
}

TEST_F(InsertTextDialog, WithTransparencyOnOnlyTheTextAndOutlineStamp) {
    D.SetTransparentColor(Magenta);
    D.ToggleTransparency();
    D.SetBackgroundColor(Blue);
    D.ApplyBackgroundColor();
    D.New();
    TFontOptions font = D.Font();
    font.FontStyleI = true;
    D.SetFont(font);
    Open();
    // Two lines of different lengths, so part of the outline shows beside the shorter one.
    Type("Tessimap");
    QTest::keyClick(Dialog->Memo1, Qt::Key_Return);
    Type("1234");
    Insert();
    const TBitmap block = BitmapOfImage(QGuiApplication::clipboard()->image());
    D.StampFloating();
    std::set<TColor> seen;
    for (int y = 0; y < block.Height(); ++y)
        for (int x = 0; x < block.Width(); ++x) {
            const TColor drawn = block.Pixel(x, y);
            // No blended pixel anywhere: each is the text, the background or the outline.
            ASSERT_TRUE(drawn == clWhite || drawn == Magenta || drawn == clBlack) << x << "," << y;
            ASSERT_EQ(D.Picture().Pixel(x, y), drawn == Magenta ? Blue : drawn) << x << "," << y;
            seen.insert(drawn);
        }
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(InsertTextDialog, AParagraphIsInsertedAsTheLinesWordWrapShows) {
    TForm4& f = Open();
    const QString words = "stamp the title of the northern map across the whole width of the sheet";
    Type(words);
    const QStringList lines = f.DisplayedLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.join(""), words);
    Insert();
    EXPECT_EQ(D.Floating().Bitmap.Height(), int(lines.size()) * QFontMetrics(ChosenFont()).height());
}

TEST_F(InsertTextDialog, AnEmptySizeBoxRefusesToInsertAndKeepsTheDialogOpen) {
    QGuiApplication::clipboard()->setText("before");
    TForm4& f = Open();
    Type("x");
    Retype(f.ComboBox2, "");
    Insert();
    EXPECT_EQ(Modal.Errors, std::vector<std::string>{"'' is not a valid integer value"});
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    EXPECT_EQ(Pastes, 0);
}

} // namespace
