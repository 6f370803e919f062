// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

#include <string>
#include <utility>

// The texts of the chosen language, by key. Every lookup names its English default, so the
// program is complete with no language file, and a key missing from a language falls back alone.
// Keys match without regard to ASCII case, as the platform's INI functions match them.
//
// Every key asked for is remembered with its default: the readers' own calls are the one list of
// the keys the program uses, and the check that each shipped language has them all reads it.
class TLanguageTexts {
  public:
    TLanguageTexts() = default;
    TLanguageTexts(QString language, QHash<QString, QString> texts)
        : Language_(std::move(language)), Texts_(Folded(std::move(texts))) {}

    QString Text(const QString& key, const QString& englishDefault) const {
        Asked_.insert(key, englishDefault);
        const auto found = Texts_.constFind(FoldedKey(key));
        return found == Texts_.constEnd() ? englishDefault : *found;
    }
    std::string TextUtf8(const QString& key, const QString& englishDefault) const {
        return Text(key, englishDefault).toStdString();
    }
    // The chosen language's section; empty when no language is chosen (every default applies).
    void SetTexts(QHash<QString, QString> texts) { Texts_ = Folded(std::move(texts)); }
    void SetTexts(QString language, QHash<QString, QString> texts) {
        Language_ = std::move(language);
        Texts_ = Folded(std::move(texts));
    }
    // The name of the chosen language (CurrentLanguage); empty when none is chosen.
    const QString& Language() const { return Language_; }
    // The locale the section names for the toolkit's own texts (Locale=cs); empty when it names
    // none, as English does. Not a text the user reads, so it is not among the asked keys.
    QString Locale() const { return Texts_.value(QStringLiteral("locale")); }
    // Every key asked for so far, with the English default its reader gave.
    const QHash<QString, QString>& AskedKeys() const { return Asked_; }

  private:
    static QString FoldedKey(QString key) {
        for (QChar& c : key)
            if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
        return key;
    }
    // The file's reader gives each key once, whatever the case it is written in.
    static QHash<QString, QString> Folded(QHash<QString, QString> texts) {
        QHash<QString, QString> folded;
        for (auto text = texts.constBegin(); text != texts.constEnd(); ++text)
            folded.insert(FoldedKey(text.key()), text.value());
        return folded;
    }

    QString Language_;
    QHash<QString, QString> Texts_;
    mutable QHash<QString, QString> Asked_;
};
