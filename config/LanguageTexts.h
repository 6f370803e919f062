#pragma once

#include <QHash>
#include <QString>

#include <string>
#include <utility>

// The texts of the chosen language, by key. Every lookup names its English default, so the
// program is complete with no language file, and a key missing from a language falls back alone.
class TLanguageTexts {
  public:
    QString Text(const QString& key, const QString& englishDefault) const {
        const auto found = Texts_.constFind(key);
        return found == Texts_.constEnd() ? englishDefault : *found;
    }
    std::string TextUtf8(const QString& key, const QString& englishDefault) const {
        return Text(key, englishDefault).toStdString();
    }
    // The chosen language's section; empty when no language is chosen (every default applies).
    void SetTexts(QHash<QString, QString> texts) { Texts_ = std::move(texts); }

  private:
    QHash<QString, QString> Texts_;
};
