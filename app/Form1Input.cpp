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
        const QPoint delta = static_cast<QWheelEvent*>(event)->angleDelta();
        const int turn = delta.y() != 0 ? delta.y() : delta.x();
        if (turn < 0) FormMouseWheelDown();
        if (turn > 0) FormMouseWheelUp();
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
    ScrollBox1->horizontalScrollBar()->setValue(x); // the scroll bars clamp to their range
    ScrollBox1->verticalScrollBar()->setValue(y);
}

void TForm1::FormMouseWheelDown() {
    QScrollBar* vertical = ScrollBox1->verticalScrollBar();
    if (vertical->isVisible())
        vertical->setValue(vertical->value() + kWheelVertical);
    else
        ScrollBox1->horizontalScrollBar()->setValue(ScrollBox1->horizontalScrollBar()->value() +
                                                    kWheelHorizontal);
}

void TForm1::FormMouseWheelUp() {
    QScrollBar* vertical = ScrollBox1->verticalScrollBar();
    if (vertical->isVisible())
        vertical->setValue(vertical->value() - kWheelVertical);
    else
        ScrollBox1->horizontalScrollBar()->setValue(ScrollBox1->horizontalScrollBar()->value() -
                                                    kWheelHorizontal);
}

void TForm1::Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
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
        Document_->PickFillColor(x, y);
        UpdateColorSwatch(TImageList::FillSwatch, Document_->Options().FillColor);
    } else if (button == Qt::LeftButton && keys == Qt::ControlModifier) {
        Document_->PickBackgroundColor(x, y);
        UpdateColorSwatch(TImageList::BackgroundSwatch, Document_->Options().BackgroundColor);
    } else if (button == Qt::LeftButton && keys == Qt::AltModifier) {
        Document_->FloodFillAt(x, y);
    }
    Timer1Timer();
}

void TForm1::Image1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) {
    if (buttons == Qt::LeftButton && Keys(modifiers) == Qt::NoModifier) {
        // Up to one past the last pixel, so a drag can take in the last column and row.
        x = std::clamp(x, 0, Image1->width());
        y = std::clamp(y, 0, Image1->height());
        if (Document_->Selection().Active) Document_->DragSelection(x, y);
    }
    CursorText_ = CursorTextOf(x, y);
    Timer1Timer();
}

void TForm1::Image1MouseUp() {
    if (Document_->Selection().Active) Document_->EndSelection();
    Timer1Timer();
}

void TForm1::Image2MouseDown(Qt::MouseButton button, int x, int y) {
    if (button == Qt::LeftButton) Document_->GrabFloating(x, y);
    Timer1Timer();
}

void TForm1::Image2MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) {
    if (buttons == Qt::LeftButton && Keys(modifiers) == Qt::NoModifier) Document_->DragFloating(x, y);
    Timer1Timer();
}
