// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "Form2.h"
#include "Form4.h"

#include <QWidget>

// Each dialog is made for one use, so it shows the language of the moment.
void TForm1::Setting1Click() {
    if (Document_->Floating().Active) Document_->StampFloating();
    TForm2 dialog(*Document_, Texts, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const TPictureOptions& options = Document_->Options();
    UpdateColorSwatch(TImageList::BackgroundSwatch, options.BackgroundColor);
    UpdateColorSwatch(TImageList::TransparentSwatch, options.TransparentColor);
    UpdateColorSwatch(TImageList::FillSwatch, options.FillColor);
    if (Viewport_->GridOn()) Image1->update(); // the grid follows steps the dialog changed
}

void TForm1::InsertText1Click() {
    TForm4 dialog(
        *Document_, Texts, [this] { Paste1Click(); }, this);
    dialog.exec();
}
