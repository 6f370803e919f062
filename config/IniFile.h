// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The file is UTF-8 bytes throughout; the wide-character conversions are not wanted.
#ifndef SI_NO_CONVERSION
#define SI_NO_CONVERSION
#endif
#include <SimpleIni.h>

#include <string>
#include <vector>

// One INI file held in memory: read once, changed key by key, written back whole.
//
// Reading follows the rules the settings have always had: a missing key, or an integer key whose
// text is not a whole 32-bit number, gives the caller's default; integers are decimal or, with a
// leading 0x/0X, hexadecimal; a boolean is any integer other than 0; a key present with an empty
// value reads as empty. Section and key names are compared without regard to ASCII case, and when
// a key appears twice in a section the first one counts. Keys and comments this program does not
// know survive a write.
class TIniFile {
  public:
    // Reads the file when it exists; a missing or unreadable file reads as empty.
    explicit TIniFile(QString fileName);
    // The file's text given already read and decoded to UTF-8 (a file kept in another encoding).
    TIniFile(QString fileName, const QByteArray& utf8Text);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& FileName() const { return FileName_; }

    std::string ReadString(const char* section, const char* key, const std::string& def) const;
    int ReadInteger(const char* section, const char* key, int def) const;
    bool ReadBool(const char* section, const char* key, bool def) const;

    // A line break cannot be stored in a value: the text is cut at the first one, so a value can
    // never add keys of its own to the file.
    void WriteString(const char* section, const char* key, const std::string& value);
    void WriteInteger(const char* section, const char* key, int value);
    void WriteBool(const char* section, const char* key, bool value);

    // Writes everything to a temporary file beside the target and renames it over the old one.
    // Throws EFCreateError naming the file when that fails; the earlier file is then untouched.
    void UpdateFile() const;
    // The text UpdateFile would write.
    std::string Text() const;

    // The parsing rule of ReadInteger, for callers holding text of their own.
    static bool ParseInteger(const std::string& text, int& value);
    // The keys of a section, in file order, each once.
    std::vector<std::string> Keys(const char* section) const;

  private:
    QString FileName_;
    CSimpleIniA Ini_;
};
