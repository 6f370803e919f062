// SPDX-License-Identifier: GPL-3.0-or-later
// The long commands hold the wait cursor from their first step to their last.

#include "BmpFile.h"
#include "DocumentTestHelpers.h"
#include "OptionsChange.h"
#include "picture/TestFiles.h"

#include <functional>

namespace {

class WaitCursor : public TDocumentTest {
  protected:
    TTempFolder Folder;
};

TEST_F(WaitCursor, IsOnWhileAPictureIsOpenedMadeResizedConvertedOrExported) {
    StartPatternPicture(D, 40, 30);
    SaveBitmapToFile(PatternBitmap(50, 20), Folder.File("map.bmp"));
    const std::vector<std::pair<const char*, std::function<void()>>> commands{
        {"New", [&] { D.New(); }},
        {"Open", [&] { ASSERT_TRUE(D.OpenPictureFile(Folder.File("map.bmp"))); }},
        {"Resize and convert",
         [&] {
             TOptionsChange change = D.CurrentOptions();
             change.Options.WidthPic = 300;
             change.Options.ColorDepth = 16;
             Modal.Answers = {true}; // some colours may be lost
             D.ApplyOptions(change);
         }},
        {"Export", [&] { ASSERT_TRUE(D.ExportPicture(TExportFormat::Png)); }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        Host.ResizedWhileWaiting = Host.EventsWhileWaiting = 0;
        const int resized = Host.Resized;
        command();
        // The picture is laid out again inside the command (an export only lets repaints run).
        if (Host.Resized > resized)
            EXPECT_GT(Host.ResizedWhileWaiting, 0);
        else
            EXPECT_GT(Host.EventsWhileWaiting, 0);
        EXPECT_FALSE(Host.WaitCursor);
    }
    EXPECT_EQ(D.Picture().Width(), 300);
    EXPECT_EQ(D.Picture().BitsPerPixel(), 16);
}

} // namespace
