// SPDX-License-Identifier: GPL-3.0-or-later
// Commands that run out of memory part way leave the document as it was: every allocation a
// command makes is refused in turn, through the memory guard's test hook.

#include "DocumentTestHelpers.h"
#include "Errors.h"
#include "MemoryGuard.h"

#include <functional>
#include <memory>
#include <new>

namespace {

bool SameBitmap(const TBitmap& a, const TBitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.PixelFormat() == b.PixelFormat() &&
           a.PixelBuffer() == b.PixelBuffer() && a.ColorTable() == b.ColorTable();
}

// What a failed command must not change.
struct TDocumentState {
    explicit TDocumentState(const TPictureDocument& d)
        : Picture(d.Picture()), FloatingBitmap(d.Floating().Bitmap), Floating(d.Floating().Active),
          FloatLeft(d.Floating().Left), FloatTop(d.Floating().Top), UndoSteps(d.History().UndoCount()),
          RedoSteps(d.History().RedoCount()), HistoryBytes(d.History().Bytes()), Modified(d.Modified()) {}
    bool operator==(const TDocumentState& o) const {
        return SameBitmap(Picture, o.Picture) && SameBitmap(FloatingBitmap, o.FloatingBitmap) &&
               Floating == o.Floating &&
               // Without a floating image its position means nothing.
               (!Floating || (FloatLeft == o.FloatLeft && FloatTop == o.FloatTop)) &&
               UndoSteps == o.UndoSteps && RedoSteps == o.RedoSteps && HistoryBytes == o.HistoryBytes &&
               Modified == o.Modified;
    }
    TBitmap Picture, FloatingBitmap;
    bool Floating;
    int FloatLeft, FloatTop;
    std::size_t UndoSteps, RedoSteps;
    std::uint64_t HistoryBytes;
    bool Modified;
};

using TStep = std::function<void(TPictureDocument&)>;

struct TFailureCase {
    const char* Name;
    TStep Setup;
    TStep Command;
    bool PlainBadAlloc; // some refusal reaches the command as std::bad_alloc
};

// A 40 x 30 pattern with an earlier stamp's undo area and no unsaved changes.
void PictureWithUndoAtDepth(TPictureDocument& d, int bits) {
    StartPatternPicture(d, 40, 30, bits);
    d.Paste(SolidBitmap(6, 6, RGB(10, 200, 30)), 16, 8);
    d.StampFloating();
    ForgetChanges(d);
}

void PictureWithUndo(TPictureDocument& d) {
    PictureWithUndoAtDepth(d, 24);
}

// A clipboard image of another depth than the picture's, made before any allocation is refused.
const TBitmap& SixteenBitTile() {
    static const TBitmap tile = PatternBitmap(12, 5).Converted(TPixelFormat::pf16bit);
    return tile;
}

void PictureWithUndoAndTile(TPictureDocument& d) {
    SixteenBitTile();
    PictureWithUndo(d);
}

void FloatingTile(TPictureDocument& d) {
    PictureWithUndo(d);
    d.Paste(PatternBitmap(9, 7), 8, 8);
    ForgetChanges(d);
}

// A picture where a fill from the corner makes a run per row and stripe: more runs than the
// first room kept for them.
void PictureWithStripes(TPictureDocument& d) {
    PictureWithUndo(d);
    EditPicture(d, [](TBitmap& p) {
        p.Brush.Color = clBlack;
        p.FillRect(Bounds(0, 0, p.Width(), p.Height()));
        p.Brush.Color = clWhite;
        for (int x = 1; x < p.Width(); x += 2)
            p.FillRect(Bounds(x, 0, 1, p.Height() - 1));
    });
}

void LiftUndone(TPictureDocument& d) {
    PictureWithUndo(d);
    DragAndRelease(d, 3, 4, 20, 25);
    d.Undo();
    ForgetChanges(d);
}

// An 8-bit picture with a colour table of its own: stamping a tile from the fixed 8-bit table
// into it builds a colour matcher for that table.
void OwnTablePicture(TPictureDocument& d) {
    PictureWithUndoAtDepth(d, 8);
    std::vector<TRGBQuad> table;
    for (int i = 0; i < 256; ++i)
        table.push_back(TRGBQuad{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 3), 0});
    EditPicture(d, [&](TBitmap& p) { p.SetColorTable(table); });
    d.Paste(PatternBitmap(9, 7), 8, 8);
    ForgetChanges(d);
}

void PrintTo(const TFailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class CommandFailure : public testing::TestWithParam<TFailureCase> {};

TEST_P(CommandFailure, LeavesPictureFloatingImageHistoryAndModifiedAsTheyWere) {
    const TFailureCase& c = GetParam();
    bool sawBadAlloc = false;
    for (std::uint64_t allowed = 0;; ++allowed) {
        auto fixture = std::make_unique<TDocumentFixture>();
        TPictureDocument& d = fixture->Document;
        c.Setup(d);
        const TDocumentState before(d);
        bool refused = false;
        {
            const TForcedOutOfMemory forced(allowed);
            try {
                c.Command(d);
            } catch (const EOutOfMemory&) {
            } catch (const std::bad_alloc&) {
                sawBadAlloc = true;
            }
            refused = MemoryGuardHook::Requests() > allowed;
        }
        if (!refused) {
            EXPECT_GT(allowed, 0u) << "the command never allocated";
            break;
        }
        EXPECT_TRUE(TDocumentState(d) == before) << "refusing allocation " << allowed + 1;
        EXPECT_FALSE(d.Selection().Active);
    }
    EXPECT_EQ(sawBadAlloc, c.PlainBadAlloc);
}

INSTANTIATE_TEST_SUITE_P(
    Document, CommandFailure,
    testing::Values(
        TFailureCase{"LiftOnMouseRelease", PictureWithUndo,
                     [](TPictureDocument& d) { DragAndRelease(d, 3, 4, 20, 25); }, false},
        TFailureCase{"SelectAll", PictureWithUndo, [](TPictureDocument& d) { d.SelectAll(); }, false},
        TFailureCase{"PasteConvertingTheClipboardImage", PictureWithUndoAndTile,
                     [](TPictureDocument& d) { d.Paste(SixteenBitTile(), 4, 4); }, false},
        TFailureCase{"CopyFloating", FloatingTile, [](TPictureDocument& d) { (void)d.CopyFloating(); },
                     false},
        TFailureCase{"StampThroughAColourMatcher", OwnTablePicture,
                     [](TPictureDocument& d) { d.StampFloating(); }, true},
        // Each whole-picture step, and a fill whose runs cannot all be kept.
        TFailureCase{"ClearPicture", PictureWithUndo, [](TPictureDocument& d) { d.ClearPicture(); }, false},
        TFailureCase{"BlackWhite", PictureWithUndo, [](TPictureDocument& d) { d.BlackWhite(); }, false},
        TFailureCase{"ColorDepth", PictureWithUndo, [](TPictureDocument& d) { d.SetColorDepth(8); }, false},
        TFailureCase{"Resize", PictureWithUndo, [](TPictureDocument& d) { d.ResizePicture(50, 20, false); },
                     false},
        TFailureCase{"FloodFill", PictureWithStripes, [](TPictureDocument& d) { d.FloodFillAt(0, 0); },
                     false},
        TFailureCase{"RedoOfALift", LiftUndone, [](TPictureDocument& d) { d.Redo(); }, false}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
