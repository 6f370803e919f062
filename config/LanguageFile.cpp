// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguageFile.h"

#include "AppPaths.h"
#include "IniFile.h"
#include "IniValueEdit.h"
#include "TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <limits>
#include <utility>

namespace {

const QString kLanguageFileName = QStringLiteral("language.ini");
constexpr char kLanguageSection[] = "Language";
constexpr char kCurrentKey[] = "Current";
constexpr char kLanguagesSection[] = "Languages";
constexpr int kCurrentDefault = 1;

// The file decoded to Unicode, then read by the INI layer like every other INI file.
std::unique_ptr<TIniFile> ReadDecoded(const QString& path) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return std::make_unique<TIniFile>(path, TextEncoding::DecodeLanguageFile(bytes).toUtf8());
}

// Sets one value of the file at path (creating the file and its folder when missing). A file
// that exists but cannot be read is left alone: rewriting it from nothing would lose its texts.
bool StoreValue(const QString& path, const char* section, const char* key, const QByteArray& value) {
    QByteArray bytes;
    if (QFileInfo::exists(path)) {
        QFile existing(path);
        if (!existing.open(QIODevice::ReadOnly)) return false;
        bytes = existing.readAll();
    } else {
        QDir().mkpath(QFileInfo(path).absolutePath());
    }
    const QByteArray changed = WithIniValue(bytes, section, key, value);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(changed) == changed.size() && file.commit();
}

// Whether the file at path can be replaced as StoreValue replaces it: by a new file written beside
// it. Only trying tells: permission bits say nothing of read-only mounts, and root writes anyway.
bool CanReplace(const QString& path) {
    QTemporaryFile probe(QFileInfo(path).absolutePath() + QStringLiteral("/.tessimap-probe-XXXXXX"));
    return probe.open();
}

} // namespace

TLanguageFile::TLanguageFile(QString path, QString userPath, bool pathWritable)
    : Path_(std::move(path)), UserPath_(std::move(userPath)),
      PathWritable_(pathWritable && CanReplace(Path_)), File_(ReadDecoded(Path_)) {
    Current_ = File_->ReadInteger(kLanguageSection, kCurrentKey, kCurrentDefault);
    // A per-user copy left behind by an installed program must not override a file that keeps
    // its own choice.
    if (PathWritable_ || UserPath_.isEmpty() || !QFileInfo::exists(UserPath_)) return;
    constexpr int kNotGiven = std::numeric_limits<int>::min();
    const int userCurrent = ReadDecoded(UserPath_)->ReadInteger(kLanguageSection, kCurrentKey, kNotGiven);
    if (userCurrent == kNotGiven) return;
    Current_ = userCurrent;
}

TLanguageFile::~TLanguageFile() = default;
TLanguageFile::TLanguageFile(TLanguageFile&&) noexcept = default;
TLanguageFile& TLanguageFile::operator=(TLanguageFile&&) noexcept = default;

TLanguageFile TLanguageFile::ForProgram(const TAppPaths& paths) {
    const QString path = paths.DataFile(kLanguageFileName);
    // Only the copy in AppPath may change, and only when AppPath is not an install prefix's bin
    // folder; an installed copy is never written at run time.
    const bool inAppPath = QFileInfo(path).absolutePath() == QDir(paths.AppPath()).absolutePath();
    const bool ownUserFile = !paths.UserDir().isEmpty() &&
                             QDir(paths.UserDir()).absolutePath() != QDir(paths.AppPath()).absolutePath();
    return TLanguageFile(path, ownUserFile ? QDir(paths.UserDir()).filePath(kLanguageFileName) : QString(),
                         inAppPath && !paths.Installed());
}

QStringList TLanguageFile::Languages() const {
    QStringList names;
    for (int number = 1;; ++number) {
        const QByteArray key = QByteArray::number(number);
        // A missing number reads as the end marker, so both end the list alike.
        const QString name = QString::fromStdString(
            File_->ReadString(kLanguagesSection, key.constData(), EndOfList.toStdString()));
        if (name == EndOfList) break;
        names.append(name);
    }
    return names;
}

int TLanguageFile::Current() const {
    return Current_;
}

QHash<QString, QString> TLanguageFile::Section(const QString& language) const {
    QHash<QString, QString> texts;
    if (language.isEmpty()) return texts;
    const QByteArray section = language.toUtf8();
    for (const std::string& key : File_->Keys(section.constData()))
        texts.insert(QString::fromStdString(key),
                     QString::fromStdString(File_->ReadString(section.constData(), key.c_str(), "")));
    return texts;
}

QString TLanguageFile::StoreCurrent(int number) {
    Current_ = number;
    const QByteArray value = QByteArray::number(number);
    const auto store = [&value](const QString& path) {
        return StoreValue(path, kLanguageSection, kCurrentKey, value);
    };
    // The next start reads the user's copy only while this file cannot be written, so a failed
    // write here is reported rather than kept where it would not be read.
    if (PathWritable_) return store(Path_) ? QString() : Path_;
    if (UserPath_.isEmpty()) return Path_;
    return store(UserPath_) ? QString() : UserPath_;
}
