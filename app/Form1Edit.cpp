// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "BitmapImage.h"

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

// The clipboard takes a plain 24-bit image: our own Paste turns it back into the picture's depth
// with the same pixels, and every other program can paste it.
void TForm1::Copy1Click() {
    if (!Document_->Floating().Active) return;
    QGuiApplication::clipboard()->setImage(ImageOfBitmap(Document_->CopyFloating()));
}

void TForm1::Cut1Click() {
    if (!Document_->Floating().Active) return;
    Copy1Click();
    Document_->DropFloating();
}

void TForm1::Paste1Click() {
    FloatImage(QGuiApplication::clipboard()->image());
}

void TForm1::Delete1Click() {
    if (Document_->Floating().Active) Document_->ClearSelection();
}

void TForm1::SelectAll1Click() {
    Document_->SelectAll();
}
