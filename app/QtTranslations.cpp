// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

TQtTranslations::~TQtTranslations() {
    Remove();
}

QString TQtTranslations::Folder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool TQtTranslations::Use(const QString& locale) {
    if (Installed_ && locale == Locale_) return true;
    Remove();
    if (locale.isEmpty()) return false;
    auto translator = std::make_unique<QTranslator>();
    // "qtbase" holds the widgets' own texts; the locale's fallbacks ("de_AT" to "de") come with it.
    if (!translator->load(QLocale(locale), QStringLiteral("qtbase"), QStringLiteral("_"), Folder()))
        return false;
    QCoreApplication::installTranslator(translator.get());
    Installed_ = std::move(translator);
    Locale_ = locale;
    return true;
}

void TQtTranslations::Remove() {
    if (!Installed_) return;
    QCoreApplication::removeTranslator(Installed_.get());
    Installed_.reset();
    Locale_.clear();
}
