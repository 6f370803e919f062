// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditFilters.h"

#include <QLineEdit>

#include <algorithm>

TEditFilter::TEditFilter(TKind kind, int maxLength, QLineEdit* edit)
    : QValidator(edit), Kind_(kind), MaxLength_(maxLength), LastLength_(int(edit->text().size())) {
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { LastLength_ = int(text.size()); });
}

void TEditFilter::Install(QLineEdit* edit, TKind kind, int maxLength) {
    edit->setValidator(new TEditFilter(kind, maxLength, edit));
}

void TEditFilter::SetText(QLineEdit* edit, const QString& text) {
    auto* filter = dynamic_cast<TEditFilter*>(const_cast<QValidator*>(edit->validator()));
    if (filter) filter->Unfiltered_ = true;
    edit->setText(text);
    if (filter) filter->Unfiltered_ = false;
}

QValidator::State TEditFilter::validate(QString& input, int& pos) const {
    if (Unfiltered_) return Acceptable;
    QString kept;
    int caret = 0;
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        const bool digit = c >= u'0' && c <= u'9';
        const bool sign = Kind_ == SignedDigits && c == u'-' && i == 0;
        if (!digit && !sign) continue;
        kept.append(c);
        if (i < pos) ++caret;
    }
    // What does not fit is cut from the end of the new input, just before the caret, so the
    // text around it stays whole; a text already at its limit takes nothing more.
    const int limit = std::max(MaxLength_, LastLength_);
    const int excess = int(kept.size()) - limit;
    if (excess > 0) {
        const int from = std::max(caret - excess, 0);
        kept.remove(from, caret - from);
        caret = from;
        if (kept.size() > limit) return Invalid;
    }
    input = kept;
    pos = caret;
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
