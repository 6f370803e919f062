// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Errors.h"

// A fault of the GIF codec itself: a picture it cannot represent or an image that breaks the
// format's rules. The message is the text the user sees.
class GIFException : public EPictureError {
  public:
    using EPictureError::EPictureError;
};
