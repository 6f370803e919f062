#pragma once

#include <QString>
#include <QValidator>

#include <optional>

// What an edit lets in. Each character typed or pasted goes through the same rule, so pasting
// "12ab34" into a digits-only edit leaves "1234", and nothing past the length limit is kept.
class TEditFilter : public QValidator {
  public:
    enum TKind {
        Digits,      // "0" to "9" only
        SignedDigits // digits, with one "-" allowed as the first character
    };
    TEditFilter(TKind kind, int maxLength, QObject* parent)
        : QValidator(parent), Kind_(kind), MaxLength_(maxLength) {}

    State validate(QString& input, int& pos) const override;

  private:
    TKind Kind_;
    int MaxLength_;
};

// The whole number a text holds, as the toolkit's integer conversion reads it; nothing for any
// other text (empty, letters, out of range).
std::optional<int> IntegerOf(const QString& text);

// The toolkit's standard message for a text that is not a whole number.
QString InvalidIntegerText(const QString& text);
