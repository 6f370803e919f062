// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion to 8 bits with the picture's own colours: the census and the mapping on tile maps
// beside today's halftone conversion, and the quantiser's error on pictures of more than 256
// colours beside the halftone conversion's. The pictures of the quantiser rows are written to
// the benchmark folder, so that bench/quantize-peers can measure other quantisers on them.

#include "BenchPictures.h"
#include "BmpFile.h"
#include "OwnColors.h"
#include "PaletteMapper.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

void BM_OwnColorsCensus(benchmark::State& state) {
    const TBitmap& picture = SharedTileMap(int(state.range(0)));
    std::size_t colors = 0;
    for (auto _ : state)
        colors = CensusOf(picture).ColorCount();
    state.counters["colors"] = double(colors);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * picture.Width() * picture.Height());
}

// Every row through the mapper into one reused row of indices, the way an export feeds rows.
void BM_OwnColorsMapping(benchmark::State& state) {
    const TBitmap& picture = SharedTileMap(int(state.range(0)));
    const std::vector<TRGBQuad> table = CensusOf(picture).Table();
    std::vector<std::uint8_t> indices(std::size_t(picture.Width()));
    for (auto _ : state) {
        TPaletteMapper mapper(table);
        for (int y = 0; y < picture.Height(); ++y)
            mapper.MapRow(picture.PixelFormat(), picture.ColorTable(), picture.ScanLine(y), picture.Width(),
                          indices.data());
        benchmark::DoNotOptimize(indices.data());
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * picture.Width() * picture.Height());
}

// The whole conversion with own colours beside today's halftone conversion of the same picture.
void BM_OwnColorsConversion(benchmark::State& state) {
    const TBitmap& picture = SharedTileMap(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertedToOwnColors(picture).PixelBuffer().data());
}
void BM_HalftoneConversion(benchmark::State& state) {
    const TBitmap& picture = SharedTileMap(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.Converted(TPixelFormat::pf8bit).PixelBuffer().data());
}

// Tiles as drawn by hand: a flat ground, a shaded object (a gradient in 48 steps) and a
// one-pixel outline, in a few palettes: some thousand colours, most pixels in a few dozen.
TBitmap MakeShadedMap(int side) {
    static const TColor grounds[] = {RGB(0x20, 0x40, 0x60), RGB(0xC8, 0x78, 0x28), RGB(0x3C, 0x8C, 0x3C),
                                     RGB(0x50, 0xA0, 0x46), RGB(0x96, 0x3C, 0x28), RGB(0xA0, 0x46, 0x32),
                                     RGB(0xD8, 0xD0, 0xB0), RGB(0x30, 0x30, 0x38)};
    TBitmap picture(side, side, TPixelFormat::pf24bit);
    for (int ty = 0; ty < side; ty += 64)
        for (int tx = 0; tx < side; tx += 64) {
            const unsigned pick = unsigned(tx / 64 * 7 + ty / 64 * 13);
            picture.Brush.Color = grounds[pick % 8];
            picture.FillRect(Bounds(tx, ty, 64, 64));
            const TColor base = grounds[(pick + 3) % 8];
            for (int y = 16; y < 48 && ty + y < side; ++y) {
                std::uint8_t* row = picture.ScanLine(ty + y);
                for (int x = 16; x < 48 && tx + x < side; ++x) {
                    const bool edge = x == 16 || x == 47 || y == 16 || y == 47;
                    const int shade = edge ? -80 : (x + y - 32) * 3 / 2 - 48; // -48 .. +45
                    std::uint8_t* p = row + 3 * std::size_t(tx + x);
                    p[0] = std::uint8_t(std::clamp(int(GetBValue(base)) + shade, 0, 255));
                    p[1] = std::uint8_t(std::clamp(int(GetGValue(base)) + shade, 0, 255));
                    p[2] = std::uint8_t(std::clamp(int(GetRValue(base)) + shade, 0, 255));
                }
            }
        }
    return picture;
}

// Smooth gradients in every direction, the colours of a photograph or a rendered backdrop.
TBitmap MakeBackdrop(int side) {
    TBitmap picture(side, side, TPixelFormat::pf24bit);
    for (int y = 0; y < side; ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < side; ++x) {
            const double u = double(x) / side, v = double(y) / side;
            row[3 * x] = std::uint8_t(127.5 + 127.5 * std::sin(6.0 * u + 2.0 * v));
            row[3 * x + 1] = std::uint8_t(255.0 * v);
            row[3 * x + 2] = std::uint8_t(127.5 + 127.5 * std::cos(4.0 * u * v + 3.0 * u));
        }
    }
    return picture;
}

struct TError {
    double Mean = 0; // mean distance in RGB between each pixel and its table colour
    double Rms = 0;  // root of the mean squared distance
};

TError ErrorOf(const TBitmap& original, const TBitmap& converted) {
    const std::vector<TRGBQuad>& table = converted.ColorTable();
    double sum = 0, squares = 0;
    for (int y = 0; y < original.Height(); ++y) {
        const std::uint8_t* from = original.ScanLine(y);
        const std::uint8_t* to = converted.ScanLine(y);
        for (int x = 0; x < original.Width(); ++x) {
            const TRGBQuad& q = table[to[x]];
            const double db = double(from[3 * x]) - q.Blue, dg = double(from[3 * x + 1]) - q.Green,
                         dr = double(from[3 * x + 2]) - q.Red;
            const double d2 = dr * dr + dg * dg + db * db;
            sum += std::sqrt(d2);
            squares += d2;
        }
    }
    const double n = double(original.Width()) * original.Height();
    return {sum / n, std::sqrt(squares / n)};
}

void Quantize(benchmark::State& state, const char* name, const TBitmap& picture) {
    SaveBitmapToFile(picture, BenchFolder() + "/quantize-" + name + ".bmp");
    TOwnColors own;
    TBitmap converted;
    for (auto _ : state) {
        own = OwnColorsOf(picture);
        converted = ConvertedToTable(picture, own.Table);
    }
    const TError ours = ErrorOf(picture, converted);
    const TError halftone = ErrorOf(picture, picture.Converted(TPixelFormat::pf8bit));
    state.counters["colors"] = double(own.PictureColors);
    state.counters["mean_error"] = ours.Mean;
    state.counters["rms_error"] = ours.Rms;
    state.counters["halftone_mean_error"] = halftone.Mean;
    state.counters["halftone_rms_error"] = halftone.Rms;
}

void BM_QuantizeShadedMap(benchmark::State& state) {
    static const TBitmap picture = MakeShadedMap(4096);
    Quantize(state, "shaded", picture);
}
void BM_QuantizeBackdrop(benchmark::State& state) {
    static const TBitmap picture = MakeBackdrop(2048);
    Quantize(state, "backdrop", picture);
}
void BM_QuantizeNoise(benchmark::State& state) {
    static const TBitmap picture = MakeNoise(1024, 1024);
    Quantize(state, "noise", picture);
}

} // namespace

BENCHMARK(BM_OwnColorsCensus)->Arg(4096)->Arg(8192)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OwnColorsMapping)->Arg(4096)->Arg(8192)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OwnColorsConversion)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalftoneConversion)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantizeShadedMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantizeBackdrop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantizeNoise)->Unit(benchmark::kMillisecond);
