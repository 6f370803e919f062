// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: read once when the window first shows, written when it closes.

#include "Form1.h"

#include "Errors.h"
#include "IniFile.h"
#include "PictureSettings.h"
#include "WindowPlacement.h"

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

// The primary screen first: a window that cannot stay where it was is centred there.
std::vector<QRect> AvailableAreas() {
    std::vector<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas.push_back(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen()) areas.push_back(screen->availableGeometry());
    return areas;
}

} // namespace

// The stored rectangle is the window's client area, as SaveSettings writes it. The frame's place
// is unknown before a window manager has framed the window, so applying a frame position there
// and reading one back made the window creep by its title bar's height on every start.
void TForm1::LoadWindowPlacement(const TIniFile& ini) {
    const QRect screen = ScreenArea();
    const int width = ini.ReadInteger(kWindow, "Width", kDefaultWidth);
    const int height = ini.ReadInteger(kWindow, "Height", kDefaultHeight);
    const int centredLeft = screen.left() + (screen.width() - width) / 2;
    const int centredTop = screen.top() + (screen.height() - height) / 2;
    const QRect stored(ini.ReadInteger(kWindow, "Left", centredLeft),
                       ini.ReadInteger(kWindow, "Top", centredTop), width, height);
    setGeometry(PlaceStoredWindow(stored, AvailableAreas()));
}

void TForm1::LoadSettings() {
    const TIniFile ini(Paths_.FileToRead(kSettingsName));
    // The picture control starts as large as the screen, so nothing fits the window to the
    // picture the document was made with before the stored size is in place.
    Image1->setFixedSize(ScreenArea().size());
    LoadWindowPlacement(ini);
    // Older settings named the program's own folder when no picture had been opened yet.
    const std::string folder = ini.ReadString("Path", "Bmp", "");
    Document_->SetPictureFolder(folder == Paths_.AppPath().toStdString() ? std::string() : folder);
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
    // An installed program has only the user's folder to write to; when that cannot be made, the
    // settings are lost for this run, and the user is told rather than the prefix written to.
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath())) {
        Document_->Modal().ShowError(
            EFCreateError(path.isEmpty() ? kSettingsName.toStdString() : path.toStdString()).what());
        return;
    }
    TIniFile ini(path);
    const QRect bounds = geometry();
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
