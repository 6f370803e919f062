// Export to GIF and Export to PNG from the window: enabled once the picture has a name, the
// shortcuts write the files, and the cursor is normal again afterwards, also after a failure.

#include "ShellFixture.h"
#include "picture/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QTest>

namespace {

class ExportMenu : public ShellTest {
  protected:
    TTempFolder Folder;

    void NamePicture(const std::string& folder) {
        Modal.FileChoices.push_back(folder + "/level1.bmp");
        Form->Saveas1->trigger();
        Form->Timer1Timer();
    }
};

TEST_F(ExportMenu, ShortcutsWriteBothFilesOnceThePictureHasAName) {
    UsePicture(40, 30);
    Form->Timer1Timer();
    EXPECT_FALSE(Form->ExportToGIF1->isEnabled());
    EXPECT_FALSE(Form->ExportToPNG1->isEnabled());
    QTest::keyClick(Form.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(Modal.Shown.empty()) << "an unnamed picture exports nothing";

    NamePicture(Folder.Path().string());
    EXPECT_TRUE(Form->ExportToGIF1->isEnabled());
    EXPECT_TRUE(Form->ExportToPNG1->isEnabled());
    QTest::keyClick(Form.get(), Qt::Key_G, Qt::ControlModifier);
    QTest::keyClick(Form.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(Modal.Shown.size(), 2u);
    EXPECT_EQ(Modal.Shown[0], "Export to GIF|The picture was saved to " + Folder.File("level1.gif") + ".");
    EXPECT_EQ(Modal.Shown[1], "Export to PNG|The picture was saved to " + Folder.File("level1.png") + ".");
    EXPECT_GT(ReadFileBytes(Folder.File("level1.gif")).size(), 13u);
    EXPECT_GT(ReadFileBytes(Folder.File("level1.png")).size(), 8u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExportMenu, AFailedExportShowsTheErrorAndPutsTheCursorBack) {
    UsePicture(8, 8);
    NamePicture(Folder.Path().string());
    std::filesystem::create_directory(Folder.File("level1.png")); // nothing can replace a folder
    Form->ExportToPNG1->trigger();
    ASSERT_EQ(Modal.Errors.size(), 1u);
    EXPECT_EQ(Modal.Errors[0], "Cannot create file " + Folder.File("level1.png"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Form->ExportToGIF1->trigger();
    EXPECT_EQ(Modal.Shown.back(), "Export to GIF|The picture was saved to " + Folder.File("level1.gif") + ".");
}

} // namespace
