#include "Form1.h"

void TForm1::Newpicture1Click() {
    Document_->New();
}

void TForm1::Openpicture1Click() {
    Document_->Open();
}

void TForm1::Savepicture1Click() {
    Document_->Save();
}

void TForm1::Saveas1Click() {
    Document_->SaveAs();
}

void TForm1::Exit1Click() {
    close();
}

void TForm1::TitleChanged() {
    setWindowTitle(QString::fromStdString(Document_->Title()));
}
