// SPDX-License-Identifier: GPL-3.0-or-later
// Files dropped on the window.

#include "Form1.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {

// The first local file among the dropped items; only one picture can be open.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // The drop ends first: the save question or an error box must not come up while the
    // program the file came from still waits for the drag to finish.
    QTimer::singleShot(0, this, [this, file = path.toStdString()] { Document_->OpenPictureFile(file); });
}
