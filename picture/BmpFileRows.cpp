// SPDX-License-Identifier: GPL-3.0-or-later
#include "BmpFileRows.h"

#include "BmpLayout.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "RowCodec.h"

#include <algorithm>
#include <cstring>

namespace {
// Rows are read from the disk about this many bytes at a time.
constexpr std::uint64_t BlockBytes = 1u << 20;
} // namespace

TBmpFileRows::TBmpFileRows(const std::string& path) : File_(path) {
    if (File_.Size() == 0) return; // opens as a picture without pixels
    Header_ = ReadBmpHeader(File_);
    Table_ = ReadBmpColorTable(File_, Header_, File_.Position());
    Pixels_ = BmpPixelsOf(Header_);
    if (Pixels_.RunLength) return;

    // The pixels begin where the header points when that is past the table and inside the file,
    // as the reader of whole pictures takes them.
    const std::uint64_t position = File_.Position();
    PixelStart_ = position;
    if (Header_.PixelOffset > position && Header_.PixelOffset - position < File_.Remaining())
        PixelStart_ = Header_.PixelOffset;

    const std::int64_t height = Header_.Height < 0 ? -Header_.Height : Header_.Height;
    FileRowBytes_ = RowBytesFor(Header_.Width, Header_.Bits);
    const bool unpacked = Pixels_.Format == TPixelFormat::pf32bit;
    Format_ = unpacked ? TPixelFormat::pf24bit : Pixels_.Format;
    // The same limit as for a picture in memory: what could not be addressed is no picture.
    if (std::uint64_t(RowBytesFor(Header_.Width, BitsOfPixelFormat(Format_))) * std::uint64_t(height) >
        MaxAddressableBytes)
        throw EInvalidGraphic();
    Height_ = int(height);

    // The image-size field is only a hint: writers that leave out the row padding put less there
    // than the rows take, so the rows are read as far as the file holds them.
    const std::uint64_t fullBytes = std::uint64_t(FileRowBytes_) * std::uint64_t(height);
    const std::uint64_t inFile = File_.Size() - PixelStart_;
    PixelBytes_ = std::min(fullBytes, inFile);
    // A row counts as present when its pixels are there; its padding may be missing.
    const std::uint64_t pixelPart = (std::uint64_t(Header_.Width) * std::uint64_t(Header_.Bits) + 7) / 8;
    RowsInFile_ =
        inFile >= fullBytes ? Height_
        : inFile < pixelPart
            ? 0
            : int(std::min<std::uint64_t>((inFile - pixelPart) / FileRowBytes_ + 1, std::uint64_t(Height_)));

    Layout_.CoreHeader = Header_.Core;
    if (!unpacked) {
        Layout_.TopDown = Header_.Height < 0;
        Layout_.XPelsPerMeter = Header_.XPelsPerMeter;
        Layout_.YPelsPerMeter = Header_.YPelsPerMeter;
        Layout_.ClrImportant = Header_.ColorsImportant;
    }
    // Rows past these have no byte in the file and read as zero without a block; a block holds
    // no more rows than the file does, since a header alone may declare gigabytes.
    RowsWithBytes_ = std::int64_t((PixelBytes_ + FileRowBytes_ - 1) / FileRowBytes_);
    BlockRows_ = std::int64_t(std::max<std::uint64_t>(1, BlockBytes / FileRowBytes_));
    BlockRows_ = std::min<std::int64_t>(BlockRows_, std::max<std::int64_t>(RowsWithBytes_, 1));
    Streamable_ = true;
}

void TBmpFileRows::AllocateRows() {
    // Only once a row is read, so that a caller who refuses a short file never pays for it.
    for (auto& block : Blocks_)
        block = AllocateBytes(CheckedProduct(FileRowBytes_, std::uint64_t(BlockRows_)));
    if (Pixels_.Format == TPixelFormat::pf32bit)
        for (auto& row : Unpacked_)
            row = AllocateBytes(RowBytes());
}

void TBmpFileRows::Rewind(TRowOrder order) {
    BottomFirst_ = order == TRowOrder::BottomFirst;
    Next_ = 0;
}

void TBmpFileRows::LoadBlock(std::int64_t fileRow) {
    // The block reaches ahead in the direction the rows are taken.
    const bool ascending = (Header_.Height < 0) != BottomFirst_;
    const std::int64_t first = ascending ? fileRow : std::max<std::int64_t>(0, fileRow - BlockRows_ + 1);
    const std::int64_t count = std::min<std::int64_t>(BlockRows_, RowsWithBytes_ - first);
    Turn_ ^= 1;
    std::vector<std::uint8_t>& block = Blocks_[Turn_];
    const std::uint64_t offset = std::uint64_t(first) * FileRowBytes_;
    const std::uint64_t wanted = std::uint64_t(count) * FileRowBytes_;
    const std::uint64_t there = offset < PixelBytes_ ? std::min(wanted, PixelBytes_ - offset) : 0;
    if (there > 0 && File_.ReadAt(PixelStart_ + offset, block.data(), std::size_t(there)) != there)
        throw EReadError(); // the file shrank while it was read
    std::fill(block.begin() + std::ptrdiff_t(there), block.begin() + std::ptrdiff_t(wanted), 0);
    BlockFirst_ = first;
    BlockCount_ = count;
}

const std::uint8_t* TBmpFileRows::NextRow() {
    if (Next_ >= Height_) throw EReadError(); // past the last row: nothing there to read
    const int y = BottomFirst_ ? Height_ - 1 - Next_ : Next_;
    ++Next_;
    const std::int64_t fileRow = Header_.Height < 0 ? y : Height_ - 1 - y;
    if (fileRow >= RowsWithBytes_) {
        // Zero decodes to zero at every depth, so one row of zeros serves unpacked rows too.
        if (Zero_.empty()) Zero_ = AllocateBytes(RowBytes());
        return Zero_.data();
    }
    if (Blocks_[0].empty()) AllocateRows();
    if (fileRow < BlockFirst_ || fileRow >= BlockFirst_ + BlockCount_) LoadBlock(fileRow);
    const std::uint8_t* row = Blocks_[Turn_].data() + std::size_t(fileRow - BlockFirst_) * FileRowBytes_;
    if (Unpacked_[0].empty()) return row;

    std::uint8_t* out = Unpacked_[UnpackTurn_].data();
    UnpackTurn_ ^= 1;
    if (Pixels_.Masked)
        DecodeBitFieldRow(row, Header_.Bits, Header_.Masks, std::size_t(Width()), out, 3);
    else
        RowCodec::DecodeSpan(TPixelFormat::pf32bit, Table_, row, 0, Width(), out);
    return out;
}
