// SPDX-License-Identifier: GPL-3.0-or-later
// Export to GIF and Export to PNG through the document: the file beside the picture, decoded
// by giflib and libpng, against the 8-bit conversion of the picture; and what stays untouched.

#include "DocumentTestHelpers.h"
#include "GifTestSupport.h"
#include "PngTestSupport.h"
#include "ScriptedModal.h"

#include "BmpFile.h"
#include "Palettes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

const TColor Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Lime = RGB(0, 255, 0);

struct TExportFixture : TDocumentFixture {
    TTempFolder Folder;

    // A picture saved under a name in the test's folder.
    void Name(const TBitmap& picture, const std::string& file = "level1.bmp") {
        SetNewPictureSize(Document, picture.Width(), picture.Height());
        Document.ReplacePicture(picture);
        Modal.FileChoices.push_back(Folder.File(file));
        ASSERT_TRUE(Document.SaveAs());
    }
    // An earlier stamp's undo area, kept through what follows; the stamp is of the picture's own
    // corner, so no pixel changes.
    void StampForUndo() {
        const TBitmap& picture = Document.Picture();
        TBitmap corner(3, 3, picture.PixelFormat());
        corner.SetColorTable(picture.ColorTable());
        corner.CopyRect(Bounds(0, 0, 3, 3), picture, Bounds(0, 0, 3, 3));
        Document.Paste(corner, 0, 0);
        Document.StampFloating();
    }
    std::vector<std::uint8_t> Exported(TExportFormat format) const {
        return ReadFileBytes(Document.ExportFileName(format));
    }
};

// 12 pixels red, 8 blue, 4 lime: three halftone colours used by different numbers of pixels.
TBitmap ThreeColours() {
    TBitmap b(6, 4, TPixelFormat::pf24bit);
    b.Brush.Color = Red;
    b.FillRect(TRect{0, 0, 6, 2});
    b.Brush.Color = Blue;
    b.FillRect(TRect{0, 2, 4, 4});
    b.Brush.Color = Lime;
    b.FillRect(TRect{4, 2, 6, 4});
    return b;
}

// Every pixel of the decoded GIF is the colour the 8-bit conversion gives that pixel.
void ExpectGifShows(const std::string& path, const TBitmap& picture) {
    const TBitmap eight = picture.Converted(TPixelFormat::pf8bit);
    const TDecodedGif gif = DecodeGifFile(path);
    ASSERT_EQ(gif.Width, picture.Width());
    ASSERT_EQ(gif.Height, picture.Height());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TGIFColor c =
                gif.GlobalColors.at(gif.Indices[std::size_t(y) * std::size_t(gif.Width) + std::size_t(x)]);
            ASSERT_EQ(RGB(c.Red, c.Green, c.Blue), eight.Pixel(x, y)) << x << "," << y;
        }
}

void ExpectPngShows(const std::vector<std::uint8_t>& file, const TBitmap& picture) {
    ExpectDecodesTo(file, picture.Converted(TPixelFormat::pf8bit));
}

TEST(ExportCommands, ThreeHalftoneColoursGiveAFourEntryTableMostUsedFirst) {
    TExportFixture f;
    f.Name(ThreeColours());
    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Gif));
    const std::string file = f.Document.ExportFileName(TExportFormat::Gif);
    const TDecodedGif gif = DecodeGifFile(file);
    ASSERT_EQ(gif.GlobalColors.size(), 4u);
    EXPECT_EQ(RGB(gif.GlobalColors[0].Red, gif.GlobalColors[0].Green, gif.GlobalColors[0].Blue), Red);
    EXPECT_EQ(RGB(gif.GlobalColors[1].Red, gif.GlobalColors[1].Green, gif.GlobalColors[1].Blue), Blue);
    EXPECT_EQ(RGB(gif.GlobalColors[2].Red, gif.GlobalColors[2].Green, gif.GlobalColors[2].Blue), Lime);
    EXPECT_EQ(RGB(gif.GlobalColors[3].Red, gif.GlobalColors[3].Green, gif.GlobalColors[3].Blue), clBlack);
    ExpectGifShows(file, f.Document.Picture());

    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Png));
    ExpectPngShows(f.Exported(TExportFormat::Png), f.Document.Picture());
}

std::string BytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Escape half-way through a save or an export (a tile map's too): the command reports failure
// without an error, the file written before keeps its bytes, nothing temporary stays, and the
// progress ends.
TEST(ExportCommands, StoppedHalfWayTheEarlierFileStaysAsItWas) {
    TExportFixture f;
    f.Name(ThreeColours());
    const std::string bmp = f.Document.CurrentFile();
    struct TCase {
        const char* Name;
        std::string File;
        std::function<bool()> Run;
    };
    const std::vector<TCase> cases{{"save", bmp, [&] { return f.Document.Save(); }},
                                   {"GIF", f.Document.ExportFileName(TExportFormat::Gif),
                                    [&] { return f.Document.ExportPicture(TExportFormat::Gif); }},
                                   {"PNG", f.Document.ExportFileName(TExportFormat::Png),
                                    [&] { return f.Document.ExportPicture(TExportFormat::Png); }},
                                   {"exact PNG", f.Document.ExportFileName(TExportFormat::Png),
                                    [&] {
                                        f.Document.ToggleExactColors();
                                        const bool done = f.Document.ExportPicture(TExportFormat::Png);
                                        f.Document.ToggleExactColors();
                                        return done;
                                    }},
                                   {"tile map", TTileMapFiles(bmp).Map, [&] {
                                        TTileMapOptions options;
                                        options.TileWidth = options.TileHeight = 2;
                                        return f.Document.ExportTileMap(options);
                                    }}};
    for (const TCase& c : cases) {
        f.Host.StopAtPercent = 101;
        ASSERT_TRUE(c.Run()) << c.Name;
        const std::string before = BytesOf(c.File);
        EditPicture(f.Document, [](TBitmap& p) { p.SetPixel(5, 5, RGB(1, 2, 3)); });
        f.Host.StopAtPercent = 50;
        f.Host.ProgressEnds = 0;
        EXPECT_FALSE(c.Run()) << c.Name;
        EXPECT_EQ(f.Host.ProgressEnds, 1) << c.Name;
        EXPECT_TRUE(f.Modal.Errors.empty()) << c.Name << ": " << f.Modal.Errors.front();
        EXPECT_TRUE(BytesOf(c.File) == before) << c.Name;
        for (const auto& entry : std::filesystem::directory_iterator(f.Folder.Path()))
            EXPECT_NE(entry.path().filename().string().front(), '.') << c.Name << ": a temporary file stayed";
    }
}

class EveryDepth : public testing::TestWithParam<int> {};

TEST_P(EveryDepth, ExportsShowTheEightBitConversionAndLeaveThePictureAsItWas) {
    TExportFixture f;
    TBitmap picture(37, 11, TPixelFormat::pf24bit);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 37; ++x)
            picture.SetPixel(x, y, RGB(std::uint8_t(x * 7), std::uint8_t(y * 23), 90));
    picture.SetPixelFormat(*PixelFormatOfBits(GetParam()));
    f.Name(picture);
    f.StampForUndo();
    const auto before = f.Document.Picture().PixelBuffer();

    for (TExportFormat format : {TExportFormat::Gif, TExportFormat::Png}) {
        ASSERT_TRUE(f.Document.ExportPicture(format));
        EXPECT_EQ(f.Document.Picture().PixelFormat(), picture.PixelFormat());
        EXPECT_EQ(f.Document.Picture().PixelBuffer(), before);
        EXPECT_EQ(f.Document.History().UndoCount(), 1u);
    }
    ExpectGifShows(f.Document.ExportFileName(TExportFormat::Gif), picture);
    ExpectPngShows(f.Exported(TExportFormat::Png), picture);
}

INSTANTIATE_TEST_SUITE_P(Depths, EveryDepth, testing::Values(24, 16, 8, 4, 1));

TEST(ExportCommands, AnEightBitPictureKeepsItsOwnTable) {
    TExportFixture f;
    TBitmap picture(4, 1, TPixelFormat::pf8bit);
    std::vector<TRGBQuad> own(256, QuadOf(RGB(9, 9, 9)));
    own[5] = QuadOf(RGB(1, 2, 3));
    own[200] = QuadOf(RGB(250, 240, 230));
    picture.SetColorTable(own);
    for (int x = 0; x < 4; ++x)
        picture.ScanLine(0)[x] = x < 3 ? 200 : 5;
    f.Name(picture);

    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Gif));
    const TDecodedGif gif = DecodeGifFile(f.Document.ExportFileName(TExportFormat::Gif));
    ASSERT_EQ(gif.GlobalColors.size(), 2u) << "only the colours some pixel uses";
    EXPECT_EQ(RGB(gif.GlobalColors[0].Red, gif.GlobalColors[0].Green, gif.GlobalColors[0].Blue),
              RGB(250, 240, 230));
    EXPECT_EQ(RGB(gif.GlobalColors[1].Red, gif.GlobalColors[1].Green, gif.GlobalColors[1].Blue),
              RGB(1, 2, 3));

    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Png));
    const auto chunks = SplitChunks(f.Exported(TExportFormat::Png));
    ASSERT_EQ(chunks.at(1).Type, "PLTE");
    ASSERT_EQ(chunks[1].Data.size(), 768u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(chunks[1].Data[3 * i], own[i].Red);
        EXPECT_EQ(chunks[1].Data[3 * i + 2], own[i].Blue);
    }
}

TEST(ExportCommands, TransparencyNeverReachesTheFile) {
    TExportFixture f;
    f.Name(ThreeColours());
    f.Document.SetTransparentColor(Red);
    f.Document.ToggleTransparency();
    ASSERT_TRUE(f.Document.Options().Transparency);
    f.Document.Paste(ThreeColours(), 0, 0);

    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Gif));
    const auto gif = f.Exported(TExportFormat::Gif);
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF87a");
    // Right after the screen descriptor and the global table comes the image, not an extension.
    const std::size_t tableBytes = 3u << ((gif[10] & 0x07) + 1);
    EXPECT_EQ(gif.at(13 + tableBytes), 0x2C);
    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Png));
    for (const auto& chunk : SplitChunks(f.Exported(TExportFormat::Png)))
        EXPECT_NE(chunk.Type, "tRNS");
}

TEST(ExportCommands, AFloatingImageIsStampedFirstAndTwoExportsWriteTheSameFile) {
    TExportFixture f;
    TBitmap white(8, 8, TPixelFormat::pf4bit);
    white.Brush.Color = clWhite;
    white.FillRect(TRect{0, 0, 8, 8});
    f.Name(TBitmap(16, 16, TPixelFormat::pf4bit));
    f.Document.Paste(white, 8, 8);
    ASSERT_TRUE(f.Document.Floating().Active);

    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Png));
    EXPECT_FALSE(f.Document.Floating().Active);
    EXPECT_TRUE(f.Document.Modified());
    EXPECT_EQ(f.Document.Picture().Pixel(12, 12), clWhite);
    EXPECT_EQ(f.Document.Picture().PixelFormat(), TPixelFormat::pf4bit);
    const auto first = f.Exported(TExportFormat::Png);
    ExpectPngShows(first, f.Document.Picture());

    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Png));
    EXPECT_EQ(f.Exported(TExportFormat::Png), first);
    EXPECT_EQ(f.Document.Picture().PixelFormat(), TPixelFormat::pf4bit);
}

TEST(ExportCommands, ReportsWhereTheFileWentAndTheWarningCaptionStays) {
    TExportFixture f;
    f.Name(ThreeColours());
    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Gif));
    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Png));
    ASSERT_EQ(f.Modal.Shown.size(), 2u);
    EXPECT_EQ(f.Modal.Shown[0],
              "Export to GIF|The picture was saved to " + f.Folder.File("level1.gif") + ".");
    EXPECT_EQ(f.Modal.Shown[1],
              "Export to PNG|The picture was saved to " + f.Folder.File("level1.png") + ".");
    EXPECT_EQ(f.Modal.Notices, f.Modal.Shown) << "a report, shown without an icon";
    EXPECT_FALSE(f.Host.WaitCursor);

    // The next warning still carries the warning caption.
    EXPECT_FALSE(f.Document.ResizePicture(2000000000, 2000000000, true));
    EXPECT_EQ(f.Modal.Shown.back(), "Warning|Out of memory, picture is too large!");
}

TEST(ExportCommands, TheNameLosesFourCharactersAndAnExistingFileIsReplaced) {
    TExportFixture f;
    // Save As gives a name of no format of the editor's ".bmp"; a file opened keeps its own name.
    f.Name(ThreeColours(), "level1.jpeg");
    std::filesystem::rename(f.Folder.File("level1.jpeg.bmp"), f.Folder.File("level1.jpeg"));
    ASSERT_TRUE(f.Document.OpenPictureFile(f.Folder.File("level1.jpeg")));
    EXPECT_EQ(f.Document.ExportFileName(TExportFormat::Png), f.Folder.File("level1..png"));
    f.Name(ThreeColours(), "level1.bmp");
    EXPECT_EQ(f.Document.ExportFileName(TExportFormat::Gif), f.Folder.File("level1.gif"));

    WriteFileBytes(f.Folder.File("level1.gif"), {'o', 'l', 'd'});
    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Gif));
    ExpectGifShows(f.Document.ExportFileName(TExportFormat::Gif), f.Document.Picture());
}

// Saved as map.png, the picture would be replaced by its own export; the same holds when the
// picture's name is only another way to reach the export's file.
TEST(ExportCommands, NeverWritesOntoThePicturesOwnFile) {
    TExportFixture f;
    f.Document.ReplacePicture(ThreeColours());
    f.Modal.FileChoices.push_back(f.Folder.File("map.png"));
    ASSERT_TRUE(f.Document.SaveAs());
    std::filesystem::create_symlink(f.Folder.File("map.png"), f.Folder.File("map.bmp"));
    std::filesystem::create_hard_link(f.Folder.File("map.png"), f.Folder.File("twin.bmp"));
    std::filesystem::create_hard_link(f.Folder.File("map.png"), f.Folder.File("twin.png"));
    const auto stored = ReadFileBytes(f.Folder.File("map.png"));

    for (const char* name : {"map.png", "map.bmp", "twin.bmp"}) {
        ASSERT_TRUE(f.Document.OpenPictureFile(f.Folder.File(name)));
        const std::string target = f.Document.ExportFileName(TExportFormat::Png);
        f.Document.Paste(TBitmap(2, 2), 0, 0);
        f.Modal.Shown.clear();

        EXPECT_FALSE(f.Document.ExportPicture(TExportFormat::Png)) << name;
        const std::string refusal = "Nothing was exported: the export would replace the picture's own file ";
        EXPECT_EQ(f.Modal.Shown, std::vector<std::string>{"Warning|" + refusal + target + "."}) << name;
        EXPECT_TRUE(f.Document.Floating().Active) << "the floating image stays where it was";
        f.Document.DropFloating();
    }
    EXPECT_EQ(ReadFileBytes(f.Folder.File("map.png")), stored);
    EXPECT_EQ(ReadFileBytes(f.Folder.File("map.png"))[0], 0x89) << "still the picture file, a PNG";

    // A different file beside it is written as usual.
    ASSERT_TRUE(f.Document.OpenPictureFile(f.Folder.File("map.png")));
    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Gif));
    ExpectGifShows(f.Folder.File("map.gif"), f.Document.Picture());
}

TEST(ExportCommands, AnUnnamedPictureCannotBeExported) {
    TExportFixture f;
    EXPECT_FALSE(f.Document.CommandStates(false).Export);
    EXPECT_FALSE(f.Document.ExportPicture(TExportFormat::Gif));
    EXPECT_TRUE(f.Modal.Shown.empty());
    f.Name(ThreeColours());
    EXPECT_TRUE(f.Document.CommandStates(false).Export);
}

TEST(ExportCommands, AFileThatCannotBeCreatedIsReportedAndChangesNothing) {
    TExportFixture f;
    f.Name(ThreeColours());
    f.StampForUndo();
    // An earlier export that must survive, and a folder where the new one would have to go.
    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Png));
    const auto earlier = f.Exported(TExportFormat::Png);
    std::filesystem::create_directory(f.Folder.File("level1.gif"));
    f.Modal.Shown.clear();

    EXPECT_FALSE(f.Document.ExportPicture(TExportFormat::Gif));
    ASSERT_EQ(f.Modal.Errors.size(), 1u);
    EXPECT_EQ(f.Modal.Errors[0], "Cannot create file " + f.Folder.File("level1.gif"));
    EXPECT_TRUE(f.Modal.Shown.empty()) << "no success message";
    EXPECT_FALSE(f.Host.WaitCursor);
    EXPECT_TRUE(f.Document.History().CanUndo());
    EXPECT_EQ(f.Document.Picture().PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.Folder.Path()), {}), 3)
        << "the picture, the earlier export, the folder; no temporary left";

    // A picture whose folder went away after it was saved.
    std::filesystem::create_directory(f.Folder.File("gone"));
    f.Modal.FileChoices.push_back(f.Folder.File("gone/level1.bmp"));
    ASSERT_TRUE(f.Document.SaveAs());
    std::filesystem::remove_all(f.Folder.File("gone"));
    EXPECT_FALSE(f.Document.ExportPicture(TExportFormat::Png));
    EXPECT_EQ(f.Modal.Errors.back(), "Cannot create file " + f.Folder.File("gone/level1.png"));

    // The next export works as usual.
    ASSERT_TRUE(f.Document.OpenPictureFile(f.Folder.File("level1.bmp")));
    ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Png));
    EXPECT_EQ(f.Exported(TExportFormat::Png), earlier);
}

} // namespace
