// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifHeader.h"

#include "ByteSink.h"
#include "GifErrors.h"
#include "GifImage.h"

namespace {
// Logical screen descriptor, packed fields.
constexpr std::uint8_t GlobalTableFlag = 0x80;
constexpr std::uint8_t GlobalSortFlag = 0x08;
constexpr int ColorResolutionShift = 4;
} // namespace

void TGIFHeader::Prepare() {
    std::uint8_t packed = 0;
    if (ColorMap.Count() > 0) {
        packed |= GlobalTableFlag;
        if (ColorMap.Sorted) packed |= GlobalSortFlag;
    }
    // An image without any colour table gives -1 and 0 here, both of which mask to 7.
    packed |= std::uint8_t((Image.ColorResolution() & 7) << ColorResolutionShift);
    packed |= std::uint8_t((Image.BitsPerPixel() - 1) & 7);
    PackedFields = packed;
}

void TGIFHeader::SaveToSink(TByteSink& sink) {
    const TGIFVersion version = Image.Version();
    if (version == TGIFVersion::gvUnknown) throw GIFException("Unsupported GIF version");
    const char* signature = version == TGIFVersion::gv89a ? "GIF89a" : "GIF87a";
    sink.Write(signature, 6);

    Prepare();
    const std::uint8_t descriptor[7] = {std::uint8_t(ScreenWidth & 0xFF),
                                        std::uint8_t(ScreenWidth >> 8),
                                        std::uint8_t(ScreenHeight & 0xFF),
                                        std::uint8_t(ScreenHeight >> 8),
                                        PackedFields,
                                        BackgroundColorIndex,
                                        AspectRatio};
    sink.Write(descriptor, sizeof descriptor);
    if (PackedFields & GlobalTableFlag) ColorMap.SaveToSink(sink);
}
