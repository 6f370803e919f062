// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIdentity.h"

#include <QApplication>
#include <QIcon>

#ifndef TESSIMAP_VERSION
#define TESSIMAP_VERSION "unknown"
#endif

namespace {

// The sizes drawn for the program's icon, so no size is scaled from another one.
constexpr int IconSizes[] = {16, 32, 48, 64, 128, 256};

} // namespace

void SetApplicationIdentity() {
    QApplication::setApplicationName(QStringLiteral("Tessimap"));
    QApplication::setApplicationVersion(QStringLiteral(TESSIMAP_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(DesktopFileId));
    // The icon's resources live in the shell's static library, which the linker would drop.
    Q_INIT_RESOURCE(appicon);
    QIcon icon;
    for (const int size : IconSizes)
        icon.addFile(QStringLiteral(":/appicon/tessimap-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}
