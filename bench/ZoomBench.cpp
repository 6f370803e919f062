// SPDX-License-Identifier: GPL-3.0-or-later
// The view at every zoom level on a 16384 x 16384 picture: a full-HD repaint, a zoom change to
// its first frame, and a stamp with its repaint at 12.5 %, which must not grow with the
// picture. Building the reduced copies, the price paid once when a picture opens, beside them.

#include "BenchPictures.h"
#include "ZoomView.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <map>

namespace {

constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;
constexpr int kHugeSide = 16384;

// One picture of each size with its reduced copies, made once for every row that needs it.
struct TViewedPicture {
    TBitmap Picture;
    TReducedCopies Reduced;
};

TViewedPicture& ViewedPicture(int side) {
    static std::map<int, TViewedPicture> pictures;
    auto found = pictures.find(side);
    if (found == pictures.end()) {
        found = pictures.emplace(side, TViewedPicture{MakeTileMap(side, side), {}}).first;
        found->second.Reduced.Rebuild(found->second.Picture);
    }
    return found->second;
}

// The window's view over the middle of the picture as it shows at the view's level.
QRect MiddleOfView(const TZoomView& view, int side) {
    const QSize size = view.ViewSize(side, side);
    const int left = std::max(0, (size.width() - kViewWidth) / 2),
              top = std::max(0, (size.height() - kViewHeight) / 2);
    return QRect(left, top, kViewWidth, kViewHeight);
}

// What a paint event does: the exposed part of the picture, the grid over it, drawn into the
// window's backing image.
void PaintExposed(const TZoomView& view, const TViewedPicture& viewed, const QRect& exposed,
                  QImage& backing) {
    QImage part = view.Paint(viewed.Picture, &viewed.Reduced, exposed);
    view.DrawGrid(part, exposed, QSize(viewed.Picture.Width(), viewed.Picture.Height()), 64, 64);
    QPainter painter(&backing);
    painter.drawImage(0, 0, part);
}

// Arg: the zoom level, -3 (12.5 %) to 3 (800 %).
void BM_ZoomRepaintFullView(benchmark::State& state) {
    const TViewedPicture& viewed = ViewedPicture(kHugeSide);
    TZoomView view;
    view.SetLevel(int(state.range(0)));
    const QRect exposed = MiddleOfView(view, kHugeSide);
    QImage backing(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        PaintExposed(view, viewed, exposed, backing);
        benchmark::DoNotOptimize(backing.constBits());
    }
    state.counters["per_mille"] = view.PerMille();
}
BENCHMARK(BM_ZoomRepaintFullView)
    ->Arg(-3)
    ->Arg(-1)
    ->Arg(0)
    ->Arg(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A change of level ends in the first full frame at the new level; the three levels taken in
// turn cover both ways of changing.
void BM_ZoomChangeToFirstFrame(benchmark::State& state) {
    const TViewedPicture& viewed = ViewedPicture(kHugeSide);
    static const int levels[] = {-3, 0, 3};
    TZoomView view;
    QImage backing(kViewWidth, kViewHeight, QImage::Format_RGB32);
    int next = 0;
    for (auto _ : state) {
        view.SetLevel(levels[next]);
        next = (next + 1) % 3;
        PaintExposed(view, viewed, MiddleOfView(view, kHugeSide), backing);
        benchmark::DoNotOptimize(backing.constBits());
    }
}
BENCHMARK(BM_ZoomChangeToFirstFrame)->UseRealTime()->Unit(benchmark::kMillisecond);

// A 64 x 64 tile stamped, the reduced copies brought up to date for it, and the view rectangle
// it changed repainted at 12.5 %. Arg: the picture's side.
void BM_StampAndRepaintAtOneEighth(benchmark::State& state) {
    const int side = int(state.range(0));
    TViewedPicture& viewed = ViewedPicture(side);
    const TBitmap tile = MakeNoise(64, 64);
    TZoomView view;
    view.SetLevel(-3);
    QImage backing(kViewWidth, kViewHeight, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        const int x = side / 2 + (step % 16) * 64, y = side / 2 + (step / 16 % 16) * 64;
        ++step;
        viewed.Picture.Draw(x, y, tile);
        const TRect changed = Bounds(x, y, tile.Width(), tile.Height());
        viewed.Reduced.Update(viewed.Picture, changed);
        PaintExposed(view, viewed, view.ViewOf(changed), backing);
        benchmark::DoNotOptimize(backing.constBits());
    }
}
BENCHMARK(BM_StampAndRepaintAtOneEighth)->Arg(2048)->Arg(kHugeSide)->Unit(benchmark::kMicrosecond);

// The peer of the row above: the stamp alone, with no view to keep.
void BM_StampOnly(benchmark::State& state) {
    TViewedPicture& viewed = ViewedPicture(kHugeSide);
    const TBitmap tile = MakeNoise(64, 64);
    int step = 0;
    for (auto _ : state) {
        viewed.Picture.Draw(kHugeSide / 2 + (step % 16) * 64, kHugeSide / 2 + (step / 16 % 16) * 64, tile);
        ++step;
        benchmark::DoNotOptimize(viewed.Picture.PixelBuffer().data());
    }
}
BENCHMARK(BM_StampOnly)->Unit(benchmark::kMicrosecond);

// What opening or resizing a picture adds for the zoomed-out views: both copies from scratch.
void BM_ReducedCopiesRebuild(benchmark::State& state) {
    const TViewedPicture& viewed = ViewedPicture(kHugeSide);
    TReducedCopies copies;
    for (auto _ : state) {
        copies.Rebuild(viewed.Picture);
        benchmark::DoNotOptimize(copies.Find(3, kHugeSide, kHugeSide));
    }
}
BENCHMARK(BM_ReducedCopiesRebuild)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
