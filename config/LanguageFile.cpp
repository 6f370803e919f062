#include "LanguageFile.h"

#include "AppPaths.h"
#include "IniValueEdit.h"
#include "TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

// The text is decoded before parsing, so the parser only needs to keep bytes.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <utility>

namespace {

const QString kLanguageFileName = QStringLiteral("language.ini");
constexpr char kLanguageSection[] = "Language";
constexpr char kCurrentKey[] = "Current";
constexpr char kLanguagesSection[] = "Languages";
constexpr int kCurrentDefault = 1;

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

// The decoded file, parsed; names match without regard to case, as INI readers match them.
class TIniText {
  public:
    explicit TIniText(const QByteArray& bytes) {
        Ini_.SetUnicode(true);
        const QByteArray utf8 = TextEncoding::DecodeLanguageFile(bytes).toUtf8();
        Ini_.LoadData(utf8.constData(), std::size_t(utf8.size()));
    }
    const char* Value(const char* section, const char* key) const { return Ini_.GetValue(section, key); }
    int Integer(const char* section, const char* key, int fallback) const {
        bool ok = false;
        const int value = QByteArray(Value(section, key)).trimmed().toInt(&ok);
        return ok ? value : fallback;
    }
    const CSimpleIniA& Ini() const { return Ini_; }

  private:
    CSimpleIniA Ini_;
};

TLanguageFile::TLanguageFile(QString path, QString userPath, bool pathWritable)
    : Path_(std::move(path)), UserPath_(std::move(userPath)), PathWritable_(pathWritable),
      File_(std::make_unique<TIniText>(ReadBytes(Path_))) {
    Current_ = File_->Integer(kLanguageSection, kCurrentKey, kCurrentDefault);
    if (UserPath_.isEmpty() || !QFileInfo::exists(UserPath_)) return;
    const TIniText user(ReadBytes(UserPath_));
    if (!user.Value(kLanguageSection, kCurrentKey)) return;
    Current_ = user.Integer(kLanguageSection, kCurrentKey, kCurrentDefault);
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
        const char* value = File_->Value(kLanguagesSection, key.constData());
        if (!value) break;
        const QString name = QString::fromUtf8(value);
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
    CSimpleIniA::TNamesDepend keys;
    File_->Ini().GetAllKeys(section.constData(), keys);
    for (const auto& key : keys)
        texts.insert(QString::fromUtf8(key.pItem),
                     QString::fromUtf8(File_->Value(section.constData(), key.pItem)));
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
