// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "ReducedCopies.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>

// How the picture appears on screen at one magnification, and the one place where view and
// picture coordinates are turned into each other. Levels run from -3 (12.5 %) to 3 (800 %):
// at level n one picture pixel is 2^n screen pixels. Editing never sees view coordinates.
class TZoomView {
  public:
    static constexpr int MinLevel = -3;
    static constexpr int MaxLevel = 3;
    // Grid cells smaller than this on screen would only grey the picture over.
    static constexpr int MinGridCell = 4;

    int Level() const { return Level_; }
    // Clamped to the levels there are; returns whether the level changed.
    bool SetLevel(int level);
    // The percentage times ten (125 for 12.5 %), for texts and menus.
    int PerMille() const;

    // The largest level at which a picture of this size fits the area, at least MinLevel.
    static int FitLevel(QSize picture, QSize area);

    // The picture's size on screen; a picture smaller than a block still shows as one pixel.
    QSize ViewSize(int pictureWidth, int pictureHeight) const;
    // The picture pixel under a view point; points off the picture give pixels off it too.
    QPoint PictureOf(QPoint view) const;
    // Where a picture point lands on screen.
    QPoint ViewOf(QPoint picture) const;
    // The view rectangle that shows a picture rectangle, rounded outwards.
    QRect ViewOf(const TRect& picture) const;
    // The picture rectangle a view rectangle shows, rounded outwards.
    TRect PictureOf(const QRect& view) const;

    // The exposed view rectangle of a bitmap as a screen image: each picture pixel a crisp
    // square at 100 % and above, the mean of the pixels each screen pixel covers below. The
    // reduced copies serve the levels they hold; without them the means are taken from the
    // bitmap itself while that reads at most AveragingBudget pixels, and beyond it (a huge
    // floating image at 12.5 %) each screen pixel shows the pixel at its block's centre, so a
    // repaint never costs more than the screen it fills. Outside the bitmap the image is black.
    QImage Paint(const TBitmap& bitmap, const TReducedCopies* reduced, const QRect& exposed) const;
    static constexpr std::int64_t AveragingBudget = std::int64_t(1) << 23;

    // The same with the pixels of one colour left transparent, for an image shown over the
    // picture. Below 100 % every screen pixel shows its block's centre pixel: a mean would
    // blend the transparent colour into its neighbours.
    QImage PaintKeyed(const TBitmap& bitmap, const QRect& exposed, TColor transparent) const;

    // Where an image lying over a picture rectangle shows: at 100 % and above exactly on its
    // pixels; below, on the screen pixels whose block has its centre pixel in the rectangle (at
    // least the one under the image's middle), so it covers no screen pixel the picture around
    // it fills.
    QRect ViewOfImage(const TRect& picture) const;
    // The exposed part, in view coordinates, of a bitmap whose top-left corner lies on picture
    // point `origin`, painted like the picture under it: each screen pixel shows the bitmap's
    // pixels within its block, as Paint (or PaintKeyed, with a transparent colour) would show
    // them were the bitmap part of the picture.
    QImage PaintImage(const TBitmap& bitmap, QPoint origin, const QRect& exposed,
                      std::optional<TColor> transparent) const;

    // Draws the grid of cells stepX by stepY, counted from the picture's top-left pixel, over an
    // image painted for `exposed`: dotted lines whose dots take a colour far from the one under
    // them, in a pattern fixed to the view, so that repainting any part joins up seamlessly.
    // Nothing is drawn while the cells would be under MinGridCell screen pixels.
    void DrawGrid(QImage& image, const QRect& exposed, QSize picture, int stepX, int stepY) const;
    bool GridShows(int stepX, int stepY) const;

  private:
    int Level_ = 0;
};
