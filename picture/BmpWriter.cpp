// SPDX-License-Identifier: GPL-3.0-or-later
#include "BmpFile.h"

#include "BmpLayout.h"
#include "ByteSink.h"
#include "Errors.h"
#include "RowSource.h"

#include <algorithm>
#include <vector>

using namespace BmpLayout;

namespace {

// Size fields hold 32 bits. A size that does not fit is written as 0, which readers take as
// "work it out from the width and height", rather than as a wrapped value that lies.
std::uint32_t SizeField(std::uint64_t size) {
    return size > 0xFFFFFFFFu ? 0 : std::uint32_t(size);
}

// The 12-byte core header has 16-bit sizes and knows only 1, 4, 8 and 24 bits per pixel; a
// picture it cannot describe is written with the 40-byte header instead.
bool CoreHeaderFits(const TRowSource& bitmap) {
    const int bits = BitsOfPixelFormat(bitmap.PixelFormat());
    return bitmap.Width() <= 0xFFFF && bitmap.Height() <= 0xFFFF && (bits <= 8 || bits == 24);
}

void WriteRows(TRowSource& bitmap, TByteSink& sink, bool topDown) {
    const std::size_t rowBytes = bitmap.RowBytes();
    bitmap.Rewind(topDown ? TRowOrder::TopFirst : TRowOrder::BottomFirst);
    for (int i = 0; i < bitmap.Height(); ++i)
        sink.Write(bitmap.NextRow(), rowBytes);
}

// The OS/2 layout: 12-byte header, 3-byte colour entries, always bottom-up.
void WriteCoreLayout(TRowSource& bitmap, TByteSink& sink) {
    const int bits = BitsOfPixelFormat(bitmap.PixelFormat());
    const std::size_t entries = bits <= 8 ? std::size_t(1) << bits : 0;
    const std::uint64_t pixelBytes = std::uint64_t(bitmap.RowBytes()) * std::uint64_t(bitmap.Height());
    const std::uint32_t offset = std::uint32_t(FileHeaderSize + CoreHeaderSize + 3 * entries);

    std::vector<std::uint8_t> head(offset, 0);
    Put16(&head[0], Signature);
    Put32(&head[2], SizeField(offset + pixelBytes));
    Put32(&head[10], offset);
    std::uint8_t* core = &head[FileHeaderSize];
    Put32(core, CoreHeaderSize);
    Put16(core + 4, std::uint32_t(bitmap.Width()));
    Put16(core + 6, std::uint32_t(bitmap.Height()));
    Put16(core + 8, 1); // planes
    Put16(core + 10, std::uint32_t(bits));
    const auto& table = bitmap.ColorTable();
    for (std::size_t i = 0; i < entries && i < table.size(); ++i) {
        std::uint8_t* e = core + CoreHeaderSize + 3 * i;
        e[0] = table[i].Blue;
        e[1] = table[i].Green;
        e[2] = table[i].Red;
    }
    sink.Write(head.data(), head.size());
    WriteRows(bitmap, sink, false);
}

} // namespace

void WriteBitmap(const TBitmap& bitmap, TByteSink& sink) {
    TBitmapRows rows(bitmap);
    WriteBitmapRows(rows, bitmap.FileLayout, sink);
}

void WriteBitmapRows(TRowSource& bitmap, const TBmpFileLayout& layout, TByteSink& sink) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return; // a bitmap without pixels is an empty file
    if (layout.CoreHeader && CoreHeaderFits(bitmap)) {
        WriteCoreLayout(bitmap, sink);
        return;
    }

    const int bits = BitsOfPixelFormat(bitmap.PixelFormat());
    const TPixelFormat format = bitmap.PixelFormat();
    const bool bitFields =
        format == TPixelFormat::pf16bit || (format == TPixelFormat::pf32bit && layout.BitFields);
    const auto& table = bitmap.ColorTable();
    const std::size_t entries = std::min<std::size_t>(table.size(), 256);
    const std::uint64_t pixelBytes = std::uint64_t(bitmap.RowBytes()) * std::uint64_t(bitmap.Height());
    const std::size_t headerPart = InfoHeaderSize + (bitFields ? MaskBytes : 0) + 4 * entries;
    const std::uint64_t fileSize = FileHeaderSize + headerPart + pixelBytes;
    const bool topDown = layout.TopDown;

    std::vector<std::uint8_t> head(FileHeaderSize + headerPart, 0);
    Put16(&head[0], Signature);
    Put32(&head[2], SizeField(fileSize));
    Put32(&head[10], std::uint32_t(FileHeaderSize + headerPart));

    std::uint8_t* info = &head[FileHeaderSize];
    Put32(info, InfoHeaderSize);
    Put32(info + 4, std::uint32_t(bitmap.Width()));
    Put32(info + 8, std::uint32_t(topDown ? -bitmap.Height() : bitmap.Height()));
    Put16(info + 12, 1); // planes
    Put16(info + 14, std::uint32_t(bits));
    Put32(info + 16, bitFields ? BI_BITFIELDS : BI_RGB);
    Put32(info + 20, SizeField(pixelBytes));
    Put32(info + 24, std::uint32_t(layout.XPelsPerMeter));
    Put32(info + 28, std::uint32_t(layout.YPelsPerMeter));
    Put32(info + 32, std::uint32_t(entries));
    Put32(info + 36, layout.ClrImportant);

    std::uint8_t* next = info + InfoHeaderSize;
    if (bitFields) {
        const bool is16 = format == TPixelFormat::pf16bit;
        Put32(next, is16 ? Red565 : Red888);
        Put32(next + 4, is16 ? Green565 : Green888);
        Put32(next + 8, is16 ? Blue565 : Blue888);
        next += MaskBytes;
    }
    for (std::size_t i = 0; i < entries; ++i, next += 4) {
        next[0] = table[i].Blue;
        next[1] = table[i].Green;
        next[2] = table[i].Red;
        next[3] = 0;
    }
    sink.Write(head.data(), head.size());
    WriteRows(bitmap, sink, topDown);
}

void SaveBitmapToFile(const TBitmap& bitmap, const std::string& path) {
    WriteFileSafely(path, [&](TByteSink& sink) { WriteBitmap(bitmap, sink); });
}
