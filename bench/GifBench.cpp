// SPDX-License-Identifier: GPL-3.0-or-later
// GIF export: our LZW encoder beside giflib's on the same index buffer, and the whole export.

#include "BenchPictures.h"
#include "ByteSink.h"
#include "GifExport.h"
#include "LZWEncoder.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

constexpr int Side = 8192;

// The 8-bit indices of a picture, rows joined without padding.
std::vector<std::uint8_t> IndexBuffer(TBitmap picture) {
    picture.SetPixelFormat(TPixelFormat::pf8bit);
    std::vector<std::uint8_t> indices(std::size_t(Side) * Side);
    for (int y = 0; y < Side; ++y)
        std::memcpy(indices.data() + std::size_t(y) * Side, picture.ScanLine(y), Side);
    return indices;
}

const std::vector<std::uint8_t>& TileIndices() {
    static const auto indices = IndexBuffer(MakeTileMap(Side, Side));
    return indices;
}

const std::vector<std::uint8_t>& NoiseIndices() {
    static const auto indices = IndexBuffer(MakeNoise(Side, Side));
    return indices;
}

// Both encoders write into one reused vector, so neither pays for growing it.
class TVectorSink : public TByteSink {
  public:
    explicit TVectorSink(std::vector<std::uint8_t>& bytes) : Bytes_(bytes) {}
    void Write(const void* data, std::size_t size) override {
        const auto* b = static_cast<const std::uint8_t*>(data);
        Bytes_.insert(Bytes_.end(), b, b + size);
    }

  private:
    std::vector<std::uint8_t>& Bytes_;
};

std::vector<std::uint8_t>& Output() {
    static std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> v;
        v.reserve(std::size_t(Side) * Side * 2);
        return v;
    }();
    return bytes;
}

void OurLzw(benchmark::State& state, const std::vector<std::uint8_t>& indices) {
    auto& out = Output();
    for (auto _ : state) {
        out.clear();
        TVectorSink sink(out);
        TLZWEncoder encoder;
        encoder.Compress(sink, 8, 256, indices.data(), false, Side, Side);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes_out"] = double(out.size());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(indices.size()));
}

int AppendToOutput(GifFileType* gif, const GifByteType* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + size);
    return size;
}

// The peer: giflib writing the same buffer as one 8-bit image with a 256-entry table.
void GiflibLzw(benchmark::State& state, const std::vector<std::uint8_t>& indices) {
    auto& out = Output();
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (auto _ : state) {
        out.clear();
        int error = 0;
        GifFileType* gif = EGifOpen(&out, AppendToOutput, &error);
        if (!gif || EGifPutScreenDesc(gif, Side, Side, 8, 0, map) != GIF_OK ||
            EGifPutImageDesc(gif, 0, 0, Side, Side, false, nullptr) != GIF_OK)
            throw std::runtime_error("giflib refused the image");
        auto* pixels = const_cast<GifPixelType*>(indices.data());
        for (int y = 0; y < Side; ++y)
            if (EGifPutLine(gif, pixels + std::size_t(y) * Side, Side) != GIF_OK)
                throw std::runtime_error("giflib refused a line");
        EGifCloseFile(gif, &error);
        benchmark::DoNotOptimize(out.data());
    }
    GifFreeMapObject(map);
    state.counters["bytes_out"] = double(out.size());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(indices.size()));
}

void BM_GifLzwTileMap(benchmark::State& state) {
    OurLzw(state, TileIndices());
}
void BM_GiflibLzwTileMap(benchmark::State& state) {
    GiflibLzw(state, TileIndices());
}
void BM_GifLzwNoise(benchmark::State& state) {
    OurLzw(state, NoiseIndices());
}
void BM_GiflibLzwNoise(benchmark::State& state) {
    GiflibLzw(state, NoiseIndices());
}

// Copy, 8-bit conversion, import, packing and writing of a 24-bit picture.
void ExportPipeline(benchmark::State& state, const TBitmap& picture) {
    auto& out = Output();
    for (auto _ : state) {
        out.clear();
        TVectorSink sink(out);
        ExportGif(picture, sink);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes_out"] = double(out.size());
}

void BM_GifExportTileMap(benchmark::State& state) {
    static const TBitmap picture = MakeTileMap(Side, Side);
    ExportPipeline(state, picture);
}
void BM_GifExportNoise(benchmark::State& state) {
    static const TBitmap picture = MakeNoise(Side, Side);
    ExportPipeline(state, picture);
}

} // namespace

BENCHMARK(BM_GifLzwTileMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GiflibLzwTileMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifLzwNoise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GiflibLzwNoise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifExportTileMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifExportNoise)->Unit(benchmark::kMillisecond);
