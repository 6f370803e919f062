// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TByteSink;
class TGIFImage;

// The oldest format version that can hold an item.
enum class TGIFVersion { gvUnknown, gv87a, gv89a };

// A part of a GIF file that the image owns and writes in its place.
class TGIFItem {
  public:
    explicit TGIFItem(TGIFImage& image) : Image(image) {}
    virtual ~TGIFItem() = default;
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    virtual TGIFVersion Version() const { return TGIFVersion::gv87a; }
    // Writing first brings the item's recorded fields (packed flags) up to date.
    virtual void SaveToSink(TByteSink& sink) = 0;

    TGIFImage& Image;
};
