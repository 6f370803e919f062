// SPDX-License-Identifier: GPL-3.0-or-later
// Open reads BMP, PNG and GIF by their first bytes; Save writes the format of the file's name.
// libpng and giflib write the files opened and decode the files saved.

#include "DocumentTestHelpers.h"
#include "GifTestSupport.h"
#include "PngTestSupport.h"
#include "picture/TestFiles.h"
#include "readers/ReaderTestFiles.h"

namespace {

class PictureFormats : public TDocumentTest {
  protected:
    TTempFolder Folder;
};

void ExpectGifDecodesTo(const std::string& path, const TBitmap& expected) {
    const TDecodedGif gif = DecodeGifFile(path);
    ASSERT_EQ(gif.Width, expected.Width());
    ASSERT_EQ(gif.Height, expected.Height());
    for (int y = 0; y < gif.Height; ++y)
        for (int x = 0; x < gif.Width; ++x) {
            const TGIFColor c = gif.GlobalColors.at(gif.Indices[std::size_t(y * gif.Width + x)]);
            ASSERT_EQ(RGB(c.Red, c.Green, c.Blue), expected.Pixel(x, y)) << x << "," << y;
        }
}

TEST_F(PictureFormats, SaveWritesTheFormatOfTheNameAndDecodesToThePictureExactly) {
    const struct {
        int Bits;
        const char* Name;
        int PngColorType; // -1 for a GIF
    } cases[] = {{1, "a.png", PNG_COLOR_TYPE_PALETTE}, {4, "b.PNG", PNG_COLOR_TYPE_PALETTE},
                 {8, "c.png", PNG_COLOR_TYPE_PALETTE}, {16, "d.png", PNG_COLOR_TYPE_RGB},
                 {24, "e.png", PNG_COLOR_TYPE_RGB},    {8, "f.gif", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        StartPatternPicture(D, 23, 9, c.Bits);
        const std::string path = Folder.File(c.Name);
        Modal.FileChoices.push_back(path);
        ASSERT_TRUE(D.SaveAs());
        // A stamp and Ctrl+S keep the format.
        D.Paste(SolidBitmap(3, 2, RGB(250, 0, 0)), 4, 3);
        D.StampFloating();
        ASSERT_TRUE(D.Save());
        EXPECT_EQ(path, D.CurrentFile());
        if (c.PngColorType >= 0) {
            const TBytes bytes = ReadFileBytes(path);
            const auto chunks = SplitChunks(bytes);
            ASSERT_FALSE(chunks.empty());
            EXPECT_EQ(chunks[0].Data.at(9), c.PngColorType);
            ExpectDecodesTo(bytes, D.Picture());
        } else {
            ExpectGifDecodesTo(path, D.Picture());
        }
    }
    EXPECT_TRUE(Modal.Errors.empty());
    EXPECT_TRUE(Modal.Shown.empty());
}

TEST_F(PictureFormats, AGifOfMoreThan256ColoursIsWrittenOnlyAfterTheColourLossQuestion) {
    StartPatternPicture(D, 40, 40, 24);
    EditPicture(D, [](TBitmap& p) {
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                p.SetPixel(x, y, RGB(x * 6, y * 6, (x + y) * 3));
    });
    const std::string path = Folder.File("many.gif");
    Modal.FileChoices = {path, path};
    Modal.Answers = {false, true};
    EXPECT_FALSE(D.SaveAs());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(D.SaveAs());
    EXPECT_EQ(Modal.Shown, std::vector<std::string>(2, "Warning|" + D.Texts().ColorLossText));
    EXPECT_LE(DecodeGifFile(path).GlobalColors.size(), 256u);
}

TEST_F(PictureFormats, SaveAsAddsBmpToANameWithoutAFormatOfItsOwn) {
    StartPatternPicture(D, 4, 4);
    for (const auto& [typed, stored] :
         {std::pair{"level1", "level1.bmp"}, std::pair{"level1.dib", "level1.dib.bmp"},
          std::pair{"map.", "map.bmp"}}) {
        Modal.FileChoices.push_back(Folder.File(typed));
        EXPECT_TRUE(D.SaveAs());
        EXPECT_EQ(Folder.File(stored), D.CurrentFile());
        EXPECT_EQ('B', ReadFileBytes(Folder.File(stored)).at(0));
    }
    const auto& filters = Modal.Dialogs.at(0).Filters;
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[1].Extensions, std::vector<std::string>{"png"});
}

TEST_F(PictureFormats, OpenReadsPngAndGifByTheirBytesAndTellsWhatItChanged) {
    D.SetTransparentColor(RGB(0, 0, 255));
    // An RGBA sheet under a BMP name: alpha 0, 200 and 255 in turn.
    TPngSpec sheet;
    sheet.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    sheet.Width = 3;
    sheet.Height = 1;
    sheet.Samples = {10, 20, 30, 0, 10, 20, 30, 200, 10, 20, 30, 255};
    const std::string png = Folder.File("sheet.bmp");
    ASSERT_TRUE(WritePngFile(png, sheet));
    ASSERT_TRUE(D.OpenPictureFile(png));
    EXPECT_EQ(D.Picture().Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(D.Picture().Pixel(1, 0), RGB(10, 20, 30));
    EXPECT_EQ(Modal.Notices, std::vector<std::string>{"Open picture|1 partly transparent pixels of " + png +
                                                      " were made opaque."});

    TGifSpec gif;
    gif.Colors = {{1, 1, 1}, {2, 2, 2}};
    gif.TransparentIndex = 1;
    gif.Pixels.assign(std::size_t(gif.Width * gif.Height), 0);
    gif.Pixels[0] = 1;
    ASSERT_TRUE(WriteGifFile(Folder.File("tiles.gif"), gif));
    ASSERT_TRUE(D.OpenPictureFile(Folder.File("tiles.gif")));
    EXPECT_EQ(D.Picture().PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(D.Picture().Pixel(gif.Left, gif.Top), RGB(0, 0, 255));
    EXPECT_EQ(D.Picture().Pixel(gif.Left + 1, gif.Top), RGB(1, 1, 1));

    // A PNG cut short opens with the damaged-file warning.
    TPngSpec big;
    big.Width = 200;
    big.Height = 100;
    big.FillRandom(5);
    const std::string cut = Folder.File("cut.png");
    ASSERT_TRUE(WritePngFile(cut, big));
    TBytes bytes = ReadFileBytes(cut);
    bytes.resize(bytes.size() * 3 / 4);
    WriteFileBytes(cut, bytes);
    ASSERT_TRUE(D.OpenPictureFile(cut));
    ASSERT_EQ(Modal.Shown.size(), 2u);
    EXPECT_NE(Modal.Shown.back().find("is damaged: only "), std::string::npos);
    EXPECT_NE(Modal.Shown.back().find(" of its 100 rows"), std::string::npos);
}

} // namespace
