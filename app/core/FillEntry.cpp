// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded flood fill: a scanline fill with its own stack, like the picture's, that notes each
// run before it paints it, so a refused note can be taken back exactly.

#include "FillEntry.h"

#include "Errors.h"
#include "MemoryGuard.h"
#include "RowCodec.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// Grows a vector by doubling, asking the memory guard first, so tests can refuse the growth
// and a huge fill fails with EOutOfMemory rather than std::bad_alloc from deep inside.
template <typename T> void MakeRoomForOne(std::vector<T>& v) {
    if (v.size() < v.capacity()) return;
    const std::size_t wanted = std::max<std::size_t>(64, v.capacity() * 2);
    try {
        NoteAllocation(std::uint64_t(wanted) * sizeof(T));
        v.reserve(wanted);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}

template <TPixelFormat Format>
void FillRegion(TBitmap& bitmap, int startX, int startY, std::uint32_t target, std::uint32_t fill,
                std::vector<TFillEntry::TRun>& runs) {
    const int width = bitmap.Width(), height = bitmap.Height();
    auto at = [&](int x, int y) { return RowCodec::GetValue(Format, bitmap.ScanLine(y), x); };

    std::vector<std::pair<int, int>> seeds;
    MakeRoomForOne(seeds);
    seeds.emplace_back(startX, startY);
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
        MakeRoomForOne(runs);
        runs.push_back({y, left, right});
        for (int i = left; i <= right; ++i)
            RowCodec::SetValue(Format, row, i, fill);

        // One seed per run of the surface colour on the rows above and below.
        for (const int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= height) continue;
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool match = at(i, ny) == target;
                if (match && !inRun) {
                    MakeRoomForOne(seeds);
                    seeds.emplace_back(i, ny);
                }
                inRun = match;
            }
        }
    }
}

void FillRegion(TBitmap& bitmap, int x, int y, std::uint32_t target, std::uint32_t fill,
                std::vector<TFillEntry::TRun>& runs) {
    switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf1bit:
        return FillRegion<TPixelFormat::pf1bit>(bitmap, x, y, target, fill, runs);
    case TPixelFormat::pf4bit:
        return FillRegion<TPixelFormat::pf4bit>(bitmap, x, y, target, fill, runs);
    case TPixelFormat::pf8bit:
        return FillRegion<TPixelFormat::pf8bit>(bitmap, x, y, target, fill, runs);
    case TPixelFormat::pf16bit:
        return FillRegion<TPixelFormat::pf16bit>(bitmap, x, y, target, fill, runs);
    case TPixelFormat::pf24bit:
        return FillRegion<TPixelFormat::pf24bit>(bitmap, x, y, target, fill, runs);
    case TPixelFormat::pf32bit:
        return FillRegion<TPixelFormat::pf32bit>(bitmap, x, y, target, fill, runs);
    }
}

} // namespace

std::unique_ptr<TFillEntry> TFillEntry::Fill(TBitmap& picture, int x, int y, TColor surfaceColor) {
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return nullptr;
    if (picture.Pixel(x, y) != surfaceColor) return nullptr;
    const std::uint32_t target = picture.PixelValue(x, y);
    const std::uint32_t fill = picture.PixelValueOf(picture.Brush.Color);
    if (target == fill) return nullptr;

    std::unique_ptr<TFillEntry> entry;
    try {
        NoteAllocation(sizeof(TFillEntry));
        entry.reset(new TFillEntry(target, fill));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
    try {
        FillRegion(picture, x, y, target, fill, entry->Runs_);
    } catch (...) {
        entry->Paint(picture, target);
        throw;
    }
    entry->Runs_.shrink_to_fit();
    TRect& a = entry->Area_;
    a = TRect{x, y, x + 1, y + 1};
    for (const TRun& run : entry->Runs_) {
        a.Left = std::min(a.Left, run.Left);
        a.Right = std::max(a.Right, run.Right + 1);
        a.Top = std::min(a.Top, run.Y);
        a.Bottom = std::max(a.Bottom, run.Y + 1);
    }
    return entry;
}

std::size_t TFillEntry::Bytes() const {
    return sizeof(*this) + Runs_.capacity() * sizeof(TRun);
}

void TFillEntry::Paint(TBitmap& picture, std::uint32_t value) const noexcept {
    const TPixelFormat format = picture.PixelFormat();
    for (const TRun& run : Runs_) {
        std::uint8_t* row = picture.ScanLine(run.Y);
        for (int i = run.Left; i <= run.Right; ++i)
            RowCodec::SetValue(format, row, i, value);
    }
}

TRect TFillEntry::Exchange(TBitmap& picture) noexcept {
    Paint(picture, Held_);
    std::swap(Held_, Shown_);
    return Area_;
}
