// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "ImageControls.h"

#include <QAction>
#include <QCursor>
#include <QScrollArea>

void TForm1::Transparent1Click() {
    Document_->ToggleTransparency();
    ShowSwitches();
}

void TForm1::ExactColors1Click() {
    Document_->ToggleExactColors();
    ShowSwitches();
}

void TForm1::Clear1Click() {
    Document_->ClearPicture();
}

void TForm1::BlackWhite1Click() {
    Document_->BlackWhite();
}

void TForm1::FillAtPointer1Click() {
    if (const auto at = PixelUnderPointer()) FillAt(*at);
}

void TForm1::PickFillAtPointer1Click() {
    if (const auto at = PixelUnderPointer()) PickFillColorAt(*at);
}

void TForm1::FillAt(QPoint picture) {
    Document_->FloodFillAt(picture.x(), picture.y());
}

void TForm1::PickFillColorAt(QPoint picture) {
    Document_->PickFillColor(picture.x(), picture.y());
    UpdateColorSwatch(TImageList::FillSwatch, Document_->Options().FillColor);
}

std::optional<QPoint> TForm1::PixelUnderPointer() const {
    const QPoint pointer = QCursor::pos();
    const QWidget* viewport = ScrollBox1->viewport();
    if (!viewport->rect().contains(viewport->mapFromGlobal(pointer))) return std::nullopt;
    const QPoint control = Image1->mapFromGlobal(pointer);
    if (!Image1->rect().contains(control)) return std::nullopt;
    // A click there would take hold of the floating image, not fill beneath it.
    if (Image2->isVisible() && Image2->geometry().contains(control)) return std::nullopt;
    return Viewport_->PictureAt(control);
}

void TForm1::MirrorHorizontal1Click() {
    if (Document_->Floating().Active) Document_->MirrorHorizontal();
}

void TForm1::MirrorVertical1Click() {
    if (Document_->Floating().Active) Document_->MirrorVertical();
}

void TForm1::Degrees90Click() {
    if (Document_->Floating().Active) Document_->Rotate90();
}

void TForm1::Degrees180Click() {
    if (Document_->Floating().Active) Document_->Rotate180();
}

void TForm1::Degrees270Click() {
    if (Document_->Floating().Active) Document_->Rotate270();
}

void TForm1::Step1ToolBut1Click() {
    ShowStepPair(1);
}

void TForm1::Step2ToolBut1Click() {
    ShowStepPair(2);
}

void TForm1::Step3ToolBut1Click() {
    ShowStepPair(3);
}

void TForm1::ShowStepPair(int pair) {
    Document_->ChooseStepPair(pair);
    ShowSwitches();
    if (Viewport_->GridOn()) Image1->update(); // the grid follows the active pair
}

// The check marks (and with them the toolbar buttons shown down) follow the document.
void TForm1::ShowSwitches() {
    if (Transparent1->isChecked() != Document_->Options().Transparency)
        Transparent1->setChecked(Document_->Options().Transparency);
    if (ExactColors1->isChecked() != Document_->Options().ExactColors)
        ExactColors1->setChecked(Document_->Options().ExactColors);
    QAction* const steps[] = {Step1, Step2, Step3};
    QAction* active = steps[std::clamp(Document_->Options().ActualStep, 1, 3) - 1];
    if (!active->isChecked()) active->setChecked(true);
}
