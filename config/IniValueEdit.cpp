// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniValueEdit.h"

namespace {

struct TLine {
    qsizetype Begin; // first byte
    qsizetype End;   // the byte after the text, before the line ending
    qsizetype Next;  // the first byte of the next line
};

TLine LineAt(const QByteArray& file, qsizetype begin) {
    const qsizetype newline = file.indexOf('\n', begin);
    const qsizetype next = newline < 0 ? file.size() : newline + 1;
    qsizetype end = newline < 0 ? file.size() : newline;
    if (end > begin && file[end - 1] == '\r') --end;
    return {begin, end, next};
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray Trimmed(const QByteArray& file, qsizetype begin, qsizetype end) {
    while (begin < end && IsBlank(file[begin]))
        ++begin;
    while (end > begin && IsBlank(file[end - 1]))
        --end;
    return file.mid(begin, end - begin);
}

// The name of a section header line, or nothing when the line is not one.
bool SectionName(const QByteArray& file, const TLine& line, QByteArray& name) {
    const QByteArray text = Trimmed(file, line.Begin, line.End);
    if (!text.startsWith('[')) return false;
    const qsizetype close = text.indexOf(']');
    name = (close < 0 ? text.mid(1) : text.mid(1, close - 1)).trimmed();
    return true;
}

// The position of "=" when the line sets the key.
qsizetype KeyEquals(const QByteArray& file, const TLine& line, const QByteArray& key) {
    const qsizetype equals = file.indexOf('=', line.Begin);
    if (equals < 0 || equals >= line.End) return -1;
    const QByteArray name = Trimmed(file, line.Begin, equals);
    if (name.startsWith(';') || name.startsWith('#')) return -1;
    return name.compare(key, Qt::CaseInsensitive) == 0 ? equals : -1;
}

// A byte-order mark before the first line (as Windows editors write UTF-8) is not part of it.
qsizetype FirstLineBegin(const QByteArray& file) {
    return file.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

QByteArray LineEndingOf(const QByteArray& file) {
    const qsizetype newline = file.indexOf('\n');
    return newline > 0 && file[newline - 1] == '\r' ? QByteArray("\r\n") : QByteArray("\n");
}

} // namespace

QByteArray WithIniValue(const QByteArray& file, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value) {
    const QByteArray eol = LineEndingOf(file);
    bool inSection = false;
    qsizetype afterHeader = -1;
    for (qsizetype at = FirstLineBegin(file); at < file.size();) {
        const TLine line = LineAt(file, at);
        at = line.Next;
        QByteArray name;
        if (SectionName(file, line, name)) {
            // Readers take the first section of a name; a later one of the same name is not it.
            if (afterHeader >= 0) break;
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection) afterHeader = line.Next;
            continue;
        }
        if (!inSection) continue;
        const qsizetype equals = KeyEquals(file, line, key);
        if (equals < 0) continue;
        qsizetype valueBegin = equals + 1;
        while (valueBegin < line.End && IsBlank(file[valueBegin]))
            ++valueBegin;
        QByteArray result = file;
        return result.replace(valueBegin, line.End - valueBegin, value);
    }
    const QByteArray keyLine = key + '=' + value + eol;
    if (afterHeader >= 0) {
        QByteArray result = file;
        // A header on the last line without an ending needs one before the key.
        if (afterHeader == file.size() && !file.endsWith('\n')) return result + eol + keyLine;
        return result.insert(afterHeader, keyLine);
    }
    QByteArray result = file;
    if (result.size() > FirstLineBegin(file) && !result.endsWith('\n')) result += eol;
    return result + '[' + section + ']' + eol + keyLine;
}
