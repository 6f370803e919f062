// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileSheetPanel.h"

#include "BitmapImage.h"
#include "Errors.h"
#include "Modal.h"
#include "PictureReader.h"
#include "ReadReport.h"
#include "TileSheetView.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// Far beyond any tile, small enough that a cell's arithmetic cannot overflow.
constexpr int kLargestSide = 65535;
const char* const kFileProperty = "sheetFile";

QSpinBox* SideEdit(const char* name, int minimum, QWidget* parent) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(name);
    edit->setRange(minimum, kLargestSide);
    return edit;
}

} // namespace

QImage ReadTileSheet(const std::string& path, TColor transparentColor) {
    // A sheet is only looked at and picked from: rows a damaged file lacks stay black, unreported.
    TReadReport report;
    return ImageOfBitmap(ReadPictureFile(path, transparentColor, report));
}

TTileSheetPanel::TTileSheetPanel(TModal& modal, THooks hooks, QWidget* parent)
    : QDockWidget(parent), Modal_(modal), Hooks_(std::move(hooks)) {
    setObjectName("TileSheetPanel");
    // Shown and hidden from the View menu only, so the menu's check always tells the truth.
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    auto* buttons = new QHBoxLayout;
    AddBut_ = new QPushButton(body);
    AddBut_->setObjectName("AddSheetBut");
    RemoveBut_ = new QPushButton(body);
    RemoveBut_->setObjectName("RemoveSheetBut");
    buttons->addWidget(AddBut_);
    buttons->addWidget(RemoveBut_);
    buttons->addStretch();
    column->addLayout(buttons);

    Tabs_ = new QTabWidget(body);
    Tabs_->setObjectName("SheetTabs");
    Tabs_->setDocumentMode(true);
    column->addWidget(Tabs_, 1);

    auto* grid = new QGridLayout;
    TileWidth_ = SideEdit("TileWidthEdit", 1, body);
    TileHeight_ = SideEdit("TileHeightEdit", 1, body);
    Margin_ = SideEdit("MarginEdit", 0, body);
    Spacing_ = SideEdit("SpacingEdit", 0, body);
    TileWidthLabel_ = new QLabel(body);
    TileHeightLabel_ = new QLabel(body);
    MarginLabel_ = new QLabel(body);
    SpacingLabel_ = new QLabel(body);
    const std::pair<QLabel*, QSpinBox*> rows[] = {{TileWidthLabel_, TileWidth_},
                                                  {TileHeightLabel_, TileHeight_},
                                                  {MarginLabel_, Margin_},
                                                  {SpacingLabel_, Spacing_}};
    for (int i = 0; i < 4; ++i) {
        rows[i].first->setBuddy(rows[i].second);
        grid->addWidget(rows[i].first, i / 2, (i % 2) * 2);
        grid->addWidget(rows[i].second, i / 2, (i % 2) * 2 + 1);
        connect(rows[i].second, &QSpinBox::valueChanged, this, [this] { GridEdited(); });
    }
    column->addLayout(grid);
    setWidget(body);

    connect(AddBut_, &QPushButton::clicked, this, [this] { AddSheetClick(); });
    connect(RemoveBut_, &QPushButton::clicked, this, [this] { RemoveSheetClick(); });
    connect(Tabs_, &QTabWidget::currentChanged, this, [this] { ShowGridOfCurrent(); });
    ApplyLanguage(TLanguageTexts());
    ShowGridOfCurrent();
}

void TTileSheetPanel::ApplyLanguage(const TLanguageTexts& texts) {
    setWindowTitle(texts.Text("TileSheets1", "Tile Sheets"));
    AddBut_->setText(texts.Text("AddSheet1", "Add Sheet…"));
    RemoveBut_->setText(texts.Text("RemoveSheet1", "Remove Sheet"));
    TileWidthLabel_->setText(texts.Text("SheetTileWidth", "Tile width"));
    TileHeightLabel_->setText(texts.Text("SheetTileHeight", "Tile height"));
    MarginLabel_->setText(texts.Text("SheetMargin", "Margin"));
    SpacingLabel_->setText(texts.Text("SheetSpacing", "Spacing"));
    OpenTitle_ = texts.TextUtf8("SheetOpenTitle", "Add tile sheet");
    FilterText_ = texts.TextUtf8("SheetFilter", "pictures");
}

TTileSheetView* TTileSheetPanel::CurrentView() const {
    auto* scroll = qobject_cast<QScrollArea*>(Tabs_->currentWidget());
    return scroll ? static_cast<TTileSheetView*>(scroll->widget()) : nullptr;
}

void TTileSheetPanel::AddSheetClick() {
    const std::optional<std::string> path =
        Modal_.ChooseOpenFile({OpenTitle_, FilterText_, "", Folder_, {{FilterText_, {"png", "gif", "bmp"}}}});
    if (!path || path->empty()) return;
    Folder_ = QFileInfo(QString::fromStdString(*path)).absolutePath().toStdString();
    const QSize tile = Hooks_.DefaultTile ? Hooks_.DefaultTile() : QSize(8, 8);
    TTileSheetEntry entry;
    entry.File = *path;
    entry.TileWidth = std::clamp(tile.width(), 1, kLargestSide);
    entry.TileHeight = std::clamp(tile.height(), 1, kLargestSide);
    AddSheet(entry);
}

bool TTileSheetPanel::AddSheet(const TTileSheetEntry& entry, bool report) {
    QImage sheet;
    try {
        sheet = ReadTileSheet(entry.File, Hooks_.TransparentColor ? Hooks_.TransparentColor() : clBlack);
    } catch (const EPictureError& error) {
        if (report) Modal_.ShowError(error.what());
        return false;
    }
    if (sheet.isNull()) {
        if (report) Modal_.ShowError(EInvalidGraphic().what());
        return false;
    }
    TTileSheetGrid grid{
        std::clamp(entry.TileWidth, 1, kLargestSide), std::clamp(entry.TileHeight, 1, kLargestSide),
        std::clamp(entry.Margin, 0, kLargestSide), std::clamp(entry.Spacing, 0, kLargestSide)};
    auto* scroll = new QScrollArea(Tabs_);
    scroll->setProperty(kFileProperty, QString::fromStdString(entry.File));
    auto* view = new TTileSheetView(std::move(sheet), grid, scroll);
    scroll->setWidget(view);
    view->Picked = [this, view](const QRect& cells, bool byMouse) { PickCells(*view, cells, byMouse); };
    const QString name = QFileInfo(QString::fromStdString(entry.File)).fileName();
    Tabs_->setCurrentIndex(Tabs_->addTab(scroll, name));
    Tabs_->setTabToolTip(Tabs_->currentIndex(), QString::fromStdString(entry.File));
    ShowGridOfCurrent();
    return true;
}

void TTileSheetPanel::RemoveSheetClick() {
    QWidget* page = Tabs_->currentWidget();
    if (!page) return;
    Tabs_->removeTab(Tabs_->currentIndex());
    page->deleteLater();
    ShowGridOfCurrent();
}

TTileSheetList TTileSheetPanel::Sheets() const {
    TTileSheetList list;
    for (int i = 0; i < Tabs_->count(); ++i) {
        auto* scroll = static_cast<QScrollArea*>(Tabs_->widget(i));
        const TTileSheetGrid& grid = static_cast<TTileSheetView*>(scroll->widget())->Grid();
        list.Sheets.push_back({scroll->property(kFileProperty).toString().toStdString(), grid.TileWidth,
                               grid.TileHeight, grid.Margin, grid.Spacing});
    }
    list.Current = std::max(Tabs_->currentIndex(), 0);
    return list;
}

void TTileSheetPanel::ApplySheets(const TTileSheetList& list) {
    int current = 0;
    for (std::size_t i = 0; i < list.Sheets.size(); ++i) {
        // A sheet that no longer reads is dropped as quietly as one whose file is gone.
        if (!AddSheet(list.Sheets[i], false)) continue;
        if (int(i) <= list.Current) current = Tabs_->count() - 1;
    }
    if (Tabs_->count() > 0) Tabs_->setCurrentIndex(current);
    ShowGridOfCurrent();
}

// The edits show the chosen sheet's grid; setting them is not an edit of it.
void TTileSheetPanel::ShowGridOfCurrent() {
    const TTileSheetView* view = CurrentView();
    ShowingGrid_ = true;
    const TTileSheetGrid grid = view ? view->Grid() : TTileSheetGrid{};
    TileWidth_->setValue(grid.TileWidth);
    TileHeight_->setValue(grid.TileHeight);
    Margin_->setValue(grid.Margin);
    Spacing_->setValue(grid.Spacing);
    ShowingGrid_ = false;
    for (QWidget* edit :
         {static_cast<QWidget*>(TileWidth_), static_cast<QWidget*>(TileHeight_),
          static_cast<QWidget*>(Margin_), static_cast<QWidget*>(Spacing_), static_cast<QWidget*>(RemoveBut_)})
        edit->setEnabled(view != nullptr);
}

void TTileSheetPanel::GridEdited() {
    if (ShowingGrid_) return;
    if (TTileSheetView* view = CurrentView())
        view->SetGrid({TileWidth_->value(), TileHeight_->value(), Margin_->value(), Spacing_->value()});
}

void TTileSheetPanel::PickCells(TTileSheetView& view, const QRect& cells, bool byMouse) {
    const QImage tiles = TileBlockImage(view.Sheet(), view.Grid(), cells);
    if (!tiles.isNull() && Hooks_.Picked) Hooks_.Picked(tiles, byMouse);
}
