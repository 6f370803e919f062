// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageList.h"

#include <QAction>
#include <QPainter>
#include <QPixmap>

namespace {

const char* const kImageFiles[TImageList::Count] = {
    "new",         "open",    "save",       "exit",  "undo",  "copy",  "cut",   "paste", "help",
    "transparent", "setting", "inserttext", nullptr, nullptr, nullptr, "step1", "step2", "step3"};

constexpr int kImageSize = 16;

} // namespace

TImageList::TImageList() {
    Q_INIT_RESOURCE(icons);
    for (int slot = 0; slot < Count; ++slot)
        if (kImageFiles[slot])
            Icons_[std::size_t(slot)] = QIcon(QString(":/icons/%1.xpm").arg(kImageFiles[slot]));
    UpdateColorSwatch(BackgroundSwatch, clBlack);
    UpdateColorSwatch(TransparentSwatch, clBlack);
    UpdateColorSwatch(FillSwatch, clWhite);
}

void TImageList::UpdateColorSwatch(int slot, TColor color) {
    QPixmap swatch(kImageSize, kImageSize);
    swatch.fill(QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)));
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kImageSize - 1, kImageSize - 1);
    painter.end();
    Icons_.at(std::size_t(slot)) = QIcon(swatch);
    for (QAction* action : Users_.at(std::size_t(slot)))
        if (action) action->setIcon(Icons_[std::size_t(slot)]);
}

void TImageList::Attach(QAction* action, int slot) {
    action->setIcon(Icon(slot));
    Users_.at(std::size_t(slot)).emplace_back(action);
}
