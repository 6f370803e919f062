// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PictureDocument.h"

#include <QDialog>

#include <array>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TColorPanel;
class TLanguageTexts;
class TUpDown;

// The picture options: size, the three step pairs, an offset that shifts the content, the three
// document colours and the colour depth. Nothing reaches the document before OK, and OK checks
// every edit before it applies anything.
class TForm2 : public QDialog {
  public:
    TForm2(TPictureDocument& document, const TLanguageTexts& texts, QWidget* parent = nullptr);

    QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr, *GroupBox4 = nullptr,
              *GroupBox5 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr;
    QLineEdit *EWidth = nullptr, *EHeight = nullptr;
    QLineEdit *EStepX1 = nullptr, *EStepY1 = nullptr, *EStepX2 = nullptr, *EStepY2 = nullptr,
              *EStepX3 = nullptr, *EStepY3 = nullptr;
    QLineEdit *EOffsetX = nullptr, *EOffsetY = nullptr;
    TUpDown *UpDown1 = nullptr, *UpDown2 = nullptr;
    TColorPanel *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton *OKBut = nullptr, *CancelBut = nullptr;

    void OKButClick();
    void CancelButClick();
    void UpDown1ChangingEx(bool up);
    void UpDown2ChangingEx(bool up);
    void ShowCurrentColorDepth();
    // The depth the list's choice stands for: 24 for the first entry or none.
    int ColorDepthChoice() const;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate(const TLanguageTexts& texts);
    void BuildControls();
    void ChooseColor(TColorPanel* panel);
    // Steps the offset by the active pair's step; the limit holds in both directions.
    void StepOffset(QLineEdit* offset, const std::array<QLineEdit*, 3>& steps, int limit, bool up);
    // The options the edits ask for; nothing (after the message, with the focus on the edit)
    // when a step is not a whole number.
    std::optional<TOptionsChange> ReadOptions();

    TPictureDocument& Document_;
};
