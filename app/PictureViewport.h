// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ZoomView.h"

#include <optional>

class QPainter;
class QScrollArea;
class QWidget;

// The window's picture area at a zoom: it sizes the picture control to the picture's size on
// screen, keeps the reduced copies the zoomed-out levels show, turns control points into picture
// points, and scrolls so that a zoom change keeps the point under the mouse where it was. The
// zoom and the grid switch are view state: nothing here touches the picture.
class TPictureViewport {
  public:
    TPictureViewport(QScrollArea& scrollBox, QWidget& control);

    const TZoomView& View() const { return View_; }
    bool GridOn() const { return Grid_; }
    void SetGrid(bool on);

    // A new, resized or wholly redrawn picture: the copies are made again and the control takes
    // the picture's size on screen. Without memory for the copies the view still shows the
    // picture, averaging it as it paints.
    void PictureResized(const TBitmap& picture);
    // Pixels of one picture rectangle changed: its copies' blocks and its screen area are redone.
    void PictureChanged(const TBitmap& picture, const TRect& area);

    // Changes the level, keeping the picture point under `anchor` (a point of the scroll box's
    // viewport; its centre when none is given) in place as far as the scroll range allows.
    bool Zoom(int level, const TBitmap& picture, std::optional<QPoint> anchor = std::nullopt);

    // The picture pixel under a point of the picture control.
    QPoint PictureAt(QPoint control) const { return View_.PictureOf(control); }
    // The first picture pixel wholly in sight at the top left of the viewport.
    QPoint FirstVisiblePixel() const;
    // Scrolls a picture point to the viewport's top left, as far as the scroll range allows.
    void ScrollToPicture(QPoint picture);
    // Where a picture rectangle shows on the picture control.
    QRect ControlRectOf(const TRect& picture) const { return View_.ViewOf(picture); }

    // Paints an exposed rectangle of the picture control, the grid of the step over it when on.
    void Paint(QPainter& painter, const QRect& exposed, const TBitmap& picture, int stepX, int stepY) const;

    // Paints an exposed rectangle of the floating image's control, the image's corner lying on
    // picture point origin; with a transparent colour the picture shows through its pixels of
    // that colour.
    void PaintFloating(QPainter& painter, const QRect& exposed, const TBitmap& floating, QPoint origin,
                       std::optional<TColor> transparent) const;
    // Where the floating image, lying over a picture rectangle, shows on the picture control.
    QRect FloatingRectOf(const TRect& picture) const { return View_.ViewOfImage(picture); }

  private:
    QPoint ScrollPosition() const;
    void SetScrollPosition(QPoint position);

    QScrollArea& ScrollBox_;
    QWidget& Control_;
    TZoomView View_;
    TReducedCopies Reduced_;
    bool Grid_ = false;

    struct TAnchor {
        QPoint At;
        QPoint Scroll;
        double PictureX, PictureY;
    };
    std::optional<TAnchor> LastAnchor_;
};
