// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "ByteSource.h"
#include "Color.h"
#include "PngDecoder.h"
#include "ReadReport.h"
#include "RowSource.h"

#include <cstdio>
#include <memory>
#include <string>

// Reads a whole PNG picture for editing. A file that ends inside the pixel data opens with the
// rows it holds and the rest zero, the report telling how many; a damaged one raises
// EInvalidGraphic, one too large for memory EOutOfMemory.
TBitmap ReadPng(TByteSource& source, TColor transparentColor, TReadReport& report);

// The rows of a PNG file decoded as they are asked for, top row first; memory grows with the
// width only. An interlaced file is decoded whole on the first pass, as its rows are only
// known at the end. Rows bottom first are decoded once into a temporary file and read back
// from there. A file that ends early raises ETruncatedPixels where its rows run out.
class TPngFileRows final : public TRowSource {
  public:
    TPngFileRows(const std::string& path, TColor transparentColor);
    ~TPngFileRows() override;

    int Width() const override { return Decoder_->Width(); }
    int Height() const override { return Decoder_->Height(); }
    TPixelFormat PixelFormat() const override { return Decoder_->PixelFormat(); }
    const std::vector<TRGBQuad>& ColorTable() const override { return Decoder_->ColorTable(); }
    void Rewind(TRowOrder order) override;
    const std::uint8_t* NextRow() override;
    std::uint64_t MadeOpaque() const { return Decoder_->MadeOpaque(); }

  private:
    void Restart();
    void DecodeRow(std::uint8_t* out);
    void Spool();

    std::string Path_;
    TColor Transparent_;
    std::unique_ptr<TFileSource> File_;
    std::unique_ptr<TPngDecoder> Decoder_;
    std::vector<std::uint8_t> Whole_; // an interlaced picture, decoded on the first pass
    bool WholeRead_ = false;
    std::FILE* Spool_ = nullptr; // the rows in order for reading bottom first
    std::vector<std::uint8_t> Rows_[2];
    int Turn_ = 0;
    int Decoded_ = 0; // rows the decoder has handed out since it started
    bool BottomFirst_ = false;
    int Next_ = 0;
};
