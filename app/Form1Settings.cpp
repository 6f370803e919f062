// The settings file: read once when the window first shows, written when it closes.

#include "Form1.h"

#include "Errors.h"
#include "IniFile.h"
#include "PictureSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

namespace {

const QString kSettingsName = QStringLiteral("Tessimap.ini");
constexpr const char* kWindow = "Window";
constexpr const char* kView = "View";
constexpr int kDefaultWidth = 700;
constexpr int kDefaultHeight = 500;

QRect ScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// A window that would open on no screen at all (a monitor since removed) is centred instead.
bool OnSomeScreen(const QRect& rect) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().intersects(rect)) return true;
    return false;
}

} // namespace

void TForm1::LoadWindowPlacement(const TIniFile& ini) {
    const QRect screen = ScreenArea();
    const int width = ini.ReadInteger(kWindow, "Width", kDefaultWidth);
    const int height = ini.ReadInteger(kWindow, "Height", kDefaultHeight);
    resize(width, height);
    const int centredLeft = screen.left() + (screen.width() - this->width()) / 2;
    const int centredTop = screen.top() + (screen.height() - this->height()) / 2;
    const QPoint stored(ini.ReadInteger(kWindow, "Left", centredLeft),
                        ini.ReadInteger(kWindow, "Top", centredTop));
    move(OnSomeScreen(QRect(stored, size())) ? stored : QPoint(centredLeft, centredTop));
}

void TForm1::LoadSettings() {
    const TIniFile ini(Paths_.FileToRead(kSettingsName));
    LoadWindowPlacement(ini);
    Document_->SetPictureFolder(ini.ReadString("Path", "Bmp", Paths_.AppPath().toStdString()));
    // The bars start hidden; their toggles show them.
    if (ini.ReadBool(kView, "ToolBar", true)) VisibleToolBar1Click();
    if (ini.ReadBool(kView, "StatusBar", true)) StatusBarM1Click();
    for (const TCommand* command : ToolBarOrder()) {
        const TToolButton& button = command->Button;
        ToolButChecks[std::size_t(button.Slot - 1)]->setChecked(
            ini.ReadBool(kView, button.ViewKey, button.ShownByDefault));
    }
    ApplyToolbarChoices();
    Grid1Click(ini.ReadBool(kView, "Grid", false));
    Document_->ApplyLoadedOptions(LoadPictureOptions(ini), LoadFontOptions(ini));
    ShowSwitches();
    UpdateColorSwatch(TImageList::BackgroundSwatch, Document_->Options().BackgroundColor);
    UpdateColorSwatch(TImageList::TransparentSwatch, Document_->Options().TransparentColor);
    UpdateColorSwatch(TImageList::FillSwatch, Document_->Options().FillColor);
    RecentFiles.Load(ini);
}

// A file that cannot be written is reported by name; it never keeps the window from closing.
void TForm1::SaveSettings() {
    const QString path = Paths_.WritableFile(kSettingsName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    TIniFile ini(path);
    const QRect bounds(pos(), size());
    ini.WriteInteger(kWindow, "Left", bounds.left());
    ini.WriteInteger(kWindow, "Top", bounds.top());
    ini.WriteInteger(kWindow, "Width", bounds.width());
    ini.WriteInteger(kWindow, "Height", bounds.height());
    ini.WriteString("Path", "Bmp", Document_->Files().OpenFolder);
    ini.WriteBool(kView, "ToolBar", VisibleToolBar1->isChecked());
    ini.WriteBool(kView, "StatusBar", StatusBarM1->isChecked());
    for (const TCommand* command : ToolBarOrder())
        ini.WriteBool(kView, command->Button.ViewKey,
                      ToolButChecks[std::size_t(command->Button.Slot - 1)]->isChecked());
    ini.WriteBool(kView, "Grid", Viewport_->GridOn());
    SavePictureOptions(ini, Document_->OptionsToKeep());
    SaveFontOptions(ini, Document_->Font());
    RecentFiles.Save(ini);
    try {
        ini.UpdateFile();
    } catch (const EPictureError& error) {
        Document_->Modal().ShowError(error.what());
    }
}
