// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifExtension.h"

#include "ByteSink.h"
#include "GifSubImage.h"

namespace {
constexpr std::uint8_t ExtensionIntroducer = 0x21;
constexpr std::uint8_t GraphicControlSize = 4; // block size of the graphic control extension
constexpr std::uint8_t TransparentFlag = 0x01; // packed field bit 0
constexpr std::uint8_t BlockTerminator = 0x00;
} // namespace

TGIFExtension::TGIFExtension(TGIFSubImage& subImage) : TGIFItem(subImage.Image), SubImage(subImage) {}

void TGIFGraphicControlExtension::SaveToSink(TByteSink& sink) {
    const std::uint8_t packed = std::uint8_t(((Disposal & 7) << 2) | (Transparent ? TransparentFlag : 0));
    const std::uint8_t bytes[] = {ExtensionIntroducer,        Label(),
                                  GraphicControlSize,         packed,
                                  std::uint8_t(Delay & 0xFF), std::uint8_t(Delay >> 8),
                                  TransparentColorIndex,      BlockTerminator};
    sink.Write(bytes, sizeof bytes);
}
