#include "Form1.h"

#include "Form2.h"
#include "Form4.h"

// Each dialog is made for one use, so it shows the language of the moment.
void TForm1::Setting1Click() {
    if (Document_->Floating) Document_->StampFloating();
    TForm2 dialog(*Document_, Texts, this);
    dialog.exec();
    ShowSwitches();
}

void TForm1::InsertText1Click() {
    TForm4 dialog(
        *Document_, Document_->Font, Texts, [this] { Paste1Click(); }, this);
    dialog.exec();
}
