// Export to GIF and Export to PNG from the window: enabled once the picture has a name, the
// shortcuts write the files, and the cursor is normal again afterwards, also after a failure.

#include "ShellFixture.h"
#include "picture/TestFiles.h"

#include <QAction>
#include <QApplication>

namespace {

class ExportMenu : public ShellTest {
  protected:
    TTempFolder Folder;

    void NamePicture() {
        Modal.FileChoices.push_back(Folder.File("level1.bmp"));
        Form->Saveas1->trigger();
        Form->Timer1Timer();
    }
    std::string Saved(const std::string& format, const std::string& name) {
        return "Export to " + format + "|The picture was saved to " + Folder.File(name) + ".";
    }
};

TEST_F(ExportMenu, ShortcutsWriteBothFilesOnceThePictureHasAName) {
    UsePicture(40, 30);
    Form->Timer1Timer();
    EXPECT_FALSE(Form->ExportToGIF1->isEnabled());
    EXPECT_FALSE(Form->ExportToPNG1->isEnabled());
    Press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(Modal.Shown.empty()) << "an unnamed picture exports nothing";

    NamePicture();
    EXPECT_TRUE(Form->ExportToGIF1->isEnabled());
    EXPECT_TRUE(Form->ExportToPNG1->isEnabled());
    Press(Qt::Key_G, Qt::ControlModifier);
    Press(Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(Modal.Shown.size(), 2u);
    EXPECT_EQ(Modal.Shown[0], Saved("GIF", "level1.gif"));
    EXPECT_EQ(Modal.Shown[1], Saved("PNG", "level1.png"));
    EXPECT_GT(ReadFileBytes(Folder.File("level1.gif")).size(), 13u);
    EXPECT_GT(ReadFileBytes(Folder.File("level1.png")).size(), 8u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExportMenu, AFailedExportShowsTheErrorAndPutsTheCursorBack) {
    UsePicture(8, 8);
    NamePicture();
    std::filesystem::create_directory(Folder.File("level1.png")); // nothing can replace a folder
    Form->ExportToPNG1->trigger();
    ASSERT_EQ(Modal.Errors.size(), 1u);
    EXPECT_EQ(Modal.Errors[0], "Cannot create file " + Folder.File("level1.png"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Form->ExportToGIF1->trigger();
    EXPECT_EQ(Modal.Shown.back(), Saved("GIF", "level1.gif"));
}

} // namespace
