// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureReader.h"

#include "BmpFile.h"
#include "BmpFileRows.h"
#include "ByteSource.h"
#include "Errors.h"
#include "GifReader.h"
#include "PictureFile.h"
#include "PngReader.h"

#include <cstring>
#include <optional>

namespace {

// A whole picture handed out as rows.
class THeldRows final : public TRowSource {
  public:
    explicit THeldRows(TBitmap bitmap) : Bitmap_(std::move(bitmap)), Rows_(Bitmap_) {}
    int Width() const override { return Rows_.Width(); }
    int Height() const override { return Rows_.Height(); }
    TPixelFormat PixelFormat() const override { return Rows_.PixelFormat(); }
    const std::vector<TRGBQuad>& ColorTable() const override { return Rows_.ColorTable(); }
    void Rewind(TRowOrder order) override { Rows_.Rewind(order); }
    const std::uint8_t* NextRow() override { return Rows_.NextRow(); }

  private:
    TBitmap Bitmap_;
    TBitmapRows Rows_;
};

} // namespace

TPictureKind PictureKindOf(const std::uint8_t* bytes, std::size_t size) {
    static const std::uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (size >= sizeof png && std::memcmp(bytes, png, sizeof png) == 0) return TPictureKind::Png;
    if (size >= 6 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0))
        return TPictureKind::Gif;
    return TPictureKind::Bmp;
}

TPictureKind PictureKindOfFile(const std::string& path) {
    TFileSource file(path);
    std::uint8_t bytes[8] = {};
    return PictureKindOf(bytes, file.Read(bytes, sizeof bytes));
}

TBitmap ReadPictureFile(const std::string& path, TColor transparentColor, TReadReport& report,
                        const TProgressSource::TReport& progress) {
    report = {};
    const TPictureKind kind = PictureKindOfFile(path);
    TFileSource file(path);
    std::optional<TProgressSource> counted;
    if (progress) counted.emplace(file, file.Size(), progress);
    TByteSource& source = counted ? static_cast<TByteSource&>(*counted) : file;
    switch (kind) {
    case TPictureKind::Png:
        return ReadPng(source, transparentColor, report);
    case TPictureKind::Gif:
        return ReadGif(source, transparentColor, report);
    case TPictureKind::Bmp:
        break;
    }
    TBitmap bitmap = ReadBitmap(source, TBmpReadDepth::Editing);
    report.Height = report.RowsRead = bitmap.Height();
    // Only what can be read by the row is checked for missing rows: run-length files are not.
    try {
        const TBmpFileRows rows(path);
        if (rows.Streamable()) report.RowsRead = rows.RowsInFile();
    } catch (const EPictureError&) {
        // It opened whole a moment ago; a file changed since then is not this report's business.
    }
    return bitmap;
}

std::unique_ptr<TRowSource> OpenPictureRows(const std::string& path, TColor transparentColor) {
    switch (PictureKindOfFile(path)) {
    case TPictureKind::Png:
        return std::make_unique<TPngFileRows>(path, transparentColor);
    case TPictureKind::Gif: {
        TReadReport report;
        TFileSource file(path);
        TBitmap bitmap = ReadGif(file, transparentColor, report);
        if (report.Damaged()) throw ETruncatedPixels(report.RowsRead, report.Height);
        return std::make_unique<THeldRows>(std::move(bitmap));
    }
    case TPictureKind::Bmp:
        break;
    }
    auto file = std::make_unique<TBmpFileRows>(path);
    if (file->Streamable()) {
        if (file->RowsInFile() < file->Height()) throw ETruncatedPixels(file->RowsInFile(), file->Height());
        return file;
    }
    // Run-length pixels cannot be read by the row: this picture is opened whole.
    return std::make_unique<THeldRows>(OpenPictureForEditing(path));
}

TBmpFileLayout FileLayoutOf(const TRowSource& rows) {
    if (const auto* bmp = dynamic_cast<const TBmpFileRows*>(&rows)) return bmp->FileLayout();
    return {};
}
