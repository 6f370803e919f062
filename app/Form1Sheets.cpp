// SPDX-License-Identifier: GPL-3.0-or-later
// The Tile Sheets panel beside the picture and the stamp brush that stamps what it picks.

#include "Form1.h"

#include "BitmapImage.h"
#include "IniFile.h"
#include "TileSheetList.h"
#include "TileSheetPanel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollArea>

namespace {

constexpr const char* kView = "View";
constexpr const char* kOptions = "Options";

} // namespace

void TForm1::BuildTileSheetPanel() {
    TTileSheetPanel::THooks hooks;
    hooks.DefaultTile = [this] { return QSize(Document_->EffectiveStepX(), Document_->EffectiveStepY()); };
    hooks.Picked = [this](const QImage& tiles, bool byMouse) { SheetPicked(tiles, byMouse); };
    hooks.TransparentColor = [this] { return Document_->Options().TransparentColor; };
    TileSheetPanel_ = new TTileSheetPanel(Document_->Modal(), std::move(hooks), this);
    addDockWidget(Qt::RightDockWidgetArea, TileSheetPanel_);
    TileSheetPanel_->hide();
}

void TForm1::TileSheets1Click() {
    // Set rather than inverted: a menu click has already turned the check mark over.
    const bool show = TileSheetPanel_->isHidden();
    TileSheets1->setChecked(show);
    TileSheetPanel_->setVisible(show);
    UpdateMinimumSize();
}

// The floating control lets the mouse through to the picture while the brush is on, so the
// image can follow the pointer and be stamped where it is clicked.
void TForm1::StampBrush1Click() {
    Image2->setAttribute(Qt::WA_TransparentForMouseEvents, StampBrush1->isChecked());
    if (!StampBrush1->isChecked()) Document_->EndStroke();
}

void TForm1::FloatImage(const QImage& image) {
    if (image.isNull()) return;
    const QPoint corner = Viewport_->FirstVisiblePixel();
    Document_->Paste(BitmapOfImage(image), corner.x(), corner.y());
}

void TForm1::SheetPicked(const QImage& tiles, bool byMouse) {
    if (StampBrush1->isChecked()) Document_->DropFloating();
    FloatImage(tiles);
    // After a click the keys go back to the picture, where arrows and Enter move and stamp the
    // image; a pick from the keyboard stays in the panel for the next one.
    if (byMouse) ScrollBox1->setFocus();
    Timer1Timer();
}

bool TForm1::BrushStamps() const {
    return StampBrush1->isChecked() && Document_->Floating().Active;
}

void TForm1::BrushMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint picture) {
    if (!StampBrush1->isChecked()) return;
    const Qt::KeyboardModifiers keys =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (buttons == Qt::LeftButton && keys == Qt::NoModifier)
        Document_->StrokeTo(picture.x(), picture.y());
    else if (buttons == Qt::NoButton)
        Document_->BrushTo(picture.x(), picture.y());
}

bool TForm1::BrushKey(int key, Qt::KeyboardModifiers keys) {
    if (key != Qt::Key_Escape || keys != Qt::NoModifier || !BrushStamps()) return false;
    Document_->DropFloating();
    return true;
}

// The panel's own keys and wheel (spin boxes, the sheet's cell cursor, its zoom) are its own.
bool TForm1::InTileSheetPanel(const QWidget* widget) const {
    return TileSheetPanel_ && (widget == TileSheetPanel_ || TileSheetPanel_->isAncestorOf(widget));
}

void TForm1::LoadTileSheetSettings(const TIniFile& ini) {
    TileSheetPanel_->ApplySheets(
        LoadTileSheets(ini, Document_->EffectiveStepX(), Document_->EffectiveStepY()));
    if (ini.ReadBool(kView, "TileSheets", false) != TileSheets1->isChecked()) TileSheets1Click();
    StampBrush1->setChecked(ini.ReadBool(kOptions, "StampBrush", false));
    StampBrush1Click();
}

void TForm1::SaveTileSheetSettings(TIniFile& ini) const {
    SaveTileSheets(ini, TileSheetPanel_->Sheets());
    ini.WriteBool(kView, "TileSheets", TileSheets1->isChecked());
    ini.WriteBool(kOptions, "StampBrush", StampBrush1->isChecked());
}
