// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureJournal.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// A change this large is written as a new base: copying it at once would pause the window.
constexpr std::uint64_t kLargestPatch = 4u << 20;
// A slice of a base: small enough to copy in a millisecond or two, and never more than this much
// waiting for the disk.
constexpr std::uint64_t kSliceBytes = 2u << 20;
constexpr std::uint64_t kMostPending = 8u << 20;
// Areas noted between two ticks: beyond either bound, the window hands them over at once rather
// than keep a long list or copy much at its next tick.
constexpr std::size_t kMostAreas = 32;
constexpr std::uint64_t kMostNotedBytes = 1u << 20;
// Changes beyond this (or twice the picture) start a new base, so the journal stays small.
constexpr std::uint64_t kLargestJournal = 256u << 20;

std::uint64_t BytesOf(const TBitmap& picture) {
    return std::uint64_t(picture.RowBytes()) * std::uint64_t(picture.Height());
}

std::uint64_t BytesOf(const TBitmap& picture, const TRect& area) {
    return std::uint64_t(area.Width()) * std::uint64_t(area.Height()) *
           std::uint64_t(picture.BitsPerPixel()) / 8;
}

bool Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool Inside(const TRect& inner, const TRect& outer) {
    return inner.Left >= outer.Left && inner.Right <= outer.Right && inner.Top >= outer.Top &&
           inner.Bottom <= outer.Bottom;
}

TRect Union(const TRect& a, const TRect& b) {
    return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom)};
}

} // namespace

TPictureJournal::TPictureJournal(TJournalNames names, TJournalLock lock)
    : Names_(std::move(names)), Lock_(std::move(lock)) {}

// Areas still only noted are lost with the picture they were noted in; a window that closes in
// order discards its journal anyway.
TPictureJournal::~TPictureJournal() {
    Send();
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

void TPictureJournal::Send() {
    if (Batch_.empty()) return;
    Batch_ = Writer_.Append(std::move(Batch_));
}

// An area inside one noted is noted already; overlapping areas become one when that copies no
// more than the two would, so an area stamped and then undone within a tick is copied once.
void TPictureJournal::Note(const TBitmap& picture, const TRect& area) {
    TRect merged = area;
    for (std::size_t i = 0; i < Noted_.size();) {
        if (Inside(merged, Noted_[i])) return;
        const TRect joined = Union(merged, Noted_[i]);
        if (Overlap(merged, Noted_[i]) &&
            BytesOf(picture, joined) <= BytesOf(picture, merged) + BytesOf(picture, Noted_[i])) {
            merged = joined;
            NotedBytes_ -= BytesOf(picture, Noted_[i]);
            Noted_.erase(Noted_.begin() + std::ptrdiff_t(i));
            i = 0; // the larger area may now take in one passed over
            continue;
        }
        ++i;
    }
    Noted_.push_back(merged);
    NotedBytes_ += BytesOf(picture, merged);
}

// One record of the areas as saving would write them: an area the overlay covers is copied, the
// overlay stamped onto the copy, before its bytes are taken.
void TPictureJournal::AppendAreas(const TBitmap& picture, std::span<const TRect> areas) {
    const std::size_t before = Batch_.size();
    // Asked now rather than remembered: a change may be handed over before the overlay's own report.
    const TRect over = Overlay_ ? Overlay_->Area() : TRect{};
    TBytesRecordBuilder record(Batch_);
    for (const TRect& area : areas) {
        if (!Overlap(area, over)) {
            record.Add(picture, area);
            continue;
        }
        // The copy starts on a byte boundary, so that its bytes are the picture's bytes.
        const int perByte = std::max(1, 8 / picture.BitsPerPixel());
        const int left = area.Left / perByte * perByte;
        const int right = std::min(picture.Width(), (area.Right + perByte - 1) / perByte * perByte);
        TBitmap part(right - left, area.Height(), picture.PixelFormat());
        part.SetColorTable(picture.ColorTable());
        part.CopyRect(Bounds(0, 0, part.Width(), part.Height()), picture,
                      TRect{left, area.Top, right, area.Bottom});
        Overlay_->StampOnto(part, left, area.Top);
        record.Add(part, area, left, area.Top);
    }
    record.Finish();
    Written_ += Batch_.size() - before;
    Dirty_ = true;
}

void TPictureJournal::AppendNoted(const TBitmap& picture) {
    if (Noted_.empty()) return;
    AppendAreas(picture, Noted_);
    Noted_.clear();
    NotedBytes_ = 0;
}

void TPictureJournal::Overlaid(const TBitmap& picture, const std::string& file,
                               const TJournalOverlay* overlay) {
    const TRect before = OverlayArea_;
    Overlay_ = overlay;
    OverlayArea_ = overlay ? overlay->Area() : TRect{};
    if (before == OverlayArea_ && OverlayArea_.IsEmpty()) return;
    // Both where it was and where it is now differ from what was kept.
    Changed(picture, file, before);
    Changed(picture, file, OverlayArea_);
}

void TPictureJournal::Handover(const TBitmap& picture) {
    AppendNoted(picture);
    Send();
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

void TPictureJournal::StartBase(const TBitmap& picture, const std::string& file, TBaseKind base,
                                const std::vector<std::uint8_t>& row) {
    // What was noted belongs to the journal being replaced; the new base has it all.
    Noted_.clear();
    NotedBytes_ = 0;
    Send();
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
    Send();
    Writer_.Commit(Names_.Journal());
    BaseRow_ = -1;
    Dirty_ = false;
}

void TPictureJournal::Changed(const TBitmap& picture, const std::string& file, const TRect& area) {
    if (Writer_.Failed() || area.IsEmpty()) return;
    const TRect inside{std::max(area.Left, 0), std::max(area.Top, 0), std::min(area.Right, picture.Width()),
                       std::min(area.Bottom, picture.Height())};
    if (inside.IsEmpty()) return;
    const std::uint64_t bytes = BytesOf(picture, inside);
    if (!Live_) {
        // The change came after a clean moment: the clean picture is the base, the change follows.
        const bool cleanFits = Clean_ && Clean_->File == file && Clean_->Width == picture.Width() &&
                               Clean_->Height == picture.Height() && Clean_->Format == picture.PixelFormat();
        if (cleanFits && bytes <= kLargestPatch) {
            StartBase(picture, file, file.empty() ? TBaseKind::Fill : TBaseKind::File, Clean_->Row);
            Clean_.reset();
            Note(picture, inside);
            return;
        }
        Clean_.reset();
        return Reshaped(picture, file);
    }
    if (bytes > kLargestPatch || Written_ > std::max(kLargestJournal, 2 * BytesOf(picture)))
        return Reshaped(picture, file);
    Note(picture, inside);
    // The picture as it stands is one the user has: handing over now keeps the next tick short.
    if (Noted_.size() >= kMostAreas || NotedBytes_ > kMostNotedBytes) Handover(picture);
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
    // Changes noted since the last slice, then the next rows: all copied at this moment.
    AppendNoted(picture);
    const TRect slice{0, BaseRow_, picture.Width(), BaseRow_ + rows};
    AppendAreas(picture, std::span(&slice, 1));
    BaseRow_ += rows;
    if (BaseRow_ >= picture.Height())
        CommitBase();
    else
        Send();
    return BaseRow_ >= 0;
}

void TPictureJournal::Flush(const TBitmap& picture) {
    Handover(picture);
    if (!Dirty_ || BaseRow_ >= 0) return;
    Writer_.Sync();
    Dirty_ = false;
}

void TPictureJournal::Discard() {
    Batch_.clear();
    Noted_.clear();
    NotedBytes_ = 0;
    Writer_.Remove({Names_.Temporary(), Names_.Journal()});
    Live_ = false;
    Dirty_ = false;
    BaseRow_ = -1;
    Clean_.reset();
}
