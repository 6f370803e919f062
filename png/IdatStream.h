// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <zlib.h>

class TByteSink;

// The zlib stream of the image data, cut into IDAT chunks: the compressor writes into one output
// buffer of the data chunk limit, and every time it is full it goes out as one chunk. Finish
// writes what is left as the last chunk; no chunk is ever empty. Any failure raises and leaves
// the stream unusable.
class TIdatStream {
  public:
    // memoryLevel is zlib's (1 to 9): more memory finds longer matches.
    TIdatStream(TByteSink& sink, int level, std::uint32_t chunkLimit, int memoryLevel = 8);
    ~TIdatStream();
    TIdatStream(const TIdatStream&) = delete;
    TIdatStream& operator=(const TIdatStream&) = delete;

    void Feed(const std::uint8_t* data, std::size_t size);
    void Finish();

  private:
    void WriteHeldBytes();
    void Check(int result);

    TByteSink& Sink_;
    z_stream Stream_{};
    bool Open_ = false;
    std::vector<std::uint8_t> Buffer_;
};
