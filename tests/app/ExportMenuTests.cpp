// SPDX-License-Identifier: GPL-3.0-or-later
// Export to GIF and Export to PNG from the window.

#include "ShellFixture.h"

namespace {

class ExportMenu : public ShellTest {
  protected:
    TTempFolder Folder;
    std::string Saved(const std::string& format, const std::string& name) {
        return "Export to " + format + "|The picture was saved to " + Folder.File(name) + ".";
    }
};

// Enabled once the picture has a name; the shortcuts write the files and the cursor is normal
// again afterwards, also after a failure.
TEST_F(ExportMenu, ShortcutsWriteTheFilesOnceThePictureHasAName) {
    UsePicture(40, 30);
    Refresh(Form);
    EXPECT_FALSE(Named(Form, "ExportToGIF1")->isEnabled());
    EXPECT_FALSE(Named(Form, "ExportToPNG1")->isEnabled());
    Press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(Modal.Shown.empty()) << "an unnamed picture exports nothing";

    Modal.FileChoices.push_back(Folder.File("level1.bmp"));
    Named(Form, "Saveas1")->trigger();
    Refresh(Form);
    EXPECT_TRUE(Named(Form, "ExportToGIF1")->isEnabled());
    EXPECT_TRUE(Named(Form, "ExportToPNG1")->isEnabled());
    Press(Qt::Key_G, Qt::ControlModifier);
    Press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(Modal.Shown, (std::vector{Saved("GIF", "level1.gif"), Saved("PNG", "level1.png")}));
    EXPECT_GT(ReadFileBytes(Folder.File("level1.gif")).size(), 13u);
    EXPECT_GT(ReadFileBytes(Folder.File("level1.png")).size(), 8u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    std::filesystem::remove(Folder.File("level1.png"));
    std::filesystem::create_directory(Folder.File("level1.png")); // nothing can replace a folder
    Press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(Modal.Errors, std::vector<std::string>{"Cannot create file " + Folder.File("level1.png")});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
