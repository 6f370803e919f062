#include "LanguageFile.h"

#include "AppPaths.h"
#include "IniFile.h"
#include "IniValueEdit.h"
#include "TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

TLanguageFile::TLanguageFile(QString path, QString userPath, bool pathWritable)
    : Path_(std::move(path)), UserPath_(std::move(userPath)), PathWritable_(pathWritable),
      File_(ReadDecoded(Path_)) {
    Current_ = File_->ReadInteger(kLanguageSection, kCurrentKey, kCurrentDefault);
    if (UserPath_.isEmpty() || !QFileInfo::exists(UserPath_)) return;
    constexpr int kNotGiven = std::numeric_limits<int>::min();
    const int userCurrent = ReadDecoded(UserPath_)->ReadInteger(kLanguageSection, kCurrentKey, kNotGiven);
    if (userCurrent == kNotGiven) return;
    Current_ = userCurrent;
    UserHoldsCurrent_ = true;
}

TLanguageFile::~TLanguageFile() = default;
TLanguageFile::TLanguageFile(TLanguageFile&&) noexcept = default;
TLanguageFile& TLanguageFile::operator=(TLanguageFile&&) noexcept = default;

TLanguageFile TLanguageFile::ForProgram(const TAppPaths& paths) {
    const QString path = paths.DataFile(kLanguageFileName);
    // Only the copy in AppPath may change; an installed copy is never written at run time.
    const bool inAppPath = QFileInfo(path).absolutePath() == QDir(paths.AppPath()).absolutePath();
    const bool ownUserFile = !paths.UserDir().isEmpty() &&
                             QDir(paths.UserDir()).absolutePath() != QDir(paths.AppPath()).absolutePath();
    return TLanguageFile(path, ownUserFile ? QDir(paths.UserDir()).filePath(kLanguageFileName) : QString(),
                         inAppPath);
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
    if (!UserHoldsCurrent_ && PathWritable_ && store(Path_)) return {};
    if (UserPath_.isEmpty()) return Path_;
    if (!store(UserPath_)) return UserPath_;
    UserHoldsCurrent_ = true;
    return {};
}
