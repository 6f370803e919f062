// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class TAppPaths;
class TIniFile;

// language.ini: the list of languages, the chosen one (Current) and one section of texts per
// language. The file is read once, when the object is made; texts are Unicode whether the file
// is UTF-8 or an older Windows-1250 one. Writing Current touches that one value and nothing else.
//
// When the file cannot be written where it was found (an installed copy, a read-only folder), the
// choice is kept in a per-user language.ini that holds only [Language] Current and is read in
// preference; while the file itself can be written, its own Current counts.
class TLanguageFile {
  public:
    // path: the language file; userPath: the per-user file (empty: none); pathWritable: false
    // for a shipped copy that must never be changed at run time. A true one counts only while a
    // file can be made beside it.
    TLanguageFile(QString path, QString userPath, bool pathWritable);
    ~TLanguageFile();
    TLanguageFile(TLanguageFile&&) noexcept;
    TLanguageFile& operator=(TLanguageFile&&) noexcept;

    // The running program's file: AppPath's, else the installed one; the user file beside the
    // user's settings.
    static TLanguageFile ForProgram(const TAppPaths& paths);

    static constexpr int NoChoice = 0;
    static inline const QString EndOfList = QStringLiteral("NoLanguage");

    const QString& Path() const { return Path_; }
    // Languages 1, 2, 3 … up to the first missing number or a value that is "NoLanguage".
    QStringList Languages() const;
    // The number of the chosen language; 1 when the file does not say.
    int Current() const;
    // Every text of the language's section; empty when the section is missing.
    QHash<QString, QString> Section(const QString& language) const;
    // Keeps number as the choice. Returns the file that could not be written, empty on success;
    // Current() gives the new number either way, so the choice holds for this run.
    QString StoreCurrent(int number);

  private:
    QString Path_;
    QString UserPath_;
    bool PathWritable_;
    std::unique_ptr<TIniFile> File_;
    int Current_ = 1;
};
