// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"
#include "ProgressPanel.h"

#include "ImageControls.h"
#include "ZoomMenu.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QToolBar>

#include <algorithm>
#include <cmath>

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

namespace {

// Low enough for a tiny picture, high enough that a large one can still be scrolled.
constexpr int kMinimumPictureArea = 64;

// The width the menu bar needs to show every title, laid out as the bar lays them out itself.
int MenuTitlesWidth(const QMenuBar* bar) {
    const QStyle* style = bar->style();
    const int spacing = style->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, bar);
    int width = 2 * (style->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, bar) +
                     style->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, bar));
    for (QAction* action : bar->actions()) {
        if (!action->isVisible() || action->isSeparator()) continue;
        QStyleOptionMenuItem option;
        option.initFrom(bar);
        option.menuItemType = QStyleOptionMenuItem::Normal;
        option.text = action->text();
        const QSize text = bar->fontMetrics().size(Qt::TextShowMnemonic, action->text());
        width += style->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, bar).width() + spacing;
    }
    return width + spacing;
}

} // namespace

// The window never gets narrower than its menu titles and toolbar buttons need, nor lower than
// the bars and a small picture area: every command stays in reach around a tiny picture.
void TForm1::UpdateMinimumSize() {
    const int bars =
        std::max(MenuTitlesWidth(menuBar()), ToolBar1->isVisibleTo(this) ? ToolBar1->sizeHint().width() : 0);
    if (ScrollBox1->minimumSize() == QSize(bars, kMinimumPictureArea)) return;
    ScrollBox1->setMinimumSize(bars, kMinimumPictureArea);
    layout()->activate(); // the window's own minimum follows at once, before any resize
}

// A picture smaller than the view shrinks the window to fit it, down to the window's minimum;
// the window never grows by itself. Until the first New has made the picture the settings ask
// for, there is no picture to fit: the stored size stands.
void TForm1::FormResize() {
    if (!Image1 || !ScrollBox1) return;
    UpdateMinimumSize();
    const QSize client = ScrollBox1->viewport()->size();
    const int extraWidth = client.width() - Image1->width();
    const int extraHeight = client.height() - Image1->height();
    if ((extraWidth > 0 || extraHeight > 0) && FitsToPicture_ && isVisible() && !isMaximized() &&
        !isFullScreen())
        resize(width() - std::max(extraWidth, 0), height() - std::max(extraHeight, 0));
}

// A zoom changes only the view: the floating image stays where it stands in the picture, and
// the window fits itself to the picture's new size on screen as it does to any picture.
void TForm1::ZoomTo(int level, std::optional<QPoint> anchor) {
    if (!Viewport_->Zoom(level, Document_->Picture(), anchor)) return;
    ZoomMenu_->ShowLevel(Viewport_->View().Level());
    FloatingChanged();
    FormResize();
    FollowPointer(); // the picture moved under a mouse that stood still
    Timer1Timer();
}

void TForm1::ZoomByKeys(int steps) {
    const int level = Viewport_->View().Level() + steps;
    const TFloatingImage& floating = Document_->Floating();
    if (!floating.Active) {
        ZoomTo(level);
        return;
    }
    const TRect bounds = Bounds(floating.Left, floating.Top, floating.Width, floating.Height);
    QWidget* viewport = ScrollBox1->viewport();
    const QPoint centre = Image1->mapTo(viewport, Viewport_->ControlRectOf(bounds).center());
    ZoomTo(level, viewport->rect().contains(centre) ? std::optional(centre) : std::nullopt);
    // One that was out of sight before is brought into it.
    const QRect shown = Viewport_->ControlRectOf(bounds);
    ScrollBox1->ensureVisible(shown.center().x(), shown.center().y(),
                              std::min(shown.width(), viewport->width()) / 2,
                              std::min(shown.height(), viewport->height()) / 2);
}

void TForm1::FollowPointer() {
    const QPoint pointer = QCursor::pos();
    const QWidget* viewport = ScrollBox1->viewport();
    const QPoint control = Image1->mapFromGlobal(pointer);
    if (viewport->rect().contains(viewport->mapFromGlobal(pointer)) && Image1->rect().contains(control))
        ShowCursorAt(control);
}

// "25 %", "12,5 %": the level as the chosen language writes numbers.
QString TForm1::ZoomText() const {
    const QLocale locale = Texts.Locale().isEmpty() ? QLocale::c() : QLocale(Texts.Locale());
    return locale.toString(100.0 * std::ldexp(1.0, Viewport_->View().Level()), 'g', 4) + QStringLiteral(" %");
}

// The largest level that shows the whole picture in the area the window gives it now.
void TForm1::FitToWindow1Click() {
    const QSize picture(Document_->Picture().Width(), Document_->Picture().Height());
    ZoomTo(TZoomView::FitLevel(picture, ScrollBox1->maximumViewportSize()));
}

void TForm1::Grid1Click(bool on) {
    Viewport_->SetGrid(on);
    ZoomMenu_->ShowGrid(on);
}

const TPictureViewport& TForm1::Viewport() const {
    return *Viewport_;
}

void TForm1::PictureChanged(int left, int top, int right, int bottom) {
    Viewport_->PictureChanged(Document_->Picture(), TRect{left, top, right, bottom});
    JournalChanged(TRect{left, top, right, bottom});
}

// New and Open start the view again at 100 %; the resize that follows lays it out.
void TForm1::PictureReplaced() {
    Viewport_->Zoom(0, Document_->Picture());
    ZoomMenu_->ShowLevel(0);
    JournalReplaced();
}

void TForm1::PictureResized() {
    Viewport_->PictureResized(Document_->Picture());
    FormResize();
    JournalResized();
}

void TForm1::FloatingChanged() {
    const TFloatingImage& floating = Document_->Floating();
    Image2->setGeometry(
        Viewport_->FloatingRectOf(Bounds(floating.Left, floating.Top, floating.Width, floating.Height)));
    Image2->setEnabled(floating.Shown);
    Image2->setVisible(floating.Shown);
    Image2->update();
    JournalFloating();
}

void TForm1::SetWaitCursor(bool wait) {
    if (wait == WaitCursorOn_) return;
    WaitCursorOn_ = wait;
    if (wait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

// Repaints and the refresh timer run during a long command; the user's input waits until it
// has finished, so no second command starts inside the first.
void TForm1::ProcessPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::BeginProgress(bool atOnce) {
    ProgressPanel_->Begin(atOnce);
}

bool TForm1::ShowProgress(int percent) {
    return ProgressPanel_->Show(percent);
}

void TForm1::EndProgress() {
    ProgressPanel_->End();
}
