// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's everyday loop: paste a tile, move it, slide it, stamp it, undo. Each must cost
// the same on a small and a huge picture, because each touches only the tile's area.

#include "BenchDocument.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

// One document per picture size, built once: the 16384² tile map alone is 768 MB.
TPictureDocument& DocumentOfSize(int size) {
    static std::map<int, std::unique_ptr<TBenchDocument>> documents;
    auto& slot = documents[size];
    if (!slot) {
        slot = std::make_unique<TBenchDocument>(size);
    }
    return slot->Document;
}

const TBitmap& Tile() {
    static const TBitmap tile = MakeNoise(64, 64, 7);
    return tile;
}

void BM_StampAndUndoTile(benchmark::State& state) {
    TPictureDocument& document = DocumentOfSize(int(state.range(0)));
    const int middle = int(state.range(0)) / 2;
    for (auto _ : state) {
        document.Paste(Tile(), middle, middle);
        document.StampFloating();
        document.Undo();
    }
    benchmark::DoNotOptimize(document.Picture().PixelBuffer().data());
}
BENCHMARK(BM_StampAndUndoTile)->Arg(1024)->Arg(16384)->Unit(benchmark::kMicrosecond);

// Eight steps right and back, then a slide each way: what arrow keys and Ctrl+arrows cost. The
// tile stands in an empty area, so each slide reads all 81 lines before it gives up.
void BM_MoveAndSlideTile(benchmark::State& state) {
    TPictureDocument& document = DocumentOfSize(int(state.range(0)));
    const int middle = int(state.range(0)) / 2;
    // An empty area stamped around the tile, on the step grid.
    TBitmap empty(64 + 256, 64 + 256, TPixelFormat::pf24bit);
    empty.Brush.Color = document.Options().BackgroundColor;
    empty.FillRect(Bounds(0, 0, empty.Width(), empty.Height()));
    document.Paste(empty, middle - 128, middle - 128);
    document.StampFloating();
    document.Paste(Tile(), middle, middle);
    for (auto _ : state) {
        for (int i = 0; i < 8; ++i)
            document.MoveFloating(TArrow::Right, false);
        for (int i = 0; i < 8; ++i)
            document.MoveFloating(TArrow::Left, false);
        document.SlideToContact(TArrow::Down);
        document.SlideToContact(TArrow::Up);
    }
    document.DropFloating();
}
BENCHMARK(BM_MoveAndSlideTile)->Arg(1024)->Arg(16384)->Unit(benchmark::kMicrosecond);

} // namespace
