// SPDX-License-Identifier: GPL-3.0-or-later
// Editing a large picture: Select All lift and stamp back, mirroring a large floating image,
// and a flood fill over the whole picture, each beside the plainest way to move the same bytes.

#include "BenchDocument.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int PictureSide = 4096;
constexpr int FloatingSide = 2048;

// Select All lifts the whole picture into the floating image and fills the picture; Enter
// stamps it back.
void BM_SelectAllLiftAndStamp(benchmark::State& state) {
    TBenchDocument bench(PictureSide);
    for (auto _ : state) {
        bench.Document.SelectAll();
        bench.Document.StampFloating();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) *
                            std::int64_t(bench.Document.Picture().PixelBuffer().size()));
}

// The peer: two fresh copies of the picture, the floating image and the undo area that any
// lift of the whole picture needs.
void BM_PictureCopiedTwice(benchmark::State& state) {
    const TBitmap picture = MakeTileMap(PictureSide, PictureSide);
    for (auto _ : state) {
        TBitmap floating = picture;
        TBitmap undo = picture;
        benchmark::DoNotOptimize(floating.PixelBuffer().data());
        benchmark::DoNotOptimize(undo.PixelBuffer().data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(picture.PixelBuffer().size()));
}

// A 2048 x 2048 lifted selection, mirrored (0: horizontal, 1: vertical, 2: rotate about 180).
void BM_MirrorFloating2048(benchmark::State& state) {
    TBenchDocument bench(PictureSide);
    bench.Document.BeginSelection(0, 0);
    bench.Document.DragSelection(FloatingSide, FloatingSide);
    bench.Document.EndSelection();
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0:
            bench.Document.MirrorHorizontal();
            break;
        case 1:
            bench.Document.MirrorVertical();
            break;
        default:
            bench.Document.Rotate180();
            break;
        }
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * FloatingSide * FloatingSide);
}

// The peer: the one-pixel strip method, one column copied out and drawn back at a time.
void BM_StripMirror2048(benchmark::State& state) {
    TBitmap floating = MakeTileMap(FloatingSide, FloatingSide);
    for (auto _ : state) {
        const TBitmap copy = floating;
        TBitmap strip(1, FloatingSide, floating.PixelFormat());
        for (int i = 0; i < FloatingSide; ++i) {
            strip.CopyRect(TRect{0, 0, 1, FloatingSide}, copy, TRect{i, 0, i + 1, FloatingSide});
            floating.Draw(FloatingSide - 1 - i, 0, strip);
        }
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * FloatingSide * FloatingSide);
}

// Alt + left click on a one-colour 4096 x 4096 picture: every pixel changes.
void BM_FloodFillAt4096(benchmark::State& state) {
    TBenchDocument bench(PictureSide);
    bench.Document.ReplacePicture(TBitmap(PictureSide, PictureSide, TPixelFormat::pf24bit));
    bool white = false;
    for (auto _ : state) {
        bench.Document.SetFillColor(white ? clBlack : clWhite);
        bench.Document.FloodFillAt(PictureSide / 2, PictureSide / 2);
        white = !white;
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * PictureSide * PictureSide);
}

} // namespace

BENCHMARK(BM_SelectAllLiftAndStamp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureCopiedTwice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MirrorFloating2048)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripMirror2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloodFillAt4096)->Unit(benchmark::kMillisecond);
