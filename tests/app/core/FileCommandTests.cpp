#include "BmpFile.h"
#include "EditingHelpers.h"
#include "ScriptedModal.h"
#include "picture/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// Little-endian bytes of a hand-made BMP file.
struct TBmpBytes {
    std::vector<std::uint8_t> b;
    TBmpBytes& u8(std::uint8_t v) { b.push_back(v); return *this; }
    TBmpBytes& u16(std::uint32_t v) { return u8(std::uint8_t(v)).u8(std::uint8_t(v >> 8)); }
    TBmpBytes& u32(std::uint32_t v) { return u16(v).u16(v >> 16); }
    // File header, then the 40-byte info header; pixels follow at offset 54.
    TBmpBytes& headers(std::int32_t w, std::int32_t h, int bits) {
        u8('B').u8('M').u32(0).u32(0).u32(54);
        return u32(40).u32(std::uint32_t(w)).u32(std::uint32_t(h)).u16(1).u16(std::uint32_t(bits)).u32(0)
            .u32(0).u32(0).u32(0).u32(0).u32(0);
    }
};

class FileCommands : public TDocumentFixture, public testing::Test {
protected:
    TTempFolder Folder;

    // A saved picture with a name, then changed: the state the failure tests must keep.
    void StartNamedModifiedPicture() {
        StartPatternPicture(Document, 9, 7);
        Modal.FileChoices.push_back(Folder.File("old.bmp"));
        ASSERT_TRUE(Document.SaveAs());
        Document.Picture.SetPixel(1, 1, RGB(1, 2, 3));
        Document.Modified = true;
    }
};

TEST_F(FileCommands, NewAfterChangesAsksAndGivesAnEmptyUntitledPicture) {
    Document.BackgroundColor = RGB(0, 90, 0);
    StartPatternPicture(Document, 30, 20, 8);
    Document.CurrentFile = Folder.File("map.bmp");
    DragAndRelease(Document, 1, 1, 5, 5);
    Document.StampFloating();
    DragAndRelease(Document, 1, 1, 5, 5);
    Modal.Answers.push_back(false);

    Document.New();
    ASSERT_EQ(1u, Modal.Shown.size());
    EXPECT_EQ("Warning|Save changes?", Modal.Shown[0]);
    EXPECT_EQ(30, Document.Picture.Width());
    EXPECT_EQ(20, Document.Picture.Height());
    EXPECT_EQ(TPixelFormat::pf8bit, Document.Picture.PixelFormat());
    EXPECT_TRUE(AreaIs(Document.Picture, TRect(0, 0, 30, 20), Document.Picture.Pixel(0, 0)));
    EXPECT_EQ(Document.Picture.ColorOfPixelValue(Document.Picture.PixelValueOf(RGB(0, 90, 0))),
              Document.Picture.Pixel(0, 0));
    EXPECT_EQ("", Document.CurrentFile);
    EXPECT_EQ("Tessimap", Document.Title());
    EXPECT_FALSE(Document.Modified);
    EXPECT_FALSE(Document.UndoAvailable);
    EXPECT_FALSE(Document.Floating);
    EXPECT_FALSE(Document.FloatShown);
}

TEST_F(FileCommands, NewAnsweredYesOnAnUntitledPictureSavesThroughTheSaveDialog) {
    StartPatternPicture(Document, 6, 4);
    const TBitmap drawn = Document.Picture;
    Document.Modified = true;
    Modal.Answers.push_back(true);
    Modal.FileChoices.push_back(Folder.File("kept"));

    Document.New();
    ASSERT_EQ(1u, Modal.Dialogs.size());
    EXPECT_EQ("Save picture", Modal.Dialogs[0].Title);
    EXPECT_TRUE(SameBitmap(LoadBitmapFromFile(Folder.File("kept.bmp")), drawn));
    EXPECT_EQ("", Document.CurrentFile);
    EXPECT_FALSE(Document.Modified);
}

TEST_F(FileCommands, OpenFourBitFileTakesItsSizeAndDepthForTheNextNew) {
    TBitmap file(5, 3, TPixelFormat::pf4bit);
    PaintPattern(file);
    SaveBitmapToFile(file, Folder.File("tiles.bmp"));
    DragAndRelease(Document, 0, 0, 10, 10);
    Modal.FileChoices.push_back(Folder.File("tiles.bmp"));

    Document.Open();
    ASSERT_EQ(1u, Modal.Dialogs.size());
    EXPECT_EQ("Open picture", Modal.Dialogs[0].Title);
    EXPECT_EQ("bitmap pictures", Modal.Dialogs[0].FilterText);
    EXPECT_EQ("bmp", Modal.Dialogs[0].DefaultExtension);
    EXPECT_TRUE(Modal.Errors.empty());
    EXPECT_EQ(TPixelFormat::pf4bit, Document.Picture.PixelFormat());
    EXPECT_TRUE(SameBitmap(Document.Picture, file));
    EXPECT_EQ(Folder.File("tiles.bmp"), Document.CurrentFile);
    EXPECT_EQ("Tessimap - tiles.bmp", Document.Title());
    EXPECT_EQ(5, Document.WidthPic);
    EXPECT_EQ(3, Document.HeightPic);
    EXPECT_FALSE(Document.Modified);
    EXPECT_FALSE(Document.UndoAvailable);
    EXPECT_FALSE(Document.Floating);
    EXPECT_TRUE(Modal.Shown.empty()) << "a lift alone is no change to save";

    Document.New();
    EXPECT_EQ(5, Document.Picture.Width());
    EXPECT_EQ(3, Document.Picture.Height());
    EXPECT_EQ(TPixelFormat::pf4bit, Document.Picture.PixelFormat());

    // The next open dialog starts in the folder of this file.
    Document.Open();
    EXPECT_EQ(Folder.Path().string(), Modal.Dialogs.back().InitialFolder);
}

TEST_F(FileCommands, OpenThirtyTwoBitFileGivesATwentyFourBitPicture) {
    TBmpBytes file;
    file.headers(2, 2, 32);
    // Bottom row first, blue-green-red-unused.
    file.u8(10).u8(20).u8(30).u8(0).u8(40).u8(50).u8(60).u8(0);
    file.u8(70).u8(80).u8(90).u8(0).u8(1).u8(2).u8(3).u8(0);
    WriteFileBytes(Folder.File("deep.bmp"), file.b);

    ASSERT_TRUE(Document.OpenPictureFile(Folder.File("deep.bmp")));
    EXPECT_EQ(TPixelFormat::pf24bit, Document.Picture.PixelFormat());
    EXPECT_EQ(RGB(90, 80, 70), Document.Picture.Pixel(0, 0));
    EXPECT_EQ(RGB(3, 2, 1), Document.Picture.Pixel(1, 0));
    EXPECT_EQ(RGB(30, 20, 10), Document.Picture.Pixel(0, 1));
    EXPECT_EQ(RGB(60, 50, 40), Document.Picture.Pixel(1, 1));
    // The canvas keeps drawing in the background colour.
    Document.ClearPicture();
    EXPECT_EQ(Document.BackgroundColor, Document.Picture.Pixel(1, 1));
}

TEST_F(FileCommands, OpenOfAChangedPictureSavesItFirstWhenAskedTo) {
    StartNamedModifiedPicture();
    TBitmap other(3, 3);
    SaveBitmapToFile(other, Folder.File("other.bmp"));
    Modal.Answers.push_back(true);

    ASSERT_TRUE(Document.OpenPictureFile(Folder.File("other.bmp")));
    EXPECT_EQ(RGB(1, 2, 3), LoadBitmapFromFile(Folder.File("old.bmp")).Pixel(1, 1));
    EXPECT_EQ(3, Document.Picture.Width());
}

struct TBrokenFile {
    const char* Name;
    std::vector<std::uint8_t> Bytes; // nothing written when empty and Missing is set
    bool Missing = false;
};

class OpenBroken : public FileCommands, public testing::WithParamInterface<TBrokenFile> {};

TEST_P(OpenBroken, ShowsTheErrorAndLeavesEverythingAsItWas) {
    StartNamedModifiedPicture();
    const TBitmap before = Document.Picture;
    const std::string path = Folder.File("broken.bmp");
    if (!GetParam().Missing) WriteFileBytes(path, GetParam().Bytes);
    Host.TitleChanges = 0;

    EXPECT_FALSE(Document.OpenPictureFile(path));
    ASSERT_EQ(1u, Modal.Errors.size());
    EXPECT_FALSE(Modal.Errors[0].empty());
    EXPECT_TRUE(Modal.Shown.empty()) << "no question for a picture that is not replaced";
    EXPECT_EQ(before.PixelBuffer(), Document.Picture.PixelBuffer());
    EXPECT_EQ(Folder.File("old.bmp"), Document.CurrentFile);
    EXPECT_EQ("Tessimap - old.bmp", Document.Title());
    EXPECT_EQ(0, Host.TitleChanges);
    EXPECT_TRUE(Document.Modified);
    EXPECT_EQ(9, Document.WidthPic);
}

// The info header ends half-way.
std::vector<std::uint8_t> Truncated() {
    TBmpBytes file;
    file.headers(4, 4, 24);
    file.b.resize(30);
    return file.b;
}

std::vector<std::uint8_t> SevenBitsPerPixel() {
    TBmpBytes file;
    file.headers(2, 2, 7).u32(0).u32(0);
    return file.b;
}

INSTANTIATE_TEST_SUITE_P(FileCommands, OpenBroken,
                         testing::Values(TBrokenFile{"NotABitmap", {'h', 'e', 'l', 'l', 'o', '\n'}},
                                         TBrokenFile{"Truncated", Truncated()},
                                         TBrokenFile{"SevenBitsPerPixel", SevenBitsPerPixel()},
                                         TBrokenFile{"Empty", {}},
                                         TBrokenFile{"Missing", {}, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FileCommands, OpenBrokenFileNamesTheReadingError) {
    WriteFileBytes(Folder.File("text.bmp"), {'h', 'e', 'l', 'l', 'o'});
    Document.OpenPictureFile(Folder.File("text.bmp"));
    ASSERT_EQ(1u, Modal.Errors.size());
    EXPECT_EQ("Bitmap image is not valid", Modal.Errors[0]);
}

TEST_F(FileCommands, SaveStampsTheFloatingImageIntoTheFile) {
    StartNamedModifiedPicture();
    TBitmap tile(2, 2);
    tile.Brush.Color = RGB(0, 250, 0);
    tile.FillRect(TRect(0, 0, 2, 2));
    Document.Paste(tile, 0, 0);
    Document.MoveFloating(TArrow::Right, true);
    Host.TitleChanges = 0;

    EXPECT_TRUE(Document.Save());
    EXPECT_FALSE(Document.Floating);
    EXPECT_FALSE(Document.FloatShown);
    EXPECT_FALSE(Document.Modified);
    EXPECT_TRUE(Document.UndoAvailable);
    EXPECT_EQ(0, Host.TitleChanges);
    const TBitmap saved = LoadBitmapFromFile(Folder.File("old.bmp"));
    EXPECT_TRUE(SameBitmap(saved, Document.Picture));
    EXPECT_EQ(RGB(0, 250, 0), saved.Pixel(1, 0));
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
    EXPECT_FALSE(Document.Modified);
    EXPECT_EQ(1, Host.TitleChanges);
    ASSERT_EQ(1u, Modal.Dialogs.size());
    EXPECT_EQ("Save picture", Modal.Dialogs[0].Title);
    EXPECT_EQ("bitmap pictures", Modal.Dialogs[0].FilterText);
    EXPECT_EQ("bmp", Modal.Dialogs[0].DefaultExtension);
}

INSTANTIATE_TEST_SUITE_P(FileCommands, SaveAsName,
                         testing::Values(TSaveName{"NoExtension", "level1", "level1.bmp"},
                                         TSaveName{"WithExtension", "level1.bmp", "level1.bmp"},
                                         TSaveName{"OtherExtension", "level1.dib", "level1.dib"},
                                         TSaveName{"DotFile", ".map", ".map.bmp"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FileCommands, SaveAsCancelledChangesNothing) {
    StartNamedModifiedPicture();
    DragAndRelease(Document, 1, 1, 3, 3);
    EXPECT_FALSE(Document.SaveAs());
    EXPECT_TRUE(Document.Floating);
    EXPECT_TRUE(Document.Modified);
    EXPECT_EQ(Folder.File("old.bmp"), Document.CurrentFile);
    // The next save dialog opens where the last one saved.
    EXPECT_EQ(Folder.Path().string(), Modal.Dialogs.back().InitialFolder);
}

TEST_F(FileCommands, FailedSaveAsShowsTheErrorAndKeepsNameTitleAndChanges) {
    StartNamedModifiedPicture();
    const std::string target = Folder.File("missing-folder/new.bmp");
    Modal.FileChoices.push_back(target);

    EXPECT_FALSE(Document.SaveAs());
    ASSERT_EQ(1u, Modal.Errors.size());
    EXPECT_EQ("Cannot create file " + target, Modal.Errors[0]);
    EXPECT_TRUE(Document.SaveFailed);
    EXPECT_TRUE(Document.Modified);
    EXPECT_EQ(Folder.File("old.bmp"), Document.CurrentFile);
    EXPECT_EQ("Tessimap - old.bmp", Document.Title());
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
    ASSERT_EQ(1u, Modal.Errors.size());
    EXPECT_EQ("Stream write error", Modal.Errors[0]);
    EXPECT_TRUE(Document.Modified);
    EXPECT_EQ(before, ReadFileBytes(Folder.File("old.bmp")));
}

TEST_F(FileCommands, NewIsRefusedWhenSavingTheChangesFails) {
    StartNamedModifiedPicture();
    const TBitmap before = Document.Picture;
    std::filesystem::remove(Folder.File("old.bmp"));
    std::filesystem::create_directory(Folder.File("old.bmp")); // cannot be replaced by a file
    Modal.Answers.push_back(true);

    Document.New();
    EXPECT_EQ(1u, Modal.Errors.size());
    EXPECT_TRUE(Document.Modified);
    EXPECT_EQ(before.PixelBuffer(), Document.Picture.PixelBuffer());
    EXPECT_EQ(Folder.File("old.bmp"), Document.CurrentFile);
}

} // namespace
