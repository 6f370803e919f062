// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngDecoder.h"

#include "ByteSource.h"
#include "Errors.h"
#include "MemoryGuard.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <png.h>
#include <string>

// libpng reports errors by longjmp. Every call into it happens in a function below that holds
// no object with a destructor, so a jump out of libpng skips nothing that needed to run; the
// C++ side learns of the failure from the return value and raises its exception from there.
struct TPngCore {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    TByteSource* Source = nullptr;
    bool SourceEnded = false; // the bytes gave out: a short file rather than a damaged one
    bool SourceFailed = false;
    char Message[160] = {};

    // Frees libpng's structures however the decoder ends, a constructor that throws included.
    ~TPngCore() {
        if (Png) png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr);
    }
};

namespace {

void OnError(png_structp png, png_const_charp message) {
    auto* core = static_cast<TPngCore*>(png_get_error_ptr(png));
    std::snprintf(core->Message, sizeof core->Message, "%s", message ? message : "");
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp png, png_bytep data, std::size_t length) {
    auto* core = static_cast<TPngCore*>(png_get_io_ptr(png));
    std::size_t got = 0;
    try {
        got = core->Source->Read(data, length);
    } catch (...) {
        core->SourceFailed = true;
    }
    // Out of the handler before jumping, so that no exception is left half handled.
    if (core->SourceFailed) png_error(png, "read error");
    if (got < length) {
        core->SourceEnded = true;
        png_error(png, "the file ends early");
    }
}

// What the header says, copied out of libpng.
struct THeader {
    png_uint_32 Width = 0;
    png_uint_32 Height = 0;
    int BitDepth = 0;
    int ColorType = 0;
    int Interlace = 0;
    int PaletteCount = 0;
    png_color Palette[256] = {};
    int TransCount = 0;
    png_byte TransAlpha[256] = {};
    bool HasTransColor = false;
    png_color_16 TransColor = {};
};

bool CoreReadHeader(TPngCore* core, THeader* header) {
    if (setjmp(png_jmpbuf(core->Png))) return false;
    // Any width and height of the format; what memory allows is checked before anything of
    // that size is allocated.
    png_set_user_limits(core->Png, 0x7fffffffu, 0x7fffffffu);
    // Only the chunks that decide pixels are read; text, colour profiles and the like are skipped.
    png_set_keep_unknown_chunks(core->Png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(core->Png, core->Info);
    png_get_IHDR(core->Png, core->Info, &header->Width, &header->Height, &header->BitDepth,
                 &header->ColorType, &header->Interlace, nullptr, nullptr);
    png_colorp palette = nullptr;
    if (png_get_PLTE(core->Png, core->Info, &palette, &header->PaletteCount) & PNG_INFO_PLTE) {
        header->PaletteCount = std::min(header->PaletteCount, 256);
        std::memcpy(header->Palette, palette, sizeof(png_color) * std::size_t(header->PaletteCount));
    }
    png_bytep alpha = nullptr;
    png_color_16p color = nullptr;
    if (png_get_tRNS(core->Png, core->Info, &alpha, &header->TransCount, &color) & PNG_INFO_tRNS) {
        if (header->ColorType == PNG_COLOR_TYPE_PALETTE && alpha) {
            header->TransCount = std::min(header->TransCount, 256);
            std::memcpy(header->TransAlpha, alpha, std::size_t(header->TransCount));
        } else if (color) {
            header->HasTransColor = true;
            header->TransColor = *color;
        }
    }
    return true;
}

// The transformations to 8-bit BGR or BGRA rows; none for indexed rows.
bool CoreStartRows(TPngCore* core, bool indexed, bool expandAlpha, int* passes, std::size_t* rowBytes) {
    if (setjmp(png_jmpbuf(core->Png))) return false;
    if (!indexed) {
        png_set_scale_16(core->Png);
        png_set_gray_to_rgb(core->Png);
        if (expandAlpha) png_set_tRNS_to_alpha(core->Png);
        png_set_bgr(core->Png);
    }
    *passes = png_set_interlace_handling(core->Png);
    png_read_update_info(core->Png, core->Info);
    *rowBytes = png_get_rowbytes(core->Png, core->Info);
    return true;
}

bool CoreReadImage(TPngCore* core, png_bytepp rows) {
    if (setjmp(png_jmpbuf(core->Png))) return false;
    png_read_image(core->Png, rows);
    return true;
}

bool CoreReadRow(TPngCore* core, png_bytep row) {
    if (setjmp(png_jmpbuf(core->Png))) return false;
    png_read_row(core->Png, row, nullptr);
    return true;
}

} // namespace

TPngDecoder::TPngDecoder(TByteSource& source, TColor transparentColor)
    : Core_(std::make_unique<TPngCore>()), Transparent_(transparentColor) {
    Core_->Source = &source;
    Core_->Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, Core_.get(), OnError, OnWarning);
    if (Core_->Png) Core_->Info = png_create_info_struct(Core_->Png);
    if (!Core_->Info) throw EOutOfMemory();
    png_set_read_fn(Core_->Png, Core_.get(), ReadData);

    THeader header;
    if (!CoreReadHeader(Core_.get(), &header)) Fail();
    if (header.Width > 0x7fffffffu || header.Height > 0x7fffffffu) throw EOutOfMemory();
    Width_ = int(header.Width);
    Height_ = int(header.Height);
    Interlaced_ = header.Interlace != PNG_INTERLACE_NONE;

    const bool palette = header.ColorType == PNG_COLOR_TYPE_PALETTE;
    const bool grey = header.ColorType == PNG_COLOR_TYPE_GRAY;
    Indexed_ = palette || (grey && header.BitDepth <= 8);
    if (Indexed_) {
        PngBits_ = header.BitDepth;
        const int bits = header.BitDepth == 1 ? 1 : header.BitDepth <= 4 ? 4 : 8;
        Format_ = *PixelFormatOfBits(bits);
        const int entries = 1 << header.BitDepth;
        Table_.assign(std::size_t(entries), TRGBQuad{});
        for (int i = 0; i < entries; ++i) {
            if (palette) {
                // A short table leaves the indices past its end black, as libpng reads them.
                if (i < header.PaletteCount)
                    Table_[std::size_t(i)] = {header.Palette[i].blue, header.Palette[i].green,
                                              header.Palette[i].red, 0};
            } else {
                const auto level = std::uint8_t(i * 255 / (entries - 1));
                Table_[std::size_t(i)] = {level, level, level, 0};
            }
        }
        PartEntry_.assign(std::size_t(entries), false);
        if (palette) {
            for (int i = 0; i < std::min(header.TransCount, entries); ++i) {
                if (header.TransAlpha[i] < 128)
                    Table_[std::size_t(i)] = QuadOf(Transparent_);
                else if (header.TransAlpha[i] < 255)
                    PartEntry_[std::size_t(i)] = CountEntries_ = true;
            }
        } else if (header.HasTransColor && header.TransColor.gray < entries) {
            Table_[header.TransColor.gray] = QuadOf(Transparent_);
        }
    } else {
        Format_ = TPixelFormat::pf24bit;
        const bool alpha = (header.ColorType & PNG_COLOR_MASK_ALPHA) != 0;
        Channels_ = alpha || header.HasTransColor ? 4 : 3;
    }

    // The picture itself and libpng's own rows (up to eight bytes a pixel) must fit before
    // libpng is let to allocate them.
    CheckAllocatable(CheckedProduct(RowBytes(), std::uint64_t(Height_)));
    CheckAllocatable(CheckedProduct(std::uint64_t(Width_), 16));
    int passes = 1;
    std::size_t rowBytes = 0;
    if (!CoreStartRows(Core_.get(), Indexed_, header.HasTransColor, &passes, &rowBytes)) Fail();
    Row_ = AllocateBytes(rowBytes);
}

TPngDecoder::~TPngDecoder() = default;

void TPngDecoder::Fail() {
    if (Core_->SourceFailed) throw EReadError();
    if (Core_->SourceEnded) throw EReadError();
    if (std::strstr(Core_->Message, "memory")) throw EOutOfMemory();
    throw EInvalidGraphic(std::string("PNG image is not valid: ") + Core_->Message);
}

bool TPngDecoder::ReadRow(std::uint8_t* out) {
    if (!CoreReadRow(Core_.get(), Row_.data())) {
        std::memset(out, 0, RowBytes());
        if (Core_->SourceEnded) return false;
        Fail();
    }
    Convert(Row_.data(), out);
    return true;
}

int TPngDecoder::ReadAll(std::uint8_t* rows, std::size_t stride) {
    // libpng fills in each pass over the rows of the earlier ones, so all of them are held in
    // its own layout until the last pass.
    const std::uint64_t rowBytes = Row_.size();
    std::vector<std::uint8_t> whole = AllocateBytes(CheckedProduct(rowBytes, std::uint64_t(Height_)));
    std::vector<png_bytep> pointers(static_cast<std::size_t>(Height_));
    for (int y = 0; y < Height_; ++y)
        pointers[std::size_t(y)] = whole.data() + std::size_t(y) * rowBytes;
    int complete = Height_;
    if (!CoreReadImage(Core_.get(), pointers.data())) {
        if (!Core_->SourceEnded) Fail();
        // Each pass covers the whole picture, so no row is known to be whole before the end.
        complete = 0;
    }
    for (int y = 0; y < Height_; ++y)
        Convert(whole.data() + std::size_t(y) * rowBytes, rows + std::size_t(y) * stride);
    return complete;
}

void TPngDecoder::Convert(const std::uint8_t* in, std::uint8_t* out) {
    const std::size_t width = std::size_t(Width_);
    if (Indexed_) {
        if (PngBits_ == 2) {
            // Two-bit indices are widened to the four bits of the nearest depth of ours.
            for (std::size_t x = 0; x < width; x += 2) {
                const std::uint8_t a = (in[x / 4] >> (6 - 2 * (x % 4))) & 3;
                const std::uint8_t b = x + 1 < width ? (in[x / 4] >> (4 - 2 * (x % 4))) & 3 : 0;
                out[x / 2] = std::uint8_t(a << 4 | b);
            }
        } else {
            std::memcpy(out, in, (width * std::size_t(PngBits_) + 7) / 8);
        }
        if (CountEntries_) {
            for (std::size_t x = 0; x < width; ++x) {
                const unsigned index = PngBits_ == 8
                                           ? in[x]
                                           : (in[x * PngBits_ / 8] >> (8 - PngBits_ - x * PngBits_ % 8)) &
                                                 ((1u << PngBits_) - 1);
                MadeOpaque_ += PartEntry_[index];
            }
        }
        return;
    }
    if (Channels_ == 3) {
        std::memcpy(out, in, width * 3);
        return;
    }
    const std::uint8_t tb = GetBValue(Transparent_), tg = GetGValue(Transparent_),
                       tr = GetRValue(Transparent_);
    for (std::size_t x = 0; x < width; ++x, in += 4, out += 3) {
        const std::uint8_t alpha = in[3];
        if (alpha < 128) {
            out[0] = tb;
            out[1] = tg;
            out[2] = tr;
        } else {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            MadeOpaque_ += alpha < 255;
        }
    }
}
