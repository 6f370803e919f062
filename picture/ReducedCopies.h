// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <cstdint>
#include <vector>

// One box-averaged copy of a picture: each pixel is the mean colour of a square block of picture
// pixels (a smaller one along the right and bottom edges). Pixels are 0xFFRRGGBB, the form a
// screen image takes, so showing a row is a plain copy.
struct TReducedImage {
    int Shift = 0; // the block's side is 1 << Shift picture pixels
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;

    const std::uint32_t* Row(int y) const { return Pixels.data() + std::size_t(y) * std::size_t(Width); }
    std::uint32_t* Row(int y) { return Pixels.data() + std::size_t(y) * std::size_t(Width); }
};

// The box means of the blocks of 1 << shift picture pixels (shift 1 to 3) whose block indexes lie in `blocks`
// (blocks along the right and bottom edges may be cut short by the picture's edge, and must not
// lie wholly past it), written row by row from `out`, `stride` pixels from one row to the next.
void AverageBlocks(const TBitmap& picture, int shift, const TRect& blocks, std::uint32_t* out,
                   std::size_t stride);

// The copies a view needs to show a picture at 1/4 and 1/8 of its size without reading every
// picture pixel it covers. They are built once for a whole picture and then kept up to date
// rectangle by rectangle, so an edit costs its own area here too.
class TReducedCopies {
  public:
    static constexpr int FirstShift = 2;
    static constexpr int LastShift = 3;

    // Makes every copy anew from the whole picture. EOutOfMemory leaves no copies at all.
    void Rebuild(const TBitmap& picture);
    // Brings the copies up to date after the pixels of one rectangle of the picture changed.
    // Copies made for a picture of another size are dropped instead: they need a Rebuild.
    void Update(const TBitmap& picture, const TRect& changed);
    void Clear();

    // The copy with blocks of 1 << shift pixels, when there is one for a picture of this size.
    const TReducedImage* Find(int shift, int pictureWidth, int pictureHeight) const;

  private:
    void Reduce(const TBitmap& picture, const TRect& area);
    int PictureWidth_ = 0;
    int PictureHeight_ = 0;
    std::vector<TReducedImage> Copies_;
};
