// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertedRows.h"

#include "MemoryGuard.h"
#include "Palettes.h"
#include "RowCodec.h"

TConvertedRows::TConvertedRows(TRowSource& source, TPixelFormat format) : Source_(source), Format_(format) {
    if (PassThrough()) return;
    if (IsPaletteFormat(format)) {
        Table_ = DefaultPaletteForBits(BitsOfPixelFormat(format));
        Matcher_ = std::make_unique<TColorMatcher>(Table_);
    } else {
        Table_ = source.ColorTable(); // a palette depth hands its table on to a direct one
    }
    if (source.PixelFormat() != TPixelFormat::pf24bit)
        Bgr_ = AllocateBytes(3 * std::uint64_t(source.Width()));
    for (auto& row : Rows_)
        row = AllocateBytes(RowBytes());
}

const std::uint8_t* TConvertedRows::NextRow() {
    const std::uint8_t* from = Source_.NextRow();
    if (PassThrough()) return from;
    const int width = Source_.Width();
    const std::uint8_t* colours = from;
    if (!Bgr_.empty()) {
        RowCodec::DecodeSpan(Source_.PixelFormat(), Source_.ColorTable(), from, 0, width, Bgr_.data());
        colours = Bgr_.data();
    }
    // Every pixel is written anew and the padding was zeroed once, so a reused row holds nothing
    // of the row before.
    std::uint8_t* to = Rows_[Turn_].data();
    Turn_ ^= 1;
    RowCodec::EncodeSpan(Format_, Matcher_.get(), colours, width, to, 0);
    return to;
}
