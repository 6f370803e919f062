// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GifItem.h"

#include <cstddef>
#include <memory>
#include <vector>

class TGIFExtension;
class TGIFSubImage;

// An ordered list of items it owns, written in list order.
template <typename TItem> class TGIFList {
  public:
    explicit TGIFList(TGIFImage& image) : Image(image) {}

    std::size_t Count() const { return Items_.size(); }
    bool Empty() const { return Items_.empty(); }
    TItem& operator[](std::size_t index) { return *Items_[index]; }
    const TItem& operator[](std::size_t index) const { return *Items_[index]; }

    TItem& Add(std::unique_ptr<TItem> item) {
        Items_.push_back(std::move(item));
        return *Items_.back();
    }
    void Clear() { Items_.clear(); }

    void SaveToSink(TByteSink& sink) {
        for (auto& item : Items_)
            item->SaveToSink(sink);
    }

    auto begin() { return Items_.begin(); }
    auto end() { return Items_.end(); }
    auto begin() const { return Items_.begin(); }
    auto end() const { return Items_.end(); }

    TGIFImage& Image;

  private:
    std::vector<std::unique_ptr<TItem>> Items_;
};

// The sub-images of an image, in file order.
class TGIFImageList : public TGIFList<TGIFSubImage> {
  public:
    using TGIFList::TGIFList;
};

// The extensions written before one sub-image, in file order.
class TGIFExtensionList : public TGIFList<TGIFExtension> {
  public:
    using TGIFList::TGIFList;
};
