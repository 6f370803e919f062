// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Modal.h"

// The wait cursor for as long as the scope lives, however it is left. Scopes nest: only the
// outermost switches the cursor, so a long command that runs shorter ones (opening a file,
// converting and resizing, exporting after a stamp) keeps it for its whole length.
class TWaitCursor {
  public:
    explicit TWaitCursor(TDocumentHost& host) : Host_(host) {
        if (Depth_++ == 0) Host_.SetWaitCursor(true);
    }
    ~TWaitCursor() {
        if (--Depth_ == 0) Host_.SetWaitCursor(false);
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

  private:
    TDocumentHost& Host_;
    static inline int Depth_ = 0; // everything runs on the one GUI thread
};
