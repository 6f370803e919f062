#include "EditFilters.h"

QValidator::State TEditFilter::validate(QString& input, int& pos) const {
    QString kept;
    int keptBeforeCaret = 0;
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        const bool sign = Kind_ == SignedDigits && c == u'-' && kept.isEmpty() && i == 0;
        if (!(c.isDigit() && c.unicode() < 128) && !sign) continue;
        if (kept.size() >= MaxLength_) break;
        kept.append(c);
        if (i < pos) ++keptBeforeCaret;
    }
    input = kept;
    pos = keptBeforeCaret;
    return Acceptable;
}

std::optional<int> IntegerOf(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

QString InvalidIntegerText(const QString& text) {
    return QString("'%1' is not a valid integer value").arg(text);
}
