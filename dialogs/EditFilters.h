// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QValidator>

#include <optional>

class QLineEdit;

// What an edit lets in. Each character typed or pasted goes through the same rule, so pasting
// "12ab34" into a digits-only edit leaves "1234". Typing stops at the length limit, as in an
// edit whose limit only the user's input obeys: the program may set a longer text.
class TEditFilter : public QValidator {
  public:
    enum TKind {
        Digits,      // "0" to "9" only
        SignedDigits // digits, with one "-" allowed as the first character
    };
    // Filters the edit's input from now on.
    static void Install(QLineEdit* edit, TKind kind, int maxLength);
    // Sets a text the program made, past the filter and the limit.
    static void SetText(QLineEdit* edit, const QString& text);

    State validate(QString& input, int& pos) const override;

  private:
    TEditFilter(TKind kind, int maxLength, QLineEdit* edit);

    TKind Kind_;
    int MaxLength_;
    int LastLength_ = 0;      // the text's length before the change being checked
    bool Unfiltered_ = false; // while the program sets the text
};

// The whole number a text holds, as the toolkit's integer conversion reads it; nothing for any
// other text (empty, letters, out of range).
std::optional<int> IntegerOf(const QString& text);

// The toolkit's standard message for a text that is not a whole number.
QString InvalidIntegerText(const QString& text);
