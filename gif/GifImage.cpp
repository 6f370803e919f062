// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifImage.h"

#include "ColorMapOptimizer.h"
#include "GifErrors.h"
#include "GifTrailer.h"

#include <algorithm>

TGIFImage::TGIFImage() : Header(*this), Images(*this) {}

void TGIFImage::Clear() {
    Images.Clear();
    Header.ColorMap.Clear();
    Header.ScreenWidth = 0;
    Header.ScreenHeight = 0;
    Header.Prepare();
}

void TGIFImage::Assign(const TBitmap& bitmap) {
    Clear();
    auto subImage = std::make_unique<TGIFSubImage>(*this);
    subImage->Assign(bitmap);
    Images.Add(std::move(subImage));
}

TGIFSubImage& TGIFImage::AddSubImage() {
    return Images.Add(std::make_unique<TGIFSubImage>(*this));
}

void TGIFImage::SetScreenWidth(int width) {
    for (const auto& subImage : Images)
        if (subImage->Left + subImage->Width > width)
            throw GIFException("Image width too small for contained frames");
    Header.ScreenWidth = std::uint16_t(width);
}

void TGIFImage::SetScreenHeight(int height) {
    for (const auto& subImage : Images)
        if (subImage->Top + subImage->Height > height)
            throw GIFException("Image height too small for contained frames");
    Header.ScreenHeight = std::uint16_t(height);
}

void TGIFImage::FitScreenTo(const TGIFSubImage& subImage) {
    // The screen fields are 16 bits; a sub-image reaching past them keeps the largest screen.
    const int right = std::min(subImage.Left + subImage.Width, 0xFFFF);
    const int bottom = std::min(subImage.Top + subImage.Height, 0xFFFF);
    if (right > Header.ScreenWidth) Header.ScreenWidth = std::uint16_t(right);
    if (bottom > Header.ScreenHeight) Header.ScreenHeight = std::uint16_t(bottom);
}

TGIFVersion TGIFImage::Version() const {
    TGIFVersion version = TGIFVersion::gvUnknown;
    for (const auto& subImage : Images) {
        version = subImage->Version();
        if (version == TGIFVersion::gv89a) break;
    }
    return version;
}

int TGIFImage::BitsPerPixel() const {
    int bits = Header.ColorMap.BitsPerPixel();
    for (const auto& subImage : Images)
        bits = std::max(bits, subImage->ColorMap.BitsPerPixel());
    return bits;
}

int TGIFImage::ColorResolution() const {
    int resolution = Header.ColorMap.ColorResolution();
    for (const auto& subImage : Images)
        resolution = std::max(resolution, subImage->ColorMap.ColorResolution());
    return resolution;
}

void TGIFImage::PackColorTables() {
    TColorMapOptimizer optimizer(*this);
    optimizer.Optimize();
}

void TGIFImage::SaveToSink(TByteSink& sink) {
    Header.SaveToSink(sink);
    Images.SaveToSink(sink);
    TGIFTrailer(*this).SaveToSink(sink);
}
