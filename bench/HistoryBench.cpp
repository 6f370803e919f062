// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history: what a stamp costs with its entry, what 10,000 stamps keep, how fast steps
// are taken back, and why whole-picture entries are kept as they are rather than compressed.

#include "AreaEntry.h"
#include "BenchDocument.h"
#include "FillEntry.h"
#include "History.h"
#include "PictureEntry.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <zlib.h>

#include <ctime>
#include <map>
#include <memory>

namespace {

constexpr int TileSide = 32;
constexpr std::uint64_t MiB = 1024 * 1024;

// One picture per size, built once: the 16384² tile map alone is 768 MB.
TBitmap& PictureOfSize(int side) {
    static std::map<int, TBitmap> pictures;
    auto [slot, added] = pictures.try_emplace(side);
    if (added) slot->second = MakeTileMap(side, side);
    return slot->second;
}

const TBitmap& Tile() {
    static const TBitmap tile = MakeNoise(TileSide, TileSide, 7);
    return tile;
}

// Stamps walk the grid around the middle so that entries are not all of one place.
TRect NextStampArea(int side, int& step) {
    const int x = side / 2 + (step % 16) * TileSide;
    const int y = side / 2 + (step / 16 % 16) * TileSide;
    ++step;
    return Bounds(x, y, TileSide, TileSide);
}

// A stamp as the document takes it: room in the history, the entry, the drawing, the record.
// The history is full after the first million stamps, so older ones are dropped as new ones come.
void BM_StampWithEntry(benchmark::State& state) {
    const int side = int(state.range(0));
    TBitmap& picture = PictureOfSize(side);
    THistory history(64 * MiB);
    int step = 0;
    for (auto _ : state) {
        const TRect area = NextStampArea(side, step);
        history.Reserve();
        auto entry = std::make_unique<TAreaEntry>(THistoryStep::Stamp, picture, area);
        picture.Draw(area.Left, area.Top, Tile());
        history.Record(std::move(entry));
    }
}
BENCHMARK(BM_StampWithEntry)->Arg(1024)->Arg(16384)->Unit(benchmark::kMicrosecond);

// The peer: the drawing alone.
void BM_StampWithoutEntry(benchmark::State& state) {
    const int side = int(state.range(0));
    TBitmap& picture = PictureOfSize(side);
    int step = 0;
    for (auto _ : state) {
        const TRect area = NextStampArea(side, step);
        picture.Draw(area.Left, area.Top, Tile());
    }
}
BENCHMARK(BM_StampWithoutEntry)->Arg(1024)->Arg(16384)->Unit(benchmark::kMicrosecond);

// The whole command: paste a 32 x 32 tile and stamp it, through the document.
void BM_DocumentPasteAndStamp(benchmark::State& state) {
    const int side = int(state.range(0));
    TBenchDocument bench(side);
    for (auto _ : state) {
        bench.Document.Paste(Tile(), side / 2, side / 2);
        bench.Document.StampFloating();
    }
}
BENCHMARK(BM_DocumentPasteAndStamp)->Arg(1024)->Arg(16384)->Unit(benchmark::kMicrosecond);

// 10,000 stamps of a 32 x 32 24-bit tile: the history's own count and what the heap gave it.
void BM_HistoryOf10000Stamps(benchmark::State& state) {
    TBitmap& picture = PictureOfSize(1024);
    for (auto _ : state) {
        const std::size_t heapBefore = mallinfo2().uordblks;
        THistory history;
        int step = 0;
        for (int i = 0; i < 10000; ++i) {
            const TRect area = NextStampArea(1024 - 2 * 16 * TileSide, step);
            history.Reserve();
            auto entry = std::make_unique<TAreaEntry>(THistoryStep::Stamp, picture, area);
            picture.Draw(area.Left, area.Top, Tile());
            history.Record(std::move(entry));
        }
        state.counters["history_MiB"] = double(history.Bytes()) / MiB;
        state.counters["heap_MiB"] = double(mallinfo2().uordblks - heapBefore) / MiB;
    }
}
BENCHMARK(BM_HistoryOf10000Stamps)->Iterations(3)->Unit(benchmark::kMillisecond);

// Undo and Redo of one stamp: the tile's rectangle exchanged twice.
void BM_UndoRedoStamp(benchmark::State& state) {
    const int side = int(state.range(0));
    TBitmap& picture = PictureOfSize(side);
    THistory history;
    int step = 0;
    const TRect area = NextStampArea(side, step);
    history.Record(std::make_unique<TAreaEntry>(THistoryStep::Stamp, picture, area));
    picture.Draw(area.Left, area.Top, Tile());
    for (auto _ : state) {
        history.Undo(picture);
        history.Redo(picture);
    }
}
BENCHMARK(BM_UndoRedoStamp)->Arg(1024)->Arg(16384)->Unit(benchmark::kMicrosecond);

constexpr int WholeSide = 8192;

// Undo and Redo of a whole-picture step (Clear Picture) on 8192².
void BM_UndoRedoWholePicture(benchmark::State& state) {
    TBitmap picture = MakeTileMap(WholeSide, WholeSide);
    THistory history;
    history.Record(std::make_unique<TPictureEntry>(picture));
    picture.FillRect(Bounds(0, 0, WholeSide, WholeSide));
    for (auto _ : state) {
        history.Undo(picture);
        history.Redo(picture);
    }
    benchmark::DoNotOptimize(picture.PixelBuffer().data());
}
BENCHMARK(BM_UndoRedoWholePicture)->Unit(benchmark::kMicrosecond);

// The peer, and what recording Clear Picture costs: one copy of the 8192² picture.
void BM_PictureCopy(benchmark::State& state) {
    const TBitmap picture = MakeTileMap(WholeSide, WholeSide);
    for (auto _ : state) {
        TBitmap copy = picture;
        benchmark::DoNotOptimize(copy.PixelBuffer().data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(picture.PixelBuffer().size()));
}
BENCHMARK(BM_PictureCopy)->Unit(benchmark::kMillisecond);

// The road not taken: a whole-picture entry deflated at zlib's fastest level (0: tile map,
// 1: noise), and inflated again as Undo would have to; times in processor time, like the
// other rows' CPU column.
void BM_CompressedWholePicture(benchmark::State& state) {
    const TBitmap picture =
        state.range(0) == 0 ? MakeTileMap(WholeSide, WholeSide) : MakeNoise(WholeSide, WholeSide);
    const TPixelBytes& raw = picture.PixelBuffer();
    std::vector<std::uint8_t> packed(compressBound(uLong(raw.size())));
    std::vector<std::uint8_t> unpacked(raw.size());
    double deflateSeconds = 0, inflateSeconds = 0;
    for (auto _ : state) {
        uLongf packedSize = uLongf(packed.size());
        const std::clock_t t0 = std::clock();
        compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), Z_BEST_SPEED);
        const std::clock_t t1 = std::clock();
        uLongf unpackedSize = uLongf(unpacked.size());
        uncompress(unpacked.data(), &unpackedSize, packed.data(), packedSize);
        const std::clock_t t2 = std::clock();
        deflateSeconds += double(t1 - t0) / CLOCKS_PER_SEC;
        inflateSeconds += double(t2 - t1) / CLOCKS_PER_SEC;
        state.counters["ratio"] = double(raw.size()) / double(packedSize);
    }
    state.counters["deflate_ms"] = 1000 * deflateSeconds / double(state.iterations());
    state.counters["inflate_ms"] = 1000 * inflateSeconds / double(state.iterations());
}
BENCHMARK(BM_CompressedWholePicture)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond);

// Alt + click on a one-colour 4096² picture, with the runs kept for Undo (0) and without (1).
void BM_FillWithEntry(benchmark::State& state) {
    TBitmap picture(4096, 4096);
    picture.Brush.Color = clWhite;
    picture.FillRect(Bounds(0, 0, 4096, 4096));
    bool white = true;
    for (auto _ : state) {
        const TColor surface = white ? clWhite : clBlack;
        picture.Brush.Color = white ? clBlack : clWhite;
        if (state.range(0) == 0)
            benchmark::DoNotOptimize(TFillEntry::Fill(picture, 2048, 2048, surface));
        else
            picture.FloodFill(2048, 2048, surface);
        white = !white;
    }
}
BENCHMARK(BM_FillWithEntry)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
