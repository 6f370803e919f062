// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the INI reading of both files the program keeps: the settings file
// through TIniFile, and the language file through TLanguageFile, which decodes it first.

#include "IniFile.h"
#include "LanguageFile.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// Every section name the two files use, and a few keys of each kind.
const char* const Sections[] = {"Options", "View",     "Window",    "Font",
                                "Recent",  "Language", "Languages", "English"};
const char* const Keys[] = {"Width", "StepX1", "BackgroundColor", "Transparent", "Name", "Current",
                            "1",     "Rec1"};

void ReadSettingsLike(const TIniFile& ini) {
    for (const char* section : Sections) {
        for (const char* key : Keys) {
            (void)ini.ReadString(section, key, "default");
            (void)ini.ReadInteger(section, key, 7);
            (void)ini.ReadBool(section, key, true);
        }
        for (const std::string& key : ini.Keys(section)) {
            int value = 0;
            (void)TIniFile::ParseInteger(ini.ReadString(section, key.c_str(), ""), value);
        }
    }
}

QString LanguageFilePath() {
    static const QString path = QDir::tempPath() + "/fuzz-language-" + QString::number(::getpid()) + ".ini";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ReadSettingsLike(TIniFile("settings.ini", bytes));

    QFile file(LanguageFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    const TLanguageFile languages(LanguageFilePath(), QString(), false);
    (void)languages.Current();
    for (const QString& language : languages.Languages())
        (void)languages.Section(language);
    return 0;
}
