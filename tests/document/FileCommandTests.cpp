// SPDX-License-Identifier: GPL-3.0-or-later
// New, Open, Save and Save As with real files: the picture, its name, title, modified and undo states.

#include "BmpFile.h"
#include "DocumentTestHelpers.h"
#include "picture/TestFiles.h"

namespace {

// A hand-made BMP file: the 14-byte file header and 40-byte info header, pixels at offset 54.
std::vector<std::uint8_t> BmpHeaders(std::int32_t w, std::int32_t h, int bits) {
    std::vector<std::uint8_t> b;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(std::uint8_t(v >> 8 * i));
    };
    b = {'B', 'M'};
    u32(0), u32(0), u32(54), u32(40), u32(std::uint32_t(w)), u32(std::uint32_t(h));
    u32(1 | std::uint32_t(bits) << 16); // planes, bits per pixel
    for (int i = 0; i < 6; ++i)
        u32(0);
    return b;
}

class FileCommands : public TDocumentTest {
  protected:
    TTempFolder Folder;
    // Saved as old.bmp, then changed: the state that failures must leave as it is.
    void StartNamedModifiedPicture() {
        StartPatternPicture(D, 9, 7);
        Modal.FileChoices.push_back(Folder.File("old.bmp"));
        ASSERT_TRUE(D.SaveAs());
        EditPicture(D, [&](TBitmap& p) { p.SetPixel(1, 1, RGB(1, 2, 3)); });
        MarkModified(D);
        Host.TitleChanges = 0;
    }
};

// Yes without a file name opens the save dialog; cancelling it means the picture was not saved,
// so neither New nor Open may replace it. No discards it.
TEST_F(FileCommands, CancellingTheSaveDialogKeepsThePictureAndNoDiscardsIt) {
    StartPatternPicture(D, 30, 20, 8);
    SaveBitmapToFile(TBitmap(3, 3), Folder.File("other.bmp"));
    DragAndRelease(D, 1, 1, 5, 5);
    D.StampFloating();
    DragAndRelease(D, 1, 1, 5, 5);
    const TBitmap before = D.Picture();
    Host.TitleChanges = 0;

    Modal.Answers = {true, true};
    D.New();
    EXPECT_FALSE(D.OpenPictureFile(Folder.File("other.bmp")));
    EXPECT_EQ(2u, Modal.Dialogs.size());
    EXPECT_EQ(before.PixelBuffer(), D.Picture().PixelBuffer());
    EXPECT_TRUE(D.Modified() && D.Floating().Active && D.History().CanUndo());
    EXPECT_EQ("Tessimap", D.Title());
    EXPECT_EQ(0, Host.TitleChanges);

    Modal.Answers = {false};
    D.New();
    EXPECT_EQ(std::vector<std::string>(3, "Warning|Save changes?"), Modal.Shown);
    EXPECT_EQ(2u, Modal.Dialogs.size());
    EXPECT_EQ(TPixelFormat::pf8bit, D.Picture().PixelFormat());
    EXPECT_TRUE(AreaIs(D.Picture(), TRect(0, 0, 30, 20), clBlack));
    EXPECT_EQ(30, D.Picture().Width());
    EXPECT_FALSE(D.Modified() || D.History().CanUndo() || D.Floating().Active || D.Floating().Shown);
}

// Cancel at "Save changes?" calls off New and Open alike: the named, modified picture stays
// whole, with its name, and no dialog opens.
TEST_F(FileCommands, CancelAtTheSaveQuestionKeepsEverything) {
    StartNamedModifiedPicture();
    SaveBitmapToFile(TBitmap(3, 3), Folder.File("other.bmp"));
    const TBitmap before = D.Picture();
    Modal.Answers = {TAnswer::Cancel, TAnswer::Cancel};
    D.New();
    EXPECT_FALSE(D.OpenPictureFile(Folder.File("other.bmp")));
    EXPECT_EQ(Modal.Shown, std::vector<std::string>(2, "Warning|Save changes?"));
    EXPECT_TRUE(SameArea(before, 0, 0, D.Picture()));
    EXPECT_TRUE(D.Modified());
    EXPECT_EQ(Folder.File("old.bmp"), D.CurrentFile());
    EXPECT_TRUE(Modal.Dialogs.size() == 1u && Modal.Errors.empty()) << "only the first Save As";
}

// A file cut short opens as it always has, the missing rows black, and the user is told which
// file it was and how much of it could be read; a whole file opens without a word.
TEST_F(FileCommands, ATruncatedFileOpensWithAWarningNamingItAndTheRowsRead) {
    const std::string whole = Folder.File("whole.bmp"), cut = Folder.File("cut.bmp");
    SaveBitmapToFile(PatternBitmap(10, 8), whole);
    ASSERT_TRUE(D.OpenPictureFile(whole));
    EXPECT_TRUE(Modal.Shown.empty());

    std::vector<std::uint8_t> bytes = ReadFileBytes(whole);
    bytes.resize(54 + 3 * 32 + 5); // three whole rows of 32 bytes, and a part of the fourth
    WriteFileBytes(cut, bytes);
    ASSERT_TRUE(D.OpenPictureFile(cut));
    EXPECT_EQ(Modal.Shown, std::vector<std::string>{"Warning|The picture file " + cut +
                                                    " is damaged: only 3 of its 8 rows could be read. "
                                                    "The rest of the picture is black."});
    EXPECT_EQ(cut, D.CurrentFile());
    EXPECT_EQ(8, D.Picture().Height());
    EXPECT_FALSE(D.Modified());
}

// Opening shows how far the read has come; Escape does not stop it halfway.
TEST_F(FileCommands, OpenShowsItsProgressAndEscapeDoesNotStopIt) {
    const std::string path = Folder.File("wide.bmp");
    const TBitmap picture = PatternBitmap(2000, 40);
    SaveBitmapToFile(picture, path);
    Host.StopAtPercent = 0;
    ASSERT_TRUE(D.OpenPictureFile(path));
    EXPECT_GT(Host.ProgressReports, 10);
    EXPECT_EQ(Host.ProgressEnds, 1);
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, picture));
}

TEST_F(FileCommands, OpenFourBitFileTakesItsSizeAndDepthForTheNextNew) {
    TBitmap file(5, 3, TPixelFormat::pf4bit);
    PaintPattern(file);
    SaveBitmapToFile(file, Folder.File("tiles.bmp"));
    DragAndRelease(D, 0, 0, 10, 10);
    Modal.FileChoices.push_back(Folder.File("tiles.bmp"));
    D.Open();
    ASSERT_EQ(1u, Modal.Dialogs.size());
    EXPECT_EQ("Open picture|bitmap pictures|bmp", Modal.Dialogs[0].Title + "|" + Modal.Dialogs[0].FilterText +
                                                      "|" + Modal.Dialogs[0].DefaultExtension);
    EXPECT_EQ(TPixelFormat::pf4bit, D.Picture().PixelFormat());
    EXPECT_TRUE(SameArea(D.Picture(), 0, 0, file));
    EXPECT_EQ(Folder.File("tiles.bmp"), D.CurrentFile());
    EXPECT_EQ("Tessimap - tiles.bmp", D.Title());
    EXPECT_FALSE(D.Modified() || D.History().CanUndo() || D.Floating().Active);
    D.New();
    EXPECT_EQ(std::pair(5, 3), std::pair(D.Picture().Width(), D.Picture().Height()));
    EXPECT_EQ(TPixelFormat::pf4bit, D.Picture().PixelFormat());
    EXPECT_EQ("Tessimap", D.Title());
    D.Open(); // starts in the folder of the last opened file
    EXPECT_EQ(Folder.Path().string(), Modal.Dialogs.back().InitialFolder);
}

// Open and Save As start in the current file's folder, else the last folder used, else the
// default one the window gives.
TEST_F(FileCommands, DialogsStartInTheFilesFolderElseTheLastFolderElseTheDefault) {
    TTempFolder pictures, other;
    D.SetDefaultFolder(pictures.Path().string());
    const auto startsIn = [&](bool open) {
        if (open)
            D.Open();
        else
            D.SaveAs();
        return Modal.Dialogs.back().InitialFolder;
    };
    EXPECT_EQ(startsIn(true), pictures.Path().string());
    EXPECT_EQ(startsIn(false), pictures.Path().string());
    StartNamedModifiedPicture();
    D.SetPictureFolder(other.Path().string()); // a last folder elsewhere does not win over the file's
    EXPECT_EQ(startsIn(true), Folder.Path().string());
    EXPECT_EQ(startsIn(false), Folder.Path().string());
    ForgetChanges(D);
    D.New();
    EXPECT_EQ(startsIn(true), other.Path().string());
    EXPECT_EQ(startsIn(false), other.Path().string());
}

TEST_F(FileCommands, OpenThirtyTwoBitFileGivesATwentyFourBitPicture) {
    std::vector<std::uint8_t> file = BmpHeaders(2, 1, 32);
    file.insert(file.end(), {10, 20, 30, 0, 1, 2, 3, 0}); // blue, green, red, unused
    WriteFileBytes(Folder.File("deep.bmp"), file);
    ASSERT_TRUE(D.OpenPictureFile(Folder.File("deep.bmp")));
    EXPECT_EQ(TPixelFormat::pf24bit, D.Picture().PixelFormat());
    EXPECT_EQ(RGB(30, 20, 10), D.Picture().Pixel(0, 0));
    EXPECT_EQ(RGB(3, 2, 1), D.Picture().Pixel(1, 0));
    D.ClearPicture(); // the canvas still draws in the background colour
    EXPECT_EQ(D.Options().BackgroundColor, D.Picture().Pixel(1, 0));
}

TEST_F(FileCommands, OpenOfABrokenFileShowsTheErrorAndLeavesEverythingAsItWas) {
    StartNamedModifiedPicture();
    const TBitmap before = D.Picture();
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> files{
        {"not a bitmap", {'h', 'e', 'l', 'l', 'o'}},
        {"cut inside the info header", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0}},
        {"seven bits per pixel", BmpHeaders(2, 2, 7)},
        {"too large for memory", BmpHeaders(0x7FFFFFFF, 0x7FFFFFFF, 24)},
        {"empty", {}}};
    for (const auto& [name, bytes] : files) {
        WriteFileBytes(Folder.File("broken.bmp"), bytes);
        EXPECT_FALSE(D.OpenPictureFile(Folder.File("broken.bmp"))) << name;
    }
    EXPECT_FALSE(D.OpenPictureFile(Folder.File("missing.bmp")));
    EXPECT_EQ(files.size() + 1, Modal.Errors.size());
    EXPECT_TRUE(Modal.Shown.empty()) << "no question for a picture that is not replaced";
    EXPECT_EQ(before.PixelBuffer(), D.Picture().PixelBuffer());
    EXPECT_EQ("Tessimap - old.bmp", D.Title());
    EXPECT_EQ(0, Host.TitleChanges);
    EXPECT_TRUE(D.Modified());
    EXPECT_EQ(9, D.Options().WidthPic);
}

TEST_F(FileCommands, SaveStampsTheFloatingImageIntoTheFile) {
    StartNamedModifiedPicture();
    D.Paste(SolidBitmap(2, 2, RGB(0, 250, 0)), 0, 0);
    D.MoveFloating(TArrow::Right, true);
    EXPECT_TRUE(D.Save());
    EXPECT_FALSE(D.Floating().Active || D.Floating().Shown || D.Modified());
    EXPECT_TRUE(D.History().CanUndo());
    EXPECT_EQ(0, Host.TitleChanges);
    const TBitmap saved = LoadBitmapFromFile(Folder.File("old.bmp"));
    EXPECT_TRUE(SameArea(saved, 0, 0, D.Picture()));
    EXPECT_EQ(RGB(0, 250, 0), saved.Pixel(2, 1));
}

TEST_F(FileCommands, SaveAsAddsTheExtensionOnlyWhenNoneWasTyped) {
    StartPatternPicture(D, 4, 4);
    for (const auto& [typed, stored] :
         {std::pair{"level1", "level1.bmp"}, std::pair{"level1.png", "level1.png"},
          std::pair{".map", ".map.bmp"}}) {
        MarkModified(D);
        Host.TitleChanges = 0;
        Modal.FileChoices.push_back(Folder.File(typed));
        EXPECT_TRUE(D.SaveAs());
        EXPECT_TRUE(std::filesystem::exists(Folder.File(stored))) << typed;
        EXPECT_EQ(Folder.File(stored), D.CurrentFile());
        EXPECT_EQ(std::string("Tessimap - ") + stored, D.Title());
        EXPECT_EQ(1, Host.TitleChanges);
        EXPECT_FALSE(D.Modified());
    }
    EXPECT_EQ("Save picture|bmp", Modal.Dialogs.at(0).Title + "|" + Modal.Dialogs.at(0).DefaultExtension);
}

TEST_F(FileCommands, FailedSavesKeepNameTitleAndChangesAndNewKeepsThePicture) {
    StartNamedModifiedPicture();
    const TBitmap before = D.Picture();
    const std::string target = Folder.File("missing-folder/new.bmp");
    Modal.FileChoices.push_back(target);
    EXPECT_FALSE(D.SaveAs());
    EXPECT_EQ(std::vector<std::string>{"Cannot create file " + target}, Modal.Errors);
    EXPECT_TRUE(D.Modified());
    EXPECT_EQ(Folder.File("old.bmp"), D.CurrentFile());
    EXPECT_EQ(0, Host.TitleChanges);

    std::filesystem::remove(Folder.File("old.bmp"));
    std::filesystem::create_directory(Folder.File("old.bmp")); // no file can replace it
    EXPECT_FALSE(D.Save());
    EXPECT_TRUE(D.Modified());
    Modal.Answers.push_back(true);
    D.New();
    EXPECT_EQ(3u, Modal.Errors.size());
    EXPECT_TRUE(D.Modified());
    EXPECT_EQ(before.PixelBuffer(), D.Picture().PixelBuffer());
    EXPECT_EQ(Folder.File("old.bmp"), D.CurrentFile());
}

} // namespace
