// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuarterTurn.h"

#include "RowCodec.h"

#include <algorithm>
#include <cstring>

namespace {

// Source columns become target rows, so the reads stride across rows; working in square
// blocks keeps the rows a block touches in the cache.
constexpr int BlockSide = 64;

// Where the pixel that lands at (x, y) of the target comes from in a source of the given size.
struct TSourceOf {
    TQuarterTurn Turn;
    int Width;
    int Height;

    int X(int targetY) const { return Turn == TQuarterTurn::Clockwise ? targetY : Width - 1 - targetY; }
    int Y(int targetX) const { return Turn == TQuarterTurn::Clockwise ? Height - 1 - targetX : targetX; }
};

// Formats with whole bytes per pixel move bytes; Bytes is a constant, so each copy is one move.
template <int Bytes>
void TurnBlock(const TBitmap& source, TBitmap& target, TSourceOf from, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* out = target.ScanLine(y) + std::size_t(x0) * Bytes;
        for (int x = x0; x < x1; ++x, out += Bytes)
            std::memcpy(out, source.ScanLine(from.Y(x)) + std::size_t(from.X(y)) * Bytes, Bytes);
    }
}

// 1 and 4 bits share bytes between pixels, so they go through the stored values.
void TurnPackedBlock(const TBitmap& source, TBitmap& target, TSourceOf from, int x0, int y0, int x1, int y1) {
    const TPixelFormat format = source.PixelFormat();
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* out = target.ScanLine(y);
        for (int x = x0; x < x1; ++x)
            RowCodec::SetValue(format, out, x,
                               RowCodec::GetValue(format, source.ScanLine(from.Y(x)), from.X(y)));
    }
}

void TurnBlockOf(const TBitmap& source, TBitmap& target, TSourceOf from, int x0, int y0, int x1, int y1) {
    switch (source.PixelFormat()) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
        return TurnPackedBlock(source, target, from, x0, y0, x1, y1);
    case TPixelFormat::pf8bit:
        return TurnBlock<1>(source, target, from, x0, y0, x1, y1);
    case TPixelFormat::pf16bit:
        return TurnBlock<2>(source, target, from, x0, y0, x1, y1);
    case TPixelFormat::pf24bit:
        return TurnBlock<3>(source, target, from, x0, y0, x1, y1);
    case TPixelFormat::pf32bit:
        return TurnBlock<4>(source, target, from, x0, y0, x1, y1);
    }
}

} // namespace

TBitmap QuarterTurned(const TBitmap& source, TQuarterTurn turn, const std::function<void()>& between) {
    TBitmap target(source.Height(), source.Width(), source.PixelFormat());
    target.SetColorTable(source.ColorTable());
    target.Transparent = source.Transparent;
    target.TransparentColor = source.TransparentColor;
    target.Brush = source.Brush;
    target.Pen = source.Pen;
    target.Font = source.Font;
    target.FileLayout = source.FileLayout;
    const TSourceOf from{turn, source.Width(), source.Height()};
    for (int y0 = 0; y0 < target.Height(); y0 += BlockSide) {
        if (between) between();
        const int y1 = std::min(y0 + BlockSide, target.Height());
        for (int x0 = 0; x0 < target.Width(); x0 += BlockSide)
            TurnBlockOf(source, target, from, x0, y0, std::min(x0 + BlockSide, target.Width()), y1);
    }
    return target;
}
