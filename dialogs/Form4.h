// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PictureDocument.h"
#include "PictureOptions.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TColorPanel;
class TLanguageTexts;

// Typing text to stamp: the lines are rendered in the chosen font, put on the clipboard and
// pasted, so they float like any tile. The font choices are kept as they are made, so the next
// opening starts from them.
class TForm4 : public QDialog {
  public:
    // paste runs the window's Paste command once the block is on the clipboard.
    TForm4(TPictureDocument& document, const TLanguageTexts& texts, std::function<void()> paste,
           QWidget* parent = nullptr);

    QComboBox* ComboBox1 = nullptr; // font family
    QComboBox* ComboBox2 = nullptr; // size in points
    QToolButton *Bold = nullptr, *Italic = nullptr, *Underline = nullptr;
    TColorPanel* Panel1 = nullptr; // text colour
    QPushButton* InsertBut = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    void ComboBox1Change(const QString& text);
    void ComboBox2Change(const QString& text);
    void BoldClick();
    void ItalicClick();
    void UnderlineClick();
    void Panel1DblClick();
    void Memo1DblClick();
    void Memo1Change();
    void InsertButClick();

    // The text area's lines as word wrap shows them; an empty last line does not count.
    QStringList DisplayedLines() const;
    TColor TextBackground() const { return Background_; }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void FormCreate(const TLanguageTexts& texts);
    void FormShow();
    void ApplyFontStyle();
    void SetBackground(TColor color);
    void KeepFont();

    TPictureDocument& Document_;
    // The choices so far; each one is handed to the document as it is made.
    TFontOptions Font_;
    std::function<void()> Paste_;
    TColor Background_ = clBlack;
    QString BackgroundTitle_; // the colour dialog's title when it chooses the background
};
