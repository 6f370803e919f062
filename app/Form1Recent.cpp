// SPDX-License-Identifier: GPL-3.0-or-later
// The recent-files entries of the File menu.

#include "Form1.h"

#include <QFileInfo>

void TForm1::AddRecentFile(const std::string& path) {
    if (RecentFiles.Add(path)) UpdateRecentMenu();
}

void TForm1::UpdateRecentMenu() {
    bool any = false;
    for (int n = 1; n <= TRecentFiles::Count; ++n) {
        const std::string& path = RecentFiles.Slot(n);
        QAction* entry = Rec[std::size_t(n - 1)];
        entry->setVisible(!path.empty());
        if (path.empty()) continue;
        any = true;
        // An '&' in a file name is shown as itself, not taken as a mnemonic.
        const QString name = QFileInfo(QString::fromStdString(path)).fileName();
        entry->setText(QString("%1 %2").arg(n).arg(QString(name).replace('&', "&&")));
    }
    N8->setVisible(any);
}

// The entry stays when its file fails to open; the open reports why.
void TForm1::RecClick(int n) {
    const std::string path = RecentFiles.Slot(n);
    if (!path.empty()) Document_->OpenPictureFile(path);
}

void TForm1::FileNamed(const std::string& path) {
    AddRecentFile(path);
}
