// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the program finds the files it ships and keeps the files it writes.
//
// AppPath is the folder of the running executable. Shipped data (language.ini, index.htm) is
// looked up there first, then in the installed data folder. Files the program writes (the
// settings) stay in AppPath while that folder is writable, as when it runs from its build folder
// or a folder the user unpacked; an installed program writes them under the user's
// configuration folder instead, and never under the install prefix, even when run by root.
// An installed program finds its data folder from its own place (bin/../share/tessimap), so a
// prefix chosen at install time works as well as the one the build was configured with.
class TAppPaths {
  public:
    // appPath: the executable's folder; dataDir: the installed data folder (may be empty);
    // userDir: the per-user configuration folder (may be empty: then AppPath is used);
    // installed: AppPath is an install prefix's bin folder, which is never written to;
    // cacheDir: the per-user cache folder (may be empty: then no undo step is kept on disk).
    TAppPaths(QString appPath, QString dataDir, QString userDir, bool installed = false,
              QString cacheDir = {});

    // The paths of the running program: AppPath from the application, the data folder the
    // build was configured with, the user folder from QStandardPaths::AppConfigLocation, the
    // cache folder from QStandardPaths::CacheLocation.
    static TAppPaths ForRunningProgram();

    const QString& AppPath() const { return AppPath_; }
    const QString& UserDir() const { return UserDir_; }
    bool Installed() const { return Installed_; }
    // A shipped file: in AppPath when there, else in the data folder when there; otherwise the
    // AppPath name (which does not exist, so readers take their defaults).
    QString DataFile(const QString& name) const;
    // True when files can be created in AppPath.
    bool AppPathWritable() const;
    // A file the program writes: in AppPath when writable and not installed, otherwise in the
    // user folder. Empty for an installed program without a user folder: it writes nowhere.
    QString WritableFile(const QString& name) const;
    // The file to read a written file from: the writable one once it exists; until then the one
    // in AppPath, which an installed program may ship as its defaults.
    QString FileToRead(const QString& name) const;
    // Where undo steps that do not fit the memory go: beside the program where its settings are
    // written there, otherwise the cache folder. Empty when there is none.
    QString UndoFolder() const;

    // The folder of the files kept only for this user's sessions (the recovery journals): beside
    // the program wherever it keeps its settings there, else $XDG_STATE_HOME/Tessimap (by default
    // ~/.local/state/Tessimap). Empty when there is no such place.
    QString StateFolder() const;

  private:
    QString AppPath_;
    QString DataDir_;
    QString UserDir_;
    bool Installed_ = false;
    QString CacheDir_;
};
