// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

// The errors the picture layer and the codecs raise. Their messages are the texts the user sees.
class EPictureError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "Bitmap image is not valid": a file that is not a bitmap we can read.
class EInvalidGraphic : public EPictureError {
  public:
    EInvalidGraphic() : EPictureError("Bitmap image is not valid") {}
    explicit EInvalidGraphic(const std::string& message) : EPictureError(message) {}
};

// "Stream read error": a file that ends where more was promised.
class EReadError : public EPictureError {
  public:
    EReadError() : EPictureError("Stream read error") {}
};

// "Stream write error": a device that did not take every byte (a full disk).
class EWriteError : public EPictureError {
  public:
    EWriteError() : EPictureError("Stream write error") {}
};

// "Cannot open file %s", and why when the name leads to no file to read ("it is a folder").
class EFOpenError : public EPictureError {
  public:
    explicit EFOpenError(const std::string& path) : EPictureError("Cannot open file " + path) {}
    EFOpenError(const std::string& path, const std::string& reason)
        : EPictureError("Cannot open file " + path + ": " + reason) {}
};

// "Cannot create file %s".
class EFCreateError : public EPictureError {
  public:
    explicit EFCreateError(const std::string& path) : EPictureError("Cannot create file " + path) {}
};

// A bitmap that cannot be had: too large for the memory there is, or an allocation refused.
class EOutOfMemory : public EPictureError {
  public:
    EOutOfMemory() : EPictureError("Out of memory") {}
};

// A file whose pixel data ends before its last row: how many rows it holds. The editor opens
// such a file with the missing rows zero; a conversion from file to file refuses it.
class ETruncatedPixels : public EPictureError {
  public:
    ETruncatedPixels(int rowsRead, int height)
        : EPictureError("the pixel data ends after " + std::to_string(rowsRead) + " of " +
                        std::to_string(height) + " rows"),
          RowsRead(rowsRead), Height(height) {}
    int RowsRead;
    int Height;
};

// The user stopped a file being written (Escape during the progress); the earlier file stays.
// Not a failure to report.
class ECancelled : public EPictureError {
  public:
    ECancelled() : EPictureError("Cancelled") {}
};
