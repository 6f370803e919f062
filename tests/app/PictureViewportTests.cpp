// SPDX-License-Identifier: GPL-3.0-or-later
// The window's picture area: a zoom that keeps the point under the mouse, the first pixel in
// sight for a paste, and edits that reach the zoomed-out view.

#include "PictureViewport.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TArea {
    std::unique_ptr<QScrollArea> ScrollBox = std::make_unique<QScrollArea>();
    QWidget* Control = new QWidget;
    TPictureViewport Viewport{*ScrollBox, *Control};

    explicit TArea(const TBitmap& picture) {
        ScrollBox->setFrameShape(QFrame::NoFrame);
        ScrollBox->setWidget(Control);
        ScrollBox->viewport()->setFixedSize(300, 200);
        ScrollBox->setFixedSize(300 + ScrollBox->verticalScrollBar()->sizeHint().width(),
                                200 + ScrollBox->horizontalScrollBar()->sizeHint().height());
        Viewport.PictureResized(picture);
        ScrollBox->show();
    }
    QPoint Scroll() const {
        return QPoint(ScrollBox->horizontalScrollBar()->value(), ScrollBox->verticalScrollBar()->value());
    }
    void ScrollTo(QPoint p) {
        ScrollBox->horizontalScrollBar()->setValue(p.x());
        ScrollBox->verticalScrollBar()->setValue(p.y());
    }
};

TBitmap Plain(int side, TColor color) {
    TBitmap picture(side, side, TPixelFormat::pf24bit);
    picture.Brush.Color = color;
    picture.FillRect(TRect{0, 0, side, side});
    return picture;
}

TEST(PictureViewport, EveryZoomKeepsThePicturePointUnderTheMouseInPlace) {
    const TBitmap picture = Plain(4096, clBlack);
    TArea area(picture);
    const QPoint mouse(150, 100);
    area.ScrollTo(QPoint(2000, 1500) - mouse);
    ASSERT_EQ(area.Viewport.PictureAt(area.Scroll() + mouse), QPoint(2000, 1500));
    for (int level : {2, 3, -1, -3, 1, 0}) {
        ASSERT_TRUE(area.Viewport.Zoom(level, picture, mouse));
        EXPECT_EQ(area.Control->size(), area.Viewport.View().ViewSize(4096, 4096));
        const QPoint under = area.Viewport.PictureAt(area.Scroll() + mouse);
        const int block = level < 0 ? 1 << -level : 1;
        EXPECT_LE(std::abs(under.x() - 2000), block) << "level " << level;
        EXPECT_LE(std::abs(under.y() - 1500), block) << "level " << level;
    }
    EXPECT_EQ(area.Scroll(), QPoint(2000, 1500) - mouse) << "back at 100 % exactly where it started";
    EXPECT_FALSE(area.Viewport.Zoom(0, picture)) << "the same level again changes nothing";
}

TEST(PictureViewport, APasteLandsOnlyWherePixelsAreWhollyInSight) {
    const TBitmap picture = Plain(2048, clBlack);
    TArea area(picture);
    area.Viewport.Zoom(2, picture);
    area.ScrollTo(QPoint(13, 8));
    EXPECT_EQ(area.Viewport.FirstVisiblePixel(), QPoint(4, 2)) << "pixel 3 is cut by the edge";
    area.Viewport.Zoom(-2, picture);
    area.ScrollTo(QPoint(3, 5));
    EXPECT_EQ(area.Viewport.FirstVisiblePixel(), QPoint(12, 20));
    area.Viewport.ScrollToPicture(QPoint(40, 80));
    EXPECT_EQ(area.Scroll(), QPoint(10, 20));
}

// A stamp at 12.5 % shows at once: its blocks of the reduced copies are redone with it.
TEST(PictureViewport, AnEditReportedByRectangleShowsInTheZoomedOutView) {
    TBitmap picture = Plain(512, clBlack);
    TArea area(picture);
    area.Viewport.Zoom(-3, picture);
    picture.Draw(64, 128, Plain(64, clWhite));
    area.Viewport.PictureChanged(picture, Bounds(64, 128, 64, 64));
    QImage shown(64, 64, QImage::Format_RGB32);
    QPainter painter(&shown);
    area.Viewport.Paint(painter, QRect(0, 0, 64, 64), picture, 8, 8);
    painter.end();
    EXPECT_EQ(shown.pixel(8, 16), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(15, 23), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(16, 23), qRgb(0, 0, 0));
}

} // namespace
