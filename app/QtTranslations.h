// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTranslator>

#include <memory>

// Qt's own translation of its standard dialogs (the buttons of message boxes, the file and
// colour dialogs), following the editor's language. Only one is installed at a time, so a
// switch of language replaces it at once; dialogs made afterwards speak the new language.
class TQtTranslations {
  public:
    TQtTranslations() = default;
    TQtTranslations(const TQtTranslations&) = delete;
    TQtTranslations& operator=(const TQtTranslations&) = delete;
    ~TQtTranslations();

    // A locale name such as "cs" or "de". An empty name, or one Qt has no translation for,
    // leaves Qt's English; the result tells whether a translation is in use.
    bool Use(const QString& locale);
    // Where Qt keeps its translations on this system.
    static QString Folder();

  private:
    void Remove();
    std::unique_ptr<QTranslator> Installed_;
    QString Locale_;
};
