// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the editor: its command line, the picture given on it, and how it presents itself to
// the desktop.

#include "AppIdentity.h"
#include "BmpFile.h"
#include "CommandLine.h"
#include "ShellFixture.h"

#include <QDir>
#include <QFile>

#include <filesystem>
#include <sstream>

namespace {

using TAction = TEditorCommandLine::TAction;

TEST(EditorCommandLine, TakesOneFileAsAnAbsolutePathAndLetsToolkitOptionsThrough) {
    const std::string here = std::filesystem::current_path().string();
    struct Case {
        std::vector<std::string> Arguments;
        std::string StartFile;
    };
    const std::vector<Case> cases = {
        {{}, ""},
        {{"/maps/world.bmp"}, "/maps/world.bmp"},
        {{"maps/../world.bmp"}, here + "/world.bmp"},
        {{"--", "-odd name.bmp"}, here + "/-odd name.bmp"},
        {{"-platform", "offscreen", "a.bmp"}, here + "/a.bmp"},
        {{"--style=fusion", "-reverse", "a.bmp", "-qwindowtitle", "t"}, here + "/a.bmp"},
    };
    for (const Case& c : cases) {
        const TEditorCommandLine parsed = ParseEditorCommandLine(c.Arguments);
        EXPECT_EQ(parsed.Action, TAction::Run) << parsed.Problem;
        EXPECT_EQ(parsed.StartFile, c.StartFile);
    }
}

TEST(EditorCommandLine, HelpAndVersionWinAndEveryWrongUseNamesItsProblemWithStatusTwo) {
    EXPECT_EQ(ParseEditorCommandLine({"a.bmp", "--help"}).Action, TAction::Help);
    EXPECT_EQ(ParseEditorCommandLine({"-h"}).Action, TAction::Help);
    EXPECT_EQ(ParseEditorCommandLine({"--version", "--bogus"}).Action, TAction::Version);

    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{"--bogus"}, "--bogus"},
        {{"-x", "a.bmp"}, "-x"},
        {{"a.bmp", "b.bmp"}, "b.bmp"},
        {{"a.bmp", "-platform"}, "-platform"},
        {{""}, "empty"},
    };
    for (const auto& [arguments, named] : wrong) {
        const TEditorCommandLine parsed = ParseEditorCommandLine(arguments);
        ASSERT_EQ(parsed.Action, TAction::Error) << named;
        std::ostringstream out, err;
        EXPECT_EQ(AnswerWithoutWindow(parsed, out, err), 2);
        EXPECT_TRUE(out.str().empty());
        EXPECT_NE(err.str().find(named), std::string::npos) << err.str();
    }

    std::ostringstream out, err;
    EXPECT_EQ(AnswerWithoutWindow(ParseEditorCommandLine({"--version"}), out, err), 0);
    EXPECT_EQ(out.str(), std::string("tessimap ") + TESSIMAP_VERSION +
                             "\nLicensed under the GNU GPL, version 3 or later.\n");
    EXPECT_TRUE(err.str().empty());
}

// The desktop matches a running window to its entry by this name, and finds the icon through it.
TEST(ApplicationIdentity, NamesTheShippedDesktopEntryAndGivesWindowsEveryDrawnIconSize) {
    SetApplicationIdentity();
    EXPECT_EQ(QApplication::applicationVersion(), QStringLiteral(TESSIMAP_VERSION));
    const QString entry =
        QStringLiteral(TESSIMAP_SOURCE_DIR "/packaging/%1.desktop").arg(QApplication::desktopFileName());
    EXPECT_TRUE(QFile::exists(entry)) << entry.toStdString();
    const QIcon icon = QApplication::windowIcon();
    for (const int size : {16, 32, 48, 256}) {
        const QImage image = icon.pixmap(size, size).toImage();
        ASSERT_EQ(image.width(), size);
        EXPECT_NE(image.pixelColor(size / 2, size / 2).alpha(), 0) << size; // drawn, not a blank stand-in
    }
}

// The picture on the command line opens once the window is shown, after the new picture, so a
// file that cannot be read leaves that new picture as Open would.
class StartFile : public testing::Test {
  protected:
    void Start(const std::string& path) {
        Form = std::make_unique<TForm1>(Modal);
        Form->SetStartFile(path);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }
    TTempFolder Folder;
    TScriptedModal Modal;
    std::unique_ptr<TForm1> Form;
};

TEST_F(StartFile, OpensThePictureWithItsSizeDepthAndName) {
    TBitmap picture(7, 5, TPixelFormat::pf24bit);
    picture.SetPixelFormat(TPixelFormat::pf4bit);
    SaveBitmapToFile(picture, Folder.File("start.bmp"));
    Start(Folder.File("start.bmp"));
    const TPictureDocument& document = Form->Document();
    EXPECT_EQ(document.CurrentFile(), Folder.File("start.bmp"));
    EXPECT_EQ(document.Picture().Width(), 7);
    EXPECT_EQ(document.Picture().Height(), 5);
    EXPECT_EQ(document.Picture().PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(Form->windowTitle(), "Tessimap - start.bmp");
    EXPECT_FALSE(document.Modified());
    EXPECT_TRUE(Modal.Errors.empty());
}

TEST_F(StartFile, AFileThatCannotBeReadShowsItsErrorAndLeavesTheNewPicture) {
    WriteFileBytes(Folder.File("broken.bmp"), {'B', 'M', 0, 0});
    Start(Folder.File("broken.bmp"));
    ASSERT_EQ(Modal.Errors.size(), 1u);
    const TPictureDocument& document = Form->Document();
    EXPECT_TRUE(document.CurrentFile().empty());
    EXPECT_FALSE(document.Picture().Empty());
    EXPECT_EQ(Form->windowTitle(), "Tessimap");

    Start(Folder.File("missing.bmp"));
    EXPECT_EQ(Modal.Errors.size(), 2u);
    EXPECT_EQ(Form->windowTitle(), "Tessimap");
}

} // namespace
