#include "BmpFile.h"

#include "BmpLayout.h"
#include "ByteSource.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "RowCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

using namespace BmpLayout;

namespace {

// Everything the headers say, whichever header the file has.
struct THeader {
    bool Core = false;
    std::int64_t Width = 0;
    std::int64_t Height = 0; // negative: top row first
    int Bits = 0;
    std::uint32_t Compression = BI_RGB;
    std::uint32_t ImageSize = 0;
    std::int32_t XPelsPerMeter = 0;
    std::int32_t YPelsPerMeter = 0;
    std::uint32_t ColorsUsed = 0;
    std::uint32_t ColorsImportant = 0;
    std::uint32_t Masks[3] = {0, 0, 0};
    std::uint32_t PixelOffset = 0; // from the start of the file
};

THeader ReadHeaders(TByteSource& source) {
    std::uint8_t fileHeader[FileHeaderSize];
    const std::size_t got = source.Read(fileHeader, sizeof fileHeader);
    if (got < 2 || Get16(fileHeader) != Signature) throw EInvalidGraphic();
    if (got < sizeof fileHeader) throw EReadError();

    THeader h;
    h.PixelOffset = Get32(fileHeader + 10);
    std::uint8_t sizeField[4];
    source.ReadExact(sizeField, 4);
    const std::uint32_t headerSize = Get32(sizeField);
    std::uint16_t planes = 0;
    if (headerSize == CoreHeaderSize) {
        std::uint8_t core[8];
        source.ReadExact(core, sizeof core);
        h.Core = true;
        h.Width = Get16(core);
        h.Height = Get16(core + 2);
        planes = Get16(core + 4);
        h.Bits = Get16(core + 6);
    } else {
        if (headerSize < InfoHeaderSize) throw EInvalidGraphic();
        std::uint8_t info[InfoHeaderSize - 4];
        source.ReadExact(info, sizeof info);
        h.Width = std::int32_t(Get32(info));
        h.Height = std::int32_t(Get32(info + 4));
        planes = Get16(info + 8);
        h.Bits = Get16(info + 10);
        h.Compression = Get32(info + 12);
        h.ImageSize = Get32(info + 16);
        h.XPelsPerMeter = std::int32_t(Get32(info + 20));
        h.YPelsPerMeter = std::int32_t(Get32(info + 24));
        h.ColorsUsed = Get32(info + 28);
        h.ColorsImportant = Get32(info + 32);
        if (headerSize > InfoHeaderSize) {
            // Longer headers carry the masks in their first bytes past the 40-byte part.
            std::uint8_t extra[MaskBytes];
            const std::uint32_t rest = headerSize - InfoHeaderSize;
            const std::size_t kept = std::min<std::size_t>(rest, MaskBytes);
            source.ReadExact(extra, kept);
            if (kept == MaskBytes)
                for (int i = 0; i < 3; ++i)
                    h.Masks[i] = Get32(extra + 4 * i);
            if (rest > kept && !source.Skip(rest - kept)) throw EReadError();
        }
    }
    if (planes != 1) throw EInvalidGraphic();
    // The height's sign gives the row order; the most negative height has no positive partner.
    if (h.Width <= 0 || h.Height == 0 || h.Height == std::numeric_limits<std::int32_t>::min())
        throw EInvalidGraphic();
    const bool bitsKnown =
        h.Bits == 1 || h.Bits == 4 || h.Bits == 8 || h.Bits == 16 || h.Bits == 24 || h.Bits == 32;
    const bool compressionFits = h.Compression == BI_RGB || (h.Compression == BI_RLE8 && h.Bits == 8) ||
                                 (h.Compression == BI_RLE4 && h.Bits == 4) ||
                                 (h.Compression == BI_BITFIELDS && (h.Bits == 16 || h.Bits == 32));
    if (!bitsKnown || !compressionFits) throw EInvalidGraphic();

    if (headerSize == InfoHeaderSize && h.Compression == BI_BITFIELDS) {
        std::uint8_t masks[MaskBytes];
        source.ReadExact(masks, sizeof masks);
        for (int i = 0; i < 3; ++i)
            h.Masks[i] = Get32(masks + 4 * i);
    }
    return h;
}

std::vector<TRGBQuad> ReadColorTable(TByteSource& source, const THeader& h) {
    std::uint64_t count = h.ColorsUsed;
    if (count == 0 && h.Bits <= 8) count = std::uint64_t(1) << h.Bits;
    const std::size_t entrySize = h.Core ? 3 : 4;
    if (count * entrySize > source.Remaining()) throw EReadError();
    std::vector<TRGBQuad> table;
    table.reserve(std::size_t(std::min<std::uint64_t>(count, 256)));
    std::uint8_t entry[4];
    for (std::uint64_t i = 0; i < count; ++i) {
        source.ReadExact(entry, entrySize);
        if (i < 256) table.push_back(TRGBQuad{entry[0], entry[1], entry[2], 0});
    }
    return table;
}

// One colour channel of a bit-field pixel, widened to 8 bits.
class TChannel {
  public:
    explicit TChannel(std::uint32_t mask)
        : Mask_(mask), Shift_(mask ? std::countr_zero(mask) : 0), Bits_(std::popcount(mask)) {}
    std::uint8_t Of(std::uint32_t pixel) const {
        if (Bits_ == 0) return 0;
        const std::uint32_t v = (pixel & Mask_) >> Shift_;
        if (Bits_ >= 8) return std::uint8_t(v >> (Bits_ - 8));
        const std::uint32_t max = (1u << Bits_) - 1;
        return std::uint8_t((v * 255 + max / 2) / max);
    }

  private:
    std::uint32_t Mask_;
    int Shift_;
    int Bits_;
};

// Picture row y of the stored row at position i in the file.
int RowOfFileRow(const TBitmap& bitmap, std::int64_t i) {
    return bitmap.FileLayout.TopDown ? int(i) : bitmap.Height() - 1 - int(i);
}

// Reads the stored rows in file order straight into the bitmap; what the file lacks stays zero.
void ReadRawRows(TByteSource& source, TBitmap& bitmap, std::uint64_t pixelBytes) {
    for (int i = 0; i < bitmap.Height() && pixelBytes > 0; ++i) {
        const std::size_t take = std::size_t(std::min<std::uint64_t>(pixelBytes, bitmap.RowBytes()));
        const std::size_t got = source.Read(bitmap.ScanLine(RowOfFileRow(bitmap, i)), take);
        if (got < take) return;
        pixelBytes -= take;
    }
}

void PutBgr(std::uint8_t* row32, std::size_t x, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    std::uint8_t* p = row32 + 4 * x;
    p[0] = blue;
    p[1] = green;
    p[2] = red;
}

// Reads rows of bit-field pixels (15-bit files, unusual masks) into a 32-bit bitmap.
void ReadMaskedRows(TByteSource& source, TBitmap& bitmap, std::uint64_t pixelBytes, int bits,
                    const std::uint32_t masks[3]) {
    const TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
    const std::size_t fileRowBytes = RowBytesFor(bitmap.Width(), bits);
    const std::size_t width = std::size_t(bitmap.Width());
    // Never larger than a row of the 32-bit bitmap already allocated.
    std::vector<std::uint8_t> row = AllocateBytes(fileRowBytes);
    for (int i = 0; i < bitmap.Height() && pixelBytes > 0; ++i) {
        const std::size_t take = std::size_t(std::min<std::uint64_t>(pixelBytes, fileRowBytes));
        std::fill(row.begin(), row.end(), 0);
        const std::size_t got = source.Read(row.data(), take);
        std::uint8_t* out = bitmap.ScanLine(RowOfFileRow(bitmap, i));
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t px = bits == 16 ? Get16(&row[2 * x]) : Get32(&row[4 * x]);
            PutBgr(out, x, blue.Of(px), green.Of(px), red.Of(px));
        }
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
    std::uint64_t x = 0, y = 0;
    auto put = [&](std::uint8_t index) {
        if (x < width) {
            const TRGBQuad& q = colours[index];
            PutBgr(bitmap.ScanLine(RowOfFileRow(bitmap, std::int64_t(y))), std::size_t(x), q.Blue, q.Green,
                   q.Red);
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

bool MasksAre(const std::uint32_t masks[3], std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return masks[0] == r && masks[1] == g && masks[2] == b;
}

} // namespace

TBitmap ReadBitmap(TByteSource& source) {
    if (source.Remaining() == 0) return TBitmap();
    const std::uint64_t start = source.Position();
    THeader h = ReadHeaders(source);
    const std::vector<TRGBQuad> table = ReadColorTable(source, h);

    // Most files have their pixels right after the colour table; a file whose header points past
    // a gap is followed there rather than read as shifted garbage.
    const std::uint64_t position = source.Position() - start;
    if (h.PixelOffset > position && h.PixelOffset - position < source.Remaining())
        source.Skip(h.PixelOffset - position);

    const bool runLength = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
    if (h.Compression == BI_RGB && h.Bits == 16) {
        h.Masks[0] = 0x7C00, h.Masks[1] = 0x03E0, h.Masks[2] = 0x001F; // 5-5-5
    }
    TPixelFormat format = TPixelFormat::pf32bit;
    bool masked = false;
    if (h.Bits <= 8 && !runLength)
        format = *PixelFormatOfBits(h.Bits);
    else if (h.Bits == 24)
        format = TPixelFormat::pf24bit;
    else if (h.Bits == 16 && MasksAre(h.Masks, Red565, Green565, Blue565))
        format = TPixelFormat::pf16bit;
    else if (h.Bits == 16)
        masked = true;
    else if (h.Bits == 32 && h.Compression == BI_BITFIELDS && !MasksAre(h.Masks, Red888, Green888, Blue888))
        masked = true;

    // Width and height are at most 2^31 - 1 here, so the products below cannot wrap; a picture
    // whose pixels could not be addressed at all is no picture, whatever memory there is.
    const std::int64_t height = h.Height < 0 ? -h.Height : h.Height;
    const std::uint64_t memoryBytes =
        std::uint64_t(RowBytesFor(h.Width, BitsOfPixelFormat(format))) * std::uint64_t(height);
    if (memoryBytes > MaxAddressableBytes) throw EInvalidGraphic();

    TBitmap bitmap(int(h.Width), int(height), format);
    if (IsPaletteFormat(format) || !table.empty()) bitmap.SetColorTable(table);
    bitmap.FileLayout.CoreHeader = h.Core;
    bitmap.FileLayout.TopDown = h.Height < 0;
    bitmap.FileLayout.XPelsPerMeter = h.XPelsPerMeter;
    bitmap.FileLayout.YPelsPerMeter = h.YPelsPerMeter;
    bitmap.FileLayout.ClrImportant = h.ColorsImportant;
    bitmap.FileLayout.BitFields = h.Bits == 32 && h.Compression == BI_BITFIELDS && !masked;

    const std::uint64_t fileRowBytes = RowBytesFor(h.Width, h.Bits);
    std::uint64_t pixelBytes = h.ImageSize;
    if (pixelBytes == 0) pixelBytes = runLength ? source.Remaining() : fileRowBytes * std::uint64_t(height);
    pixelBytes = std::min(pixelBytes, source.Remaining());

    if (runLength)
        ReadRunLengthRows(source, bitmap, pixelBytes, h.Compression == BI_RLE4, table);
    else if (masked)
        ReadMaskedRows(source, bitmap, pixelBytes, h.Bits, h.Masks);
    else
        ReadRawRows(source, bitmap, pixelBytes);
    return bitmap;
}

TBitmap LoadBitmapFromFile(const std::string& path) {
    TFileSource source(path);
    return ReadBitmap(source);
}
