// SPDX-License-Identifier: GPL-3.0-or-later
// The exports with the picture's own colours beside today's halftone exports of the same tile
// map, whole in memory, with the size of what they write.

#include "BenchPictures.h"
#include "BmpFile.h"
#include "BmpFileRows.h"
#include "ByteSink.h"
#include "GifExport.h"
#include "PngExport.h"
#include "RowSource.h"

#include <benchmark/benchmark.h>

namespace {

template <typename Export> void ExportRow(benchmark::State& state, Export&& exportTo) {
    const TBitmap& picture = SharedTileMap(int(state.range(0)));
    TMemorySink sink;
    sink.Bytes.reserve(std::size_t(picture.Width()) * std::size_t(picture.Height()));
    for (auto _ : state) {
        sink.Bytes.clear();
        TBitmapRows rows(picture);
        exportTo(rows, sink);
        benchmark::DoNotOptimize(sink.Bytes.data());
    }
    state.counters["bytes_out"] = double(sink.Bytes.size());
    state.SetItemsProcessed(std::int64_t(state.iterations()) * picture.Width() * picture.Height());
}

void BM_GifExportHalftone(benchmark::State& state) {
    ExportRow(state, [](TRowSource& rows, TByteSink& sink) { ExportGif(rows, sink); });
}
void BM_GifExportExact(benchmark::State& state) {
    ExportRow(state, [](TRowSource& rows, TByteSink& sink) { ExportGifExact(rows, sink); });
}
void BM_PngExportHalftone(benchmark::State& state) {
    ExportRow(state, [](TRowSource& rows, TByteSink& sink) { ExportPng(rows, sink); });
}
void BM_PngExportExact(benchmark::State& state) {
    ExportRow(state, [](TRowSource& rows, TByteSink& sink) { ExportPngExact(rows, sink); });
}

// A tile map in 200 colours, the most a hand-made tile set tends to have: 64 x 64 tiles in 100
// grounds of close shades, each with a 16 x 16 detail in one of 100 others.
TBitmap MakeShadesMap(int side) {
    TBitmap picture(side, side, TPixelFormat::pf24bit);
    for (int ty = 0; ty < side; ty += 64)
        for (int tx = 0; tx < side; tx += 64) {
            const int pick = (tx / 64 * 7 + ty / 64 * 13) % 100;
            picture.Brush.Color = RGB(std::uint8_t(40 + pick), std::uint8_t(90 + pick / 2), std::uint8_t(60));
            picture.FillRect(Bounds(tx, ty, 64, 64));
            picture.Brush.Color = RGB(std::uint8_t(200), std::uint8_t(pick * 2), std::uint8_t(255 - pick));
            picture.FillRect(Bounds(tx + 8 + pick % 16, ty + 8, 16, 16));
        }
    return picture;
}

// From a BMP file to a PNG file as tessimap-export --exact --png does it, a row at a time. The
// map stays in the benchmark folder for bench/export-peers to give the other tools.
void BM_PngExportExactFileToFile(benchmark::State& state) {
    const int side = int(state.range(0));
    const std::string folder = BenchFolder();
    const std::string input = folder + "/tilemap-" + std::to_string(side) + ".bmp";
    SaveBitmapToFile(SharedTileMap(side), input);
    SaveBitmapToFile(MakeShadesMap(side), folder + "/tilemap-shades-" + std::to_string(side) + ".bmp");
    SaveBitmapToFile(MakeSheetMap(side, side), folder + "/tilemap-sheet-" + std::to_string(side) + ".bmp");
    SaveBitmapToFile(MakeNoise(side, side), folder + "/tilemap-noise-" + std::to_string(side) + ".bmp");
    for (auto _ : state) {
        TBmpFileRows rows(input);
        ExportPngExactFile(rows, folder + "/tilemap-exact.png");
    }
}

} // namespace

BENCHMARK(BM_GifExportHalftone)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifExportExact)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngExportHalftone)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngExportExact)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngExportExactFileToFile)->Arg(4096)->Arg(8192)->Unit(benchmark::kMillisecond)->Iterations(1);
