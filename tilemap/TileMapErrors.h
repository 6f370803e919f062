// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Errors.h"

#include <cstdint>
#include <string>

// A tile map that cannot be made from this picture with these settings: nothing was written.
// The message is for the user, in English; Kind and the numbers let a caller say it in the
// user's language.
class ETileMapRefused : public EPictureError {
  public:
    enum class TKind {
        ZeroSize,     // a tile side of 0 (or less)
        LargerThan,   // a tile side beyond the picture
        NotAMultiple, // Side (0 width, 1 height), PictureSide, TileSide, Over, Below, Above (0: none)
        TooManyTiles, // more distinct tiles than a map can number: Limit
        NoTiles,      // every cell was empty
    };
    ETileMapRefused(TKind kind, std::string message) : EPictureError(std::move(message)), Kind(kind) {}

    TKind Kind;
    int Side = 0;
    std::int64_t PictureSide = 0, TileSide = 0, Over = 0, Below = 0, Above = 0, Limit = 0;
};
