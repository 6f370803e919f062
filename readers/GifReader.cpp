// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifReader.h"

#include "ByteSource.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "Palettes.h"

#include <algorithm>
#include <gif_lib.h>
#include <string>

namespace {

struct TGifInput {
    TByteSource* Source = nullptr;
    bool Ended = false; // the bytes gave out: a short file rather than a damaged one
};

int ReadData(GifFileType* gif, GifByteType* data, int length) {
    auto* input = static_cast<TGifInput*>(gif->UserData);
    std::size_t got = 0;
    try {
        got = input->Source->Read(data, std::size_t(std::max(length, 0)));
    } catch (...) {
        // giflib is C: nothing may unwind through it. It sees a short read and fails.
        return 0;
    }
    if (got < std::size_t(std::max(length, 0))) input->Ended = true;
    return int(got);
}

// Closes the file however reading ends.
struct TGifFile {
    GifFileType* Gif = nullptr;
    ~TGifFile() {
        int error = 0;
        if (Gif) DGifCloseFile(Gif, &error);
    }
};

[[noreturn]] void Fail(int error, const TGifInput& input) {
    if (error == D_GIF_ERR_NOT_ENOUGH_MEM) throw EOutOfMemory();
    if (input.Ended) throw EReadError();
    const char* text = GifErrorString(error);
    throw EInvalidGraphic(std::string("GIF image is not valid: ") + (text ? text : "unknown error"));
}

std::vector<TRGBQuad> TableOf(const ColorMapObject* map) {
    if (!map || !map->Colors || map->ColorCount <= 0) return DefaultPaletteForBits(8);
    std::vector<TRGBQuad> table;
    for (int i = 0; i < std::min(map->ColorCount, 256); ++i)
        table.push_back({map->Colors[i].Blue, map->Colors[i].Green, map->Colors[i].Red, 0});
    return table;
}

// The transparent index of a graphic control block, or -1.
int TransparentIndexOf(GifFileType* gif, const TGifInput& input) {
    int transparent = -1;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) Fail(gif->Error, input);
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4 && (block[1] & 1)) transparent = block[4];
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) Fail(gif->Error, input);
    }
    return transparent;
}

} // namespace

TBitmap ReadGif(TByteSource& source, TColor transparentColor, TReadReport& report) {
    TGifInput input{&source};
    int error = 0;
    TGifFile file{DGifOpen(&input, ReadData, &error)};
    if (!file.Gif) Fail(error, input);
    GifFileType* gif = file.Gif;

    int transparent = -1;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) Fail(gif->Error, input);
        if (record == EXTENSION_RECORD_TYPE) {
            const int index = TransparentIndexOf(gif, input);
            if (index >= 0) transparent = index;
        }
        if (record == TERMINATE_RECORD_TYPE)
            throw EInvalidGraphic("GIF image is not valid: it holds no picture");
    } while (record != IMAGE_DESC_RECORD_TYPE);
    if (DGifGetImageDesc(gif) == GIF_ERROR) Fail(gif->Error, input);

    const GifImageDesc& frame = gif->Image;
    TBitmap bitmap(gif->SWidth, gif->SHeight, TPixelFormat::pf8bit);
    std::vector<TRGBQuad> table = TableOf(frame.ColorMap ? frame.ColorMap : gif->SColorMap);
    const int around = transparent >= 0 ? transparent : gif->SBackGroundColor;
    std::fill(bitmap.PixelBuffer().begin(), bitmap.PixelBuffer().end(), std::uint8_t(around));

    std::vector<std::uint8_t> line = AllocateBytes(std::uint64_t(std::max(frame.Width, 0)));
    const int height = std::max(frame.Height, 0);
    // The rows of an interlaced frame come in four passes: every eighth from 0, from 4, every
    // fourth from 2, every second from 1.
    std::vector<int> order;
    order.reserve(std::size_t(height));
    if (frame.Interlace) {
        for (const auto& [first, step] : {std::pair{0, 8}, std::pair{4, 8}, std::pair{2, 4}, std::pair{1, 2}})
            for (int y = first; y < height; y += step)
                order.push_back(y);
    } else {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
    }
    report.Height = bitmap.Height();
    report.RowsRead = bitmap.Height();
    int used = around;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
            if (!input.Ended) Fail(gif->Error, input);
            // A short file keeps what it holds. Only the last pass of an interlaced frame
            // finishes rows, each odd row below a finished even one.
            const std::size_t lastPass = order.size() - std::size_t(height / 2);
            const int frameRows = !frame.Interlace ? int(i) : i >= lastPass ? int(2 * (i - lastPass) + 1) : 0;
            report.RowsRead = std::clamp(frame.Top + frameRows, 0, bitmap.Height());
            break;
        }
        const int y = frame.Top + order[i];
        if (y < 0 || y >= bitmap.Height()) continue;
        const int left = std::max(frame.Left, 0);
        const int right = std::min(frame.Left + frame.Width, bitmap.Width());
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = left; x < right; ++x) {
            row[x] = line[std::size_t(x - frame.Left)];
            used = std::max<int>(used, row[x]);
        }
    }
    // Indices past the table, which the compressed data can hold, read as black.
    if (used >= int(table.size())) table.resize(std::size_t(used) + 1);
    if (transparent >= 0 && transparent < int(table.size()))
        table[std::size_t(transparent)] = QuadOf(transparentColor);
    bitmap.SetColorTable(std::move(table));
    return bitmap;
}
