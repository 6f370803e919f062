// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellFixture.h"

#include "BmpFile.h"

#include <filesystem>

namespace {

class RecentMenu : public ShellTest {
  protected:
    std::string WritePicture(const std::string& name, int width) {
        const std::string path = Folder.File(name);
        SaveBitmapToFile(TBitmap(width, 3, TPixelFormat::pf24bit), path);
        return path;
    }
    void OpenThroughDialog(const std::string& path) {
        Modal.FileChoices = {path};
        Named(Form, "Openpicture1")->trigger();
    }
    QStringList ShownEntries() {
        QStringList texts;
        for (int n = 1; n <= 9; ++n)
            if (QAction* entry = Named(Form, QString("Rec%1").arg(n)); entry->isVisible())
                texts << entry->text();
        return texts;
    }
    TTempFolder Folder;
};

TEST_F(RecentMenu, EmptyListHidesEntriesAndTheirSeparator) {
    EXPECT_TRUE(ShownEntries().isEmpty());
    EXPECT_FALSE(Named(Form, "N8")->isVisible());
}

TEST_F(RecentMenu, OpenedAndSavedAsPicturesAreListedNewestFirst) {
    const std::string a = WritePicture("a&b.bmp", 5);
    OpenThroughDialog(a);
    Modal.FileChoices = {Folder.File("second.bmp")};
    Named(Form, "Saveas1")->trigger();
    EXPECT_EQ(ShownEntries(), (QStringList{"1 second.bmp", "2 a&&b.bmp"}));
    EXPECT_TRUE(Named(Form, "N8")->isVisible());

    Named(Form, "Savepicture1")->trigger(); // a plain save changes nothing
    OpenThroughDialog(a);
    EXPECT_EQ(ShownEntries(), (QStringList{"1 a&&b.bmp", "2 second.bmp"}));
}

TEST_F(RecentMenu, EntryOpensItsPictureAndStaysWhenTheFileIsGone) {
    const std::string wide = WritePicture("wide.bmp", 9);
    const std::string narrow = WritePicture("narrow.bmp", 4);
    OpenThroughDialog(wide);
    OpenThroughDialog(narrow);
    Named(Form, "Rec2")->trigger();
    EXPECT_EQ(Document().CurrentFile(), wide);
    EXPECT_EQ(Document().Picture().Width(), 9);
    EXPECT_EQ(ShownEntries(), (QStringList{"1 wide.bmp", "2 narrow.bmp"}));

    std::filesystem::remove(narrow);
    Named(Form, "Rec2")->trigger();
    EXPECT_EQ(Modal.Errors.size(), 1u);
    EXPECT_EQ(Document().CurrentFile(), wide);
    EXPECT_EQ(ShownEntries(), (QStringList{"1 wide.bmp", "2 narrow.bmp"}));
}

} // namespace
