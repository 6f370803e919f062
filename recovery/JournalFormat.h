// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "Canvas.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The bytes of a recovery journal. A journal is the magic, then records; each record is its kind,
// its payload's length, the payload and a CRC-32C of all three, so a write cut short by a crash is
// seen and dropped rather than replayed half. The first record describes the picture and its base;
// the base follows (a row repeated, rows, or nothing when it is the named file), then an end of
// base, then the changed bytes as they were after each change.

// The last digit is the format's version: 2 seals records with a CRC-32C.
inline constexpr char kJournalMagic[8] = {'T', 'S', 'M', 'J', 'R', 'N', 'L', '2'};

enum class TRecordKind : std::uint32_t { Info = 1, FillRow = 2, Bytes = 3, BaseEnd = 4 };

// Where the picture of a journal starts from.
enum class TBaseKind : std::uint8_t {
    Fill = 0,   // one row repeated: a new picture in the background colour
    File = 1,   // the picture file as it was when the journal began, not copied
    Pixels = 2, // the journal's own copy, row by row
};

// The picture file as it stood when the picture last matched it (or was opened from it).
struct TSourceStamp {
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    friend bool operator==(const TSourceStamp&, const TSourceStamp&) = default;
};

struct TJournalInfo {
    std::string PictureFile; // empty: an untitled picture
    std::optional<TSourceStamp> Source;
    TBaseKind Base = TBaseKind::Pixels;
    int Width = 0;
    int Height = 0;
    int Bits = 24;
    std::vector<TRGBQuad> ColorTable;
};

// The file's size and modification time; nothing when it cannot be read.
std::optional<TSourceStamp> StampOfFile(const std::string& path);

// The record functions below leave the CRC out, so that the window only copies bytes; the writer
// seals the records before it writes them.
void SealRecords(std::span<std::uint8_t> records);

std::vector<std::uint8_t> InfoRecord(const TJournalInfo& info);
std::vector<std::uint8_t> FillRowRecord(std::span<const std::uint8_t> row);
// For each area, the bytes of the rows it touches, from the byte holding its left pixel to the one
// holding its right one: a 32 x 32 tile costs about its own bytes whatever the picture's size. The
// areas of one record are copied at one moment and replayed together or not at all, so a record is
// always a picture the user had. Areas lie inside the picture.
void AppendBytesRecord(std::vector<std::uint8_t>& out, const TBitmap& picture, std::span<const TRect> areas);

// The same record built an area at a time, for areas whose bytes come from a composed copy.
class TBytesRecordBuilder {
  public:
    explicit TBytesRecordBuilder(std::vector<std::uint8_t>& out);
    // The area, in the picture's pixels, taken from source: a copy of the picture's pixels from
    // (originX, originY) on, in the picture's format, with originX on a byte boundary.
    void Add(const TBitmap& source, const TRect& area, int originX = 0, int originY = 0);
    void Finish();

  private:
    std::vector<std::uint8_t>& Out_;
    std::size_t Start_;
};
std::vector<std::uint8_t> BaseEndRecord();

// One record as read back; Payload points into the buffer it was read from.
struct TRecordView {
    TRecordKind Kind{};
    std::span<const std::uint8_t> Payload;
    std::size_t End = 0; // offset just past the record
};

// The record at offset; nothing when the bytes there are no whole record with a matching CRC.
std::optional<TRecordView> ReadRecord(std::span<const std::uint8_t> journal, std::size_t offset);
// The info record's payload; nothing when it is malformed.
std::optional<TJournalInfo> ParseInfo(std::span<const std::uint8_t> payload);
