// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureJournal.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// A change this large is written as a new base: copying it at once would pause the window.
constexpr std::uint64_t kLargestPatch = 4u << 20;
// A slice of a base: small enough to copy in a few milliseconds, and never more than this much
// waiting for the disk.
constexpr std::uint64_t kSliceBytes = 4u << 20;
constexpr std::uint64_t kMostPending = 32u << 20;
// Changes gather in the window's memory up to this much, or until the window's next tick.
constexpr std::size_t kBatchBytes = 64u << 10; // below the heap's mmap threshold: reused, no page faults
// Changes beyond this (or twice the picture) start a new base, so the journal stays small.
constexpr std::uint64_t kLargestJournal = 256u << 20;

std::uint64_t BytesOf(const TBitmap& picture) {
    return std::uint64_t(picture.RowBytes()) * std::uint64_t(picture.Height());
}

} // namespace

TPictureJournal::TPictureJournal(TJournalNames names, TJournalLock lock)
    : Names_(std::move(names)), Lock_(std::move(lock)) {}

TPictureJournal::~TPictureJournal() {
    Handover();
    Writer_.Drain();
    Lock_.ReleaseAndRemove();
}

TJournalInfo TPictureJournal::InfoOf(const TBitmap& picture, const std::string& file, TBaseKind base) const {
    TJournalInfo info;
    info.PictureFile = file;
    info.Source = Source_;
    info.Base = base;
    info.Width = picture.Width();
    info.Height = picture.Height();
    info.Bits = picture.BitsPerPixel();
    info.ColorTable = picture.ColorTable();
    return info;
}

void TPictureJournal::Write(const std::vector<std::uint8_t>& bytes) {
    Batch_.insert(Batch_.end(), bytes.begin(), bytes.end());
    Written_ += bytes.size();
    Dirty_ = true;
}

void TPictureJournal::Handover() {
    if (Batch_.empty()) return;
    std::vector<std::uint8_t> batch;
    batch.reserve(kBatchBytes);
    std::swap(batch, Batch_);
    Writer_.Append(std::move(batch));
}

void TPictureJournal::MarkClean(const TBitmap& picture, const std::string& file) {
    Discard();
    Source_ = file.empty() ? std::nullopt : StampOfFile(file);
    // A named picture is its file only while the file can be found as it was just written or read.
    if (!file.empty() && !Source_) return;
    Clean_ = TClean{file, picture.Width(), picture.Height(), picture.PixelFormat(), {}};
    // A new picture is one colour; its first row is all a base needs, taken before any change.
    if (file.empty() && !picture.Empty())
        Clean_->Row.assign(picture.ScanLine(0), picture.ScanLine(0) + picture.RowBytes());
}

void TPictureJournal::WriteChange(const TBitmap& picture, const TRect& area) {
    const std::size_t before = Batch_.size();
    AppendBytesRecord(Batch_, picture, area);
    Written_ += Batch_.size() - before;
    Dirty_ = true;
    if (Batch_.size() >= kBatchBytes) Handover();
}

void TPictureJournal::StartBase(const TBitmap& picture, const std::string& file, TBaseKind base,
                                const std::vector<std::uint8_t>& row) {
    Handover();
    Writer_.Begin(Names_.Temporary());
    Writer_.Append(std::vector<std::uint8_t>(std::begin(kJournalMagic), std::end(kJournalMagic)), false);
    Written_ = 0;
    Live_ = true;
    Write(InfoRecord(InfoOf(picture, file, base)));
    BaseRow_ = -1;
    if (base == TBaseKind::Fill) Write(FillRowRecord(row));
    if (base == TBaseKind::Pixels)
        BaseRow_ = 0; // the rows follow slice by slice
    else
        CommitBase();
}

void TPictureJournal::CommitBase() {
    Write(BaseEndRecord());
    Handover();
    Writer_.Commit(Names_.Journal());
    BaseRow_ = -1;
    Dirty_ = false;
}

void TPictureJournal::Changed(const TBitmap& picture, const std::string& file, const TRect& area) {
    if (Writer_.Failed() || area.IsEmpty()) return;
    const TRect inside{std::max(area.Left, 0), std::max(area.Top, 0), std::min(area.Right, picture.Width()),
                       std::min(area.Bottom, picture.Height())};
    if (inside.IsEmpty()) return;
    const std::uint64_t bytes = std::uint64_t(inside.Width()) * std::uint64_t(inside.Height()) *
                                std::uint64_t(picture.BitsPerPixel()) / 8;
    if (!Live_) {
        // The change came after a clean moment: the clean picture is the base, the change follows.
        const bool cleanFits = Clean_ && Clean_->File == file && Clean_->Width == picture.Width() &&
                               Clean_->Height == picture.Height() && Clean_->Format == picture.PixelFormat();
        if (cleanFits && bytes <= kLargestPatch) {
            StartBase(picture, file, file.empty() ? TBaseKind::Fill : TBaseKind::File, Clean_->Row);
            Clean_.reset();
            WriteChange(picture, inside);
            return;
        }
        Clean_.reset();
        return Reshaped(picture, file);
    }
    if (bytes > kLargestPatch || Written_ > std::max(kLargestJournal, 2 * BytesOf(picture)))
        return Reshaped(picture, file);
    WriteChange(picture, inside);
}

void TPictureJournal::Reshaped(const TBitmap& picture, const std::string& file) {
    if (Writer_.Failed() || picture.Empty()) return;
    Clean_.reset();
    StartBase(picture, file, TBaseKind::Pixels);
}

void TPictureJournal::Adopt(const std::string& journal, const TBitmap& picture, const std::string& file,
                            std::optional<TSourceStamp> source) {
    Discard();
    Writer_.Drain(); // the removal of this session's names must not reach the adopted file
    std::rename(journal.c_str(), Names_.Journal().c_str());
    Source_ = source;
    Reshaped(picture, file);
}

bool TPictureJournal::Pump(const TBitmap& picture) {
    if (BaseRow_ < 0) return false;
    if (Writer_.Failed()) {
        BaseRow_ = -1;
        return false;
    }
    if (Writer_.PendingBytes() > kMostPending) return true;
    const int rows = int(std::clamp<std::uint64_t>(kSliceBytes / std::max<std::size_t>(picture.RowBytes(), 1),
                                                   1, std::uint64_t(picture.Height() - BaseRow_)));
    Write(RowsRecord(picture, BaseRow_, rows));
    BaseRow_ += rows;
    if (BaseRow_ >= picture.Height())
        CommitBase();
    else
        Handover();
    return BaseRow_ >= 0;
}

void TPictureJournal::Flush() {
    Handover();
    if (!Dirty_ || BaseRow_ >= 0) return;
    Writer_.Sync();
    Dirty_ = false;
}

void TPictureJournal::Discard() {
    Batch_.clear();
    Writer_.Remove({Names_.Temporary(), Names_.Journal()});
    Live_ = false;
    Dirty_ = false;
    BaseRow_ = -1;
    Clean_.reset();
}
