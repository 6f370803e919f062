// SPDX-License-Identifier: GPL-3.0-or-later
// One repaint of a full-HD view of the picture: converting the exposed rectangle and drawing it
// into the window's backing image. It must cost the same on a small and a huge picture, because
// painting converts only what is exposed.

#include "BenchPictures.h"
#include "BitmapImage.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <map>

namespace {

constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;

const TBitmap& PictureOfSize(int size) {
    static std::map<int, TBitmap> pictures;
    auto found = pictures.find(size);
    if (found == pictures.end()) found = pictures.emplace(size, MakeTileMap(size, size)).first;
    return found->second;
}

// The view stands in the middle of the picture, or shows all of a picture smaller than it.
void BM_RepaintView(benchmark::State& state) {
    const int size = int(state.range(0));
    const TBitmap& picture = PictureOfSize(size);
    const int left = std::max(0, (size - kViewWidth) / 2), top = std::max(0, (size - kViewHeight) / 2);
    const TRect exposed{left, top, left + kViewWidth, top + kViewHeight};
    QImage backing(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        const QImage part = ImageOfRect(picture, exposed);
        QPainter painter(&backing);
        painter.drawImage(0, 0, part);
        painter.end();
        benchmark::DoNotOptimize(backing.constBits());
    }
    const int shownWidth = std::min(size, kViewWidth), shownHeight = std::min(size, kViewHeight);
    state.SetItemsProcessed(state.iterations() * std::int64_t(shownWidth) * shownHeight);
    state.counters["shown_px"] = double(shownWidth) * shownHeight;
}

// Painting may spread over Qt's worker threads, so the wall clock is the measure.
BENCHMARK(BM_RepaintView)->Arg(1024)->Arg(4096)->Arg(16384)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
