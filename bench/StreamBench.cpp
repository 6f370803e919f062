// SPDX-License-Identifier: GPL-3.0-or-later
// Exports from file to file of tile maps written a row at a time (never held), and the editor's
// export of a picture in memory. Beside the time, each reports the memory it took: peak_MiB is
// how far the resident set's high-water mark rose above what the process held before the run;
// for the editor's export, peak_x_picture is (picture + that rise) / picture.

#include "BenchPictures.h"
#include "BmpFile.h"
#include "ByteSink.h"
#include "ExportArguments.h"
#include "ExportCommands.h"
#include "GifExport.h"
#include "PngExport.h"
#include "RowSource.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// The rows of MakeTileMap, made as they are asked for.
class TTileMapRows final : public TRowSource {
  public:
    explicit TTileMapRows(int side) : Side_(side), Row_(RowBytesFor(side, 24)) {}
    int Width() const override { return Side_; }
    int Height() const override { return Side_; }
    TPixelFormat PixelFormat() const override { return TPixelFormat::pf24bit; }
    const std::vector<TRGBQuad>& ColorTable() const override { return Table_; }
    void Rewind(TRowOrder order) override {
        BottomFirst_ = order == TRowOrder::BottomFirst;
        Next_ = 0;
    }
    const std::uint8_t* NextRow() override {
        static const TColor tileColors[] = {RGB(0, 128, 0),     RGB(128, 64, 0), RGB(0, 0, 200),
                                            RGB(200, 200, 200), RGB(30, 30, 30), RGB(255, 255, 0)};
        const int y = BottomFirst_ ? Side_ - 1 - Next_ : Next_;
        ++Next_;
        const int ty = y / 64 * 64;
        for (int x = 0; x < Side_; ++x) {
            const int tx = x / 64 * 64;
            const unsigned pick = unsigned(tx / 64 * 7 + ty / 64 * 13);
            const int detailX = tx + 8 + int(pick % 16);
            const bool detail = x >= detailX && x < detailX + 16 && y >= ty + 8 && y < ty + 24;
            const TColor c = tileColors[(pick + (detail ? 1 : 0)) % 6];
            Row_[3 * std::size_t(x)] = GetBValue(c);
            Row_[3 * std::size_t(x) + 1] = GetGValue(c);
            Row_[3 * std::size_t(x) + 2] = GetRValue(c);
        }
        return Row_.data();
    }

  private:
    int Side_;
    std::vector<std::uint8_t> Row_;
    std::vector<TRGBQuad> Table_;
    bool BottomFirst_ = false;
    int Next_ = 0;
};

// A 24-bit tile map of side x side pixels in the bench folder, written once.
std::string TileMapFile(int side) {
    const std::string path = BenchFolder() + "/tilemap" + std::to_string(side) + ".bmp";
    const std::uint64_t size = 54 + std::uint64_t(RowBytesFor(side, 24)) * std::uint64_t(side);
    std::error_code error;
    if (std::filesystem::file_size(path, error) != size) {
        TTileMapRows rows(side);
        WriteFileSafely(path, [&](TByteSink& sink) { WriteBitmapRows(rows, TBmpFileLayout{}, sink); });
    }
    return path;
}

// Measures how far the resident set's high-water mark rises while the run lasts.
class TPeakMemory {
  public:
    TPeakMemory() {
        std::ofstream("/proc/self/clear_refs") << "5"; // the high-water mark starts again from now
        Before_ = StatusKiB("VmRSS:");
    }
    double RiseMiB() const { return double(StatusKiB("VmHWM:") - Before_) / 1024; }

  private:
    std::uint64_t Before_;
};

void BM_StreamExport(benchmark::State& state, const char* mode) {
    const int side = int(state.range(0));
    const std::string input = TileMapFile(side);
    const TExportArguments args = ParseExportArguments({mode, input});
    const TPeakMemory peak;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunExport(args, out, err) != 0) state.SkipWithError(err.str().c_str());
    }
    state.counters["peak_MiB"] = peak.RiseMiB();
    state.SetBytesProcessed(std::int64_t(state.iterations()) * side * side * 3);
}

void BM_EditorExport(benchmark::State& state, bool gif) {
    constexpr int Side = 8192;
    static const TBitmap picture = MakeTileMap(Side, Side);
    const std::string output = BenchFolder() + (gif ? "/editor.gif" : "/editor.png");
    const TPeakMemory peak;
    for (auto _ : state) {
        if (gif)
            ExportGifFile(picture, output);
        else
            ExportPngFile(picture, output);
    }
    const double pictureMiB = double(picture.PixelBuffer().size()) / (1 << 20);
    state.counters["peak_MiB"] = peak.RiseMiB();
    state.counters["peak_x_picture"] = (pictureMiB + peak.RiseMiB()) / pictureMiB;
}

} // namespace

BENCHMARK_CAPTURE(BM_StreamExport, Png, "--png")
    ->Arg(8192)
    ->Arg(32768)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_StreamExport, Gif, "--gif")
    ->Arg(8192)
    ->Arg(32768)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_EditorExport, Png, false)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_EditorExport, Gif, true)->Iterations(1)->Unit(benchmark::kSecond);
