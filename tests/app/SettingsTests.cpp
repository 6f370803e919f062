// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellFixture.h"

#include "BmpFile.h"
#include "IniFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>

#include <filesystem>

namespace {

// The window starts on a settings file the test writes first.
class Settings : public ShellTest {
  protected:
    void SetUp() override {}
    std::string IniPath() const { return AppFolder.File("Tessimap.ini"); }
    void StartWith(const std::string& text) {
        WriteFileBytes(IniPath(), std::vector<std::uint8_t>(text.begin(), text.end()));
        StartWindow();
    }
    std::string IniText() const {
        const auto bytes = ReadFileBytes(IniPath());
        return std::string(bytes.begin(), bytes.end());
    }
    std::string Read(const char* section, const char* key) const {
        return TIniFile(QString::fromStdString(IniPath())).ReadString(section, key, "<missing>");
    }
    void CloseAndRestart() {
        ASSERT_TRUE(Form->close());
        Form.reset();
        StartWindow();
    }
    static QPoint Centred(QSize size) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        return {screen.left() + (screen.width() - size.width()) / 2,
                screen.top() + (screen.height() - size.height()) / 2};
    }
};

TEST_F(Settings, FirstCloseWritesTheDefaultsInOrder) {
    StartWindow();
    EXPECT_EQ(Form->size(), QSize(700, 500));
    EXPECT_EQ(Form->geometry().topLeft(), Centred(Form->size()));
    ASSERT_TRUE(Form->close());
    const std::string text = IniText();
    std::size_t at = 0;
    for (const char* line : {"[Window]",
                             "Left=",
                             "Top=",
                             "Width=700",
                             "Height=500",
                             "[Path]",
                             "Bmp=",
                             "[View]",
                             "ToolBar=1",
                             "StatusBar=1",
                             "NewPicture=1",
                             "OpenPicture=1",
                             "SavePicture=1",
                             "Exit=0",
                             "Cut=1",
                             "Copy=1",
                             "Paste=1",
                             "Undo=1",
                             "Transparent=1",
                             "InsertText=1",
                             "Setting=1",
                             "BackgroundColor=1",
                             "TransparentColor=1",
                             "FillColor=1",
                             "Step1=1",
                             "Step2=1",
                             "Step3=1",
                             "Help=0",
                             "Grid=0",
                             "[Options]",
                             "WidthPic=1000",
                             "HeightPic=1000",
                             "StepX1=8",
                             "StepY3=8",
                             "ActualStep=1",
                             "BackgroundColor=0",
                             "TransparentColor=0",
                             "FillColor=16777215",
                             "Transparency=0",
                             "ColorDepth=24",
                             "ExactColors=0",
                             "[Font]",
                             "FontName=Arial",
                             "FontSize=12",
                             "FontStyleU=0",
                             "FontColor=16777215",
                             "[Recent Files]",
                             "1=",
                             "9="}) {
        const std::size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << " after " << at << " in\n" << text;
        at = found;
    }
    EXPECT_EQ(Read("Path", "Bmp"), "") << "no folder was used yet";
}

// The first Open starts in the user's pictures (or home), never beside the program, even when
// older settings named the program's folder as the last one used.
TEST_F(Settings, TheFirstDialogStartsInTheUsersPicturesNotTheProgramsFolder) {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const std::string expected = (QDir(pictures).exists() ? pictures : QDir::homePath()).toStdString();
    for (const std::string& stored : {std::string(), AppFolder.Path().string()}) {
        StartWith("[Path]\nBmp=" + stored + "\n");
        Named(Form, "Openpicture1")->trigger();
        ASSERT_FALSE(Modal.Dialogs.empty());
        EXPECT_EQ(Modal.Dialogs.back().InitialFolder, expected) << stored;
    }
}

class SettingsActualStep : public Settings, public testing::WithParamInterface<int> {};

TEST_P(SettingsActualStep, OutOfRangeChoosesPairOneAndIsWrittenBackAsOne) {
    StartWith("[Options]\nStepX1=5\nActualStep=" + std::to_string(GetParam()) + "\n");
    EXPECT_TRUE(Named(Form, "Step1")->isChecked());
    EXPECT_EQ(Document().StepX(), 5);
    ASSERT_TRUE(Form->close());
    EXPECT_EQ(Read("Options", "ActualStep"), "1");
}

INSTANTIATE_TEST_SUITE_P(Stored, SettingsActualStep, testing::Values(0, 7, -1));

TEST_F(Settings, StoredChoicesAreApplied) {
    StartWith("[View]\nToolBar=0\nStatusBar=0\nCut=0\nHelp=1\n"
              "[Options]\nWidthPic=40\nHeightPic=30\nStepX2=16\nStepY2=4\nActualStep=2\nFillColor=255\n"
              "ColorDepth=264\nTransparency=1\n[Font]\nFontName=Liberation Sans\n");
    EXPECT_FALSE(Named<QToolBar>(Form, "ToolBar1")->isVisible());
    EXPECT_FALSE(Named(Form, "VisibleToolBar1")->isChecked());
    EXPECT_FALSE(Named<QStatusBar>(Form, "StatusBar1")->isVisible());
    EXPECT_FALSE(ToolButCheck(Form, 5)->isChecked());
    EXPECT_TRUE(ToolButCheck(Form, 18)->isChecked());
    Named(Form, "VisibleToolBar1")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(ToolBut(Form, 5)->isVisible());
    EXPECT_TRUE(ToolBarSeparator(Form, 5)->isVisible()) << "Help shows, and its separator";

    EXPECT_EQ(Document().Picture().Width(), 40);
    EXPECT_EQ(Document().Picture().BitsPerPixel(), 8);
    EXPECT_TRUE(Named(Form, "Step2")->isChecked());
    EXPECT_EQ(Document().StepX(), 16);
    EXPECT_EQ(Document().StepY(), 4);
    EXPECT_TRUE(Named(Form, "Transparent1")->isChecked());
    EXPECT_TRUE(Document().Options().Transparency);
    EXPECT_EQ(Named(Form, "FillColorToolBut1")->icon().pixmap(16, 16).toImage().pixelColor(8, 8),
              QColor(255, 0, 0));
    EXPECT_EQ(Document().Font().FontName, "Liberation Sans");
}

TEST_F(Settings, ThirtyTwoBitPictureIsStoredAs32AndReadAs24) {
    StartWindow();
    EditPicture(Document(), [&](TBitmap& p) { p.SetPixelFormat(TPixelFormat::pf32bit); });
    CloseAndRestart();
    EXPECT_EQ(Read("Options", "ColorDepth"), "32");
    EXPECT_EQ(Document().Picture().BitsPerPixel(), 24);
}

TEST_F(Settings, WindowOffEveryScreenIsCentredAndOneOnScreenKeptAsStored) {
    StartWith("[Window]\nLeft=-30000\nTop=-30000\nWidth=600\nHeight=400\n");
    EXPECT_EQ(Form->geometry().topLeft(), Centred(QSize(600, 400)));
    Form.reset();
    StartWith("[Window]\nLeft=10\nTop=20\nWidth=600\nHeight=400\n");
    EXPECT_EQ(Form->geometry().topLeft(), QPoint(10, 20)) << "the stored place is the client area's";
}

TEST_F(Settings, UnwritableFileIsReportedByNameAndTheWindowStillCloses) {
    std::filesystem::create_directory(IniPath()); // nothing can be written in its place
    StartWindow();
    EXPECT_TRUE(Form->close());
    ASSERT_EQ(Modal.Errors.size(), 1u);
    EXPECT_NE(Modal.Errors[0].find(IniPath()), std::string::npos) << Modal.Errors[0];
}

// What a user changes in one run is there in the next.
TEST_F(Settings, ChoicesSurviveARestart) {
    StartWindow();
    TTempFolder pictures;
    const std::string a = pictures.File("a.bmp");
    const std::string b = pictures.File("b.bmp");
    SaveBitmapToFile(TBitmap(6, 5, TPixelFormat::pf24bit), a);
    SaveBitmapToFile(TBitmap(7, 5, TPixelFormat::pf24bit), b);
    Modal.FileChoices = {a, b};
    Named(Form, "Openpicture1")->trigger();
    Named(Form, "Openpicture1")->trigger();
    Named(Form, "Step3")->trigger();
    Modal.ColorChoices = {RGB(10, 20, 30)};
    Named(Form, "FillColorToolBut1")->trigger();
    ToolButCheck(Form, 6)->trigger(); // Copy off
    Named(Form, "StatusBarM1")->trigger();
    Named(Form, "ExactColors1")->trigger();
    Form->move(30, 40);
    const QSize size = Form->size(); // shrunk to the small picture
    CloseAndRestart();

    EXPECT_TRUE(Named(Form, "Step3")->isChecked());
    EXPECT_TRUE(Named(Form, "ExactColors1")->isChecked());
    EXPECT_TRUE(Document().Options().ExactColors);
    EXPECT_EQ(Document().Options().FillColor, RGB(10, 20, 30));
    EXPECT_FALSE(ToolButCheck(Form, 6)->isChecked());
    EXPECT_FALSE(Named<QStatusBar>(Form, "StatusBar1")->isVisible());
    EXPECT_EQ(Form->size(), size);
    EXPECT_EQ(Document().Picture().Width(), 7) << "new pictures take the last size";
    EXPECT_EQ(Form->pos(), QPoint(30, 40));
    EXPECT_EQ(Named(Form, "Rec1")->text(), "1 b.bmp");
    EXPECT_EQ(Document().Files().OpenFolder, pictures.Path().string());
    Named(Form, "Rec2")->trigger();
    EXPECT_EQ(Document().CurrentFile(), a) << "the second entry is the earlier file";
}

// Yes at the close question with an untitled picture: the name chosen then is remembered.
TEST_F(Settings, APictureSavedWhileTheWindowClosesIsOnTheRecentList) {
    StartWindow();
    TTempFolder pictures;
    MarkModified(Document());
    Modal.Answers = {true};
    Modal.FileChoices = {pictures.File("map.bmp")};
    CloseAndRestart();
    EXPECT_EQ(Named(Form, "Rec1")->text(), "1 map.bmp");
}

// Whether the user's folder cannot be made or there is none, an installed program reports that
// its settings cannot be kept and writes nothing beside itself.
TEST_F(Settings, AnInstalledProgramNeverWritesBesideItself) {
    WriteFileBytes(AppFolder.File("blocker"), {'x'});
    for (const std::string& userDir : {AppFolder.File("blocker/tessimap"), std::string()}) {
        SCOPED_TRACE(userDir);
        Modal.Errors.clear();
        Form = std::make_unique<TForm1>(Modal, TAppPaths(QString::fromStdString(AppFolder.Path().string()),
                                                         QString(), QString::fromStdString(userDir), true));
        Form->show();
        EXPECT_TRUE(Form->close());
        ASSERT_EQ(Modal.Errors.size(), 1u);
        EXPECT_NE(Modal.Errors[0].find(userDir.empty() ? "Tessimap.ini" : userDir + "/Tessimap.ini"),
                  std::string::npos)
            << Modal.Errors[0];
        EXPECT_FALSE(std::filesystem::exists(IniPath()));
    }
}

} // namespace
