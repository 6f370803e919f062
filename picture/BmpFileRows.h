// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "BmpHeader.h"
#include "ByteSource.h"
#include "RowSource.h"

#include <string>

// The rows of a BMP file read from the disk as they are asked for, never the whole picture:
// the rows the editor would hold after opening the file, so what reads as 32 bits (32-bit files,
// 15-bit files, unusual masks) comes as 24-bit rows. Memory grows with the width only.
// Run-length files and empty files cannot be read this way (Streamable() is false). Opening
// allocates nothing for the pixels: a caller can refuse a short file before it reads a row.
class TBmpFileRows final : public TRowSource {
  public:
    // EFOpenError, EInvalidGraphic or EReadError as opening the picture would raise them.
    explicit TBmpFileRows(const std::string& path);

    bool Streamable() const { return Streamable_; }
    // What a save of the opened picture keeps of the file's layout.
    const TBmpFileLayout& FileLayout() const { return Layout_; }
    // Rows whose pixels the file holds whole; fewer than Height() when the pixel data ends early.
    // The missing rows read as zero, as they open in the editor.
    int RowsInFile() const { return RowsInFile_; }

    int Width() const override { return int(Header_.Width); }
    int Height() const override { return Height_; }
    TPixelFormat PixelFormat() const override { return Format_; }
    const std::vector<TRGBQuad>& ColorTable() const override { return Table_; }
    void Rewind(TRowOrder order) override;
    const std::uint8_t* NextRow() override;

  private:
    void AllocateRows();
    void LoadBlock(std::int64_t fileRow);

    TFileSource File_;
    TBmpHeader Header_;
    TBmpPixels Pixels_;
    bool Streamable_ = false;
    int Height_ = 0;
    TPixelFormat Format_ = TPixelFormat::pf24bit;
    std::vector<TRGBQuad> Table_;
    TBmpFileLayout Layout_;
    int RowsInFile_ = 0;

    std::uint64_t PixelStart_ = 0;
    std::uint64_t PixelBytes_ = 0; // what the rows may take from the file
    std::size_t FileRowBytes_ = 0;
    std::int64_t RowsWithBytes_ = 0; // rows of the file with any byte of theirs in it
    std::vector<std::uint8_t> Zero_; // what every row past those reads as
    std::int64_t BlockRows_ = 1;
    // Rows of the file in two blocks used in turn, so the row handed out before survives the
    // loading of the next block.
    std::vector<std::uint8_t> Blocks_[2];
    int Turn_ = 0;
    std::int64_t BlockFirst_ = -1; // file row at the start of the current block
    std::int64_t BlockCount_ = 0;
    std::vector<std::uint8_t> Unpacked_[2]; // 24-bit rows of what reads as 32 bits
    int UnpackTurn_ = 0;

    bool BottomFirst_ = false;
    int Next_ = 0;
};
