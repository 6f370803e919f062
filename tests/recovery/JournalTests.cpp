// SPDX-License-Identifier: GPL-3.0-or-later
// The journal as the window keeps it, read back the way the next start reads it: every picture a
// session went through can be rebuilt from the bytes written up to it, and no cut of the file
// gives anything else.

#include "Crc32c.h"
#include "JournalFolder.h"
#include "JournalReplay.h"
#include "PictureJournal.h"
#include "TestFiles.h"

#include "BmpFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

bool SamePicture(const TBitmap& a, const TBitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.PixelFormat() == b.PixelFormat() &&
           a.PixelBuffer() == b.PixelBuffer() && a.ColorTable() == b.ColorTable();
}

// Paints random colours into a random rectangle, as a stamp would, and returns it.
TRect PaintSomewhere(TBitmap& picture, std::mt19937& random, bool atCorner) {
    std::uniform_int_distribution<int> x(0, picture.Width() - 1), y(0, picture.Height() - 1);
    const int left = atCorner ? 0 : x(random), top = atCorner ? 0 : y(random);
    const TRect area{left, top, std::min(picture.Width(), left + 1 + x(random) / 3),
                     std::min(picture.Height(), top + 1 + y(random) / 3)};
    for (int py = area.Top; py < area.Bottom; ++py)
        for (int px = area.Left; px < area.Right; ++px)
            picture.SetPixel(px, py, TColor(random() & 0xFFFFFF));
    return area;
}

// One session: the states the picture went through, and the journal's length after each.
struct TSession {
    std::vector<TBitmap> States;
    std::vector<std::uintmax_t> Lengths;
};

enum class TStart { New, OpenedFile, WholeChange };

TSession RunSession(const TTempFolder& folder, TPixelFormat format, TStart start, std::uint32_t seed) {
    std::mt19937 random(seed);
    TJournalNames names{folder.File("journals"), "session"};
    std::filesystem::create_directories(names.Folder);
    TPictureJournal journal(names, TJournalLock::Take(names.Folder, names.Id));
    TBitmap picture(61, 37, format);
    picture.Brush.Color = TColor(0x336699);
    picture.FillRect(Bounds(0, 0, 61, 37));
    std::string file;
    if (start == TStart::OpenedFile) {
        file = folder.File("map.bmp");
        SaveBitmapToFile(picture, file);
    }
    journal.MarkClean(picture, file);
    if (start == TStart::WholeChange) {
        picture.SetPixelFormat(TPixelFormat::pf24bit); // a depth change: the base is a copy
        journal.Reshaped(picture, file);
        journal.Pump(picture); // the first slice only: changes come while the base is written
    }
    TSession session;
    for (int change = 0; change < 12; ++change) {
        // The first change takes in the first row, which a new picture's base repeats. Every other
        // tick gathers two changes, handed over together: no cut may give one without the other.
        journal.Changed(picture, file, PaintSomewhere(picture, random, change == 0));
        if (change % 2 == 1) journal.Changed(picture, file, PaintSomewhere(picture, random, false));
        while (journal.Pump(picture)) {
        }
        journal.Drain(picture);
        session.States.push_back(picture);
        session.Lengths.push_back(std::filesystem::file_size(names.Journal()));
    }
    journal.Flush(picture);
    return session;
}

struct TCase {
    const char* Name;
    TPixelFormat Format;
    TStart Start;
};

void PrintTo(const TCase& c, std::ostream* out) {
    *out << c.Name;
}

class JournalReplayTest : public testing::TestWithParam<TCase> {};

// Cut anywhere, the journal gives the last picture whose bytes are all there, or nothing before
// the first; a flipped byte in the last record counts as a torn write too.
TEST_P(JournalReplayTest, EveryCutGivesTheLastWholeState) {
    const TTempFolder folder;
    const TSession session = RunSession(folder, GetParam().Format, GetParam().Start, 7);
    const std::string path = folder.File("journals/session.journal");
    const std::vector<std::uint8_t> whole = ReadFileBytes(path);

    const auto full = ReplayJournal(path);
    ASSERT_TRUE(full);
    EXPECT_TRUE(SamePicture(full->Picture, session.States.back()));
    EXPECT_EQ(full->ValidBytes, whole.size());

    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> cut(0, whole.size());
    for (int i = 0; i < 300; ++i) {
        const std::size_t length = i == 0 ? whole.size() - 1 : cut(random);
        const auto replay = ReplayJournalBytes(std::span(whole).first(length));
        const auto state = std::upper_bound(session.Lengths.begin(), session.Lengths.end(), length);
        if (state == session.Lengths.begin()) {
            // Only the base and part of the first change: the base alone is a state too, unless
            // its copy is not complete.
            if (replay) {
                EXPECT_EQ(replay->Changes, 0u) << "cut at " << length;
            }
            continue;
        }
        ASSERT_TRUE(replay) << "cut at " << length;
        EXPECT_TRUE(
            SamePicture(replay->Picture, session.States[std::size_t(state - session.Lengths.begin()) - 1]))
            << "cut at " << length;
    }
    std::vector<std::uint8_t> flipped = whole;
    flipped[flipped.size() - 5] ^= 0x40;
    const auto replay = ReplayJournalBytes(flipped);
    ASSERT_TRUE(replay);
    EXPECT_TRUE(SamePicture(replay->Picture, session.States[session.States.size() - 2]));
}

INSTANTIATE_TEST_SUITE_P(Starts, JournalReplayTest,
                         testing::Values(TCase{"New24", TPixelFormat::pf24bit, TStart::New},
                                         TCase{"New4", TPixelFormat::pf4bit, TStart::New},
                                         TCase{"New1", TPixelFormat::pf1bit, TStart::New},
                                         TCase{"Opened8", TPixelFormat::pf8bit, TStart::OpenedFile},
                                         TCase{"WholeChange", TPixelFormat::pf8bit, TStart::WholeChange}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A journal kept as changes to its file cannot outlive a change of that file; one with its own copy
// can, and says the file changed.
TEST(JournalSummaryTest, AChangedFileIsSeenAndOnlyAnOwnCopyRecovers) {
    const TTempFolder folder;
    const std::string path = folder.File("journals/session.journal");
    RunSession(folder, TPixelFormat::pf24bit, TStart::OpenedFile, 3);
    auto summary = SummarizeJournal(path);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->Info.PictureFile, folder.File("map.bmp"));
    EXPECT_TRUE(summary->Recoverable);
    EXPECT_FALSE(summary->SourceChanged);

    SaveBitmapToFile(TBitmap(5, 5), folder.File("map.bmp"));
    summary = SummarizeJournal(path);
    EXPECT_TRUE(summary->SourceChanged);
    EXPECT_FALSE(summary->Recoverable);
    EXPECT_FALSE(ReplayJournal(path));

    // The same file changed under a journal that copied its picture.
    std::filesystem::remove_all(folder.File("journals"));
    const TSession session = RunSession(folder, TPixelFormat::pf8bit, TStart::WholeChange, 3);
    std::filesystem::rename(folder.File("map.bmp"), folder.File("old.bmp"));
    summary = SummarizeJournal(path);
    EXPECT_TRUE(summary->Recoverable);
    const auto replay = ReplayJournal(path);
    ASSERT_TRUE(replay);
    EXPECT_TRUE(SamePicture(replay->Picture, session.States.back()));
}

// The processor's instruction and the table give the standard check value and agree on every
// length and alignment, so a journal sealed on one machine reads on any other.
TEST(RecordCrcTest, InstructionAndTableAgreeWithTheCheckValue) {
    const std::string check = "123456789";
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(check.data()), check.size());
    EXPECT_EQ(Crc32c(bytes), 0xE3069283u);
    EXPECT_EQ(Crc32cByTable(bytes), 0xE3069283u);
    std::mt19937 random(5);
    std::vector<std::uint8_t> noise(300);
    for (auto& byte : noise)
        byte = std::uint8_t(random());
    for (std::size_t start = 0; start < 8; ++start)
        for (std::size_t length = 0; length + start <= noise.size(); length += 7) {
            const auto part = std::span(noise).subspan(start, length);
            ASSERT_EQ(Crc32c(part), Crc32cByTable(part)) << start << " " << length;
        }
}

// Two sessions never share a journal: a held one is not offered, a released one is, once.
TEST(JournalFolderTest, OnlyJournalsNoSessionHoldsAreOffered) {
    const TTempFolder folder;
    const std::string dir = folder.Path().string();
    TJournalLock running = TJournalLock::Take(dir, "running");
    ASSERT_TRUE(running.Held());
    EXPECT_FALSE(TJournalLock::Take(dir, "running").Held());
    for (const char* name :
         {"running.journal", "ended.journal", "ended.journal.tmp", "unfinished.journal.tmp"})
        std::ofstream(folder.File(name)) << "x";

    auto orphans = TakeOrphanJournals(dir);
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].Names.Id, "ended");
    EXPECT_FALSE(std::filesystem::exists(folder.File("ended.journal.tmp")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("unfinished.journal.tmp")));
    // Held while this session decides about it.
    EXPECT_TRUE(TakeOrphanJournals(dir).empty());
}

// A folder that cannot be written stops the journal with one message; changes go on being taken.
TEST(JournalWriterTest, AFolderThatCannotBeWrittenFailsOnceAndQuietly) {
    const TTempFolder folder;
    std::ofstream(folder.File("file")) << "x";
    TPictureJournal journal({folder.File("file"), "session"}, TJournalLock());
    TBitmap picture(8, 8);
    journal.MarkClean(picture, "");
    journal.Changed(picture, "", Bounds(0, 0, 2, 2));
    journal.Drain(picture);
    EXPECT_TRUE(journal.Failed());
    const auto error = journal.TakeError();
    ASSERT_TRUE(error);
    EXPECT_NE(error->find(folder.File("file")), std::string::npos) << *error;
    journal.Changed(picture, "", Bounds(2, 2, 4, 4));
    journal.Drain(picture);
    EXPECT_FALSE(journal.TakeError());
}

} // namespace
