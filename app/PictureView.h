#pragma once

#include "Bitmap.h"

#include <QWidget>

// Shows a picture at its own size; paints only the part the scroll area exposes.
class TPictureView : public QWidget {
public:
    explicit TPictureView(const TBitmap& picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TBitmap& Picture_;
};
