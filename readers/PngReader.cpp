// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngReader.h"

#include "Errors.h"
#include "MemoryGuard.h"

TBitmap ReadPng(TByteSource& source, TColor transparentColor, TReadReport& report) {
    TPngDecoder decoder(source, transparentColor);
    TBitmap bitmap(decoder.Width(), decoder.Height(), decoder.PixelFormat());
    bitmap.SetColorTable(decoder.ColorTable());
    report.Height = decoder.Height();
    if (decoder.Interlaced()) {
        report.RowsRead = decoder.ReadAll(bitmap.PixelBuffer().data(), bitmap.RowBytes());
    } else {
        report.RowsRead = 0;
        while (report.RowsRead < decoder.Height() && decoder.ReadRow(bitmap.ScanLine(report.RowsRead)))
            ++report.RowsRead;
    }
    report.MadeOpaque = decoder.MadeOpaque();
    return bitmap;
}

TPngFileRows::TPngFileRows(const std::string& path, TColor transparentColor)
    : Path_(path), Transparent_(transparentColor) {
    Restart();
    for (auto& row : Rows_)
        row = AllocateBytes(RowBytes());
}

TPngFileRows::~TPngFileRows() {
    if (Spool_) std::fclose(Spool_);
}

void TPngFileRows::Restart() {
    Decoder_.reset();
    File_ = std::make_unique<TFileSource>(Path_);
    Decoder_ = std::make_unique<TPngDecoder>(*File_, Transparent_);
    Decoded_ = 0;
}

void TPngFileRows::Rewind(TRowOrder order) {
    BottomFirst_ = order == TRowOrder::BottomFirst;
    Next_ = 0;
    if (Decoder_->Interlaced()) {
        if (!WholeRead_) {
            Whole_ = AllocateBytes(CheckedProduct(RowBytes(), std::uint64_t(Height())));
            const int complete = Decoder_->ReadAll(Whole_.data(), RowBytes());
            if (complete < Height()) throw ETruncatedPixels(complete, Height());
            WholeRead_ = true;
        }
        return;
    }
    if (BottomFirst_) {
        if (!Spool_) Spool();
        return;
    }
    if (Decoded_ > 0) Restart();
}

void TPngFileRows::DecodeRow(std::uint8_t* out) {
    if (!Decoder_->ReadRow(out)) throw ETruncatedPixels(Decoded_, Height());
    ++Decoded_;
}

void TPngFileRows::Spool() {
    std::FILE* spool = std::tmpfile();
    if (!spool) throw EWriteError();
    const struct TClose {
        std::FILE*& File;
        ~TClose() {
            if (File) std::fclose(File);
        }
    } close{spool};
    if (Decoded_ > 0) Restart();
    std::vector<std::uint8_t>& row = Rows_[0];
    for (int y = 0; y < Height(); ++y) {
        DecodeRow(row.data());
        if (std::fwrite(row.data(), 1, row.size(), spool) != row.size()) throw EWriteError();
    }
    if (std::fflush(spool) != 0) throw EWriteError();
    Spool_ = spool;
    spool = nullptr;
}

const std::uint8_t* TPngFileRows::NextRow() {
    const int i = Next_++;
    if (WholeRead_) return Whole_.data() + std::size_t(BottomFirst_ ? Height() - 1 - i : i) * RowBytes();
    std::vector<std::uint8_t>& row = Rows_[Turn_];
    Turn_ ^= 1;
    if (BottomFirst_) {
        const long offset = long(std::uint64_t(Height() - 1 - i) * RowBytes());
        if (std::fseek(Spool_, offset, SEEK_SET) != 0 ||
            std::fread(row.data(), 1, row.size(), Spool_) != row.size())
            throw EReadError();
        return row.data();
    }
    DecodeRow(row.data());
    return row.data();
}
