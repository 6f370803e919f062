#pragma once

#include <QWidget>

class TForm1;

// Image1: the picture, stretched by the zoom factor. Paints only the exposed part.
class TPictureControl : public QWidget {
  public:
    TPictureControl(TForm1& form, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    TForm1& Form_;
};

// Image2: the floating image over the picture, a child of Image1 so that it scrolls with it. With
// display transparency on, the picture shows through its transparent-colour pixels.
class TFloatingControl : public QWidget {
  public:
    TFloatingControl(TForm1& form, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    TForm1& Form_;
};
