// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing operations of TBitmap: fills, rectangles, copies and draws.

#include "Bitmap.h"

#include "ColorMatcher.h"
#include "RowCodec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace {

TRect Normalized(TRect r) {
    if (r.Right < r.Left) std::swap(r.Left, r.Right);
    if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
    return r;
}

TRect Clipped(const TRect& r, int width, int height) {
    return TRect{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, width),
                 std::min(r.Bottom, height)};
}

// Sets count pixels from x0 to one stored value.
void FillSpan(TPixelFormat format, std::uint8_t* row, int x0, int count, std::uint32_t value) {
    switch (format) {
    case TPixelFormat::pf8bit:
        std::memset(row + x0, int(value), std::size_t(count));
        return;
    case TPixelFormat::pf24bit: {
        std::uint8_t* p = row + 3 * std::size_t(x0);
        const std::uint8_t b = std::uint8_t(value), g = std::uint8_t(value >> 8),
                           r = std::uint8_t(value >> 16);
        if (b == g && g == r) {
            std::memset(p, b, 3 * std::size_t(count));
            return;
        }
        for (int i = 0; i < count; ++i, p += 3) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
        return;
    }
    default:
        for (int i = 0; i < count; ++i)
            RowCodec::SetValue(format, row, x0 + i, value);
    }
}

// Two bitmaps whose stored values mean the same colours: a raw copy keeps every pixel.
bool SameStoredColors(const TBitmap& a, const TBitmap& b) {
    if (a.PixelFormat() != b.PixelFormat()) return false;
    return !IsPaletteFormat(a.PixelFormat()) || a.ColorTable() == b.ColorTable();
}

// Which stored values of a bitmap are its transparent colour.
class TTransparency {
  public:
    explicit TTransparency(const TBitmap& source) : Format_(source.PixelFormat()) {
        const TColor tc = source.TransparentColor;
        if (IsPaletteFormat(Format_)) {
            const auto& table = source.ColorTable();
            for (std::size_t i = 0; i < table.size() && i < 256; ++i)
                IndexIsClear_[i] = ColorOf(table[i]) == tc;
            // Indices past a short table show black.
            for (std::size_t i = table.size(); i < 256; ++i)
                IndexIsClear_[i] = tc == clBlack;
        } else {
            const std::uint32_t v = source.PixelValueOf(tc);
            if (source.ColorOfPixelValue(v) == tc) Value_ = v;
        }
    }
    bool IsClear(std::uint32_t value) const {
        return IsPaletteFormat(Format_) ? IndexIsClear_[value & 0xFF] : Value_ && *Value_ == value;
    }

  private:
    TPixelFormat Format_;
    std::array<bool, 256> IndexIsClear_{};
    std::optional<std::uint32_t> Value_;
};

// Copies w x h pixels from (sx, sy) of source to (dx, dy) of dest; all inside both bitmaps.
void BlitClipped(TBitmap& dest, int dx, int dy, const TBitmap& source, int sx, int sy, int w, int h,
                 bool transparent) {
    const TPixelFormat df = dest.PixelFormat(), sf = source.PixelFormat();
    if (SameStoredColors(dest, source)) {
        const int bpp = dest.BitsPerPixel();
        if (!transparent && bpp >= 8) {
            const std::size_t bytesPerPixel = std::size_t(bpp / 8);
            for (int y = 0; y < h; ++y)
                std::memmove(dest.ScanLine(dy + y) + dx * bytesPerPixel,
                             source.ScanLine(sy + y) + sx * bytesPerPixel, std::size_t(w) * bytesPerPixel);
            return;
        }
        std::optional<TTransparency> clear;
        if (transparent) clear.emplace(source);
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* from = source.ScanLine(sy + y);
            std::uint8_t* to = dest.ScanLine(dy + y);
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = RowCodec::GetValue(sf, from, sx + x);
                if (!clear || !clear->IsClear(v)) RowCodec::SetValue(df, to, dx + x, v);
            }
        }
        return;
    }

    // Different formats: through colours, matched to the destination's table where it has one.
    std::optional<TColorMatcher> matcher;
    if (IsPaletteFormat(df)) matcher.emplace(dest.ColorTable());
    const TColor tc = source.TransparentColor;
    const std::uint8_t tb = GetBValue(tc), tg = GetGValue(tc), tr = GetRValue(tc);
    std::vector<std::uint8_t> bgr(std::size_t(w) * 3), skip(transparent ? std::size_t(w) : 0);
    for (int y = 0; y < h; ++y) {
        RowCodec::DecodeSpan(sf, source.ColorTable(), source.ScanLine(sy + y), sx, w, bgr.data());
        if (transparent)
            for (std::size_t x = 0; x < std::size_t(w); ++x)
                skip[x] = bgr[3 * x] == tb && bgr[3 * x + 1] == tg && bgr[3 * x + 2] == tr;
        RowCodec::EncodeSpan(df, matcher ? &*matcher : nullptr, bgr.data(), w, dest.ScanLine(dy + y), dx,
                             transparent ? skip.data() : nullptr);
    }
}

// Clips a same-size copy of the source rectangle at (sx, sy) to both bitmaps, then copies it.
void Blit(TBitmap& dest, int dx, int dy, const TBitmap& source, int sx, int sy, int w, int h,
          bool transparent) {
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min({w, source.Width() - sx, dest.Width() - dx});
    h = std::min({h, source.Height() - sy, dest.Height() - dy});
    if (w <= 0 || h <= 0) return;
    BlitClipped(dest, dx, dy, source, sx, sy, w, h, transparent);
}

} // namespace

void TBitmap::FillRect(const TRect& rect) {
    const TRect r = Clipped(Normalized(rect), Width_, Height_);
    if (r.IsEmpty()) return;
    const std::uint32_t value = PixelValueOf(Brush.Color);
    for (int y = r.Top; y < r.Bottom; ++y)
        FillSpan(Format_, ScanLine(y), r.Left, r.Width(), value);
}

void TBitmap::Rectangle(const TRect& rect) {
    const TRect r = Normalized(rect);
    if (r.IsEmpty()) return;
    // A wide pen grows inwards, so the outline never leaves the rectangle.
    const int pen = std::max(1, Pen.Width);
    if (Brush.Style == TBrushStyle::bsSolid)
        FillRect(TRect{r.Left + pen, r.Top + pen, r.Right - pen, r.Bottom - pen});

    const std::uint32_t value = PixelValueOf(Pen.Color);
    if (Pen.Style == TPenStyle::psSolid) {
        const TRect strips[4] = {{r.Left, r.Top, r.Right, std::min(r.Top + pen, r.Bottom)},
                                 {r.Left, std::max(r.Bottom - pen, r.Top), r.Right, r.Bottom},
                                 {r.Left, r.Top, std::min(r.Left + pen, r.Right), r.Bottom},
                                 {std::max(r.Right - pen, r.Left), r.Top, r.Right, r.Bottom}};
        for (const TRect& s : strips) {
            const TRect c = Clipped(s, Width_, Height_);
            for (int y = c.Top; y < c.Bottom; ++y)
                if (!c.IsEmpty()) FillSpan(Format_, ScanLine(y), c.Left, c.Width(), value);
        }
        return;
    }

    // Dotted: three pixels on, three off, clockwise from the top-left corner; the gaps keep what
    // was there, as a pen over a clear background does.
    int step = 0;
    auto plot = [&](int x, int y) {
        if (step++ % 6 < 3 && x >= 0 && y >= 0 && x < Width_ && y < Height_)
            RowCodec::SetValue(Format_, ScanLine(y), x, value);
    };
    const int right = r.Right - 1, bottom = r.Bottom - 1;
    for (int x = r.Left; x <= right; ++x)
        plot(x, r.Top);
    for (int y = r.Top + 1; y <= bottom; ++y)
        plot(right, y);
    if (bottom > r.Top)
        for (int x = right - 1; x >= r.Left; --x)
            plot(x, bottom);
    if (right > r.Left)
        for (int y = bottom - 1; y > r.Top; --y)
            plot(r.Left, y);
}

void TBitmap::Draw(int x, int y, const TBitmap& source) {
    if (&source == this) return;
    Blit(*this, x, y, source, 0, 0, source.Width(), source.Height(), source.Transparent);
}

void TBitmap::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
    if (&source == this) {
        // Overlapping copies inside one bitmap read from a snapshot of the source area.
        const TRect s = Clipped(Normalized(sourceRect), Width_, Height_);
        if (s.IsEmpty()) return;
        TBitmap part(s.Width(), s.Height(), Format_);
        part.SetColorTable(ColorTable_);
        Blit(part, 0, 0, *this, s.Left, s.Top, s.Width(), s.Height(), false);
        const TRect shifted{sourceRect.Left - s.Left, sourceRect.Top - s.Top, sourceRect.Right - s.Left,
                            sourceRect.Bottom - s.Top};
        CopyRect(dest, part, shifted);
        return;
    }
    const TRect d = Normalized(dest), s = Normalized(sourceRect);
    if (d.IsEmpty() || s.IsEmpty()) return;
    if (d.Width() == s.Width() && d.Height() == s.Height()) {
        Blit(*this, d.Left, d.Top, source, s.Left, s.Top, s.Width(), s.Height(), false);
        return;
    }

    // Nearest neighbour: destination pixel i of the rectangle takes source pixel i * sw / dw.
    const TRect c = Clipped(d, Width_, Height_);
    if (c.IsEmpty()) return;
    const std::int64_t dw = d.Width(), dh = d.Height(), sw = s.Width(), sh = s.Height();
    std::vector<int> sourceX(std::size_t(c.Width()));
    for (int x = c.Left; x < c.Right; ++x)
        sourceX[std::size_t(x - c.Left)] = s.Left + int((x - d.Left) * sw / dw);
    std::optional<TColorMatcher> matcher;
    if (IsPaletteFormat(Format_)) matcher.emplace(ColorTable_);
    std::vector<std::uint8_t> sourceRow(std::size_t(source.Width()) * 3), bgr(std::size_t(c.Width()) * 3),
        skip(std::size_t(c.Width()));
    for (int y = c.Top; y < c.Bottom; ++y) {
        const int sy = s.Top + int((y - d.Top) * sh / dh);
        if (sy < 0 || sy >= source.Height()) continue;
        RowCodec::DecodeSpan(source.PixelFormat(), source.ColorTable(), source.ScanLine(sy), 0,
                             source.Width(), sourceRow.data());
        for (int i = 0; i < c.Width(); ++i) {
            const int sx = sourceX[std::size_t(i)];
            skip[std::size_t(i)] = sx < 0 || sx >= source.Width();
            if (!skip[std::size_t(i)])
                std::memcpy(&bgr[3 * std::size_t(i)], &sourceRow[3 * std::size_t(sx)], 3);
        }
        RowCodec::EncodeSpan(Format_, matcher ? &*matcher : nullptr, bgr.data(), c.Width(), ScanLine(y),
                             c.Left, skip.data());
    }
}
