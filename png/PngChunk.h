// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TByteSink;
class TPNGObject;
class TChunkIHDR;

// A chunk's four-letter type code as it stands in the file.
using TChunkType = std::array<char, 4>;

// Frames one chunk: data length (most significant byte first), type code, data, and the CRC-32
// over type code and data. Every chunk of a file we write goes through here.
void WriteChunkFrame(TByteSink& sink, const TChunkType& type, const std::uint8_t* data, std::size_t size);

// The base of every chunk class; a chunk belongs to one image, which owns it.
class TChunk {
  public:
    TChunk(TPNGObject& owner, const TChunkType& type) : Owner_(&owner), Type_(type) {}
    virtual ~TChunk() = default;
    TChunk(const TChunk&) = delete;
    TChunk& operator=(const TChunk&) = delete;

    std::string Name() const { return std::string(Type_.data(), Type_.size()); }
    const TChunkType& Type() const { return Type_; }
    TPNGObject& Owner() const { return *Owner_; }

    std::vector<std::uint8_t> Data;

    // Writes the chunk; the base frames Data as it stands.
    virtual void SaveToStream(TByteSink& sink);

  protected:
    // The image header, the first chunk of the owner's list; raises EPictureError when the list
    // does not start with one.
    TChunkIHDR& Header() const;

  private:
    TPNGObject* Owner_;
    TChunkType Type_;
};

// The end of the image: no data.
class TChunkIEND : public TChunk {
  public:
    static constexpr TChunkType Code{'I', 'E', 'N', 'D'};
    explicit TChunkIEND(TPNGObject& owner) : TChunk(owner, Code) {}
};
