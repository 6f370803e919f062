// SPDX-License-Identifier: GPL-3.0-or-later
// The window starting over journals that an ended session left behind: one handed to it on the
// command line, as the first window hands each further picture the user chose to recover, and one
// that no program here can read.

#include "BmpFile.h"
#include "CommandLine.h"
#include "JournalReplay.h"
#include "PictureJournal.h"
#include "ShellFixture.h"

#include <filesystem>

namespace {

class RecoveryWindowTest : public ShellTest {
  protected:
    void SetUp() override {} // each test leaves its journals before it starts the window
    std::string StateFolder() const { return AppFolder.File("recovery"); }
};

// A second picture the user chose to recover opens in a copy of the editor started with --recover:
// that copy asks nothing, shows the picture as it was at the kill, modified, under its file's name,
// and takes the journal over as its own.
TEST_F(RecoveryWindowTest, ASecondJournalHandedOverOnTheCommandLineIsReopenedWithoutAQuestion) {
    const std::string map = AppFolder.File("second map.bmp");
    TBitmap picture(40, 30);
    picture.Brush.Color = TColor(0x808080);
    picture.FillRect(Bounds(0, 0, 40, 30));
    SaveBitmapToFile(picture, map);
    const std::vector<std::uint8_t> onDisk = ReadFileBytes(map);
    const TJournalNames crashed{StateFolder(), "picture-1-crashed"};
    {
        std::filesystem::create_directories(StateFolder());
        TPictureJournal journal(crashed, TJournalLock::Take(crashed.Folder, crashed.Id));
        journal.MarkClean(picture, map);
        picture.Brush.Color = TColor(0x0000FF);
        picture.FillRect(Bounds(8, 4, 16, 16));
        journal.Changed(picture, map, Bounds(8, 4, 16, 16));
        journal.Flush(picture);
    } // the session ends without removing its journal, as a kill leaves it

    const TEditorCommandLine command = ParseEditorCommandLine({"--recover", crashed.Journal()});
    ASSERT_EQ(command.Action, TEditorCommandLine::TAction::Run) << command.Problem;
    Form = std::make_unique<TForm1>(
        Modal, TAppPaths(QString::fromStdString(AppFolder.Path().string()), QString(), QString()));
    Form->SetRecoverJournal(command.RecoverJournal);
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));

    EXPECT_TRUE(Modal.Shown.empty()) << Modal.Shown.front();
    const TBitmap& shown = Document().Picture();
    EXPECT_EQ(shown.Width(), 40);
    EXPECT_EQ(shown.Height(), 30);
    EXPECT_EQ(shown.PixelBuffer(), picture.PixelBuffer());
    EXPECT_TRUE(Document().Modified());
    EXPECT_EQ(Document().CurrentFile(), map);
    EXPECT_EQ(ReadFileBytes(map), onDisk);
    EXPECT_FALSE(std::filesystem::exists(crashed.Journal())) << "the journal was not taken over";
}

// A journal that cannot be read is said once, naming where it is kept, and is never removed: it
// may be the only copy of someone's work.
TEST_F(RecoveryWindowTest, AnUnreadableJournalIsKeptAsideAndSaidOnce) {
    const TJournalNames damaged{StateFolder(), "picture-2-damaged"};
    std::filesystem::create_directories(StateFolder());
    std::ofstream(damaged.Journal(), std::ios::binary) << "TSMJRNL9 not a journal this program wrote";
    const std::vector<std::uint8_t> bytes = ReadFileBytes(damaged.Journal());

    StartWindow();
    ASSERT_EQ(Modal.Shown.size(), 1u);
    EXPECT_NE(Modal.Shown[0].find(damaged.Damaged()), std::string::npos) << Modal.Shown[0];
    EXPECT_EQ(ReadFileBytes(damaged.Damaged()), bytes);
    EXPECT_FALSE(std::filesystem::exists(damaged.Journal()));

    Form.reset();
    StartWindow();
    EXPECT_EQ(Modal.Shown.size(), 1u);
}

// The journal keeps the picture as saving would write it: a lifted image is stamped where it
// floats, moved or not, and the area it was lifted from is what the lift left there.
TEST_F(RecoveryWindowTest, AFloatingImageIsKeptWhereItFloatsAsSavingWouldStampIt) {
    StartWindow();
    std::optional<TReplayResult> kept;
    const auto journalHolds = [&](const TBitmap& saved) {
        QMetaObject::invokeMethod(Named<QTimer>(Form, "JournalTimer"), "timeout");
        const bool held = QTest::qWaitFor(
            [&] {
                for (const auto& entry : std::filesystem::directory_iterator(StateFolder()))
                    if (entry.path().extension() == ".journal") kept = ReplayJournal(entry.path().string());
                return kept && kept->Picture.PixelBuffer() == saved.PixelBuffer();
            },
            5000);
        return held ? testing::AssertionSuccess()
                    : testing::AssertionFailure() << (kept ? SameArea(kept->Picture, 0, 0, saved).message()
                                                           : std::string("no journal"));
    };
    for (const bool transparency : {false, true}) {
        SCOPED_TRACE(transparency ? "transparent" : "opaque");
        ForgetChanges(Document());
        StartPatternPicture(Document(), 64, 48);
        if (Document().Options().Transparency != transparency) Document().ToggleTransparency();
        const TBitmap before = Document().Picture();
        DragAndRelease(Document(), 10, 8, 30, 24);
        // Lifted and not moved, it would be saved where it was: the picture is as it was.
        EXPECT_TRUE(journalHolds(before));

        const TFloatingImage& floating = Document().Floating();
        const TRect lifted = Bounds(floating.Left, floating.Top, floating.Width, floating.Height);
        for (int i = 0; i < 5; ++i)
            Document().MoveFloating(TArrow::Right, true);
        ASSERT_EQ(floating.Left, lifted.Left + 5);
        TBitmap saved = before;
        saved.Brush.Color = Document().Options().BackgroundColor;
        saved.FillRect(lifted);
        saved.CopyRect(Bounds(floating.Left, floating.Top, lifted.Width(), lifted.Height()), before, lifted);
        EXPECT_TRUE(journalHolds(saved));
    }
}

} // namespace
