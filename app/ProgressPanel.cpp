// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QStatusBar>

namespace {

// Work that reports often but moves slowly still paints this often.
constexpr int PaintMilliseconds = 40;
// Work not shown at once is shown after this long: a user notices a pause of a quarter second.
constexpr int QuietMilliseconds = 250;

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

TProgressPanel::TProgressPanel(QStatusBar* statusBar) : QObject(statusBar), StatusBar_(statusBar) {
    Bar_ = new QProgressBar(statusBar);
    Bar_->setObjectName("ProgressBar1");
    Bar_->setRange(0, 100);
    Bar_->setTextVisible(true);
    Bar_->setFormat("%p %");
    Bar_->setMaximumWidth(200);
    StatusBar_->addPermanentWidget(Bar_);
    Bar_->hide();
}

void TProgressPanel::Begin(bool atOnce) {
    AtOnce_ = atOnce;
    SinceBegin_.start();
}

bool TProgressPanel::Show(int percent) {
    if (!AtOnce_ && SinceBegin_.isValid() && SinceBegin_.elapsed() < QuietMilliseconds) return true;
    if (!Active_) {
        Active_ = true;
        CancelAsked_ = false;
        StatusBarWasHidden_ = StatusBar_->isHidden();
        StatusBar_->show();
        Bar_->show();
        qApp->installEventFilter(this);
        SincePaint_.invalidate();
    }
    // A new share is at most a hundred times per piece of work, often enough to keep the window
    // painting; the same share again paints only when the last paint is a while ago.
    const bool moved = Bar_->value() != percent;
    Bar_->setValue(percent);
    if (moved || !SincePaint_.isValid() || SincePaint_.elapsed() >= PaintMilliseconds) {
        // User input reaches the filter below, which lets only Escape through to us.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        SincePaint_.start();
    }
    return !CancelAsked_;
}

void TProgressPanel::End() {
    if (!Active_) return;
    Active_ = false;
    qApp->removeEventFilter(this);
    Bar_->hide();
    if (StatusBarWasHidden_) StatusBar_->hide();
}

bool TProgressPanel::eventFilter(QObject* watched, QEvent* event) {
    if (!Active_ || !IsUserInput(event->type())) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        CancelAsked_ = true;
    // A window closed now would go away under the work; the close is refused, as is all input.
    if (event->type() == QEvent::Close) event->ignore();
    return true;
}
