// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "ImageControls.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <string>

namespace {

constexpr int kWheelVertical = 35;
constexpr int kWheelHorizontal = 70;

// The keyboard's Shift, Ctrl and Alt, without the keypad flag some platforms add.
Qt::KeyboardModifiers Keys(Qt::KeyboardModifiers modifiers) {
    return modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

std::string CursorTextOf(int x, int y) {
    return "X=" + std::to_string(x) + ", Y=" + std::to_string(y);
}

} // namespace

bool TForm1::BelongsHere(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    // The menu bar keeps its arrows for walking through the menus from the keyboard.
    return widget && widget->window() == this && !qobject_cast<QMenuBar*>(widget);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // A menu title that changes (another language) may need a wider window.
    if (event->type() == QEvent::ActionChanged && watched == menuBar()) UpdateMinimumSize();
    if (event->type() == QEvent::KeyPress && BelongsHere(watched)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool used = FormKeyDown(key->key(), key->modifiers());
        Timer1Timer(); // the next key may already need what this one made available
        if (used) return true;
    } else if (event->type() == QEvent::Wheel && BelongsHere(watched)) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint delta = wheel->angleDelta();
        const int turn = delta.y() != 0 ? delta.y() : delta.x();
        const QPoint pointer = wheel->globalPosition().toPoint();
        const Qt::KeyboardModifiers keys = Keys(wheel->modifiers());
        if (keys == Qt::ControlModifier && turn != 0)
            ZoomTo(Viewport_->View().Level() + (turn > 0 ? 1 : -1),
                   ScrollBox1->viewport()->mapFromGlobal(pointer));
        else if (keys == Qt::ShiftModifier && turn != 0)
            ScrollSideways(turn < 0 ? kWheelHorizontal : -kWheelHorizontal);
        else if (turn < 0)
            FormMouseWheelDown();
        else if (turn > 0)
            FormMouseWheelUp();
        // The picture has moved under a mouse that stood still.
        const QPoint control = Image1->mapFromGlobal(pointer);
        if (Image1->rect().contains(control)) ShowCursorAt(control);
        Timer1Timer();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers keys = Keys(modifiers);
    TArrow arrow;
    switch (key) {
    case Qt::Key_Left:
        arrow = TArrow::Left;
        break;
    case Qt::Key_Up:
        arrow = TArrow::Up;
        break;
    case Qt::Key_Right:
        arrow = TArrow::Right;
        break;
    case Qt::Key_Down:
        arrow = TArrow::Down;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Document_->Floating().Active) Document_->StampFloating();
        return true;
    case Qt::Key_Home:
        ScrollTo(0, 0);
        return true;
    case Qt::Key_End:
        ScrollTo(0, Document_->Options().HeightPic);
        return true;
    case Qt::Key_PageUp:
        ScrollTo(Document_->Options().WidthPic, 0);
        return true;
    case Qt::Key_PageDown:
        ScrollTo(Document_->Options().WidthPic, Document_->Options().HeightPic);
        return true;
    default:
        return false;
    }
    if (!Document_->Floating().Active) return true;
    if (keys & Qt::ControlModifier)
        Document_->SlideToContact(arrow);
    else
        Document_->MoveFloating(arrow, (keys & Qt::ShiftModifier) != 0);
    return true;
}

void TForm1::ScrollTo(int x, int y) {
    Viewport_->ScrollToPicture(QPoint(x, y));
}

void TForm1::ScrollSideways(int by) {
    QScrollBar* horizontal = ScrollBox1->horizontalScrollBar();
    horizontal->setValue(horizontal->value() + by); // the scroll bar clamps to its range
}

void TForm1::ShowCursorAt(QPoint control) {
    const QPoint at = Viewport_->PictureAt(control);
    CursorText_ = CursorTextOf(at.x(), at.y());
}

void TForm1::FormMouseWheelDown() {
    QScrollBar* vertical = ScrollBox1->verticalScrollBar();
    if (vertical->isVisible())
        vertical->setValue(vertical->value() + kWheelVertical);
    else
        ScrollSideways(kWheelHorizontal);
}

void TForm1::FormMouseWheelUp() {
    QScrollBar* vertical = ScrollBox1->verticalScrollBar();
    if (vertical->isVisible())
        vertical->setValue(vertical->value() - kWheelVertical);
    else
        ScrollSideways(-kWheelHorizontal);
}

// The image controls report screen points; the document hears picture pixels.
void TForm1::Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int controlX,
                             int controlY) {
    const QPoint at = Viewport_->PictureAt(QPoint(controlX, controlY));
    const int x = at.x(), y = at.y();
    const Qt::KeyboardModifiers keys = Keys(modifiers);
    if (button == Qt::LeftButton && keys == Qt::NoModifier) {
        if (Document_->Floating().Active)
            Document_->StampFloating();
        else
            Document_->BeginSelection(x, y);
    } else if (button == Qt::RightButton && keys == Qt::ControlModifier) {
        Document_->PickTransparentColor(x, y);
        UpdateColorSwatch(TImageList::TransparentSwatch, Document_->Options().TransparentColor);
    } else if (button == Qt::RightButton && keys == Qt::AltModifier) {
        PickFillColorAt(at);
    } else if (button == Qt::LeftButton && keys == Qt::ControlModifier) {
        Document_->PickBackgroundColor(x, y);
        UpdateColorSwatch(TImageList::BackgroundSwatch, Document_->Options().BackgroundColor);
    } else if (button == Qt::LeftButton && keys == Qt::AltModifier) {
        FillAt(at);
    }
    Timer1Timer();
}

void TForm1::Image1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int controlX,
                             int controlY) {
    QPoint at = Viewport_->PictureAt(QPoint(controlX, controlY));
    if (buttons == Qt::LeftButton && Keys(modifiers) == Qt::NoModifier) {
        // Up to one past the last pixel, so a drag can take in the last column and row.
        at = QPoint(std::clamp(at.x(), 0, Document_->Picture().Width()),
                    std::clamp(at.y(), 0, Document_->Picture().Height()));
        if (Document_->Selection().Active) Document_->DragSelection(at.x(), at.y());
    }
    CursorText_ = CursorTextOf(at.x(), at.y());
    Timer1Timer();
}

void TForm1::Image1MouseUp() {
    if (Document_->Selection().Active) Document_->EndSelection();
    Timer1Timer();
}

// Image2's own points, counted in picture pixels from its corner as the view shows them.
void TForm1::Image2MouseDown(Qt::MouseButton button, int controlX, int controlY) {
    const QPoint at = Viewport_->PictureAt(QPoint(controlX, controlY));
    if (button == Qt::LeftButton) Document_->GrabFloating(at.x(), at.y());
    Timer1Timer();
}

void TForm1::Image2MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int controlX,
                             int controlY) {
    const QPoint at = Viewport_->PictureAt(QPoint(controlX, controlY));
    if (buttons == Qt::LeftButton && Keys(modifiers) == Qt::NoModifier)
        Document_->DragFloating(at.x(), at.y());
    Timer1Timer();
}
