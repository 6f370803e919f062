// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReducedCopies.h"

#include "MemoryGuard.h"
#include "RowCodec.h"

#include <algorithm>
#include <bit>

namespace {

int CeilShift(int value, int shift) {
    return (value + (1 << shift) - 1) >> shift;
}

// How many picture pixels block `index` of a copy with blocks of 1 << shift covers along a side
// of `size` pixels: the whole side of the block, less at the far edge.
int BlockSpan(int index, int shift, int size) {
    return std::min(1 << shift, size - (index << shift));
}

// Whole blocks hold a power of two of pixels, so the common case shifts instead of dividing:
// three divisions per screen pixel would cost more than all the adding.
std::uint32_t OpaqueMean(std::uint32_t blue, std::uint32_t green, std::uint32_t red, std::uint32_t count) {
    const std::uint32_t half = count / 2;
    if (std::has_single_bit(count)) {
        const int shift = std::countr_zero(count);
        return 0xFF000000u | ((red + half) >> shift) << 16 | ((green + half) >> shift) << 8 |
               (blue + half) >> shift;
    }
    return 0xFF000000u | ((red + half) / count) << 16 | ((green + half) / count) << 8 | (blue + half) / count;
}

// Running sums of the blocks of one row of a copy.
struct TBlockSums {
    std::vector<std::uint32_t> Blue, Green, Red, Count;

    explicit TBlockSums(std::size_t blocks) : Blue(blocks), Green(blocks), Red(blocks), Count(blocks) {}
    void Clear() {
        std::fill(Blue.begin(), Blue.end(), 0);
        std::fill(Green.begin(), Green.end(), 0);
        std::fill(Red.begin(), Red.end(), 0);
        std::fill(Count.begin(), Count.end(), 0);
    }
    void Add(std::size_t block, std::uint32_t blue, std::uint32_t green, std::uint32_t red,
             std::uint32_t weight) {
        Blue[block] += blue * weight;
        Green[block] += green * weight;
        Red[block] += red * weight;
        Count[block] += weight;
    }
};

// Averages the pixels of a finer copy into the next coarser one, each weighted by the picture
// pixels it stands for, over the coarser blocks that picture columns [left, right) and rows
// [top, bottom) touch.
void ReduceCopy(const TReducedImage& fine, TReducedImage& coarse, int pictureWidth, int pictureHeight,
                int left, int top, int right, int bottom) {
    const int step = coarse.Shift - fine.Shift;
    const int firstCoarse = left >> coarse.Shift, endCoarse = CeilShift(right, coarse.Shift);
    const int firstFine = firstCoarse << step, endFine = std::min(fine.Width, endCoarse << step);
    TBlockSums sums(std::size_t(endCoarse - firstCoarse));
    for (int blockY = top >> coarse.Shift; blockY < CeilShift(bottom, coarse.Shift); ++blockY) {
        sums.Clear();
        const int fineEnd = std::min(fine.Height, (blockY + 1) << step);
        for (int fy = blockY << step; fy < fineEnd; ++fy) {
            const std::uint32_t rowWeight = std::uint32_t(BlockSpan(fy, fine.Shift, pictureHeight));
            const std::uint32_t* row = fine.Row(fy);
            for (int fx = firstFine; fx < endFine; ++fx) {
                const std::uint32_t weight =
                    rowWeight * std::uint32_t(BlockSpan(fx, fine.Shift, pictureWidth));
                const std::uint32_t p = row[fx];
                sums.Add(std::size_t((fx >> step) - firstCoarse), p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF,
                         weight);
            }
        }
        std::uint32_t* out = coarse.Row(blockY) + firstCoarse;
        for (std::size_t i = 0; i < sums.Count.size(); ++i)
            out[i] = OpaqueMean(sums.Blue[i], sums.Green[i], sums.Red[i], sums.Count[i]);
    }
}

// The means of one row of blocks, from the BGR rows it spans. Within a whole block the side
// is a constant, so the loops unroll and the sums stay in registers.
template <int Shift>
void AverageRowOfBlocks(const std::uint8_t* const* rows, int rowCount, int width, std::uint32_t* out) {
    constexpr int Side = 1 << Shift;
    for (int x0 = 0; x0 < width; x0 += Side, ++out) {
        const int span = std::min(Side, width - x0);
        std::uint32_t blue = 0, green = 0, red = 0;
        for (int r = 0; r < rowCount; ++r) {
            const std::uint8_t* p = rows[r] + std::size_t(x0) * 3;
            if (span == Side) {
                for (int i = 0; i < Side; ++i, p += 3) {
                    blue += p[0];
                    green += p[1];
                    red += p[2];
                }
            } else {
                for (int i = 0; i < span; ++i, p += 3) {
                    blue += p[0];
                    green += p[1];
                    red += p[2];
                }
            }
        }
        *out = OpaqueMean(blue, green, red, std::uint32_t(rowCount * span));
    }
}

// Blocks of 2, 4 or 8 pixels a side.
void AverageRowOfBlocks(int shift, const std::uint8_t* const* rows, int rowCount, int width,
                        std::uint32_t* out) {
    switch (shift) {
    case 1:
        return AverageRowOfBlocks<1>(rows, rowCount, width, out);
    case 2:
        return AverageRowOfBlocks<2>(rows, rowCount, width, out);
    default:
        return AverageRowOfBlocks<3>(rows, rowCount, width, out);
    }
}

} // namespace

void AverageBlocks(const TBitmap& picture, int shift, const TRect& blocks, std::uint32_t* out,
                   std::size_t stride) {
    const int left = blocks.Left << shift;
    const int width = std::min(picture.Width(), blocks.Right << shift) - left;
    if (width <= 0 || blocks.IsEmpty()) return;
    const int side = 1 << shift;
    const bool direct = picture.PixelFormat() == TPixelFormat::pf24bit;
    std::vector<std::uint8_t> decoded(direct ? 0 : std::size_t(width) * 3 * std::size_t(side));
    std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(side));
    for (int blockY = blocks.Top; blockY < blocks.Bottom; ++blockY, out += stride) {
        const int top = blockY << shift;
        const int rowCount = std::min(picture.Height() - top, side);
        for (int r = 0; r < rowCount; ++r) {
            const std::uint8_t* row = picture.ScanLine(top + r);
            if (direct) {
                rows[std::size_t(r)] = row + std::size_t(left) * 3;
                continue;
            }
            std::uint8_t* bgr = decoded.data() + std::size_t(r) * std::size_t(width) * 3;
            RowCodec::DecodeSpan(picture.PixelFormat(), picture.ColorTable(), row, left, width, bgr);
            rows[std::size_t(r)] = bgr;
        }
        AverageRowOfBlocks(shift, rows.data(), rowCount, width, out);
    }
}

void TReducedCopies::Clear() {
    Copies_.clear();
    PictureWidth_ = PictureHeight_ = 0;
}

void TReducedCopies::Rebuild(const TBitmap& picture) {
    Clear();
    if (picture.Empty()) return;
    std::vector<TReducedImage> copies;
    for (int shift = FirstShift; shift <= LastShift; ++shift) {
        TReducedImage copy;
        copy.Shift = shift;
        copy.Width = CeilShift(picture.Width(), shift);
        copy.Height = CeilShift(picture.Height(), shift);
        const std::uint64_t count = CheckedProduct(std::uint64_t(copy.Width), std::uint64_t(copy.Height));
        CheckAllocatable(CheckedProduct(count, sizeof(std::uint32_t)));
        copy.Pixels.resize(count);
        copies.push_back(std::move(copy));
    }
    Copies_ = std::move(copies);
    PictureWidth_ = picture.Width();
    PictureHeight_ = picture.Height();
    Reduce(picture, TRect{0, 0, picture.Width(), picture.Height()});
}

void TReducedCopies::Update(const TBitmap& picture, const TRect& changed) {
    if (Copies_.empty()) return;
    if (picture.Width() != PictureWidth_ || picture.Height() != PictureHeight_) {
        Clear();
        return;
    }
    Reduce(picture, changed);
}

// Each copy redoes the blocks the changed area touches; a coarser copy finds the finer pixels
// it averages either redone just before or unchanged.
void TReducedCopies::Reduce(const TBitmap& picture, const TRect& area) {
    const int left = std::max(area.Left, 0), top = std::max(area.Top, 0);
    const int right = std::min(area.Right, PictureWidth_), bottom = std::min(area.Bottom, PictureHeight_);
    if (right <= left || bottom <= top) return;
    TReducedImage& first = Copies_.front();
    const TRect blocks{left >> first.Shift, top >> first.Shift, CeilShift(right, first.Shift),
                       CeilShift(bottom, first.Shift)};
    AverageBlocks(picture, first.Shift, blocks, first.Row(blocks.Top) + blocks.Left,
                  std::size_t(first.Width));
    for (std::size_t i = 1; i < Copies_.size(); ++i)
        ReduceCopy(Copies_[i - 1], Copies_[i], PictureWidth_, PictureHeight_, left, top, right, bottom);
}

const TReducedImage* TReducedCopies::Find(int shift, int pictureWidth, int pictureHeight) const {
    if (pictureWidth != PictureWidth_ || pictureHeight != PictureHeight_) return nullptr;
    for (const TReducedImage& copy : Copies_)
        if (copy.Shift == shift) return &copy;
    return nullptr;
}
