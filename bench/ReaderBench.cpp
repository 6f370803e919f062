// SPDX-License-Identifier: GPL-3.0-or-later
// Opening PNG files (an 8192² RGB tile map and a 4096² palette one, written by libpng) and saving
// a 4096² 24-bit picture as PNG beside libpng writing the same pixels at the same level and filter.
// The files stay in the temporary folder for bench/read-peers, which times Pillow on them.

#include "BenchPictures.h"
#include "ByteSink.h"
#include "PictureReader.h"
#include "PngExport.h"
#include "RowSource.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int Level = 7; // what the editor's PNG writer uses

std::string BenchFile(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

struct TMemoryOut {
    std::vector<std::uint8_t>* Bytes;
};

void Append(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<TMemoryOut*>(png_get_io_ptr(png));
    out->Bytes->insert(out->Bytes->end(), data, data + size);
}
void FlushNothing(png_structp) {}

// libpng writes the rows: 24-bit rows as RGB (from BGR), 8-bit rows as a palette PNG.
bool WriteWithLibpng(const TBitmap& picture, int filters, int level, std::vector<std::uint8_t>& bytes) {
    TMemoryOut out{&bytes};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, Append, FlushNothing);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    png_set_compression_level(png, level);
    png_set_compression_buffer_size(png, 65535);
    const bool palette = picture.PixelFormat() == TPixelFormat::pf8bit;
    png_set_IHDR(png, info, png_uint_32(picture.Width()), png_uint_32(picture.Height()), 8,
                 palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    std::vector<png_color> table(256);
    for (std::size_t i = 0; i < picture.ColorTable().size() && i < 256; ++i)
        table[i] = {picture.ColorTable()[i].Red, picture.ColorTable()[i].Green, picture.ColorTable()[i].Blue};
    if (palette) png_set_PLTE(png, info, table.data(), 256);
    png_write_info(png, info);
    if (!palette) png_set_bgr(png);
    for (int y = 0; y < picture.Height(); ++y)
        png_write_row(png, picture.ScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// The two files to open, written once per run with libpng's default filters and level.
const std::string& OpenFile(int which) {
    static const std::string rgb = [] {
        const std::string path = BenchFile("tessimap-bench-rgb8192.png");
        std::vector<std::uint8_t> bytes;
        WriteWithLibpng(MakeTileMap(8192, 8192), PNG_ALL_FILTERS, 6, bytes);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }();
    static const std::string palette = [] {
        const std::string path = BenchFile("tessimap-bench-palette4096.png");
        TBitmap picture = MakeTileMap(4096, 4096);
        picture.SetPixelFormat(TPixelFormat::pf8bit);
        std::vector<std::uint8_t> bytes;
        WriteWithLibpng(picture, PNG_ALL_FILTERS, 6, bytes);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }();
    return which == 0 ? rgb : palette;
}

void BM_OpenPng(benchmark::State& state) {
    const std::string& path = OpenFile(int(state.range(0)));
    state.SetLabel(state.range(0) == 0 ? "rgb 8192" : "palette 4096");
    for (auto _ : state) {
        TReadReport report;
        const TBitmap picture = ReadPictureFile(path, clBlack, report);
        benchmark::DoNotOptimize(picture.PixelBuffer().data());
    }
}

const TBitmap& SavePicture() {
    static const TBitmap picture = MakeTileMap(4096, 4096);
    return picture;
}

// The editor's Save of a 24-bit picture as PNG, into memory.
void BM_SavePng(benchmark::State& state) {
    TMemorySink sink;
    for (auto _ : state) {
        sink.Bytes.clear();
        TBitmapRows rows(SavePicture());
        WritePngRows(rows, sink);
        benchmark::DoNotOptimize(sink.Bytes.data());
    }
    state.counters["out_MB"] = double(sink.Bytes.size()) / 1e6;
}

// libpng writing the same pixels with the same filter (Sub) and level.
void BM_SavePngLibpng(benchmark::State& state) {
    std::vector<std::uint8_t> bytes;
    for (auto _ : state) {
        bytes.clear();
        if (!WriteWithLibpng(SavePicture(), PNG_FILTER_SUB, Level, bytes))
            state.SkipWithError("libpng failed");
    }
    state.counters["out_MB"] = double(bytes.size()) / 1e6;
}

BENCHMARK(BM_OpenPng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SavePngLibpng)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
