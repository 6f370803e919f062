// SPDX-License-Identifier: GPL-3.0-or-later
// PNG export of a large 8-bit picture beside its floor (the Sub filter and one level-7 deflate of
// the same rows, nothing else) and beside libpng writing the same file to memory.

#include "BenchPictures.h"
#include "ByteSink.h"
#include "PngExport.h"

#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <vector>

namespace {

constexpr int Big = 8192;
constexpr int Level = 7;

TBitmap EightBit(TBitmap picture) {
    picture.SetPixelFormat(TPixelFormat::pf8bit);
    return picture;
}

const TBitmap& Picture(int which) {
    static const TBitmap tiles = EightBit(MakeTileMap(Big, Big));
    static const TBitmap noise = EightBit(MakeNoise(Big, Big));
    return which == 0 ? tiles : noise;
}

const char* PictureName(int which) {
    return which == 0 ? "tilemap" : "noise";
}

// Output space for the whole compressed picture, kept between iterations, so that no variant
// pays for growing a buffer.
std::vector<std::uint8_t>& OutputSpace() {
    static std::vector<std::uint8_t> space(deflateBound(nullptr, uLong(Big + 1) * Big) + (1u << 20));
    return space;
}

void Report(benchmark::State& state, const TBitmap& picture, std::size_t written) {
    state.SetLabel(PictureName(int(state.range(0))));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * picture.Width() * picture.Height());
    state.counters["out_MB"] = double(written) / 1e6;
}

void BM_PngExport(benchmark::State& state) {
    const TBitmap& picture = Picture(int(state.range(0)));
    TMemorySink sink;
    sink.Bytes.reserve(OutputSpace().size());
    for (auto _ : state) {
        sink.Bytes.clear();
        ExportPng(picture, sink);
        benchmark::DoNotOptimize(sink.Bytes.data());
    }
    Report(state, picture, sink.Bytes.size());
}

// As fast as the compiler makes it: this file is built with the same vectoriser settings as ours.
void SubFilter(const std::uint8_t* __restrict indices, std::uint8_t* __restrict out, std::size_t width) {
    out[0] = indices[0];
    for (std::size_t x = 1; x < width; ++x)
        out[x] = std::uint8_t(indices[x] - indices[x - 1]);
}

// The least any PNG writer of these rows must do: Sub-filter each row behind its type byte and
// deflate it into one stream.
void BM_PngFloorSubDeflate(benchmark::State& state) {
    const TBitmap& picture = Picture(int(state.range(0)));
    const std::size_t width = std::size_t(picture.Width());
    std::vector<std::uint8_t>& out = OutputSpace();
    std::vector<std::uint8_t> row(1 + width);
    std::size_t written = 0;
    for (auto _ : state) {
        z_stream z{};
        deflateInit2(&z, Level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        for (int y = 0; y < picture.Height(); ++y) {
            SubFilter(picture.ScanLine(y), row.data() + 1, width);
            row[0] = 1;
            z.next_in = row.data();
            z.avail_in = uInt(row.size());
            deflate(&z, Z_NO_FLUSH);
        }
        deflate(&z, Z_FINISH);
        written = z.total_out;
        deflateEnd(&z);
        benchmark::DoNotOptimize(out.data());
    }
    Report(state, picture, written);
}

struct TMemoryOut {
    std::uint8_t* Data;
    std::size_t Size;
};

void AppendToMemory(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<TMemoryOut*>(png_get_io_ptr(png));
    std::copy(data, data + size, out->Data + out->Size);
    out->Size += size;
}

void FlushNothing(png_structp) {}

// libpng with our settings: palette of 256 entries, Sub on every row, level 7, default strategy,
// IDAT chunks of 65535 bytes. Returns the bytes written, 0 on failure.
std::size_t WriteWithLibpng(const TBitmap& picture, const std::vector<png_color>& palette,
                            std::uint8_t* memory) {
    TMemoryOut out{memory, 0};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 0;
    }
    png_set_write_fn(png, &out, AppendToMemory, FlushNothing);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, Level);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_compression_mem_level(png, 8);
    png_set_compression_window_bits(png, 15);
    png_set_compression_buffer_size(png, 65535);
    png_set_IHDR(png, info, png_uint_32(picture.Width()), png_uint_32(picture.Height()), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_set_PLTE(png, info, palette.data(), int(palette.size()));
    png_write_info(png, info);
    for (int y = 0; y < picture.Height(); ++y)
        png_write_row(png, picture.ScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out.Size;
}

void BM_LibpngWrite(benchmark::State& state) {
    const TBitmap& picture = Picture(int(state.range(0)));
    std::vector<png_color> palette(256);
    for (std::size_t i = 0; i < picture.ColorTable().size() && i < 256; ++i)
        palette[i] = {picture.ColorTable()[i].Red, picture.ColorTable()[i].Green,
                      picture.ColorTable()[i].Blue};
    std::size_t written = 0;
    for (auto _ : state) {
        written = WriteWithLibpng(picture, palette, OutputSpace().data());
        if (written == 0) state.SkipWithError("libpng failed");
    }
    Report(state, picture, written);
}

// Side by side for each picture: ours, the floor, libpng.
BENCHMARK(BM_PngExport)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PngFloorSubDeflate)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LibpngWrite)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PngExport)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PngFloorSubDeflate)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LibpngWrite)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
