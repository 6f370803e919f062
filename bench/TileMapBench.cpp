// SPDX-License-Identifier: GPL-3.0-or-later
// tessimap-export --tilemap from a BMP file, as bench/tilemap-peers runs it beside a NumPy
// reference: a 16384 x 16384 map of 32 x 32 cells drawn from a few hundred tiles, and noise,
// where every cell is a tile of its own. peak_MiB is how far the resident set's high-water mark
// rose during the run; tiles_MiB is the distinct tiles' own pixels, which the export must hold.

#include "BenchPictures.h"
#include "BmpFile.h"
#include "ByteSink.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "RowSource.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int Cell = 32;
constexpr int TileKinds = 300;

// The rows of a map of Cell x Cell cells, each one of TileKinds patterned tiles, or of noise.
class TCellMapRows final : public TRowSource {
  public:
    TCellMapRows(int side, bool noise) : Side_(side), Noise_(noise), Row_(RowBytesFor(side, 24)) {}
    int Width() const override { return Side_; }
    int Height() const override { return Side_; }
    TPixelFormat PixelFormat() const override { return TPixelFormat::pf24bit; }
    const std::vector<TRGBQuad>& ColorTable() const override { return Table_; }
    void Rewind(TRowOrder order) override {
        BottomFirst_ = order == TRowOrder::BottomFirst;
        Next_ = 0;
    }
    const std::uint8_t* NextRow() override {
        const int y = BottomFirst_ ? Side_ - 1 - Next_ : Next_;
        ++Next_;
        std::uint64_t state = 0x9E3779B97F4A7C15ull * std::uint64_t(y + 1);
        for (int x = 0; x < Side_; ++x) {
            std::uint8_t* p = &Row_[3 * std::size_t(x)];
            if (Noise_) {
                state ^= state << 13;
                state ^= state >> 7;
                state ^= state << 17;
                p[0] = std::uint8_t(state);
                p[1] = std::uint8_t(state >> 8);
                p[2] = std::uint8_t(state >> 16);
                continue;
            }
            const int cx = x / Cell, cy = y / Cell, u = x % Cell, v = y % Cell;
            const int tile = (cx * 7 + cy * 13 + (cx * cy) % 5) % TileKinds;
            p[0] = std::uint8_t(tile * 37 + u * 3);
            p[1] = std::uint8_t(tile * 11 + v * 5);
            p[2] = std::uint8_t(tile / 2 + u * v);
        }
        return Row_.data();
    }

  private:
    int Side_;
    bool Noise_;
    std::vector<std::uint8_t> Row_;
    std::vector<TRGBQuad> Table_;
    bool BottomFirst_ = false;
    int Next_ = 0;
};

// The map as a BMP file in the bench folder, written once; bench/tilemap-peers reads it too.
std::string CellMapFile(int side, bool noise) {
    const std::string path =
        BenchFolder() + "/tilemap-" + (noise ? "noise-" : "cells-") + std::to_string(side) + ".bmp";
    const std::uint64_t size = 54 + std::uint64_t(RowBytesFor(side, 24)) * std::uint64_t(side);
    std::error_code error;
    if (std::filesystem::file_size(path, error) != size) {
        TCellMapRows rows(side, noise);
        WriteFileSafely(path, [&](TByteSink& sink) { WriteBitmapRows(rows, TBmpFileLayout{}, sink); });
    }
    return path;
}

void BM_TileMapExportFile(benchmark::State& state, bool noise) {
    const int side = int(state.range(0));
    const std::string input = CellMapFile(side, noise);
    const TExportArguments args = ParseExportArguments({"--tilemap", "32x32", input});
    std::ofstream("/proc/self/clear_refs") << "5"; // the high-water mark starts again from now
    const std::uint64_t before = StatusKiB("VmRSS:");
    std::uint64_t tiles = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunExport(args, out, err) != 0) state.SkipWithError(err.str().c_str());
        std::istringstream report(out.str().substr(out.str().find("cells, ") + 7));
        report >> tiles;
    }
    state.counters["peak_MiB"] = double(StatusKiB("VmHWM:") - before) / 1024;
    state.counters["tiles"] = double(tiles);
    state.counters["tiles_MiB"] = double(tiles) * Cell * Cell * 3 / (1 << 20);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * side * side * 3);
}

} // namespace

BENCHMARK_CAPTURE(BM_TileMapExportFile, Cells, false)->Arg(16384)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_TileMapExportFile, Noise, true)->Arg(16384)->Iterations(1)->Unit(benchmark::kSecond);
