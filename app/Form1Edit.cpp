// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "BitmapImage.h"
#include "BitmapMimeData.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollArea>
#include <QScrollBar>

void TForm1::Undo1Click() {
    Document_->Undo();
}

void TForm1::Redo1Click() {
    Document_->Redo();
}

// The clipboard takes the floating image's pixels as they are and makes an image of them only
// when another program asks for one: a copy of a large picture costs one copy of its bytes. Our
// own Paste turns them back into the picture's depth with the same pixels.
void TForm1::Copy1Click() {
    if (!Document_->Floating().Active) return;
    QGuiApplication::clipboard()->setMimeData(new TBitmapMimeData(Document_->CopyFloating()));
}

void TForm1::Cut1Click() {
    if (!Document_->Floating().Active) return;
    Copy1Click();
    Document_->DropFloating();
}

void TForm1::Paste1Click() {
    // Our own copy is taken straight from its pixels, without an image in between.
    if (const auto* own = dynamic_cast<const TBitmapMimeData*>(QGuiApplication::clipboard()->mimeData())) {
        const QPoint corner = Viewport_->FirstVisiblePixel();
        Document_->Paste(own->Pixels(), corner.x(), corner.y());
        return;
    }
    FloatImage(QGuiApplication::clipboard()->image());
}

void TForm1::Delete1Click() {
    if (Document_->Floating().Active) Document_->ClearSelection();
}

void TForm1::SelectAll1Click() {
    Document_->SelectAll();
}
