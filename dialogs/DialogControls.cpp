// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogControls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

QColor QColorOf(TColor color) {
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

TColor ColorOfQColor(const QColor& color) {
    return RGB(std::uint8_t(color.red()), std::uint8_t(color.green()), std::uint8_t(color.blue()));
}

TColorPanel::TColorPanel(TOpensOn opensOn, QWidget* parent) : QFrame(parent), OpensOn_(opensOn) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(24, 24);
    SetColor(clBlack);
}

void TColorPanel::SetColor(TColor color) {
    Color_ = color;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColorOf(color));
    setPalette(palette);
}

void TColorPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (OpensOn_ == Click && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        Choose();
}

void TColorPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (OpensOn_ == DoubleClick && event->button() == Qt::LeftButton) Choose();
}

void TColorPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        Choose();
        return;
    }
    QFrame::keyPressEvent(event);
}

void TColorPanel::Choose() {
    if (OnChoose) OnChoose();
}

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (auto [button, arrow, up] :
         {std::tuple{&Up, Qt::UpArrow, true}, std::tuple{&Down, Qt::DownArrow, false}}) {
        *button = new QToolButton(this);
        (*button)->setArrowType(arrow);
        (*button)->setAutoRepeat(true);
        (*button)->setFocusPolicy(Qt::NoFocus);
        (*button)->setFixedSize(16, 11);
        layout->addWidget(*button);
        connect(*button, &QToolButton::clicked, this, [this, up = up] {
            if (OnChanging) OnChanging(up);
        });
    }
}
