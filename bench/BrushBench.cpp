// SPDX-License-Identifier: GPL-3.0-or-later
// The tile sheets and the stamp brush: a brush click with the repaint of what it changed, which
// must cost the same on a small and a huge picture; picking a tile from a large sheet up to its
// first frame under the pointer; and the panel's repaint of a 4096 x 4096 sheet at each zoom.

#include "BenchDocument.h"
#include "BitmapImage.h"
#include "TileSheetGrid.h"
#include "ZoomView.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr int kSheetSide = 4096;
constexpr int kTile = 64;
// The panel's area on a full-HD screen.
constexpr int kPanelWidth = 480;
constexpr int kPanelHeight = 900;

// The window's side of a document: the reduced copies the zoomed-out levels show.
struct TViewedDocument {
    TBenchDocument Bench;
    TReducedCopies Reduced;
    explicit TViewedDocument(int side) : Bench(side) { Reduced.Rebuild(Bench.Document.Picture()); }
};

TViewedDocument& DocumentOfSize(int side) {
    static std::map<int, std::unique_ptr<TViewedDocument>> documents;
    auto& slot = documents[side];
    if (!slot) slot = std::make_unique<TViewedDocument>(side);
    return *slot;
}

const QImage& Sheet() {
    static const QImage sheet = ImageOfBitmap(MakeNoise(kSheetSide, kSheetSide, 3));
    return sheet;
}

// What the window does after the document reports a change: the copies follow and the changed
// rectangle is painted at 100 %.
void Repaint(TViewedDocument& viewed, const TRect& changed, QImage& backing) {
    viewed.Reduced.Update(viewed.Bench.Document.Picture(), changed);
    TZoomView view;
    const QImage part = view.Paint(viewed.Bench.Document.Picture(), &viewed.Reduced, view.ViewOf(changed));
    QPainter painter(&backing);
    painter.drawImage(0, 0, part);
}

// One brush click (a stroke of one stamp, one step of the history) and its repaint, moving over
// a 16 x 16 block of cells. Arg: the picture's side.
void BM_BrushStampAndRepaint(benchmark::State& state) {
    const int side = int(state.range(0));
    TViewedDocument& viewed = DocumentOfSize(side);
    TPictureDocument& document = viewed.Bench.Document;
    document.Paste(MakeNoise(kTile, kTile, 5), 0, 0);
    QImage backing(kTile, kTile, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        const int x = side / 2 + (step % 16) * kTile, y = side / 2 + (step / 16 % 16) * kTile;
        ++step;
        document.BeginStroke(x, y);
        document.EndStroke();
        Repaint(viewed, Bounds(document.Floating().Left, document.Floating().Top, kTile, kTile), backing);
        benchmark::DoNotOptimize(backing.constBits());
    }
    document.DropFloating();
}
BENCHMARK(BM_BrushStampAndRepaint)->Arg(1024)->Arg(16384)->Unit(benchmark::kMicrosecond);

// A click on a cell of a 4096 x 4096 sheet until the tile shows under the pointer on a 16384²
// picture: the tile cut out, made the floating image as a paste makes it, moved under the pointer
// and painted there.
void BM_PickTileToFirstFrame(benchmark::State& state) {
    TViewedDocument& viewed = DocumentOfSize(16384);
    TPictureDocument& document = viewed.Bench.Document;
    const TTileSheetGrid grid{kTile, kTile, 0, 0};
    TZoomView view;
    QImage backing(kTile, kTile, QImage::Format_RGB32);
    int cell = 0;
    for (auto _ : state) {
        const QImage tile = TileBlockImage(Sheet(), grid, QRect(cell % 64, cell / 64 % 64, 1, 1));
        ++cell;
        document.DropFloating();
        document.Paste(BitmapOfImage(tile), 8000, 8000);
        document.BrushTo(8100, 8100);
        const TFloatingImage& floating = document.Floating();
        const QImage part =
            view.Paint(floating.Bitmap, nullptr, QRect(0, 0, floating.Width, floating.Height));
        QPainter painter(&backing);
        painter.drawImage(0, 0, part);
        benchmark::DoNotOptimize(backing.constBits());
    }
    document.DropFloating();
}
BENCHMARK(BM_PickTileToFirstFrame)->UseRealTime()->Unit(benchmark::kMillisecond);

// The panel filled with the middle of a 4096 x 4096 sheet of 16 x 16 cells, grid and all. Arg:
// the zoom, 1 to 8.
void BM_TileSheetRepaint(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const TTileSheetGrid grid{16, 16, 0, 0};
    const QRect exposed(kSheetSide * zoom / 2, kSheetSide * zoom / 2, kPanelWidth, kPanelHeight);
    QImage backing(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&backing);
        painter.translate(-exposed.topLeft());
        PaintTileSheet(painter, Sheet(), grid, zoom, exposed, Qt::gray);
        painter.end();
        benchmark::DoNotOptimize(backing.constBits());
    }
}
BENCHMARK(BM_TileSheetRepaint)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
