// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "TileMapDialog.h"

void TForm1::Newpicture1Click() {
    Document_->New();
}

// A file that cannot be read shows its error and leaves the new empty picture.
void TForm1::OpenStartFile() {
    if (!StartFile_.empty()) Document_->OpenPictureFile(StartFile_);
}

void TForm1::Openpicture1Click() {
    Document_->Open();
}

void TForm1::Savepicture1Click() {
    if (Document_->Save()) JournalClean();
}

void TForm1::Saveas1Click() {
    Document_->SaveAs();
}

// The shortcut can come in the 50 ms before the refresh disables the command; the document
// refuses an unnamed picture itself.
void TForm1::ExportToGIF1Click() {
    Document_->ExportPicture(TExportFormat::Gif);
}

void TForm1::ExportToPNG1Click() {
    Document_->ExportPicture(TExportFormat::Png);
}

// The dialog starts from the active steps: a map stamped on the step grid is cut along it.
void TForm1::ExportTileMap1Click() {
    if (Document_->CurrentFile().empty()) return;
    TTileMapDialog dialog(Document_->StepX(), Document_->StepY(), Texts, this);
    if (dialog.exec() != QDialog::Accepted) return;
    Document_->ExportTileMap(dialog.Options());
}

void TForm1::Exit1Click() {
    close();
}

// New, Open and Save As end here, each with the picture as its file holds it (or new).
void TForm1::TitleChanged() {
    ShowTitle();
    JournalClean();
}
