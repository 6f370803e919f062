// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifSubImage.h"

#include "Bitmap.h"
#include "ByteSink.h"
#include "GifErrors.h"
#include "GifExtension.h"
#include "GifImage.h"
#include "LZWEncoder.h"
#include "RowSource.h"

#include <cstring>
#include <new>

namespace {
constexpr std::uint8_t ImageSeparator = 0x2C;
// Image descriptor, packed fields.
constexpr std::uint8_t LocalTableFlag = 0x80;
constexpr std::uint8_t InterlaceFlag = 0x40;
constexpr std::uint8_t LocalSortFlag = 0x20;
// What survives when there is no local table: the interlace flag and the reserved bits.
constexpr std::uint8_t KeptWithoutLocalTable = 0x58;
constexpr int MaxSide = 65535; // the descriptor's 16-bit width and height
} // namespace

TGIFSubImage::TGIFSubImage(TGIFImage& image) : TGIFItem(image), ColorMap(*this), Extensions(image) {}

TGIFSubImage::~TGIFSubImage() = default;

void TGIFSubImage::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > MaxSide || height > MaxSide)
        throw GIFException("A GIF image cannot be larger than 65535 x 65535 pixels");
    try {
        Data.assign(std::size_t(width) * std::size_t(height), 0);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
    Width = std::uint16_t(width);
    Height = std::uint16_t(height);
    Image.FitScreenTo(*this);
}

void TGIFSubImage::Assign(const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    if (bitmap.PixelFormat() != TPixelFormat::pf8bit)
        throw GIFException("Only a bitmap of 8 bits per pixel can become a GIF image");
    SetSize(bitmap.Width(), bitmap.Height());

    std::vector<TGIFColor> colors;
    const auto& table = bitmap.ColorTable();
    const std::size_t count = std::min<std::size_t>(table.size(), MaxGIFColors);
    colors.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        colors.push_back({table[i].Red, table[i].Green, table[i].Blue});
    ColorMap.Assign(colors);

    const std::size_t width = Width;
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(Data.data() + std::size_t(y) * width, bitmap.ScanLine(y), width);
}

bool TGIFSubImage::Transparent() const {
    return GraphicControlExtension && GraphicControlExtension->Transparent;
}

std::uint8_t TGIFSubImage::TransparentIndex() const {
    return GraphicControlExtension ? GraphicControlExtension->TransparentColorIndex : 0;
}

TGIFGraphicControlExtension& TGIFSubImage::SetTransparentIndex(std::uint8_t index) {
    if (!GraphicControlExtension)
        GraphicControlExtension = static_cast<TGIFGraphicControlExtension*>(
            &Extensions.Add(std::make_unique<TGIFGraphicControlExtension>(*this)));
    GraphicControlExtension->Transparent = true;
    GraphicControlExtension->TransparentColorIndex = index;
    return *GraphicControlExtension;
}

TGIFVersion TGIFSubImage::Version() const {
    return ColorMap.Sorted || !Extensions.Empty() ? TGIFVersion::gv89a : TGIFVersion::gv87a;
}

void TGIFSubImage::WriteDescriptor(TByteSink& sink, int& bitsPerPixel, int& colorLimit) {
    if (ColorMap.Count() == 0) {
        PackedFields &= KeptWithoutLocalTable;
    } else {
        PackedFields = LocalTableFlag;
        if (ColorMap.Sorted) PackedFields |= LocalSortFlag;
        PackedFields |= std::uint8_t((ColorMap.BitsPerPixel() - 1) & 7);
    }
    const std::uint8_t descriptor[10] = {ImageSeparator,
                                         std::uint8_t(Left & 0xFF),
                                         std::uint8_t(Left >> 8),
                                         std::uint8_t(Top & 0xFF),
                                         std::uint8_t(Top >> 8),
                                         std::uint8_t(Width & 0xFF),
                                         std::uint8_t(Width >> 8),
                                         std::uint8_t(Height & 0xFF),
                                         std::uint8_t(Height >> 8),
                                         PackedFields};
    sink.Write(descriptor, sizeof descriptor);
    ColorMap.SaveToSink(sink);

    if (ColorMap.Count() > 0) {
        bitsPerPixel = ColorMap.BitsPerPixel();
        colorLimit = ColorMap.Count();
    } else {
        bitsPerPixel = Image.BitsPerPixel();
        colorLimit = 1 << bitsPerPixel;
    }
}

void TGIFSubImage::SaveToSink(TByteSink& sink) {
    Extensions.SaveToSink(sink);
    if (Empty()) return;
    // The encoder reads Width x Height bytes; a buffer cut shorter must not be read past.
    if (Data.size() < std::size_t(Width) * Height) throw GIFException("Image data is smaller than the image");

    int bitsPerPixel = 0, colorLimit = 0;
    WriteDescriptor(sink, bitsPerPixel, colorLimit);
    TLZWEncoder encoder;
    encoder.Compress(sink, bitsPerPixel, colorLimit, Data.data(), (PackedFields & InterlaceFlag) != 0, Width,
                     Height);
}

void TGIFSubImage::SaveRowsToSink(TByteSink& sink, TRowSource& rows,
                                  const std::array<std::uint8_t, MaxGIFColors>& translation) {
    if (rows.PixelFormat() != TPixelFormat::pf8bit || rows.Width() != Width || rows.Height() != Height)
        throw GIFException("Only rows of 8 bits per pixel and of the image's size can become a GIF image");
    if (PackedFields & InterlaceFlag) throw GIFException("Interlaced rows cannot be written as they come");
    Extensions.SaveToSink(sink);
    if (Width == 0 || Height == 0) return;

    int bitsPerPixel = 0, colorLimit = 0;
    WriteDescriptor(sink, bitsPerPixel, colorLimit);
    std::vector<std::uint8_t> renumbered(Width);
    TLZWEncoder encoder;
    encoder.Begin(sink, bitsPerPixel, colorLimit);
    rows.Rewind(TRowOrder::TopFirst);
    for (int y = 0; y < Height; ++y) {
        const std::uint8_t* row = rows.NextRow();
        for (std::size_t x = 0; x < renumbered.size(); ++x)
            renumbered[x] = translation[row[x]];
        encoder.Feed(renumbered.data(), renumbered.size());
    }
    encoder.End(sink);
}
