// SPDX-License-Identifier: GPL-3.0-or-later
#include "IdatStream.h"

#include "ChunkIDAT.h"
#include "Errors.h"
#include "MemoryGuard.h"
#include "PngFormat.h"

#include <limits>

namespace {

// deflateInit2 parameter: a 32 KiB window with the zlib header and Adler-32 trailer.
constexpr int WindowBits = 15;

} // namespace

TIdatStream::TIdatStream(TByteSink& sink, int level, std::uint32_t chunkLimit, int memoryLevel)
    : Sink_(sink) {
    if (chunkLimit == 0 || chunkLimit > PngFormat::MaxChunkLength)
        throw EPictureError("PNG data chunk limit out of range");
    if (level < 0 || level > 9) throw EPictureError("PNG deflate level out of range");
    if (memoryLevel < 1 || memoryLevel > 9) throw EPictureError("PNG deflate memory level out of range");
    Buffer_ = AllocateBytes(chunkLimit);
    const int result = deflateInit2(&Stream_, level, Z_DEFLATED, WindowBits, memoryLevel, Z_DEFAULT_STRATEGY);
    if (result == Z_MEM_ERROR) throw EOutOfMemory();
    if (result != Z_OK) throw EPictureError("PNG compressor could not be started");
    Open_ = true;
    Stream_.next_out = Buffer_.data();
    Stream_.avail_out = uInt(Buffer_.size());
}

TIdatStream::~TIdatStream() {
    if (Open_) deflateEnd(&Stream_);
}

void TIdatStream::Check(int result) {
    if (result == Z_OK || result == Z_STREAM_END) return;
    deflateEnd(&Stream_);
    Open_ = false;
    if (result == Z_MEM_ERROR) throw EOutOfMemory();
    throw EPictureError("PNG compression failed");
}

void TIdatStream::WriteHeldBytes() {
    const std::size_t held = Buffer_.size() - Stream_.avail_out;
    if (held > 0) WriteChunkFrame(Sink_, TChunkIDAT::Code, Buffer_.data(), held);
    Stream_.next_out = Buffer_.data();
    Stream_.avail_out = uInt(Buffer_.size());
}

void TIdatStream::Feed(const std::uint8_t* data, std::size_t size) {
    if (!Open_) throw EPictureError("PNG compression failed");
    while (size > 0) {
        // zlib counts input in uInt; a longer row goes in pieces.
        const std::size_t piece = std::min<std::size_t>(size, std::numeric_limits<uInt>::max());
        Stream_.next_in = const_cast<Bytef*>(data);
        Stream_.avail_in = uInt(piece);
        while (Stream_.avail_in > 0) {
            Check(deflate(&Stream_, Z_NO_FLUSH));
            if (Stream_.avail_out == 0) WriteHeldBytes();
        }
        data += piece;
        size -= piece;
    }
}

void TIdatStream::Finish() {
    if (!Open_) throw EPictureError("PNG compression failed");
    Stream_.next_in = nullptr;
    Stream_.avail_in = 0;
    for (;;) {
        const int result = deflate(&Stream_, Z_FINISH);
        Check(result);
        if (result == Z_STREAM_END) break;
        WriteHeldBytes();
    }
    WriteHeldBytes();
    deflateEnd(&Stream_);
    Open_ = false;
}
