// SPDX-License-Identifier: GPL-3.0-or-later
// The Exact Colours switch through the document: the exports keep the picture's colours and say
// when they had to reduce them, and the options' conversion to 8 bits keeps them too.

#include "DocumentTestHelpers.h"
#include "GifTestSupport.h"
#include "OwnColors.h"
#include "PngTestSupport.h"
#include "ScriptedModal.h"

#include "../picture/ColorMaps.h"

#include <gtest/gtest.h>

namespace {

struct TExactFixture : TDocumentFixture {
    TTempFolder Folder;

    // The picture saved under a name, with the switch on.
    explicit TExactFixture(const TBitmap& picture) {
        SetNewPictureSize(Document, picture.Width(), picture.Height());
        Document.ReplacePicture(picture);
        Modal.FileChoices.push_back(Folder.File("map.bmp"));
        EXPECT_TRUE(Document.SaveAs());
        Document.ToggleExactColors();
    }
};

TEST(ExactColours, ExportsDecodeToThePictureColoursAndTheNoticeSaysWhenColoursWereReduced) {
    const struct {
        int Colors;
        std::string Added; // what the notice says after the file name
    } cases[] = {{23, ""}, {300, " The picture had 300 colors; they were reduced to 256."}};
    for (const auto& c : cases) {
        const TBitmap picture = MakeColorMap(c.Colors);
        TExactFixture f(picture);
        for (const TExportFormat format : {TExportFormat::Gif, TExportFormat::Png}) {
            ASSERT_TRUE(f.Document.ExportPicture(format));
            const std::string file = f.Document.ExportFileName(format);
            ASSERT_FALSE(f.Modal.Notices.empty());
            EXPECT_EQ(f.Modal.Notices.back().substr(f.Modal.Notices.back().find(file) + file.size() + 1),
                      c.Added)
                << c.Colors;
        }
        if (c.Colors > 256) continue;
        ExpectDecodesTo(ReadFileBytes(f.Document.ExportFileName(TExportFormat::Png)), picture);
        const TDecodedGif gif = DecodeGifFile(f.Document.ExportFileName(TExportFormat::Gif));
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                const TGIFColor g = gif.GlobalColors.at(gif.Indices[std::size_t(y * picture.Width() + x)]);
                ASSERT_EQ(RGB(g.Red, g.Green, g.Blue), picture.Pixel(x, y)) << x << "," << y;
            }
    }
}

// With the switch off, the notice says so when the fixed table changed a picture the switch would
// have kept exactly; an 8-bit picture goes out with its own table, unchanged.
TEST(ExactColours, TheNoticeNamesTheSwitchWhenTheFixedTableChangedAFewColours) {
    const std::string sentence = " The fixed table of 256 colors changed the picture's colors; Picture > "
                                 "Exact Colours keeps them exactly.";
    const struct {
        const char* Name;
        TBitmap Picture;
        bool Exact;
        bool Said;
    } cases[] = {{"23 colours", MakeColorMap(23), false, true},
                 {"23 colours, exact", MakeColorMap(23), true, false},
                 {"300 colours", MakeColorMap(300), false, false},
                 {"black", TBitmap(96, 240, TPixelFormat::pf24bit), false, false},
                 {"8-bit own table", ConvertedToOwnColors(MakeColorMap(23)), false, false}};
    for (const auto& c : cases) {
        TExactFixture f(c.Picture);
        if (!c.Exact) f.Document.ToggleExactColors();
        ASSERT_TRUE(f.Document.ExportPicture(TExportFormat::Png));
        ASSERT_FALSE(f.Modal.Notices.empty());
        const std::string& notice = f.Modal.Notices.back();
        EXPECT_EQ(notice.ends_with(sentence), c.Said) << c.Name << ": " << notice;
    }
}

TEST(ExactColours, TheOptionsConversionToEightBitsKeepsThePictureColours) {
    const TBitmap picture = MakeColorMap(23);
    TExactFixture f(picture);
    TOptionsChange change = f.Document.CurrentOptions();
    change.Options.ColorDepth = 8;
    f.Modal.Answers = {true};
    f.Document.ApplyOptions(change);
    const TBitmap& eight = f.Document.Picture();
    ASSERT_EQ(eight.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(eight.ColorTable().size(), 23u);
    EXPECT_TRUE(f.Document.Modified());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            ASSERT_EQ(eight.Pixel(x, y), picture.Pixel(x, y)) << x << "," << y;

    // The conversion is a step of the history like any other depth change (OK also records the
    // picture's growth to the smallest size).
    while (f.Document.History().CanUndo())
        f.Document.Undo();
    EXPECT_EQ(f.Document.Picture().PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_FALSE(f.Document.Modified());
    while (f.Document.History().CanRedo())
        f.Document.Redo();
    EXPECT_EQ(f.Document.Picture().ColorTable().size(), 23u);
}

} // namespace
