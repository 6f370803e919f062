// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

#include <QFrame>
#include <QWidget>

#include <functional>

class QToolButton;

// A sunken panel that shows one colour and opens a colour choice: on a click, or on a
// double-click where a single click must stay harmless. Space does the same from the keyboard.
class TColorPanel : public QFrame {
  public:
    enum TOpensOn { Click, DoubleClick };
    TColorPanel(TOpensOn opensOn, QWidget* parent);

    TColor Color() const { return Color_; }
    void SetColor(TColor color);
    std::function<void()> OnChoose;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Choose();
    TOpensOn OpensOn_;
    TColor Color_ = clBlack;
};

// Two arrow buttons that only report their direction; the edit beside them decides what a step
// means. The buttons take no focus: the edit's Up and Down keys reach the same handler.
class TUpDown : public QWidget {
  public:
    explicit TUpDown(QWidget* parent);

    QToolButton* Up = nullptr;
    QToolButton* Down = nullptr;
    std::function<void(bool up)> OnChanging;
};

// The colour of a TColor as Qt paints it.
QColor QColorOf(TColor color);
TColor ColorOfQColor(const QColor& color);
