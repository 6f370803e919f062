// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Changes one value of an INI file's bytes and leaves every other byte as it was: no
// re-encoding, no reordering, comments and blank lines kept, the file's own line endings used.
// Section and key names match without regard to ASCII case, as INI readers match them, and a
// UTF-8 byte-order mark before the first line is kept and looked past. A key missing from its
// section is added right after the section's header; a missing section is added at the end of
// the file.
QByteArray WithIniValue(const QByteArray& file, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value);
