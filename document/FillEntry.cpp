// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded flood fill: the picture's own fill, noting each run before it paints it, so a
// refused note can be taken back exactly.

#include "FillEntry.h"

#include "Errors.h"
#include "MemoryGuard.h"
#include "RowCodec.h"
#include "SpillFile.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// Keeps each run before the fill paints it; a run it cannot keep stops the fill unpainted.
class TRunRecorder final : public TFillRunSink {
  public:
    explicit TRunRecorder(std::vector<TFillEntry::TRun>& runs) : Runs_(runs) {}
    void Note(int y, int left, int right) override {
        ReserveOneMore(Runs_);
        Runs_.push_back({y, left, right});
    }

  private:
    std::vector<TFillEntry::TRun>& Runs_;
};

} // namespace

std::unique_ptr<TFillEntry> TFillEntry::Fill(TBitmap& picture, int x, int y, TColor surfaceColor) {
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return nullptr;
    if (picture.Pixel(x, y) != surfaceColor) return nullptr;
    const std::uint32_t target = picture.PixelValue(x, y);
    const std::uint32_t fill = picture.PixelValueOf(picture.Brush.Color);
    if (target == fill) return nullptr;

    std::unique_ptr<TFillEntry> entry;
    try {
        NoteAllocation(sizeof(TFillEntry));
        entry.reset(new TFillEntry(target, fill));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
    TRunRecorder recorder(entry->Runs_);
    try {
        picture.FloodFill(x, y, surfaceColor, &recorder);
    } catch (...) {
        entry->Paint(picture, target);
        throw;
    }
    entry->Runs_.shrink_to_fit();
    TRect& a = entry->Area_;
    a = TRect{x, y, x + 1, y + 1};
    for (const TRun& run : entry->Runs_) {
        a.Left = std::min(a.Left, run.Left);
        a.Right = std::max(a.Right, run.Right + 1);
        a.Top = std::min(a.Top, run.Y);
        a.Bottom = std::max(a.Bottom, run.Y + 1);
    }
    return entry;
}

std::size_t TFillEntry::Bytes() const {
    return sizeof(*this) + Runs_.capacity() * sizeof(TRun);
}

void TFillEntry::Paint(TBitmap& picture, std::uint32_t value) const noexcept {
    const TPixelFormat format = picture.PixelFormat();
    for (const TRun& run : Runs_) {
        std::uint8_t* row = picture.ScanLine(run.Y);
        for (int i = run.Left; i <= run.Right; ++i)
            RowCodec::SetValue(format, row, i, value);
    }
}

TRect TFillEntry::Exchange(TBitmap& picture) noexcept {
    Paint(picture, Held_);
    std::swap(Held_, Shown_);
    return Area_;
}

void TFillEntry::Store(TSpillFile& file) {
    file.Write(Runs_);
    ReleaseBuffer(Runs_);
}

void TFillEntry::Load(TSpillFile& file) {
    file.Rewind();
    Runs_ = file.Read<TRun>();
}
