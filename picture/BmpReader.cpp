// SPDX-License-Identifier: GPL-3.0-or-later
#include "BmpFile.h"

#include "BmpHeader.h"
#include "BmpLayout.h"
#include "ByteSource.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "RowCodec.h"

#include <algorithm>
#include <vector>

using namespace BmpLayout;

namespace {

// Picture row y of the stored row at position i in the file.
int RowOfFileRow(const TBitmap& bitmap, std::int64_t i) {
    return bitmap.FileLayout.TopDown ? int(i) : bitmap.Height() - 1 - int(i);
}

// Reads the stored rows in file order straight into a bitmap whose pixels were not zeroed
// first, and zeroes what the file lacks.
void ReadRawRows(TByteSource& source, TBitmap& bitmap, std::uint64_t pixelBytes) {
    const std::size_t rowBytes = bitmap.RowBytes();
    int i = 0;
    for (; i < bitmap.Height(); ++i) {
        std::uint8_t* row = bitmap.ScanLine(RowOfFileRow(bitmap, i));
        const std::size_t take = std::size_t(std::min<std::uint64_t>(pixelBytes, rowBytes));
        const std::size_t got = take > 0 ? source.Read(row, take) : 0;
        std::fill(row + got, row + rowBytes, std::uint8_t(0));
        pixelBytes -= take;
        if (got < rowBytes) break;
    }
    for (++i; i < bitmap.Height(); ++i) {
        std::uint8_t* row = bitmap.ScanLine(RowOfFileRow(bitmap, i));
        std::fill(row, row + rowBytes, std::uint8_t(0));
    }
}

// A 24-bit or a 32-bit row.
void PutBgr(std::uint8_t* row, std::size_t step, std::size_t x, std::uint8_t blue, std::uint8_t green,
            std::uint8_t red) {
    std::uint8_t* p = row + step * x;
    p[0] = blue;
    p[1] = green;
    p[2] = red;
}

// Bytes per pixel of a bitmap that run-length or bit-field pixels are decoded into.
std::size_t BgrStep(const TBitmap& bitmap) {
    return bitmap.PixelFormat() == TPixelFormat::pf24bit ? 3 : 4;
}

// Reads rows that need unpacking (bit fields, or 32-bit rows for a 24-bit bitmap) through one
// row of the file's width.
template <typename Unpack>
void ReadUnpackedRows(TByteSource& source, TBitmap& bitmap, std::uint64_t pixelBytes, int bits,
                      Unpack unpack) {
    const std::size_t fileRowBytes = RowBytesFor(bitmap.Width(), bits);
    // Never larger than a 32-bit row, the most a bitmap of this width was going to need.
    std::vector<std::uint8_t> row = AllocateBytes(fileRowBytes);
    for (int i = 0; i < bitmap.Height() && pixelBytes > 0; ++i) {
        const std::size_t take = std::size_t(std::min<std::uint64_t>(pixelBytes, fileRowBytes));
        std::fill(row.begin(), row.end(), 0);
        const std::size_t got = source.Read(row.data(), take);
        unpack(row.data(), bitmap.ScanLine(RowOfFileRow(bitmap, i)));
        if (got < take) return;
        pixelBytes -= take;
    }
}

// Run-length data, read a block at a time so that decoding holds no more than the picture.
class TRunLengthInput {
  public:
    TRunLengthInput(TByteSource& source, std::uint64_t bytes) : Source_(source), Left_(bytes) {}
    // False once the data has ended.
    bool Next(std::uint8_t& byte) {
        if (At_ == Filled_) {
            const std::size_t want = std::size_t(std::min<std::uint64_t>(Left_, sizeof Block_));
            Filled_ = want > 0 ? Source_.Read(Block_, want) : 0;
            Left_ -= Filled_;
            At_ = 0;
            if (Filled_ == 0) return false;
        }
        byte = Block_[At_++];
        return true;
    }

  private:
    TByteSource& Source_;
    std::uint64_t Left_;
    std::uint8_t Block_[4096];
    std::size_t At_ = 0;
    std::size_t Filled_ = 0;
};

// Decodes RLE8 or RLE4 data into a 32-bit bitmap. Pixels of a run that reach past the row's
// end fall into the row padding some writers encode and are dropped. Data that ends early, a
// run past the last row or a jump out of the picture ends the pixels; what was read stays.
void ReadRunLengthRows(TByteSource& source, TBitmap& bitmap, std::uint64_t dataBytes, bool fourBit,
                       const std::vector<TRGBQuad>& table) {
    TRGBQuad colours[256] = {}; // an index past the table shows black
    std::copy_n(table.begin(), std::min<std::size_t>(table.size(), 256), colours);
    const std::uint64_t width = std::uint64_t(bitmap.Width());
    const std::uint64_t height = std::uint64_t(bitmap.Height());
    const std::size_t step = BgrStep(bitmap);
    std::uint64_t x = 0, y = 0;
    auto put = [&](std::uint8_t index) {
        if (x < width) {
            const TRGBQuad& q = colours[index];
            PutBgr(bitmap.ScanLine(RowOfFileRow(bitmap, std::int64_t(y))), step, std::size_t(x), q.Blue,
                   q.Green, q.Red);
        }
        ++x;
    };
    TRunLengthInput in(source, dataBytes);
    std::uint8_t count = 0, value = 0;
    while (y < height && in.Next(count) && in.Next(value)) {
        if (count > 0) { // encoded run
            for (int k = 0; k < count; ++k)
                put(fourBit ? std::uint8_t(k & 1 ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // jump right and up
            std::uint8_t dx = 0, dy = 0;
            if (!in.Next(dx) || !in.Next(dy)) return;
            x += dx;
            y += dy;
            if (x > width) return;
        } else { // absolute run of 'value' pixels, padded to a 16-bit boundary
            const int bytes = fourBit ? (value + 1) / 2 : value;
            std::uint8_t b = 0;
            for (int k = 0; k < bytes; ++k) {
                if (!in.Next(b)) return;
                if (fourBit) {
                    put(std::uint8_t(b >> 4));
                    if (2 * k + 1 < value) put(std::uint8_t(b & 0x0F));
                } else {
                    put(b);
                }
            }
            if (bytes & 1) in.Next(b);
        }
    }
}

} // namespace

TBitmap ReadBitmap(TByteSource& source, TBmpReadDepth depth) {
    if (source.Remaining() == 0) return TBitmap();
    const std::uint64_t start = source.Position();
    TBmpHeader h = ReadBmpHeader(source);
    const std::vector<TRGBQuad> table = ReadBmpColorTable(source, h, source.Position() - start);

    // Most files have their pixels right after the colour table; a file whose header points past
    // a gap is followed there rather than read as shifted garbage.
    const std::uint64_t position = source.Position() - start;
    if (h.PixelOffset > position && h.PixelOffset - position < source.Remaining())
        source.Skip(h.PixelOffset - position);

    const TBmpPixels pixels = BmpPixelsOf(h);
    // The editor turns what reads as 32 bits into 24 at once; decoding straight into 24 bits
    // spares a 32-bit picture beside the 24-bit one.
    const bool toEditing = depth == TBmpReadDepth::Editing && pixels.Format == TPixelFormat::pf32bit;
    const TPixelFormat format = toEditing ? TPixelFormat::pf24bit : pixels.Format;

    // Width and height are at most 2^31 - 1 here, so the products below cannot wrap; a picture
    // whose pixels could not be addressed at all is no picture, whatever memory there is.
    const std::int64_t height = h.Height < 0 ? -h.Height : h.Height;
    const std::uint64_t memoryBytes =
        std::uint64_t(RowBytesFor(h.Width, BitsOfPixelFormat(format))) * std::uint64_t(height);
    if (memoryBytes > MaxAddressableBytes) throw EInvalidGraphic();

    // Plain rows cover every byte they are read into, so only those a short file lacks are zeroed.
    const bool raw = !pixels.RunLength && !pixels.Masked && !toEditing;
    TBitmap bitmap = raw ? TBitmap::Unfilled(int(h.Width), int(height), format)
                         : TBitmap(int(h.Width), int(height), format);
    if (IsPaletteFormat(format) || !table.empty()) bitmap.SetColorTable(table);
    bitmap.FileLayout.CoreHeader = h.Core;
    bitmap.FileLayout.TopDown = h.Height < 0;
    if (!toEditing) {
        // A change of pixel format keeps only the core-header layout; so does this one.
        bitmap.FileLayout.XPelsPerMeter = h.XPelsPerMeter;
        bitmap.FileLayout.YPelsPerMeter = h.YPelsPerMeter;
        bitmap.FileLayout.ClrImportant = h.ColorsImportant;
        bitmap.FileLayout.BitFields = h.Bits == 32 && h.Compression == BI_BITFIELDS && !pixels.Masked;
    }

    // Rows take what their width and height say; the image-size field is only a hint, and writers
    // that leave out the row padding put less there. Run-length data has no other length.
    const std::uint64_t fileRowBytes = RowBytesFor(h.Width, h.Bits);
    std::uint64_t pixelBytes = fileRowBytes * std::uint64_t(height);
    if (pixels.RunLength) pixelBytes = h.ImageSize != 0 ? h.ImageSize : source.Remaining();
    pixelBytes = std::min(pixelBytes, source.Remaining());

    const std::size_t width = std::size_t(bitmap.Width());
    const std::size_t step = BgrStep(bitmap);
    if (pixels.RunLength) {
        ReadRunLengthRows(source, bitmap, pixelBytes, h.Compression == BI_RLE4, table);
    } else if (pixels.Masked) {
        ReadUnpackedRows(source, bitmap, pixelBytes, h.Bits, [&](const std::uint8_t* in, std::uint8_t* out) {
            DecodeBitFieldRow(in, h.Bits, h.Masks, width, out, step);
        });
    } else if (toEditing) {
        ReadUnpackedRows(source, bitmap, pixelBytes, h.Bits, [&](const std::uint8_t* in, std::uint8_t* out) {
            RowCodec::DecodeSpan(TPixelFormat::pf32bit, table, in, 0, int(width), out);
        });
    } else {
        ReadRawRows(source, bitmap, pixelBytes);
    }
    if (toEditing) bitmap.FileLayout.TopDown = false;
    bitmap.Settle();
    return bitmap;
}

TBitmap LoadBitmapFromFile(const std::string& path, TBmpReadDepth depth) {
    TFileSource source(path);
    return ReadBitmap(source, depth);
}
