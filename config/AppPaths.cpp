// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <utility>

#ifndef TESSIMAP_DATADIR
#define TESSIMAP_DATADIR ""
#endif
#ifndef TESSIMAP_DATADIR_FROM_BINDIR
#define TESSIMAP_DATADIR_FROM_BINDIR ""
#endif

TAppPaths::TAppPaths(QString appPath, QString dataDir, QString userDir, bool installed, QString cacheDir)
    : AppPath_(std::move(appPath)), DataDir_(std::move(dataDir)), UserDir_(std::move(userDir)),
      Installed_(installed), CacheDir_(std::move(cacheDir)) {}

TAppPaths TAppPaths::ForRunningProgram() {
    const QString appPath = QCoreApplication::applicationDirPath();
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QString besideInstalled = QDir::cleanPath(appPath + "/" TESSIMAP_DATADIR_FROM_BINDIR);
    // A bin folder beside a share folder is an install prefix, whether or not data was shipped.
    const bool installed = QFileInfo(appPath).fileName() == QLatin1String("bin") &&
                           QFileInfo(QDir::cleanPath(appPath + "/../share")).isDir();
    const QString cacheDir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (installed) return TAppPaths(appPath, besideInstalled, userDir, true, cacheDir);
    return TAppPaths(appPath, QStringLiteral(TESSIMAP_DATADIR), userDir, false, cacheDir);
}

QString TAppPaths::DataFile(const QString& name) const {
    const QString beside = QDir(AppPath_).filePath(name);
    if (QFileInfo::exists(beside) || DataDir_.isEmpty()) return beside;
    const QString installed = QDir(DataDir_).filePath(name);
    return QFileInfo::exists(installed) ? installed : beside;
}

// Asking the file system is the only honest answer: permission bits say nothing about read-only
// mounts, and root may write where the bits say no.
bool TAppPaths::AppPathWritable() const {
    QTemporaryFile probe(QDir(AppPath_).filePath(QStringLiteral(".tessimap-probe-XXXXXX")));
    return probe.open();
}

QString TAppPaths::WritableFile(const QString& name) const {
    if (Installed_) return UserDir_.isEmpty() ? QString() : QDir(UserDir_).filePath(name);
    if (UserDir_.isEmpty() || AppPathWritable()) return QDir(AppPath_).filePath(name);
    return QDir(UserDir_).filePath(name);
}

QString TAppPaths::FileToRead(const QString& name) const {
    const QString writable = WritableFile(name);
    return !writable.isEmpty() && QFileInfo::exists(writable) ? writable : QDir(AppPath_).filePath(name);
}

QString TAppPaths::UndoFolder() const {
    if (Installed_ || (!UserDir_.isEmpty() && !AppPathWritable())) return CacheDir_;
    return AppPath_;
}

QString TAppPaths::StateFolder() const {
    if (!Installed_ && (UserDir_.isEmpty() || AppPathWritable())) return QDir(AppPath_).filePath("recovery");
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative state folder in the environment is not to be trusted: fall back to the home one.
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        const QString home = QDir::homePath();
        if (home.isEmpty()) return QString();
        state = QDir(home).filePath(".local/state");
    }
    return QDir(state).filePath("Tessimap");
}
