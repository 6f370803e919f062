#include "BmpFile.h"
#include "EditingHelpers.h"
#include "ScriptedModal.h"
#include "picture/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// A hand-made BMP file: the 14-byte file header and 40-byte info header, pixels at offset 54.
std::vector<std::uint8_t> BmpHeaders(std::int32_t w, std::int32_t h, int bits) {
    std::vector<std::uint8_t> b;
    auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> 8 * i)); };
    b = {'B', 'M'};
    u32(0), u32(0), u32(54), u32(40), u32(std::uint32_t(w)), u32(std::uint32_t(h));
    u32(1 | std::uint32_t(bits) << 16); // planes, bits per pixel
    for (int i = 0; i < 6; ++i) u32(0);
    return b;
}

class FileCommands : public TDocumentFixture, public testing::Test {
protected:
    TTempFolder Folder;

    // Saved as old.bmp, then changed: the state that failures must leave as it is.
    void StartNamedModifiedPicture() {
        StartPatternPicture(Document, 9, 7);
        Modal.FileChoices.push_back(Folder.File("old.bmp"));
        ASSERT_TRUE(Document.SaveAs());
        Document.Picture.SetPixel(1, 1, RGB(1, 2, 3));
        Document.Modified = true;
        Host.TitleChanges = 0;
    }
};

TEST_F(FileCommands, NewAfterChangesAsksAndAfterNoGivesAnEmptyUntitledPicture) {
    StartPatternPicture(Document, 30, 20, 8);
    Document.CurrentFile = Folder.File("map.bmp");
    DragAndRelease(Document, 1, 1, 5, 5);
    Document.StampFloating();
    DragAndRelease(Document, 1, 1, 5, 5);

    Document.New();
    EXPECT_EQ(std::vector<std::string>{"Warning|Save changes?"}, Modal.Shown);
    EXPECT_EQ(TPixelFormat::pf8bit, Document.Picture.PixelFormat());
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(0, 0, 30, 20), clBlack));
    EXPECT_EQ(30, Document.Picture.Width());
    EXPECT_EQ("", Document.CurrentFile);
    EXPECT_EQ("Tessimap", Document.Title());
    EXPECT_FALSE(Document.Modified || Document.UndoAvailable || Document.Floating || Document.FloatShown);
}

TEST_F(FileCommands, OpenFourBitFileTakesItsSizeAndDepthForTheNextNew) {
    TBitmap file(5, 3, TPixelFormat::pf4bit);
    for (int x = 0; x < 5; ++x) file.SetPixel(x, 1, ColorOf(file.ColorTable()[std::size_t(x + 9)]));
    SaveBitmapToFile(file, Folder.File("tiles.bmp"));
    DragAndRelease(Document, 0, 0, 10, 10);
    Modal.FileChoices.push_back(Folder.File("tiles.bmp"));

    Document.Open();
    ASSERT_EQ(1u, Modal.Dialogs.size());
    EXPECT_EQ("Open picture", Modal.Dialogs[0].Title);
    EXPECT_EQ("bitmap pictures", Modal.Dialogs[0].FilterText);
    EXPECT_EQ("bmp", Modal.Dialogs[0].DefaultExtension);
    EXPECT_EQ(TPixelFormat::pf4bit, Document.Picture.PixelFormat());
    EXPECT_TRUE(SameArea(Document.Picture, 0, 0, file));
    EXPECT_EQ(Folder.File("tiles.bmp"), Document.CurrentFile);
    EXPECT_EQ("Tessimap - tiles.bmp", Document.Title());
    EXPECT_FALSE(Document.Modified || Document.UndoAvailable || Document.Floating);

    Document.New();
    EXPECT_EQ(5, Document.Picture.Width());
    EXPECT_EQ(3, Document.Picture.Height());
    EXPECT_EQ(TPixelFormat::pf4bit, Document.Picture.PixelFormat());
    Document.Open(); // starts in the folder of the last opened file
    EXPECT_EQ(Folder.Path().string(), Modal.Dialogs.back().InitialFolder);
}

TEST_F(FileCommands, OpenThirtyTwoBitFileGivesATwentyFourBitPicture) {
    std::vector<std::uint8_t> file = BmpHeaders(2, 1, 32);
    file.insert(file.end(), {10, 20, 30, 0, 1, 2, 3, 0}); // blue, green, red, unused
    WriteFileBytes(Folder.File("deep.bmp"), file);

    ASSERT_TRUE(Document.OpenPictureFile(Folder.File("deep.bmp")));
    EXPECT_EQ(TPixelFormat::pf24bit, Document.Picture.PixelFormat());
    EXPECT_EQ(RGB(30, 20, 10), Document.Picture.Pixel(0, 0));
    EXPECT_EQ(RGB(3, 2, 1), Document.Picture.Pixel(1, 0));
    Document.ClearPicture(); // the canvas still draws in the background colour
    EXPECT_EQ(Document.BackgroundColor, Document.Picture.Pixel(1, 0));
}

struct TBrokenFile {
    const char* Name;
    std::vector<std::uint8_t> Bytes;
    bool Missing = false;
};

class OpenBroken : public FileCommands, public testing::WithParamInterface<TBrokenFile> {};

TEST_P(OpenBroken, ShowsTheErrorAndLeavesEverythingAsItWas) {
    StartNamedModifiedPicture();
    const TBitmap before = Document.Picture;
    const std::string path = Folder.File("broken.bmp");
    if (!GetParam().Missing) WriteFileBytes(path, GetParam().Bytes);

    EXPECT_FALSE(Document.OpenPictureFile(path));
    ASSERT_EQ(1u, Modal.Errors.size());
    EXPECT_TRUE(Modal.Shown.empty()) << "no question for a picture that is not replaced";
    EXPECT_EQ(before.PixelBuffer(), Document.Picture.PixelBuffer());
    EXPECT_EQ("Tessimap - old.bmp", Document.Title());
    EXPECT_EQ(0, Host.TitleChanges);
    EXPECT_TRUE(Document.Modified);
    EXPECT_EQ(9, Document.WidthPic);
}

std::vector<std::uint8_t> CutShort(std::vector<std::uint8_t> bytes) {
    bytes.resize(30); // inside the info header
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(FileCommands, OpenBroken,
                         testing::Values(TBrokenFile{"NotABitmap", {'h', 'e', 'l', 'l', 'o'}},
                                         TBrokenFile{"HeaderCutShort", CutShort(BmpHeaders(4, 4, 24))},
                                         TBrokenFile{"SevenBitsPerPixel", BmpHeaders(2, 2, 7)},
                                         TBrokenFile{"TooLargeForMemory", BmpHeaders(0x7FFFFFFF, 0x7FFFFFFF, 24)},
                                         TBrokenFile{"Empty", {}}, TBrokenFile{"Missing", {}, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FileCommands, SaveStampsTheFloatingImageIntoTheFile) {
    StartNamedModifiedPicture();
    TBitmap tile(2, 2);
    tile.Brush.Color = RGB(0, 250, 0);
    tile.FillRect(TRect(0, 0, 2, 2));
    Document.Paste(tile, 0, 0);
    Document.MoveFloating(TArrow::Right, true);

    EXPECT_TRUE(Document.Save());
    EXPECT_FALSE(Document.Floating || Document.FloatShown || Document.Modified);
    EXPECT_TRUE(Document.UndoAvailable);
    EXPECT_EQ(0, Host.TitleChanges);
    const TBitmap saved = LoadBitmapFromFile(Folder.File("old.bmp"));
    EXPECT_TRUE(SameArea(saved, 0, 0, Document.Picture));
    EXPECT_EQ(RGB(0, 250, 0), saved.Pixel(2, 1));
}

struct TSaveName {
    const char* Name;
    const char* Typed;
    const char* Stored;
};

class SaveAsName : public FileCommands, public testing::WithParamInterface<TSaveName> {};

TEST_P(SaveAsName, AddsTheExtensionOnlyWhenNoneWasTyped) {
    StartPatternPicture(Document, 4, 4);
    Document.Modified = true;
    Modal.FileChoices.push_back(Folder.File(GetParam().Typed));
    Host.TitleChanges = 0;

    EXPECT_TRUE(Document.SaveAs());
    const std::string stored = Folder.File(GetParam().Stored);
    EXPECT_TRUE(std::filesystem::exists(stored));
    EXPECT_EQ(stored, Document.CurrentFile);
    EXPECT_EQ(std::string("Tessimap - ") + GetParam().Stored, Document.Title());
    EXPECT_EQ(1, Host.TitleChanges);
    EXPECT_FALSE(Document.Modified);
    EXPECT_EQ("Save picture", Modal.Dialogs.at(0).Title);
    EXPECT_EQ("bmp", Modal.Dialogs.at(0).DefaultExtension);
}

INSTANTIATE_TEST_SUITE_P(FileCommands, SaveAsName,
                         testing::Values(TSaveName{"NoExtension", "level1", "level1.bmp"},
                                         TSaveName{"OtherExtension", "level1.dib", "level1.dib"},
                                         TSaveName{"DotFile", ".map", ".map.bmp"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FileCommands, FailedSaveAsKeepsNameTitleAndChanges) {
    StartNamedModifiedPicture();
    const std::string target = Folder.File("missing-folder/new.bmp");
    Modal.FileChoices.push_back(target);

    EXPECT_FALSE(Document.SaveAs());
    EXPECT_EQ(std::vector<std::string>{"Cannot create file " + target}, Modal.Errors);
    EXPECT_TRUE(Document.SaveFailed && Document.Modified);
    EXPECT_EQ(Folder.File("old.bmp"), Document.CurrentFile);
    EXPECT_EQ(0, Host.TitleChanges);
}

TEST_F(FileCommands, FailedSaveOnAFullDeviceKeepsThePictureModifiedAndTheOldFile) {
    StartNamedModifiedPicture();
    const auto before = ReadFileBytes(Folder.File("old.bmp"));
    ASSERT_TRUE(Document.ResizePicture(300, 300, true));

    // A file-size limit makes the device refuse bytes the way a full disk does.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = Document.Save();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(std::vector<std::string>{"Stream write error"}, Modal.Errors);
    EXPECT_TRUE(Document.Modified);
    EXPECT_EQ(before, ReadFileBytes(Folder.File("old.bmp")));
}

TEST_F(FileCommands, NewKeepsThePictureWhenSavingItsChangesFails) {
    StartNamedModifiedPicture();
    const TBitmap before = Document.Picture;
    std::filesystem::remove(Folder.File("old.bmp"));
    std::filesystem::create_directory(Folder.File("old.bmp")); // no file can replace it
    Modal.Answers.push_back(true);

    Document.New();
    EXPECT_EQ(1u, Modal.Errors.size());
    EXPECT_TRUE(Document.Modified);
    EXPECT_EQ(before.PixelBuffer(), Document.Picture.PixelBuffer());
    EXPECT_EQ(Folder.File("old.bmp"), Document.CurrentFile);
}

} // namespace
