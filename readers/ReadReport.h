// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// What reading a picture found besides its pixels, for the user to be told.
struct TReadReport {
    int RowsRead = 0; // rows the file holds whole, from the top; fewer than Height when it ends early
    int Height = 0;
    // Pixels neither opaque nor fully transparent that were made opaque (alpha 128 to 254).
    std::uint64_t MadeOpaque = 0;

    bool Damaged() const { return RowsRead < Height; }
};
