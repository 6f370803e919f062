#include "Form1.h"

#include "ImageControls.h"

#include <QApplication>
#include <QEventLoop>
#include <QLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QToolBar>

#include <algorithm>

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
// the window never grows by itself.
void TForm1::FormResize() {
    if (!Image1 || !ScrollBox1) return;
    UpdateMinimumSize();
    const QSize client = ScrollBox1->viewport()->size();
    const int extraWidth = client.width() - Image1->width();
    const int extraHeight = client.height() - Image1->height();
    if ((extraWidth > 0 || extraHeight > 0) && isVisible() && !isMaximized() && !isFullScreen())
        resize(width() - std::max(extraWidth, 0), height() - std::max(extraHeight, 0));
}

// Image1 stretches the picture by the factor; of the editing commands only the selection copy
// divides by it.
void TForm1::N8001Click(int factor) {
    Document_->DropFloating();
    ZoomFactor_ = factor;
    PictureResized();
}

void TForm1::PictureChanged(int left, int top, int right, int bottom) {
    const int zoom = std::max(ZoomFactor_, 1);
    Image1->update(QRect(left * zoom, top * zoom, (right - left) * zoom, (bottom - top) * zoom));
}

void TForm1::PictureReplaced() {
    ZoomFactor_ = 1;
}

int TForm1::ZoomFactor() const {
    return ZoomFactor_;
}

void TForm1::PictureResized() {
    const int zoom = std::max(ZoomFactor_, 1);
    Image1->setFixedSize(std::max(Document_->Picture().Width() * zoom, 1),
                         std::max(Document_->Picture().Height() * zoom, 1));
    Image1->update();
    FormResize();
}

void TForm1::FloatingChanged() {
    Image2->setGeometry(Document_->Floating().Left, Document_->Floating().Top, Document_->Floating().Width,
                        Document_->Floating().Height);
    Image2->setEnabled(Document_->Floating().Shown);
    Image2->setVisible(Document_->Floating().Shown);
    Image2->update();
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
