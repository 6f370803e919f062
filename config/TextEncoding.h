// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Language files come from two eras: current ones are UTF-8, older ones were written in
// Windows-1250, the code page of the Central European systems they were made on.
namespace TextEncoding {

bool IsValidUtf8(const QByteArray& bytes);
// Every byte maps to one character; the five bytes the code page leaves undefined map to the
// control character of the same number, so nothing is lost or dropped.
QString DecodeWindows1250(const QByteArray& bytes);
// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is skipped), Windows-1250 otherwise.
QString DecodeLanguageFile(const QByteArray& bytes);

} // namespace TextEncoding
