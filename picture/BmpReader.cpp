#include "BmpFile.h"

#include "BmpLayout.h"
#include "ByteSource.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "RowCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>
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
                for (int i = 0; i < 3; ++i) h.Masks[i] = Get32(extra + 4 * i);
            if (rest > kept && !source.Skip(rest - kept)) throw EReadError();
        }
    }
    if (planes != 1) throw EInvalidGraphic();
    if (h.Width <= 0 || h.Height == 0) throw EInvalidGraphic();
    const bool bitsKnown = h.Bits == 1 || h.Bits == 4 || h.Bits == 8 || h.Bits == 16 || h.Bits == 24 || h.Bits == 32;
    const bool compressionFits = h.Compression == BI_RGB || (h.Compression == BI_RLE8 && h.Bits == 8) ||
                                 (h.Compression == BI_RLE4 && h.Bits == 4) ||
                                 (h.Compression == BI_BITFIELDS && (h.Bits == 16 || h.Bits == 32));
    if (!bitsKnown || !compressionFits) throw EInvalidGraphic();

    if (headerSize == InfoHeaderSize && h.Compression == BI_BITFIELDS) {
        std::uint8_t masks[MaskBytes];
        source.ReadExact(masks, sizeof masks);
        for (int i = 0; i < 3; ++i) h.Masks[i] = Get32(masks + 4 * i);
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

// Reads rows of bit-field pixels (15-bit files, unusual masks) into a 32-bit bitmap.
void ReadMaskedRows(TByteSource& source, TBitmap& bitmap, std::uint64_t pixelBytes, int bits,
                    const std::uint32_t masks[3]) {
    const TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
    const std::size_t fileRowBytes = RowBytesFor(bitmap.Width(), bits);
    std::vector<std::uint8_t> row(fileRowBytes);
    for (int i = 0; i < bitmap.Height() && pixelBytes > 0; ++i) {
        const std::size_t take = std::size_t(std::min<std::uint64_t>(pixelBytes, fileRowBytes));
        std::fill(row.begin(), row.end(), 0);
        const std::size_t got = source.Read(row.data(), take);
        std::uint8_t* out = bitmap.ScanLine(RowOfFileRow(bitmap, i));
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint32_t px = bits == 16 ? Get16(&row[2 * std::size_t(x)]) : Get32(&row[4 * std::size_t(x)]);
            out[4 * x] = blue.Of(px);
            out[4 * x + 1] = green.Of(px);
            out[4 * x + 2] = red.Of(px);
        }
        if (got < take) return;
        pixelBytes -= take;
    }
}

// Decodes run-length data into one index per pixel, rows in file order (bottom row first).
// Runs and jumps that leave the row or the picture make the file invalid.
std::vector<std::uint8_t> DecodeRunLength(const std::vector<std::uint8_t>& data, bool fourBit, int width, int height) {
    std::vector<std::uint8_t> indices = AllocateBytes(CheckedProduct(std::uint64_t(width), std::uint64_t(height)));
    auto put = [&](std::int64_t x, std::int64_t y, std::uint8_t index) {
        indices[std::size_t(y) * std::size_t(width) + std::size_t(x)] = index;
    };
    std::int64_t x = 0, y = 0;
    std::size_t i = 0;
    while (i + 1 < data.size()) {
        const std::uint8_t count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) { // encoded run
            if (y >= height || x + count > width) throw EInvalidGraphic();
            for (int k = 0; k < count; ++k)
                put(x++, y, fourBit ? std::uint8_t(k & 1 ? value & 0x0F : value >> 4) : value);
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return indices;
        case 2: { // jump
            if (i + 1 >= data.size()) return indices;
            x += data[i];
            y += data[i + 1];
            i += 2;
            if (x > width || y > height) throw EInvalidGraphic();
            break;
        }
        default: { // absolute run of 'value' pixels, padded to a 16-bit boundary
            const std::size_t bytes = fourBit ? (std::size_t(value) + 1) / 2 : value;
            if (i + bytes > data.size()) return indices;
            if (y >= height || x + value > width) throw EInvalidGraphic();
            for (int k = 0; k < value; ++k) {
                const std::uint8_t b = data[i + (fourBit ? std::size_t(k) / 2 : std::size_t(k))];
                put(x++, y, fourBit ? std::uint8_t(k & 1 ? b & 0x0F : b >> 4) : b);
            }
            i += (bytes + 1) & ~std::size_t(1);
        }
        }
    }
    return indices;
}

void ReadRunLengthRows(TByteSource& source, TBitmap& bitmap, std::uint64_t dataBytes, bool fourBit,
                       const std::vector<TRGBQuad>& table) {
    std::vector<std::uint8_t> data = AllocateBytes(dataBytes);
    data.resize(source.Read(data.data(), data.size()));
    const std::vector<std::uint8_t> indices = DecodeRunLength(data, fourBit, bitmap.Width(), bitmap.Height());
    for (int i = 0; i < bitmap.Height(); ++i) {
        const std::uint8_t* from = &indices[std::size_t(i) * std::size_t(bitmap.Width())];
        std::uint8_t* out = bitmap.ScanLine(RowOfFileRow(bitmap, i));
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TRGBQuad q = from[x] < table.size() ? table[from[x]] : TRGBQuad{};
            out[4 * x] = q.Blue;
            out[4 * x + 1] = q.Green;
            out[4 * x + 2] = q.Red;
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

    const std::int64_t height = h.Height < 0 ? -h.Height : h.Height;
    if (h.Width > 0x7FFFFFFF || height > 0x7FFFFFFF) throw EOutOfMemory();

    const bool runLength = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
    if (h.Compression == BI_RGB && h.Bits == 16) {
        h.Masks[0] = 0x7C00, h.Masks[1] = 0x03E0, h.Masks[2] = 0x001F; // 5-5-5
    }
    TPixelFormat format = TPixelFormat::pf32bit;
    bool masked = false;
    if (h.Bits <= 8 && !runLength) format = *PixelFormatOfBits(h.Bits);
    else if (h.Bits == 24) format = TPixelFormat::pf24bit;
    else if (h.Bits == 16 && MasksAre(h.Masks, Red565, Green565, Blue565)) format = TPixelFormat::pf16bit;
    else if (h.Bits == 16) masked = true;
    else if (h.Bits == 32 && h.Compression == BI_BITFIELDS && !MasksAre(h.Masks, Red888, Green888, Blue888))
        masked = true;

    TBitmap bitmap(int(h.Width), int(height), format);
    if (IsPaletteFormat(format) || !table.empty()) bitmap.SetColorTable(table);
    bitmap.FileLayout.CoreHeader = h.Core;
    bitmap.FileLayout.TopDown = h.Height < 0;
    bitmap.FileLayout.XPelsPerMeter = h.XPelsPerMeter;
    bitmap.FileLayout.YPelsPerMeter = h.YPelsPerMeter;
    bitmap.FileLayout.ClrImportant = h.ColorsImportant;
    bitmap.FileLayout.BitFields = h.Bits == 32 && h.Compression == BI_BITFIELDS && !masked;

    const std::uint64_t rowBytes = RowBytesFor(h.Width, h.Bits);
    std::uint64_t pixelBytes = h.ImageSize;
    if (pixelBytes == 0) pixelBytes = runLength ? source.Remaining() : rowBytes * std::uint64_t(height);
    pixelBytes = std::min(pixelBytes, source.Remaining());

    if (runLength) ReadRunLengthRows(source, bitmap, pixelBytes, h.Compression == BI_RLE4, table);
    else if (masked) ReadMaskedRows(source, bitmap, pixelBytes, h.Bits, h.Masks);
    else ReadRawRows(source, bitmap, pixelBytes);
    return bitmap;
}

TBitmap LoadBitmapFromFile(const std::string& path) {
    TFileSource source(path);
    return ReadBitmap(source);
}
