// SPDX-License-Identifier: GPL-3.0-or-later
// The picture layer: BMP files beside plain file I/O, colour conversion, tile drawing, fill.

#include "BenchPictures.h"
#include "BmpFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int Big = 8192;

const TBitmap& BigTileMap() {
    static const TBitmap picture = MakeTileMap(Big, Big);
    return picture;
}

void BM_BmpSave(benchmark::State& state) {
    const TBitmap& picture = BigTileMap();
    const std::string path = BenchFolder() + "/save.bmp";
    for (auto _ : state)
        SaveBitmapToFile(picture, path);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(picture.PixelBuffer().size()));
}

// The peer: the same bytes in one fwrite, synced as our save is, so both are on disk at the end.
void BM_PlainFwriteSynced(benchmark::State& state) {
    const TBitmap& picture = BigTileMap();
    const std::string path = BenchFolder() + "/plain.raw";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(picture.PixelBuffer().data(), 1, picture.PixelBuffer().size(), f);
        std::fflush(f);
        ::fsync(fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(picture.PixelBuffer().size()));
}

// The same without the sync: what a write costs before the disk is involved.
void BM_PlainFwrite(benchmark::State& state) {
    const TBitmap& picture = BigTileMap();
    const std::string path = BenchFolder() + "/plain.raw";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(picture.PixelBuffer().data(), 1, picture.PixelBuffer().size(), f);
        std::fclose(f);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(picture.PixelBuffer().size()));
}

void BM_BmpLoad(benchmark::State& state) {
    const std::string path = BenchFolder() + "/load.bmp";
    SaveBitmapToFile(BigTileMap(), path);
    for (auto _ : state) {
        TBitmap loaded = LoadBitmapFromFile(path);
        benchmark::DoNotOptimize(loaded.PixelBuffer().data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) *
                            std::int64_t(BigTileMap().PixelBuffer().size()));
}

// The peer: the same bytes read into a buffer of the same size.
void BM_PlainFread(benchmark::State& state) {
    const std::string path = BenchFolder() + "/load.bmp";
    SaveBitmapToFile(BigTileMap(), path);
    for (auto _ : state) {
        std::vector<std::uint8_t> buffer(BigTileMap().PixelBuffer().size());
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::fseek(f, 54, SEEK_SET);
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), f));
        std::fclose(f);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) *
                            std::int64_t(BigTileMap().PixelBuffer().size()));
}

void ConvertTo8(benchmark::State& state, const TBitmap& source) {
    for (auto _ : state) {
        state.PauseTiming();
        TBitmap copy = source;
        state.ResumeTiming();
        copy.SetPixelFormat(TPixelFormat::pf8bit);
        benchmark::DoNotOptimize(copy.PixelBuffer().data());
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * source.Width() * source.Height());
}

void BM_Convert24To8_TileMap(benchmark::State& state) {
    ConvertTo8(state, BigTileMap());
}

void BM_Convert24To8_Noise(benchmark::State& state) {
    static const TBitmap noise = MakeNoise(2048, 2048);
    ConvertTo8(state, noise);
}

// Drawing a tile must cost the same whatever the picture's size. Both sizes stamp the same
// sixteen places, so the comparison is of the work, not of how much memory the cache holds.
void BM_DrawTile64(benchmark::State& state) {
    const int side = int(state.range(0));
    TBitmap picture = MakeTileMap(side, side);
    const TBitmap tile = MakeTileMap(64, 64);
    int i = 0;
    for (auto _ : state) {
        picture.Draw(64 * (i % 4) + 200, 64 * (i / 4 % 4) + 200, tile);
        ++i;
    }
}

void BM_FloodFill4096(benchmark::State& state) {
    TBitmap picture(4096, 4096, TPixelFormat::pf24bit);
    bool white = false;
    for (auto _ : state) {
        picture.Brush.Color = white ? clBlack : clWhite;
        picture.FloodFill(2048, 2048, white ? clWhite : clBlack);
        white = !white;
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 4096 * 4096);
}

} // namespace

BENCHMARK(BM_BmpSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlainFwriteSynced)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlainFwrite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BmpLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlainFread)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Convert24To8_TileMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert24To8_Noise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawTile64)->Arg(1024)->Arg(16000)->Arg(16384)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FloodFill4096)->Unit(benchmark::kMillisecond);
