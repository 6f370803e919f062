// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PictureDocument.h"
#include "PictureViewport.h"

#include <QWidget>

// What the image controls ask of the window around them: the view they paint through, and where
// their mouse events go. Positions are in the reporting control's own pixels.
class TImageControlHost {
  public:
    virtual ~TImageControlHost() = default;
    virtual const TPictureViewport& Viewport() const = 0;
    virtual void Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) = 0;
    virtual void Image1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) = 0;
    virtual void Image1MouseUp() = 0;
    virtual void Image2MouseDown(Qt::MouseButton button, int x, int y) = 0;
    virtual void Image2MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) = 0;
    virtual void Image2MouseUp(Qt::MouseButton button) = 0;
};

// Image1: the picture at the view's zoom, with the grid when it is on. Paints only the exposed part.
class TPictureControl : public QWidget {
  public:
    TPictureControl(const TPictureDocument& document, TImageControlHost& host, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const TPictureDocument& Document_;
    TImageControlHost& Host_;
};

// Image2: the floating image over the picture, a child of Image1 so that it scrolls with it. With
// display transparency on, the picture shows through its transparent-colour pixels.
class TFloatingControl : public QWidget {
  public:
    TFloatingControl(const TPictureDocument& document, TImageControlHost& host, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const TPictureDocument& Document_;
    TImageControlHost& Host_;
};
