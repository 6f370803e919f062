// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Canvas.h"
#include "Color.h"
#include "PixelBytes.h"
#include "PixelFormat.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// What an opened BMP file brings that a later save of the same picture keeps.
// A change of pixel format resets all of it but the core-header layout.
struct TBmpFileLayout {
    bool CoreHeader = false; // the 12-byte header with 3-byte colour entries
    bool TopDown = false;    // rows stored top row first (negative height)
    std::int32_t XPelsPerMeter = 0;
    std::int32_t YPelsPerMeter = 0;
    std::uint32_t ClrImportant = 0;
    bool BitFields = false; // a 32-bit file stored with compression 3 and masks
};

// Hears of each run a flood fill paints: row y, from left to right inclusive.
class TFillRunSink {
  public:
    virtual void Note(int y, int left, int right) = 0;

  protected:
    ~TFillRunSink() = default;
};

// A raster picture: rows of raw pixels in one buffer, top row first, each row padded to four
// bytes as a BMP file stores it. Palette formats keep their colour table; 16 and 24 bits may
// carry the table of an earlier palette depth, which a saved file then includes.
// A copy has pixels of its own; Shared() hands out the same pixels instead, and whichever holder
// changes them first takes its own copy then, so a picture-sized image can be kept twice (an
// undo step, the clipboard) for the price of one.
class TBitmap {
  public:
    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    TBitmap(TBitmap&&) noexcept = default;
    TBitmap& operator=(TBitmap&&) noexcept = default;

    int Width() const { return Width_; }
    int Height() const { return Height_; }
    bool Empty() const { return Width_ <= 0 || Height_ <= 0; }
    TPixelFormat PixelFormat() const { return Format_; }
    int BitsPerPixel() const { return BitsOfPixelFormat(Format_); }

    // Changes the size; pixels inside both sizes stay, new ones are zero. EOutOfMemory when the
    // new size cannot be had, leaving the bitmap as it was.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height_); }
    void SetHeight(int height) { SetSize(Width_, height); }

    // Converts the pixels to another format, keeping them as far as it allows. Nothing happens
    // when the format is already the one asked for. EOutOfMemory leaves the bitmap as it was.
    void SetPixelFormat(TPixelFormat format);
    // A converted copy, made without copying the pixels first.
    TBitmap Converted(TPixelFormat format) const;

    // Turns every pixel of exactly the brush colour white and every other pixel black, giving a
    // 1-bit bitmap with the table black, white.
    void MakeMonochrome();

    // A bitmap of the given size whose pixels are left undefined (the padding of its rows is
    // zero), for a caller that writes every pixel at once. EOutOfMemory when it cannot be had.
    static TBitmap Unfilled(int width, int height, TPixelFormat format);
    // Once an unfilled bitmap is written: asks for huge pages for the pixels of a large one,
    // which the kernel moves them into in its own time (see AllocatePixelBytes).
    void Settle() noexcept;

    // The same pixels, not copied (see the class); only the colour table is.
    TBitmap Shared() const;
    bool SharesPixels() const { return Pixels_ && Pixels_.use_count() > 1; }
    // Takes a copy of the pixels of its own if they are shared, so that later writes cannot
    // fail. EOutOfMemory leaves them shared.
    void OwnPixels();
    // Exchanges the pixels with a bitmap of the same size and format, without copying them.
    void SwapPixels(TBitmap& other) noexcept { Pixels_.swap(other.Pixels_); }
    // Lets go of the pixels, keeping the size, for a holder that put them elsewhere (a file).
    void ReleasePixels() noexcept { Pixels_.reset(); }

    // While one lives, writes go into the pixels even when they are shared. Only for the frame
    // drawn into a floating image's outermost ring, which every holder of a share of that
    // image's pixels keeps aside and never reads from the shared pixels.
    class TSharedWrites {
      public:
        explicit TSharedWrites(TBitmap& bitmap) : Bitmap_(bitmap) { ++Bitmap_.SharedWrites_; }
        ~TSharedWrites() { --Bitmap_.SharedWrites_; }
        TSharedWrites(const TSharedWrites&) = delete;
        TSharedWrites& operator=(const TSharedWrites&) = delete;

      private:
        TBitmap& Bitmap_;
    };

    std::size_t RowBytes() const { return RowBytes_; }
    // The writing forms take a copy of shared pixels first (EOutOfMemory when it cannot be had);
    // a reader that holds a bitmap it may change asks through std::as_const to spare that copy.
    std::uint8_t* ScanLine(int y) { return Writable().data() + std::size_t(y) * RowBytes_; }
    const std::uint8_t* ScanLine(int y) const { return Readable().data() + std::size_t(y) * RowBytes_; }
    TPixelBytes& PixelBuffer() { return Writable(); }
    const TPixelBytes& PixelBuffer() const { return Readable(); }

    const std::vector<TRGBQuad>& ColorTable() const { return ColorTable_; }
    void SetColorTable(std::vector<TRGBQuad> table);

    // Colour of a pixel; clInvalid outside the bitmap.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // The stored value of a colour in this bitmap's format (an index for palette formats), and back.
    std::uint32_t PixelValueOf(TColor color) const;
    TColor ColorOfPixelValue(std::uint32_t value) const;
    std::uint32_t PixelValue(int x, int y) const;

    // Canvas operations; all clip at the bitmap's edges.
    void FillRect(const TRect& rect);  // with the brush colour, whatever the brush style
    void Rectangle(const TRect& rect); // outline with the pen, inside with the brush unless clear
    // Copies a rectangle of another bitmap (or this one) onto a rectangle of this one, scaling
    // by nearest neighbour when the sizes differ.
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect);
    // Draws a whole bitmap with its top-left corner at (x, y); a bitmap marked transparent
    // leaves out its pixels of its transparent colour.
    void Draw(int x, int y, const TBitmap& source);
    // Fills the 4-connected region of pixels that have the colour of the pixel at (x, y) with
    // the brush colour, when that pixel has the colour given. With a sink, each run is handed to
    // it before it is painted, and the fill's own list grows through the memory guard, so that a
    // refused note leaves exactly the noted runs painted (EOutOfMemory).
    void FloodFill(int x, int y, TColor surfaceColor, TFillRunSink* runs = nullptr);

    bool Transparent = false;
    TColor TransparentColor = clBlack;
    TBrush Brush;
    TPen Pen;
    TFont Font;
    TBmpFileLayout FileLayout;

  private:
    void Allocate(int width, int height, TPixelFormat format, bool zeroed);
    // A bitmap of this size that draws as this one does (transparency, brush, pen, font), its
    // pixels, format and layout still to be given.
    TBitmap SameSizeNoPixels() const;
    // Every pixel access passes here, many once a pixel: the common case stays inline.
    const TPixelBytes& Readable() const { return Pixels_ ? *Pixels_ : NoPixels(); }
    TPixelBytes& Writable() {
        if (Pixels_ && (SharedWrites_ > 0 || Pixels_.use_count() == 1)) return *Pixels_;
        return WritableFirst();
    }
    static const TPixelBytes& NoPixels();
    TPixelBytes& WritableFirst();

    int Width_ = 0;
    int Height_ = 0;
    TPixelFormat Format_ = TPixelFormat::pf24bit;
    std::size_t RowBytes_ = 0;
    std::shared_ptr<TPixelBytes> Pixels_; // null while there are none
    std::vector<TRGBQuad> ColorTable_;
    int SharedWrites_ = 0; // TSharedWrites alive; never copied
};
