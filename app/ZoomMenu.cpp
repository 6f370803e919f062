// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZoomMenu.h"

#include "LanguageTexts.h"
#include "ZoomView.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

namespace {

struct TLevelItem {
    const char* Name; // the object name, also the language key
    const char* Text;
};

// By level, from 12.5 % up.
constexpr std::array<TLevelItem, 7> kLevelItems = {{{"Zoom12", "12.5%"},
                                                    {"Zoom25", "25%"},
                                                    {"Zoom50", "50%"},
                                                    {"Zoom100", "100%"},
                                                    {"Zoom200", "200%"},
                                                    {"Zoom400", "400%"},
                                                    {"Zoom800", "800%"}}};

std::size_t IndexOf(int level) {
    return std::size_t(level - TZoomView::MinLevel);
}

} // namespace

TZoomMenu::TZoomMenu(QMenu& view, QWidget& window, THandlers handlers) : QObject(&window) {
    static_assert(kLevelItems.size() == TZoomView::MaxLevel - TZoomView::MinLevel + 1);
    view.addSeparator();
    Menu_ = view.addMenu(QStringLiteral("Zoom"));
    Menu_->setObjectName(QStringLiteral("Zoom1"));
    Levels_ = new QActionGroup(this);
    Levels_->setExclusive(true);
    for (int level = TZoomView::MinLevel; level <= TZoomView::MaxLevel; ++level) {
        const TLevelItem& entry = kLevelItems[IndexOf(level)];
        QAction* item = Menu_->addAction(QString::fromUtf8(entry.Text));
        item->setObjectName(QString::fromUtf8(entry.Name));
        item->setCheckable(true);
        item->setChecked(level == 0);
        if (level == 0) item->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
        Levels_->addAction(item);
        connect(item, &QAction::triggered, this, [zoom = handlers.Zoom, level] { zoom(level); });
        LevelItems_[IndexOf(level)] = item;
    }
    Menu_->addSeparator();
    Fit_ = Menu_->addAction(QStringLiteral("Fit to Window"));
    Fit_->setObjectName(QStringLiteral("FitToWindow1"));
    connect(Fit_, &QAction::triggered, this, [fit = handlers.FitToWindow] { fit(); });

    Grid_ = view.addAction(QStringLiteral("Grid"));
    Grid_->setObjectName(QStringLiteral("Grid1"));
    Grid_->setCheckable(true);
    connect(Grid_, &QAction::triggered, this, [grid = handlers.Grid](bool on) { grid(on); });

    // Keys without an item of their own: one level in or out from wherever the view is.
    auto* zoomIn = new QAction(this);
    zoomIn->setObjectName(QStringLiteral("ZoomIn1"));
    zoomIn->setShortcuts({QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    connect(zoomIn, &QAction::triggered, this, [by = handlers.ZoomBy] { by(1); });
    auto* zoomOut = new QAction(this);
    zoomOut->setObjectName(QStringLiteral("ZoomOut1"));
    zoomOut->setShortcut(QKeySequence(QStringLiteral("Ctrl+-")));
    connect(zoomOut, &QAction::triggered, this, [by = handlers.ZoomBy] { by(-1); });
    window.addAction(zoomIn);
    window.addAction(zoomOut);
}

QAction* TZoomMenu::LevelItem(int level) const {
    if (level < TZoomView::MinLevel || level > TZoomView::MaxLevel) return nullptr;
    return LevelItems_[IndexOf(level)];
}

void TZoomMenu::ShowLevel(int level) {
    if (QAction* item = LevelItem(level)) item->setChecked(true);
}

void TZoomMenu::ShowGrid(bool on) {
    Grid_->setChecked(on);
}

void TZoomMenu::ApplyTexts(const TLanguageTexts& texts) {
    Menu_->setTitle(texts.Text(QStringLiteral("Zoom1"), QStringLiteral("Zoom")));
    for (int level = TZoomView::MinLevel; level <= TZoomView::MaxLevel; ++level) {
        const TLevelItem& entry = kLevelItems[IndexOf(level)];
        LevelItem(level)->setText(texts.Text(QString::fromUtf8(entry.Name), QString::fromUtf8(entry.Text)));
    }
    Fit_->setText(texts.Text(QStringLiteral("FitToWindow1"), QStringLiteral("Fit to Window")));
    Grid_->setText(texts.Text(QStringLiteral("Grid1"), QStringLiteral("Grid")));
}
