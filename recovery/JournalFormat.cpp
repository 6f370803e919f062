// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalFormat.h"

#include "Crc32c.h"

#include <array>
#include <cstring>
#include <sys/stat.h>

namespace {

class TWriter {
  public:
    TWriter(std::vector<std::uint8_t>& out, TRecordKind kind) : Bytes_(out), Start_(out.size()) {
        U32(std::uint32_t(kind));
        U32(0); // the length, filled in by Finish
    }
    void U8(std::uint8_t v) { Bytes_.push_back(v); }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            Bytes_.push_back(std::uint8_t(v >> (8 * i)));
    }
    void U64(std::uint64_t v) {
        for (int i = 0; i < 8; ++i)
            Bytes_.push_back(std::uint8_t(v >> (8 * i)));
    }
    void Raw(const std::uint8_t* data, std::size_t size) { Bytes_.insert(Bytes_.end(), data, data + size); }
    void Finish() {
        const std::uint32_t length = std::uint32_t(Bytes_.size() - Start_ - 8);
        for (int i = 0; i < 4; ++i)
            Bytes_[Start_ + 4 + std::size_t(i)] = std::uint8_t(length >> (8 * i));
        U32(0); // the CRC: SealRecords fills it in, off the window's thread
    }

  private:
    std::vector<std::uint8_t>& Bytes_;
    std::size_t Start_;
};

class TReader {
  public:
    explicit TReader(std::span<const std::uint8_t> bytes) : Bytes_(bytes) {}
    bool Ok() const { return Ok_; }
    std::uint64_t Unsigned(int size) {
        if (!Has(std::size_t(size))) return 0;
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i)
            v |= std::uint64_t(Bytes_[At_ + i]) << (8 * i);
        At_ += std::size_t(size);
        return v;
    }
    std::span<const std::uint8_t> Take(std::size_t size) {
        if (!Has(size)) return {};
        auto part = Bytes_.subspan(At_, size);
        At_ += size;
        return part;
    }
    bool AtEnd() const { return At_ == Bytes_.size(); }

  private:
    bool Has(std::size_t size) {
        if (Bytes_.size() - At_ < size) Ok_ = false;
        return Ok_;
    }
    std::span<const std::uint8_t> Bytes_;
    std::size_t At_ = 0;
    bool Ok_ = true;
};

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= std::uint32_t(bytes[at + i]) << (8 * i);
    return v;
}

// A sane upper bound keeps a damaged length from asking for gigabytes.
constexpr int kLargestSide = 1 << 20;

} // namespace

std::optional<TSourceStamp> StampOfFile(const std::string& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return std::nullopt;
    return TSourceStamp{std::uint64_t(status.st_size),
                        std::int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

void SealRecords(std::span<std::uint8_t> records) {
    std::size_t at = 0;
    while (records.size() - at >= 12) {
        const std::size_t length = Read32(records, at + 4);
        if (records.size() - at - 12 < length) break;
        const std::uint32_t crc = Crc32c(records.subspan(at, 8 + length));
        for (int i = 0; i < 4; ++i)
            records[at + 8 + length + std::size_t(i)] = std::uint8_t(crc >> (8 * i));
        at += 12 + length;
    }
}

std::vector<std::uint8_t> InfoRecord(const TJournalInfo& info) {
    std::vector<std::uint8_t> out;
    TWriter w(out, TRecordKind::Info);
    w.U32(std::uint32_t(info.PictureFile.size()));
    w.Raw(reinterpret_cast<const std::uint8_t*>(info.PictureFile.data()), info.PictureFile.size());
    w.U8(info.Source ? 1 : 0);
    w.U64(info.Source ? info.Source->Size : 0);
    w.U64(info.Source ? std::uint64_t(info.Source->ModifiedNs) : 0);
    w.U8(std::uint8_t(info.Base));
    w.U32(std::uint32_t(info.Width));
    w.U32(std::uint32_t(info.Height));
    w.U32(std::uint32_t(info.Bits));
    w.U32(std::uint32_t(info.ColorTable.size()));
    for (const TRGBQuad& q : info.ColorTable) {
        w.U8(q.Blue);
        w.U8(q.Green);
        w.U8(q.Red);
        w.U8(q.Reserved);
    }
    w.Finish();
    return out;
}

std::optional<TJournalInfo> ParseInfo(std::span<const std::uint8_t> payload) {
    TReader r(payload);
    TJournalInfo info;
    const auto nameSize = std::size_t(r.Unsigned(4));
    const auto name = r.Take(nameSize);
    info.PictureFile.assign(name.begin(), name.end());
    const bool hasSource = r.Unsigned(1) != 0;
    const TSourceStamp source{r.Unsigned(8), std::int64_t(r.Unsigned(8))};
    if (hasSource) info.Source = source;
    const auto base = r.Unsigned(1);
    info.Width = int(r.Unsigned(4));
    info.Height = int(r.Unsigned(4));
    info.Bits = int(r.Unsigned(4));
    const auto colors = std::size_t(r.Unsigned(4));
    if (!r.Ok() || colors > 256 || base > 2) return std::nullopt;
    info.Base = TBaseKind(base);
    for (std::size_t i = 0; i < colors; ++i) {
        TRGBQuad q;
        q.Blue = std::uint8_t(r.Unsigned(1));
        q.Green = std::uint8_t(r.Unsigned(1));
        q.Red = std::uint8_t(r.Unsigned(1));
        q.Reserved = std::uint8_t(r.Unsigned(1));
        info.ColorTable.push_back(q);
    }
    if (!r.Ok() || !r.AtEnd() || info.Width <= 0 || info.Height <= 0 || info.Width > kLargestSide ||
        info.Height > kLargestSide)
        return std::nullopt;
    return info;
}

std::vector<std::uint8_t> FillRowRecord(std::span<const std::uint8_t> row) {
    std::vector<std::uint8_t> out;
    TWriter w(out, TRecordKind::FillRow);
    w.Raw(row.data(), row.size());
    w.Finish();
    return out;
}

TBytesRecordBuilder::TBytesRecordBuilder(std::vector<std::uint8_t>& out) : Out_(out), Start_(out.size()) {
    TWriter w(out, TRecordKind::Bytes); // the kind and a length that Finish fills in
}

void TBytesRecordBuilder::Add(const TBitmap& source, const TRect& area, int originX, int originY) {
    const std::size_t bits = std::size_t(source.BitsPerPixel());
    const std::size_t byteLeft = std::size_t(area.Left) * bits / 8;
    const std::size_t byteRight = (std::size_t(area.Right) * bits + 7) / 8;
    const std::size_t byteCount = byteRight - byteLeft;
    const std::size_t sourceLeft = byteLeft - std::size_t(originX) * bits / 8;
    for (const std::uint32_t v : {std::uint32_t(area.Top), std::uint32_t(area.Height()),
                                  std::uint32_t(byteLeft), std::uint32_t(byteCount)})
        for (int i = 0; i < 4; ++i)
            Out_.push_back(std::uint8_t(v >> (8 * i)));
    // One resize and plain copies: this is the window's whole cost of a change.
    std::size_t at = Out_.size();
    Out_.resize(at + byteCount * std::size_t(area.Height()));
    for (int y = area.Top; y < area.Bottom; ++y, at += byteCount)
        std::memcpy(Out_.data() + at, source.ScanLine(y - originY) + sourceLeft, byteCount);
}

void TBytesRecordBuilder::Finish() {
    const std::uint32_t length = std::uint32_t(Out_.size() - Start_ - 8);
    for (int i = 0; i < 4; ++i)
        Out_[Start_ + 4 + std::size_t(i)] = std::uint8_t(length >> (8 * i));
    Out_.insert(Out_.end(), 4, 0); // the CRC: SealRecords fills it in, off the window's thread
}

void AppendBytesRecord(std::vector<std::uint8_t>& out, const TBitmap& picture, std::span<const TRect> areas) {
    TBytesRecordBuilder record(out);
    for (const TRect& area : areas)
        record.Add(picture, area);
    record.Finish();
}

std::vector<std::uint8_t> BaseEndRecord() {
    std::vector<std::uint8_t> out;
    TWriter(out, TRecordKind::BaseEnd).Finish();
    return out;
}

std::optional<TRecordView> ReadRecord(std::span<const std::uint8_t> journal, std::size_t offset) {
    if (journal.size() < offset || journal.size() - offset < 12) return std::nullopt;
    const std::uint32_t kind = Read32(journal, offset);
    const std::uint32_t length = Read32(journal, offset + 4);
    if (journal.size() - offset - 12 < length) return std::nullopt;
    const std::uint32_t crc = Read32(journal, offset + 8 + length);
    if (Crc32c(journal.subspan(offset, 8 + std::size_t(length))) != crc) return std::nullopt;
    if (kind < 1 || kind > 4) return std::nullopt;
    return TRecordView{TRecordKind(kind), journal.subspan(offset + 8, length), offset + 12 + length};
}
