// SPDX-License-Identifier: GPL-3.0-or-later
#include "Bitmap.h"

#include "ColorMatcher.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "Palettes.h"
#include "RowCodec.h"
#include "WorkProgress.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace {

// A new buffer for the pixels; zeroed, or with only the padding at the end of each row zeroed
// (the bits past the last pixel included), so that saved files never carry stray bytes.
std::shared_ptr<TPixelBytes> NewPixels(std::size_t rowBytes, int width, int height, int bits, bool zeroed) {
    TPixelBytes pixels = AllocatePixelBytes(CheckedProduct(rowBytes, std::uint64_t(height)));
    if (pixels.empty()) {
        // Nothing to write, and no memory to write it to.
    } else if (zeroed) {
        // A blank picture is drawn on next: worth its huge pages from the start.
        AdviseWrittenHugePages(pixels.data(), pixels.size());
        std::memset(pixels.data(), 0, pixels.size());
    } else {
        const std::size_t used = std::size_t(width) * std::size_t(bits) / 8;
        for (int y = 0; y < height; ++y)
            std::memset(pixels.data() + std::size_t(y) * rowBytes + used, 0, rowBytes - used);
    }
    try {
        return std::make_shared<TPixelBytes>(std::move(pixels));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}

std::shared_ptr<TPixelBytes> CopyOf(const TPixelBytes& bytes) {
    TPixelBytes pixels = AllocatePixelBytes(bytes.size());
    if (!bytes.empty()) std::memcpy(pixels.data(), bytes.data(), bytes.size());
    AdviseWrittenHugePages(pixels.data(), pixels.size());
    try {
        return std::make_shared<TPixelBytes>(std::move(pixels));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
}

} // namespace

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
    Allocate(width, height, format, true);
}

TBitmap::TBitmap(const TBitmap& other)
    : Transparent(other.Transparent), TransparentColor(other.TransparentColor), Brush(other.Brush),
      Pen(other.Pen), Font(other.Font), FileLayout(other.FileLayout), Width_(other.Width_),
      Height_(other.Height_), Format_(other.Format_), RowBytes_(other.RowBytes_),
      ColorTable_(other.ColorTable_) {
    if (other.Pixels_) Pixels_ = CopyOf(*other.Pixels_);
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other) {
        TBitmap copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TBitmap TBitmap::Unfilled(int width, int height, TPixelFormat format) {
    TBitmap result;
    result.Allocate(width, height, format, false);
    return result;
}

void TBitmap::Settle() noexcept {
    if (Pixels_ && !Pixels_->empty()) AdviseWrittenHugePages(Pixels_->data(), Pixels_->size());
}

TBitmap TBitmap::SameSizeNoPixels() const {
    TBitmap result;
    result.Transparent = Transparent;
    result.TransparentColor = TransparentColor;
    result.Brush = Brush;
    result.Pen = Pen;
    result.Font = Font;
    result.Width_ = Width_;
    result.Height_ = Height_;
    return result;
}

TBitmap TBitmap::Shared() const {
    TBitmap result = SameSizeNoPixels();
    result.FileLayout = FileLayout;
    result.Format_ = Format_;
    result.RowBytes_ = RowBytes_;
    result.ColorTable_ = ColorTable_;
    result.Pixels_ = Pixels_;
    return result;
}

void TBitmap::OwnPixels() {
    if (SharesPixels()) Pixels_ = CopyOf(*Pixels_);
}

const TPixelBytes& TBitmap::NoPixels() {
    static const TPixelBytes none;
    return none;
}

TPixelBytes& TBitmap::WritableFirst() {
    if (!Pixels_) {
        try {
            Pixels_ = std::make_shared<TPixelBytes>();
        } catch (const std::bad_alloc&) {
            throw EOutOfMemory();
        }
    } else if (SharedWrites_ == 0) {
        OwnPixels();
    }
    return *Pixels_;
}

void TBitmap::Allocate(int width, int height, TPixelFormat format, bool zeroed) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const std::size_t rowBytes = RowBytesFor(width, BitsOfPixelFormat(format));
    Pixels_ = NewPixels(rowBytes, width, height, BitsOfPixelFormat(format), zeroed);
    Width_ = width;
    Height_ = height;
    Format_ = format;
    RowBytes_ = rowBytes;
    if (IsPaletteFormat(format))
        ColorTable_ = DefaultPaletteForBits(BitsOfPixelFormat(format));
    else
        ColorTable_.clear();
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width_ && height == Height_) return;
    const std::size_t rowBytes = RowBytesFor(width, BitsPerPixel());
    std::shared_ptr<TPixelBytes> buffer = NewPixels(rowBytes, width, height, BitsPerPixel(), true);
    TPixelBytes& pixels = *buffer;
    const int keepRows = std::min(height, Height_);
    const int keepWidth = std::min(width, Width_);
    if (keepWidth > 0) {
        // Whole bytes first, then the pixels that share the last byte with pixels past the edge.
        const std::size_t keepBits = std::size_t(keepWidth) * std::size_t(BitsPerPixel());
        const std::size_t wholeBytes = keepBits / 8;
        for (int y = 0; y < keepRows; ++y) {
            const std::uint8_t* from = std::as_const(*this).ScanLine(y);
            std::uint8_t* to = pixels.data() + std::size_t(y) * rowBytes;
            std::memcpy(to, from, wholeBytes);
            for (int x = int(wholeBytes * 8 / std::size_t(BitsPerPixel())); x < keepWidth; ++x)
                RowCodec::SetValue(Format_, to, x, RowCodec::GetValue(Format_, from, x));
            TWorkProgress::Step(std::uint64_t(y) + 1, std::uint64_t(keepRows));
        }
    }
    Pixels_ = std::move(buffer);
    Width_ = width;
    Height_ = height;
    RowBytes_ = rowBytes;
}

void TBitmap::SetColorTable(std::vector<TRGBQuad> table) {
    if (table.size() > 256) table.resize(256);
    ColorTable_ = std::move(table);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format != Format_) *this = Converted(format);
}

TBitmap TBitmap::Converted(TPixelFormat format) const {
    if (format == Format_) return *this;
    const std::size_t rowBytes = RowBytesFor(Width_, BitsOfPixelFormat(format));
    std::shared_ptr<TPixelBytes> buffer =
        NewPixels(rowBytes, Width_, Height_, BitsOfPixelFormat(format), true);
    TPixelBytes& pixels = *buffer;

    std::vector<TRGBQuad> table;
    if (IsPaletteFormat(format))
        table = DefaultPaletteForBits(BitsOfPixelFormat(format));
    else
        table = ColorTable_; // a palette depth hands its table on to a direct one

    // Direct colour needs no matcher, and building one would cost a table for nothing.
    std::optional<TColorMatcher> matcher;
    if (IsPaletteFormat(format)) matcher.emplace(table);
    std::vector<std::uint8_t> bgr(std::size_t(Width_) * 3);
    for (int y = 0; y < Height_; ++y) {
        const std::uint8_t* from = ScanLine(y);
        const std::uint8_t* colours = from;
        if (Format_ != TPixelFormat::pf24bit) {
            RowCodec::DecodeSpan(Format_, ColorTable_, from, 0, Width_, bgr.data());
            colours = bgr.data();
        }
        RowCodec::EncodeSpan(format, matcher ? &*matcher : nullptr, colours, Width_,
                             pixels.data() + std::size_t(y) * rowBytes, 0);
        TWorkProgress::Step(std::uint64_t(y) + 1, std::uint64_t(Height_));
    }

    TBitmap result = SameSizeNoPixels();
    result.FileLayout = TBmpFileLayout{FileLayout.CoreHeader};
    result.Format_ = format;
    result.RowBytes_ = rowBytes;
    result.Pixels_ = std::move(buffer);
    result.ColorTable_ = std::move(table);
    return result;
}

void TBitmap::MakeMonochrome() {
    const std::size_t rowBytes = RowBytesFor(Width_, 1);
    std::shared_ptr<TPixelBytes> buffer = NewPixels(rowBytes, Width_, Height_, 1, true);
    TPixelBytes& pixels = *buffer;
    // The reference is compared as this format stores it, so a 16-bit or palette picture matches
    // the brush colour the way its own pixels were painted with it.
    const std::uint32_t reference = PixelValueOf(Brush.Color);
    for (int y = 0; y < Height_; ++y) {
        const std::uint8_t* from = std::as_const(*this).ScanLine(y);
        std::uint8_t* to = pixels.data() + std::size_t(y) * rowBytes;
        for (int x = 0; x < Width_; ++x)
            if (RowCodec::GetValue(Format_, from, x) == reference)
                to[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
        TWorkProgress::Step(std::uint64_t(y) + 1, std::uint64_t(Height_));
    }
    Pixels_ = std::move(buffer);
    RowBytes_ = rowBytes;
    Format_ = TPixelFormat::pf1bit;
    ColorTable_ = MonochromePalette();
    FileLayout = TBmpFileLayout{FileLayout.CoreHeader};
}

std::uint32_t TBitmap::PixelValueOf(TColor color) const {
    if (IsPaletteFormat(Format_)) return NearestIndex(ColorTable_, color);
    return RowCodec::ValueOfColor(Format_, nullptr, color);
}

TColor TBitmap::ColorOfPixelValue(std::uint32_t value) const {
    return RowCodec::ColorOfValue(Format_, ColorTable_, value);
}

std::uint32_t TBitmap::PixelValue(int x, int y) const {
    return RowCodec::GetValue(Format_, ScanLine(y), x);
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width_ || y >= Height_) return clInvalid;
    return ColorOfPixelValue(PixelValue(x, y));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= Width_ || y >= Height_) return;
    RowCodec::SetValue(Format_, ScanLine(y), x, PixelValueOf(color));
}
