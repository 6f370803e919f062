// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history on real bitmaps: each kind of entry takes its step back and applies it again
// exactly, in every pixel format, and the history keeps order, budget and save point.

#include "AreaEntry.h"
#include "DocumentTestHelpers.h"
#include "FillEntry.h"
#include "History.h"
#include "PictureEntry.h"
#include "picture/TestFiles.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Red = RGB(255, 0, 0);
constexpr TColor Blue = RGB(0, 0, 255);

TBitmap PatternPicture(int w, int h, TPixelFormat format) {
    TBitmap b(w, h, format);
    return PaintPattern(b);
}

// Stored values, not colours: an exchange must give back exactly the bytes it took.
bool SamePixels(const TBitmap& a, const TBitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.PixelFormat() == b.PixelFormat() &&
           a.PixelBuffer() == b.PixelBuffer() && a.ColorTable() == b.ColorTable();
}

// A stamp as the document makes one: the entry first, then the tile drawn.
std::unique_ptr<TAreaEntry> Stamp(TBitmap& picture, int x, int y, TColor color, int side = 5) {
    auto entry = std::make_unique<TAreaEntry>(THistoryStep::Stamp, picture, Bounds(x, y, side, side));
    TBitmap tile = SolidBitmap(side, side, color);
    picture.Draw(x, y, tile);
    return entry;
}

// After every operation the history's counts must be the sums of what its kept steps hold: a
// count that drifts from them ends in steps dropped for nothing, or in a drop loop that never
// ends once it wraps below zero.
class TCheckedHistory : public THistory {
  public:
    using THistory::THistory;
    void Record(std::unique_ptr<THistoryEntry> entry) {
        THistory::Record(std::move(entry));
        Check();
    }
    const THistoryEntry* Undo(TBitmap& picture) {
        const THistoryEntry* entry = THistory::Undo(picture);
        Check();
        return entry;
    }
    const THistoryEntry* Redo(TBitmap& picture) {
        const THistoryEntry* entry = THistory::Redo(picture);
        Check();
        return entry;
    }
    void SetBudget(std::uint64_t bytes) {
        THistory::SetBudget(bytes);
        Check();
    }
    void SetDiskBudget(std::uint64_t bytes) {
        THistory::SetDiskBudget(bytes);
        Check();
    }

  private:
    void Check() const {
        std::uint64_t memory = 0, disk = 0;
        for (const TCharge& charge : Charges())
            (charge.OnDisk ? disk : memory) += charge.Bytes;
        EXPECT_EQ(Bytes(), memory);
        EXPECT_EQ(DiskBytes(), disk);
        EXPECT_EQ(Charges().size(), UndoCount() + RedoCount());
    }
};

class HistoryFormats : public testing::TestWithParam<TPixelFormat> {};

// Odd positions start inside a byte of 1- and 4-bit rows; the last one hangs over the corner.
TEST_P(HistoryFormats, StampsUndoneAndRedoneGiveBackEachStateExactly) {
    TBitmap picture = PatternPicture(23, 17, GetParam());
    std::vector<TBitmap> states{picture};
    TCheckedHistory history;
    for (const auto& [x, y] : {std::pair{0, 0}, {3, 5}, {7, 2}, {20, 14}}) {
        history.Record(Stamp(picture, x, y, x % 2 ? clBlack : clWhite));
        states.push_back(picture);
    }
    ASSERT_FALSE(SamePixels(states.front(), states.back()));
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_NE(history.Undo(picture), nullptr);
        EXPECT_TRUE(SamePixels(picture, states[i - 1])) << "undo to state " << i - 1;
    }
    EXPECT_EQ(history.Undo(picture), nullptr);
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_NE(history.Redo(picture), nullptr);
        EXPECT_TRUE(SamePixels(picture, states[i])) << "redo to state " << i;
    }
    EXPECT_FALSE(history.CanRedo());
}

// The fill must change what the picture's own fill changes, no more, and take back only that,
// though pixels of the fill colour border the surface.
TEST_P(HistoryFormats, FillMatchesThePicturesFillAndUndoesExactly) {
    TBitmap picture(19, 13, GetParam());
    picture.Brush.Color = clWhite;
    picture.FillRect(Bounds(0, 0, 19, 13));
    picture.Brush.Color = clBlack;
    picture.FillRect(Bounds(4, 0, 2, 10));  // a wall with a gap at the bottom
    picture.FillRect(Bounds(10, 3, 5, 5));  // an island of the fill colour
    picture.FillRect(Bounds(16, 0, 1, 13)); // cuts off the right edge
    const TBitmap before = picture;
    TBitmap expected = picture;
    expected.Brush.Color = clBlack;
    expected.FloodFill(1, 1, clWhite);

    picture.Brush.Color = clBlack;
    std::unique_ptr<TFillEntry> entry = TFillEntry::Fill(picture, 1, 1, clWhite);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(SamePixels(picture, expected));
    EXPECT_EQ(entry->Area(), (TRect{0, 0, 16, 13}));
    entry->Exchange(picture);
    EXPECT_TRUE(SamePixels(picture, before));
    entry->Exchange(picture);
    EXPECT_TRUE(SamePixels(picture, expected));
}

INSTANTIATE_TEST_SUITE_P(, HistoryFormats,
                         testing::Values(TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                         TPixelFormat::pf16bit, TPixelFormat::pf24bit),
                         [](const auto& info) {
                             return "Bits" + std::to_string(BitsOfPixelFormat(info.param));
                         });

// Depth and size come back with the pixels; the brush stays the document's.
TEST(History, WholePictureStepSwapsSizeDepthAndTableButNotTheCanvas) {
    TBitmap picture = PatternPicture(30, 20, TPixelFormat::pf24bit);
    const TBitmap before = picture;
    TCheckedHistory history;
    history.Record(std::make_unique<TPictureEntry>(picture));
    picture = picture.Converted(TPixelFormat::pf4bit);
    picture.SetSize(10, 40);
    picture.Brush.Color = Red;
    const TBitmap after = picture;

    history.Undo(picture);
    EXPECT_TRUE(SamePixels(picture, before));
    EXPECT_EQ(picture.Brush.Color, Red);
    history.Redo(picture);
    EXPECT_TRUE(SamePixels(picture, after));
    EXPECT_EQ(picture.Brush.Color, Red);
}

TEST(History, BudgetDropsTheOldestStepsFirst) {
    TBitmap picture = PatternPicture(40, 40, TPixelFormat::pf24bit);
    const std::uint64_t one = Stamp(picture, 0, 0, clBlack)->Bytes();
    TCheckedHistory history(3 * one);
    const TBitmap before = picture;
    for (int i = 0; i < 5; ++i)
        history.Record(Stamp(picture, 5 * i, 5 * i, clWhite));
    EXPECT_EQ(history.UndoCount(), 3u);
    EXPECT_LE(history.Bytes(), 3 * one);
    while (history.Undo(picture)) {
    }
    // The two oldest stamps stay; the three newest are gone.
    EXPECT_TRUE(AreaIs(picture, Bounds(0, 0, 5, 5), clWhite));
    EXPECT_TRUE(AreaIs(picture, Bounds(5, 5, 5, 5), clWhite));
    EXPECT_TRUE(SameArea(picture, 10, 10, before, 10, 10, 30, 30));

    history.SetBudget(one);
    EXPECT_EQ(history.RedoCount(), 0u) << "the first step to redo was dropped, so none can follow";
}

// Without a disk the oldest steps make room, but the newest stays even when it alone is larger
// than the budget; a budget of 0 keeps nothing.
TEST(History, WithoutADiskTheNewestStepIsKeptAndABudgetOfZeroKeepsNone) {
    TBitmap picture = PatternPicture(40, 40, TPixelFormat::pf24bit);
    TCheckedHistory history(4096);
    history.Record(Stamp(picture, 0, 0, clBlack));
    history.MarkSaved();
    history.Record(std::make_unique<TPictureEntry>(picture));
    EXPECT_EQ(history.UndoCount(), 1u);
    EXPECT_FALSE(history.AtSavePoint());
    history.SetBudget(0);
    EXPECT_FALSE(history.CanUndo());
    history.Record(Stamp(picture, 0, 0, clWhite));
    EXPECT_FALSE(history.CanUndo());
}

// The whole-picture entry holds the other size once undone, so what it holds when it leaves is
// not what it held when it came. The counts must not drift, whichever way the size changed.
TEST(History, WholePictureStepsOfAnotherSizeLeaveTheCountsExact) {
    for (const int width : {400, 200}) {
        TBitmap picture = PatternPicture(300, 200, TPixelFormat::pf24bit);
        TCheckedHistory history(3 * 400 * 200 * 3);
        history.Record(std::make_unique<TPictureEntry>(picture));
        picture.SetSize(width, 200);
        history.Undo(picture);
        history.Record(Stamp(picture, 0, 0, clWhite));
        history.Record(Stamp(picture, 8, 8, clBlack));
        EXPECT_EQ(history.UndoCount(), 2u) << width;
    }
}

// Every kind of entry goes to disk and comes back exactly: a budget of one byte sends each step
// there as soon as it is recorded.
TEST_P(HistoryFormats, StepsOnDiskComeBackExactly) {
    TTempFolder folder;
    TBitmap picture = PatternPicture(23, 17, GetParam());
    std::vector<TBitmap> states{picture};
    TCheckedHistory history(1);
    history.SetSpillFolder(folder.Path().string());
    history.Record(Stamp(picture, 3, 5, clWhite));
    states.push_back(picture);
    picture.Brush.Color = clBlack;
    history.Record(TFillEntry::Fill(picture, 0, 0, picture.Pixel(0, 0)));
    states.push_back(picture);
    history.Record(std::make_unique<TPictureEntry>(picture));
    picture.SetSize(30, 9);
    states.push_back(picture);
    EXPECT_EQ(history.Bytes(), 0u);
    EXPECT_GT(history.DiskBytes(), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "files keep no name to leave behind";
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_NE(history.Undo(picture), nullptr);
        EXPECT_TRUE(SamePixels(picture, states[i - 1])) << "undo to state " << i - 1;
    }
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_NE(history.Redo(picture), nullptr);
        EXPECT_TRUE(SamePixels(picture, states[i])) << "redo to state " << i;
    }
}

// Past the disk budget the oldest steps go; a folder that cannot be written falls back to
// dropping the oldest, never the newest.
TEST(History, DiskBudgetAndAFailingDiskDropTheOldestSteps) {
    TTempFolder folder;
    TBitmap picture = PatternPicture(40, 40, TPixelFormat::pf24bit);
    const std::uint64_t one = Stamp(picture, 0, 0, clBlack)->Bytes();
    TCheckedHistory history(one);
    history.SetSpillFolder(folder.Path().string());
    history.Record(Stamp(picture, 0, 0, clWhite));
    history.Record(Stamp(picture, 5, 5, clWhite));
    const std::uint64_t file = history.DiskBytes();
    ASSERT_GT(file, 0u);
    history.SetDiskBudget(3 * file);
    for (int i = 2; i < 6; ++i)
        history.Record(Stamp(picture, 5 * i, 5 * i, clWhite));
    EXPECT_EQ(history.UndoCount(), 4u) << "one in memory, three on disk";
    EXPECT_EQ(history.DiskBytes(), 3 * file);

    history.SetSpillFolder(folder.File("missing"));
    history.SetBudget(one / 2);
    EXPECT_EQ(history.UndoCount(), 1u);
    EXPECT_NE(history.Undo(picture), nullptr);
}

TEST(History, SavePointIsLostOnceTheStepsToItAreReplaced) {
    TBitmap picture = PatternPicture(20, 20, TPixelFormat::pf24bit);
    TCheckedHistory history;
    history.Record(Stamp(picture, 0, 0, clBlack));
    history.MarkSaved();
    history.Undo(picture);
    history.Record(Stamp(picture, 10, 10, clWhite));
    EXPECT_FALSE(history.AtSavePoint());
    history.Undo(picture);
    EXPECT_FALSE(history.AtSavePoint()) << "the same position, but not the saved picture";
    history.Clear();
    EXPECT_TRUE(history.AtSavePoint());
}

// Many small steps with a tight budget keep the save point's position through the dropping
// and compaction of old slots.
TEST(History, SavePointSurvivesDroppingOldSteps) {
    TBitmap picture = PatternPicture(20, 20, TPixelFormat::pf24bit);
    const std::uint64_t one = Stamp(picture, 0, 0, clBlack)->Bytes();
    TCheckedHistory history(10 * one);
    for (int i = 0; i < 300; ++i)
        history.Record(Stamp(picture, i % 15, i % 13, i % 2 ? clBlack : clWhite));
    history.MarkSaved();
    const TBitmap saved = picture;
    for (int i = 0; i < 5; ++i)
        history.Record(Stamp(picture, i, 0, Blue));
    for (int i = 0; i < 5; ++i)
        history.Undo(picture);
    EXPECT_TRUE(history.AtSavePoint());
    EXPECT_TRUE(SamePixels(picture, saved));
    EXPECT_EQ(history.UndoCount(), 5u);
}

} // namespace
