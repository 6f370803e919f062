// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PngChunk.h"

#include <cstddef>
#include <memory>
#include <vector>

class TPNGObject;

// The chunks of one image in file order. The list owns its chunks.
class TPNGPointerList {
  public:
    explicit TPNGPointerList(TPNGObject& owner) : Owner_(&owner) {}
    TPNGPointerList(const TPNGPointerList&) = delete;
    TPNGPointerList& operator=(const TPNGPointerList&) = delete;

    TPNGObject& Owner() const { return *Owner_; }
    std::size_t Count() const { return Items_.size(); }
    TChunk* Item(std::size_t index) const { return Items_.at(index).get(); }
    void SetItem(std::size_t index, std::unique_ptr<TChunk> chunk) { Items_.at(index) = std::move(chunk); }

    TChunk& Add(std::unique_ptr<TChunk> chunk) {
        Items_.push_back(std::move(chunk));
        return *Items_.back();
    }

    // Takes the chunk out of the list (the ones behind it move up) and hands it back; nothing
    // when the chunk is not in the list.
    std::unique_ptr<TChunk> Remove(const TChunk* chunk) {
        for (auto it = Items_.begin(); it != Items_.end(); ++it)
            if (it->get() == chunk) {
                std::unique_ptr<TChunk> taken = std::move(*it);
                Items_.erase(it);
                return taken;
            }
        return nullptr;
    }

    // The first chunk of the given class, or nullptr.
    template <class T> T* ItemFromClass() const {
        for (const auto& item : Items_)
            if (auto* found = dynamic_cast<T*>(item.get())) return found;
        return nullptr;
    }

    void Clear() { Items_.clear(); }

  private:
    TPNGObject* Owner_;
    std::vector<std::unique_ptr<TChunk>> Items_;
};

// The chunk list of an image: makes chunks that belong to its owner.
class TPNGList : public TPNGPointerList {
  public:
    using TPNGPointerList::Add;
    using TPNGPointerList::TPNGPointerList;

    template <class T> T& Add() {
        return static_cast<T&>(TPNGPointerList::Add(std::make_unique<T>(Owner())));
    }
};
