// SPDX-License-Identifier: GPL-3.0-or-later
// What the recovery journal costs the window: a stamp and its undo with the journal on and off,
// and the longest the window waits for the journal while a 16384² picture's copy is written.

#include "BenchDocument.h"
#include "PictureJournal.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

constexpr int TileSide = 32;

const TBitmap& JournalTile() {
    static const TBitmap tile = MakeNoise(TileSide, TileSide, 11);
    return tile;
}

// A scratch folder for the journals, removed when the benchmark ends.
struct TJournalFolder {
    std::filesystem::path Path =
        std::filesystem::temp_directory_path() / ("tessimap-bench-journal-" + std::to_string(::getpid()));
    TJournalFolder() { std::filesystem::create_directories(Path); }
    ~TJournalFolder() { std::filesystem::remove_all(Path); }
};

// The window's part: each change the document reports goes to the journal, and a base being
// written gets its slices as the window's timer would give them.
class TJournalHost : public TDocumentHost {
  public:
    TPictureJournal* Journal = nullptr;
    const TPictureDocument* Document = nullptr;
    void PictureChanged(int left, int top, int right, int bottom) override {
        if (!Journal) return;
        Journal->Changed(Document->Picture(), Document->CurrentFile(), TRect{left, top, right, bottom});
        if (Journal->BaseUnderWay()) Journal->Pump(Document->Picture());
    }
};

// Paste, stamp and undo a 32 x 32 tile in the middle of a side² picture; range(1) switches the
// journal on. The window hands the journal its changes on a 100 ms tick; a user stamps and undoes
// far slower than this loop, so each pair here is charged a whole handover of its own (the copy of
// the tile, its record, the writer's wake) rather than sharing one tick with thousands of others.
// The stamp and its undo touch one area, which the handover copies once.
void BM_StampAndUndoWithJournal(benchmark::State& state) {
    const int side = int(state.range(0));
    const bool journalOn = state.range(1) != 0;
    TSilentModal modal;
    TJournalHost host;
    TPictureDocument document(modal, host);
    TPictureOptions options = document.OptionsToKeep();
    options.WidthPic = side;
    options.HeightPic = side;
    document.ApplyLoadedOptions(options, document.Font());
    document.ReplacePicture(MakeTileMap(side, side));
    const TJournalFolder folder;
    std::unique_ptr<TPictureJournal> journal;
    if (journalOn) {
        TJournalNames names{folder.Path.string(), "bench"};
        journal = std::make_unique<TPictureJournal>(names, TJournalLock::Take(names.Folder, names.Id));
        // The picture as opened: the journal's base is its description, the stamps are measured.
        journal->MarkClean(document.Picture(), "");
        host.Journal = journal.get();
        host.Document = &document;
    }
    for (auto _ : state) {
        document.Paste(JournalTile(), side / 2, side / 2);
        document.StampFloating();
        document.Undo();
        if (journal) journal->Handover(document.Picture());
    }
    if (journal) journal->Drain(document.Picture());
}
BENCHMARK(BM_StampAndUndoWithJournal)
    ->ArgsProduct({{1024, 16384}, {0, 1}})
    ->ArgNames({"side", "journal"})
    ->Unit(benchmark::kMicrosecond);

// A whole-picture step on 16384² (a depth change, a mirror, Clear Picture) starts a new copy of
// the picture in the journal; the window hands it over a slice per timer tick and stamps on
// meanwhile. The longest single call is the longest the window waits for the journal.
void BM_JournalLongestPauseWholePicture(benchmark::State& state) {
    const int side = 16384;
    TBitmap picture = MakeTileMap(side, side);
    const TJournalFolder folder;
    using TClock = std::chrono::steady_clock;
    for (auto _ : state) {
        TJournalNames names{folder.Path.string(), "bench"};
        TPictureJournal journal(names, TJournalLock::Take(names.Folder, names.Id));
        journal.MarkClean(picture, "");
        double longest = 0;
        int calls = 0, stamps = 0;
        const auto timed = [&](auto&& call) {
            const auto start = TClock::now();
            call();
            longest =
                std::max(longest, std::chrono::duration<double, std::milli>(TClock::now() - start).count());
            ++calls;
        };
        const auto begun = TClock::now();
        timed([&] { journal.Reshaped(picture, ""); });
        while (journal.BaseUnderWay()) {
            timed([&] { journal.Pump(picture); });
            const TRect area = Bounds((stamps * TileSide) % side, side / 2, TileSide, TileSide);
            picture.Draw(area.Left, area.Top, JournalTile());
            timed([&] { journal.Changed(picture, "", area); });
            ++stamps;
            // A handover after every stamp, not every 100 ms as in the window: a longer pause, if any.
            timed([&] { journal.Handover(picture); });
            // The window's timer gives the copy a slice every 5 ms, with a stamp between.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        journal.Drain(picture);
        state.counters["longest_ms"] = longest;
        state.counters["calls"] = calls;
        state.counters["base_written_s"] = std::chrono::duration<double>(TClock::now() - begun).count();
        journal.Discard();
        journal.Drain(picture);
    }
}
BENCHMARK(BM_JournalLongestPauseWholePicture)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
