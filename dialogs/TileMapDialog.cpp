// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileMapDialog.h"

#include "LanguageTexts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* SideEdit(int value, QWidget* parent) {
    auto* edit = new QSpinBox(parent);
    // Any size a picture can have; whether it cuts this picture is the export's to say.
    edit->setRange(1, 1 << 20);
    edit->setValue(value < 1 ? 1 : value);
    edit->setSuffix(" px");
    return edit;
}

} // namespace

TTileMapDialog::TTileMapDialog(int tileWidth, int tileHeight, const TLanguageTexts& texts, QWidget* parent)
    : QDialog(parent) {
    setObjectName("TileMapForm");
    setWindowTitle(texts.Text("ExportTileMap", "Export Tile Map"));
    TileWidth = SideEdit(tileWidth, this);
    TileWidth->setObjectName("TileWidth");
    TileHeight = SideEdit(tileHeight, this);
    TileHeight->setObjectName("TileHeight");
    Flips = new QCheckBox(texts.Text("TileMapFlips", "Match &turned and mirrored tiles"), this);
    Flips->setObjectName("TileMapFlips");
    Empty = new QCheckBox(texts.Text("TileMapEmpty", "Leave cells of the transparent color &empty"), this);
    Empty->setObjectName("TileMapEmpty");

    auto* form = new QFormLayout;
    auto* widthLabel = new QLabel(texts.Text("TileMapWidthLabel", "Tile &width:"), this);
    widthLabel->setBuddy(TileWidth);
    auto* heightLabel = new QLabel(texts.Text("TileMapHeightLabel", "Tile &height:"), this);
    heightLabel->setBuddy(TileHeight);
    form->addRow(widthLabel, TileWidth);
    form->addRow(heightLabel, TileHeight);

    auto* buttons = new QDialogButtonBox(this);
    OKBut = buttons->addButton(texts.Text("OKBut", "&OK"), QDialogButtonBox::AcceptRole);
    CancelBut = buttons->addButton(texts.Text("CancelBut", "&Cancel"), QDialogButtonBox::RejectRole);
    OKBut->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Flips);
    layout->addWidget(Empty);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

TTileMapOptions TTileMapDialog::Options() const {
    TTileMapOptions options;
    options.TileWidth = TileWidth->value();
    options.TileHeight = TileHeight->value();
    options.MatchFlips = Flips->isChecked();
    options.SkipEmpty = Empty->isChecked();
    return options;
}

void TTileMapDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    TileWidth->setFocus(Qt::OtherFocusReason);
    TileWidth->selectAll();
}
