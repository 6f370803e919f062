// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-picture commands on a 16384² 24-bit tile map (768 MB), each beside its floor measured in
// the same run on the same bytes: a copy (memcpy into new memory), a fill (memset of new memory),
// a plain fwrite and fread of the file's bytes. Select All reports its peak memory as a multiple
// of the picture.

#include "BenchDocument.h"
#include "BitmapMimeData.h"
#include "BmpFile.h"
#include "OptionsChange.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int Side = 16384;

TBenchDocument& LargeDocument() {
    static TBenchDocument document(Side);
    return document;
}

std::size_t PictureBytes() {
    return LargeDocument().Document.Picture().PixelBuffer().size();
}

// The process's peak resident memory since the last reset, in bytes (Linux keeps it per process;
// writing 5 to clear_refs starts it again from what is resident now).
void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
double PeakMemory() {
    return double(StatusKiB("VmHWM:")) * 1024;
}
double ResidentMemory() {
    return double(StatusKiB("VmRSS:")) * 1024;
}

void Bytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

void BM_Large_FloorMemcpy(benchmark::State& state) {
    const TPixelBytes& pixels = LargeDocument().Document.Picture().PixelBuffer();
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[pixels.size()]);
        std::memcpy(copy.get(), pixels.data(), pixels.size());
        benchmark::DoNotOptimize(copy.get());
    }
    Bytes(state, pixels.size());
}

void BM_Large_FloorMemset(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> fill(new std::uint8_t[PictureBytes()]);
        std::memset(fill.get(), 0xFF, PictureBytes());
        benchmark::DoNotOptimize(fill.get());
    }
    Bytes(state, PictureBytes());
}

// Select All with the lift it makes; Undo puts the picture back between rounds.
void BM_Large_SelectAllLift(benchmark::State& state) {
    TPictureDocument& document = LargeDocument().Document;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = ResidentMemory();
        ResetPeakMemory();
        state.ResumeTiming();
        document.SelectAll();
        state.PauseTiming();
        peak = std::max(peak, PeakMemory() - before + double(PictureBytes()));
        document.DropFloating();
        document.Undo();
        state.ResumeTiming();
    }
    Bytes(state, PictureBytes());
    state.counters["peak_x_picture"] = peak / double(PictureBytes());
}

// Copy of a floating image the size of the picture, as the window hands it to the clipboard.
void BM_Large_CopyToClipboard(benchmark::State& state) {
    TPictureDocument& document = LargeDocument().Document;
    document.SelectAll();
    for (auto _ : state) {
        auto data = std::make_unique<TBitmapMimeData>(document.CopyFloating());
        benchmark::DoNotOptimize(data.get());
        state.PauseTiming();
        data.reset();
        state.ResumeTiming();
    }
    document.DropFloating();
    document.Undo();
    Bytes(state, PictureBytes());
}

// Options from 1000² to 16384²; the picture goes back to 1000² between rounds.
void BM_Large_OptionsResize(benchmark::State& state) {
    TBenchDocument small(1000);
    TOptionsChange change = small.Document.CurrentOptions();
    for (auto _ : state) {
        change.Options.WidthPic = change.Options.HeightPic = Side;
        small.Document.ApplyOptions(change);
        state.PauseTiming();
        change.Options.WidthPic = change.Options.HeightPic = 1000;
        small.Document.ApplyOptions(change);
        small.Document.SetHistoryBudget(0);
        state.ResumeTiming();
    }
    Bytes(state, PictureBytes());
}

std::string LargeFile() {
    return BenchFolder() + "/large-16384.bmp";
}

void BM_Large_SaveBmp(benchmark::State& state) {
    TBenchDocument& large = LargeDocument();
    SaveBitmapToFile(large.Document.Picture(), LargeFile());
    large.Document.OpenPictureFile(LargeFile());
    for (auto _ : state)
        large.Document.Save();
    Bytes(state, PictureBytes());
}

// The same bytes in one fwrite, synced as the save is.
void BM_Large_FloorFwrite(benchmark::State& state) {
    const TPixelBytes& pixels = LargeDocument().Document.Picture().PixelBuffer();
    const std::string path = BenchFolder() + "/large-plain.raw";
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(pixels.data(), 1, pixels.size(), f);
        std::fflush(f);
        ::fsync(fileno(f));
        std::fclose(f);
    }
    Bytes(state, pixels.size());
}

void BM_Large_OpenBmp(benchmark::State& state) {
    TPictureDocument& document = LargeDocument().Document;
    SaveBitmapToFile(document.Picture(), LargeFile());
    for (auto _ : state)
        document.OpenPictureFile(LargeFile());
    Bytes(state, PictureBytes());
}

// The file's pixel bytes read into new memory of their size.
void BM_Large_FloorFread(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[PictureBytes()]);
        std::FILE* f = std::fopen(LargeFile().c_str(), "rb");
        std::fseek(f, 54, SEEK_SET);
        benchmark::DoNotOptimize(std::fread(buffer.get(), 1, PictureBytes(), f));
        std::fclose(f);
    }
    Bytes(state, PictureBytes());
}

} // namespace

// Few rounds: each moves gigabytes on a machine others share.
#define LARGE_ROW(name)                                                                                      \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)
LARGE_ROW(BM_Large_FloorMemcpy);
LARGE_ROW(BM_Large_SelectAllLift);
LARGE_ROW(BM_Large_CopyToClipboard);
LARGE_ROW(BM_Large_FloorMemset);
LARGE_ROW(BM_Large_OptionsResize);
LARGE_ROW(BM_Large_FloorFwrite);
LARGE_ROW(BM_Large_SaveBmp);
LARGE_ROW(BM_Large_FloorFread);
LARGE_ROW(BM_Large_OpenBmp);
