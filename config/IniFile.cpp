// SPDX-License-Identifier: GPL-3.0-or-later
// The INI parser is used header-only: its template code is compiled here, once.
#define SI_IMPLEMENTATION
#include "IniFile.h"

#include "Errors.h"

#include <QFile>
#include <QSaveFile>

#include <cstdint>
#include <utility>

TIniFile::TIniFile(QString fileName) : FileName_(std::move(fileName)), Ini_(true, true, false) {
    // '=' without spaces around it, as every earlier version wrote the file.
    Ini_.SetSpaces(false);
    QFile file(FileName_);
    if (!file.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = file.readAll();
    Ini_.LoadData(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

TIniFile::TIniFile(QString fileName, const QByteArray& utf8Text)
    : FileName_(std::move(fileName)), Ini_(true, true, false) {
    Ini_.SetSpaces(false);
    Ini_.LoadData(utf8Text.constData(), static_cast<std::size_t>(utf8Text.size()));
}

template class CSimpleIniTempl<char, SI_NoCase<char>, SI_ConvertA<char>>;

TIniFile::~TIniFile() = default;

std::string TIniFile::ReadString(const char* section, const char* key, const std::string& def) const {
    const char* value = Ini_.GetValue(section, key, nullptr);
    return value ? std::string(value) : def;
}

bool TIniFile::ParseInteger(const std::string& text, int& value) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    const bool hex = text.size() > pos + 1 && text[pos] == '0' && (text[pos + 1] | 0x20) == 'x';
    if (hex) pos += 2;
    if (pos == text.size()) return false;
    // Hex takes all 32 bits (0xFFFFFFFF is -1, as a colour written by hand would mean); decimal
    // must fit a signed 32-bit value.
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            digit = (c | 0x20) - 'a' + 10;
        else
            return false;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) return false;
    }
    const auto bits = static_cast<std::uint32_t>(magnitude);
    value = static_cast<int>(negative ? 0u - bits : bits);
    return true;
}

std::vector<std::string> TIniFile::Keys(const char* section) const {
    CSimpleIniA::TNamesDepend names;
    Ini_.GetAllKeys(section, names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> keys;
    for (const auto& name : names)
        keys.emplace_back(name.pItem);
    return keys;
}

int TIniFile::ReadInteger(const char* section, const char* key, int def) const {
    const char* text = Ini_.GetValue(section, key, nullptr);
    int value = 0;
    return text && ParseInteger(text, value) ? value : def;
}

bool TIniFile::ReadBool(const char* section, const char* key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const char* section, const char* key, const std::string& value) {
    const std::string line = value.substr(0, value.find_first_of("\r\n"));
    // Replacing drops a later duplicate of the key too, so what is written is what is read.
    Ini_.SetValue(section, key, line.c_str(), nullptr, true);
}

void TIniFile::WriteInteger(const char* section, const char* key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const char* section, const char* key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const {
    std::string text;
    if (Ini_.Save(text) < 0) throw EFCreateError(FileName_.toStdString());
    return text;
}

void TIniFile::UpdateFile() const {
    const std::string text = Text();
    QSaveFile file(FileName_);
    // Unbuffered: a buffered write reports every byte taken even when the disk refused some,
    // and the half-written file would then be committed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit())
        throw EFCreateError(FileName_.toStdString());
}
