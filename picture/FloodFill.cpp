// SPDX-License-Identifier: GPL-3.0-or-later
// Flood fill of a surface of one colour: a scanline fill with its own stack, so that a region of
// any size costs heap memory in proportion to its outline, never call-stack depth.

#include "Bitmap.h"

#include "MemoryGuard.h"
#include "RowCodec.h"
#include "WorkProgress.h"

#include <utility>
#include <vector>

namespace {

template <TPixelFormat Format>
void FillRegion(TBitmap& bitmap, int startX, int startY, std::uint32_t target, std::uint32_t fill,
                TFillRunSink* sink) {
    const int width = bitmap.Width(), height = bitmap.Height();
    auto at = [&](int x, int y) { return RowCodec::GetValue(Format, bitmap.ScanLine(y), x); };

    std::vector<std::pair<int, int>> seeds;
    // A recorded fill must be able to take itself back, so its growth is asked for first.
    auto seed = [&](int x, int y) {
        if (sink) ReserveOneMore(seeds);
        seeds.emplace_back(x, y);
    };
    seed(startX, startY);
    const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
    std::uint64_t filled = 0;
    while (!seeds.empty()) {
        const auto [x, y] = seeds.back();
        seeds.pop_back();
        std::uint8_t* row = bitmap.ScanLine(y);
        if (RowCodec::GetValue(Format, row, x) != target) continue;
        int left = x, right = x;
        while (left > 0 && RowCodec::GetValue(Format, row, left - 1) == target)
            --left;
        while (right + 1 < width && RowCodec::GetValue(Format, row, right + 1) == target)
            ++right;
        if (sink) sink->Note(y, left, right);
        for (int i = left; i <= right; ++i)
            RowCodec::SetValue(Format, row, i, fill);
        // The region's size is known only at the end; the share of the picture filled so far
        // is what the user can be shown.
        filled += std::uint64_t(right - left + 1);
        TWorkProgress::Step(filled, pixels);

        // One seed per run of the surface colour on the rows above and below.
        for (const int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= height) continue;
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool match = at(i, ny) == target;
                if (match && !inRun) seed(i, ny);
                inRun = match;
            }
        }
    }
}

} // namespace

void TBitmap::FloodFill(int x, int y, TColor surfaceColor, TFillRunSink* runs) {
    if (x < 0 || y < 0 || x >= Width_ || y >= Height_) return;
    if (Pixel(x, y) != surfaceColor) return;
    const std::uint32_t target = PixelValue(x, y);
    const std::uint32_t fill = PixelValueOf(Brush.Color);
    if (target == fill) return;
    switch (Format_) {
    case TPixelFormat::pf1bit:
        FillRegion<TPixelFormat::pf1bit>(*this, x, y, target, fill, runs);
        break;
    case TPixelFormat::pf4bit:
        FillRegion<TPixelFormat::pf4bit>(*this, x, y, target, fill, runs);
        break;
    case TPixelFormat::pf8bit:
        FillRegion<TPixelFormat::pf8bit>(*this, x, y, target, fill, runs);
        break;
    case TPixelFormat::pf16bit:
        FillRegion<TPixelFormat::pf16bit>(*this, x, y, target, fill, runs);
        break;
    case TPixelFormat::pf24bit:
        FillRegion<TPixelFormat::pf24bit>(*this, x, y, target, fill, runs);
        break;
    case TPixelFormat::pf32bit:
        FillRegion<TPixelFormat::pf32bit>(*this, x, y, target, fill, runs);
        break;
    }
}
