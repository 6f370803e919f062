// SPDX-License-Identifier: GPL-3.0-or-later
#include "StrokeEntry.h"

#include "Errors.h"

#include <algorithm>
#include <utility>

void TStrokeEntry::MakeRoom() {
    if (Stamps_.size() == Stamps_.capacity()) Stamps_.reserve(std::max<std::size_t>(16, Stamps_.size() * 2));
}

void TStrokeEntry::Add(std::unique_ptr<TAreaEntry> stamp) noexcept {
    Stamps_.push_back(std::move(stamp));
}

std::size_t TStrokeEntry::Bytes() const {
    std::size_t bytes = sizeof(*this) + Stamps_.capacity() * sizeof(Stamps_[0]);
    for (const auto& stamp : Stamps_)
        bytes += stamp->Bytes();
    return bytes;
}

TRect TStrokeEntry::Exchange(TBitmap& picture) noexcept {
    TRect bounds{};
    const auto exchange = [&](TAreaEntry& stamp) {
        const TRect area = stamp.Exchange(picture);
        if (area.IsEmpty()) return;
        bounds = bounds.IsEmpty()
                     ? area
                     : TRect{std::min(bounds.Left, area.Left), std::min(bounds.Top, area.Top),
                             std::max(bounds.Right, area.Right), std::max(bounds.Bottom, area.Bottom)};
    };
    if (Undone_)
        for (auto& stamp : Stamps_)
            exchange(*stamp);
    else
        for (auto it = Stamps_.rbegin(); it != Stamps_.rend(); ++it)
            exchange(**it);
    Undone_ = !Undone_;
    return bounds;
}

void TStrokeEntry::Store(TSpillFile&) {
    throw EWriteError();
}

void TStrokeEntry::Load(TSpillFile&) {}
