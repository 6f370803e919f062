// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppPaths.h"
#include "CommandTable.h"
#include "ImageControls.h"
#include "ImageList.h"
#include "LanguageTexts.h"
#include "PictureDocument.h"
#include "PictureJournal.h"
#include "PictureViewport.h"
#include "QtTranslations.h"
#include "RecentFiles.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <utility>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QScrollArea;
class QStatusBar;
class QTimer;
class QToolBar;
class TIniFile;
class TTileSheetPanel;
class TProgressPanel;
class TZoomMenu;

// The main window: menus, toolbar, the two image controls and the status bar around the picture
// document it owns. Handlers turn an event into a call on the document; the document reports
// back what changed, and only that is repainted. Its actions, menus and widgets are its own:
// the command table wires them, and anything outside finds them by object name, as an
// accessibility tool or a test does.
class TForm1 : public QMainWindow, private TDocumentHost, private TImageControlHost {
  public:
    // The window takes the modal interface it shows its questions and dialogs with, and the
    // folders of its files and settings (tests give temporary ones).
    explicit TForm1(TModal& modal, TAppPaths paths = TAppPaths::ForRunningProgram(),
                    QWidget* parent = nullptr);
    ~TForm1() override;

    TPictureDocument& Document() { return *Document_; }
    // The picture given on the command line, opened once the window is first shown and its
    // settings are in place, exactly as Open would open it.
    void SetStartFile(std::string path) { StartFile_ = std::move(path); }
    // A recovery journal to reopen at start without asking: another window offered it.
    void SetRecoverJournal(std::string path) { RecoverJournal_ = std::move(path); }
    // The chosen language's texts, as the window and its dialogs read them.
    const TLanguageTexts& LanguageTexts() const { return Texts; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A picture file dropped on the window opens as File > Open would open it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    friend struct TCommandTable;

    TPictureControl* Image1 = nullptr;
    TFloatingControl* Image2 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    std::array<QLabel*, 4> StatusPanels{}; // the document's three, then the zoom level
    TProgressPanel* ProgressPanel_ = nullptr;
    TImageList ImageList1;
    TRecentFiles RecentFiles;

    // ---- Menus and commands (CommandTable.cpp lists them) -----------------------------------
    QMenu *File1 = nullptr, *Edit1 = nullptr, *View1 = nullptr, *ToolBarM1 = nullptr, *Picture1 = nullptr,
          *Zoom1 = nullptr, *Language1 = nullptr, *Help1 = nullptr;
    QAction *Newpicture1 = nullptr, *Openpicture1 = nullptr, *Savepicture1 = nullptr, *Saveas1 = nullptr;
    QAction *ExportToGIF1 = nullptr, *ExportToPNG1 = nullptr, *ExportTileMap1 = nullptr, *Exit1 = nullptr;
    QAction* N8 = nullptr; // the separator above the recent files, shown with them
    std::array<QAction*, 9> Rec{};
    QAction *Undo1 = nullptr, *Redo1 = nullptr, *Cut1 = nullptr, *Copy1 = nullptr, *Paste1 = nullptr,
            *Delete1 = nullptr, *SelectAll1 = nullptr;
    QAction *VisibleToolBar1 = nullptr, *StatusBarM1 = nullptr;
    QAction* ExactColors1 = nullptr;
    QAction *FillAtPointer1 = nullptr, *PickFillAtPointer1 = nullptr;
    QAction *Transparent1 = nullptr, *Clear1 = nullptr, *BlackWhite1 = nullptr, *MirrorHorizontal1 = nullptr,
            *MirrorVertical1 = nullptr, *Degrees90 = nullptr, *Degrees180 = nullptr, *Degrees270 = nullptr;
    QAction *Step1 = nullptr, *Step2 = nullptr, *Step3 = nullptr;
    QAction *InsertText1 = nullptr, *Setting1 = nullptr;
    QAction *StampBrush1 = nullptr, *TileSheets1 = nullptr;
    QAction *Description1 = nullptr, *About1 = nullptr;
    QAction *BackgroundColorToolBut1 = nullptr, *TransparentColorToolBut1 = nullptr,
            *FillColorToolBut1 = nullptr;
    // By toolbar slot (1 to 18, index slot - 1): the View > Toolbar check items and the
    // toolbar's places of the buttons; the separators before groups 1 to 5.
    std::array<QAction*, 18> ToolButChecks{};
    std::array<QAction*, 18> ToolButtons{};
    std::array<QAction*, 5> ToolBarSeparators{};

    TTileSheetPanel* TileSheetPanel_ = nullptr;

    // ---- View state ---------------------------------------------------------------------------
    std::unique_ptr<TPictureViewport> Viewport_; // the zoom, the grid switch, the scroll position
    TZoomMenu* ZoomMenu_ = nullptr;
    std::string CursorText_; // the status bar's mouse position, in picture pixels

    // Runs a command of the table: every menu item, shortcut and toolbar button comes here.
    void RunCommand(const TCommand& command);

    // ---- Language ---------------------------------------------------------------------------
    QString CurrentLanguage; // the chosen language's name; empty: every English default
    TLanguageTexts Texts;    // its texts, as the window and its dialogs read them
    TQtTranslations QtTexts; // Qt's own texts in the language's locale: the standard dialogs
    QString BackgroundColorHint, TransparentColorHint, FillColorHint;
    const TAppPaths& Paths() const { return Paths_; }

    // ---- Handlers ---------------------------------------------------------------------------
    void FormShow();
    void LoadSettings();
    void SaveSettings();
    void StoreSettings(TIniFile& ini) const;
    std::string SettingsText() const;
    void NoteSettingsChange();
    void WriteChangedSettings();
    void BuildLanguageMenu();
    void LanguageItemClick(QAction* item);
    void ApplyLanguage();
    void Description1Click();
    void About1Click();
    void Timer1Timer();
    void FormResize();

    void Newpicture1Click();
    void Openpicture1Click();
    void Savepicture1Click();
    void Saveas1Click();
    void Exit1Click();
    void ExportToGIF1Click();
    void ExportToPNG1Click();
    void ExportTileMap1Click();

    void Undo1Click();
    void Redo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Delete1Click();
    void SelectAll1Click();

    void Transparent1Click();
    void ExactColors1Click();
    void Clear1Click();
    void BlackWhite1Click();
    // F and Shift+F: what Alt+left and Alt+right click do, at the picture pixel under the pointer.
    void FillAtPointer1Click();
    void PickFillAtPointer1Click();
    void FillAt(QPoint picture);
    void PickFillColorAt(QPoint picture);
    // The picture pixel under the mouse pointer, when the pointer is over the picture in sight
    // and not over the floating image.
    std::optional<QPoint> PixelUnderPointer() const;
    void MirrorHorizontal1Click();
    void MirrorVertical1Click();
    void Degrees90Click();
    void Degrees180Click();
    void Degrees270Click();
    void Step1ToolBut1Click();
    void Step2ToolBut1Click();
    void Step3ToolBut1Click();
    void BackgroundColorToolBut1Click();
    void TransparentColorToolBut1Click();
    void FillColorToolBut1Click();
    // View > Zoom: a level, kept within the menu's; the picture point under `anchor` (a point of
    // the scroll box's viewport, its centre when none is given) stays where it is.
    void ZoomTo(int level, std::optional<QPoint> anchor = std::nullopt);
    // Ctrl+Plus and Ctrl+Minus: about the floating image's centre while one exists, so it stays
    // in view; else about the view's centre.
    void ZoomByKeys(int steps);
    void FitToWindow1Click();
    void Grid1Click(bool on);
    void Setting1Click();
    void InsertText1Click();

    // ---- Tile sheets and the stamp brush (Form1Sheets.cpp) ------------------------------------
    void BuildTileSheetPanel();
    void TileSheets1Click();
    void StampBrush1Click();
    // Makes an image the floating image as Paste makes the clipboard's.
    void FloatImage(const QImage& image);
    // Tiles picked in a sheet: with the brush on they replace the brush's image rather than
    // stamping it wherever the pointer left it.
    void SheetPicked(const QImage& tiles, bool byMouse);
    bool BrushStamps() const; // the brush is on and an image floats
    void BrushMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint picture);
    bool BrushKey(int key, Qt::KeyboardModifiers keys);
    bool InTileSheetPanel(const QWidget* widget) const;
    void LoadTileSheetSettings(const TIniFile& ini);
    void SaveTileSheetSettings(TIniFile& ini) const;

    // The bars and the toolbar's buttons.
    void VisibleToolBar1Click();
    void StatusBarM1Click();
    void ToolButCheck1Click();
    void ApplyToolbarChoices();
    // The recent-files list and its File menu entries.
    void AddRecentFile(const std::string& path);
    void UpdateRecentMenu();
    void RecClick(int n);
    // Repaints the swatch in an image slot wherever the image shows.
    void UpdateColorSwatch(int slot, TColor color);

    // Returns true when the key was one of the editor's and is used up.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormMouseWheelDown();
    void FormMouseWheelUp();
    void Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) override;
    void Image1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) override;
    void Image1MouseUp() override;
    void Image2MouseDown(Qt::MouseButton button, int x, int y) override;
    void Image2MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) override;
    void Image2MouseUp(Qt::MouseButton button) override;

    // ---- TDocumentHost and TImageControlHost ---------------------------------------------------
    void PictureChanged(int left, int top, int right, int bottom) override;
    void PictureResized() override;
    void PictureReplaced() override;
    const TPictureViewport& Viewport() const override;
    void FloatingChanged() override;
    void SetWaitCursor(bool wait) override;
    void ProcessPendingEvents() override;
    void BeginProgress(bool atOnce) override;
    bool ShowProgress(int percent) override;
    void EndProgress() override;
    void TitleChanged() override;
    void FileNamed(const std::string& path) override;

    void BuildMenus();
    void BuildCommands();
    void BuildZoomMenu();
    void BuildToolBar();
    void BuildStatusBar();
    QMenu* MakeMenu(QWidget* parent, const TMenuTitle& title);
    void AddCommands(QMenu* menu, TMenuPlace place);
    void BuildToolBarMenu();
    void LayOutBars();
    std::optional<TColor> ChooseColorFor(const QAction* button, TColor initial);
    void ShowStepPair(int pair);
    void ShowSwitches();
    void ShowTitle();
    bool BelongsHere(QObject* watched) const;
    void ScrollTo(int x, int y); // picture pixels
    void ScrollSideways(int by);
    // The status bar's mouse position: the picture pixel under the mouse, wherever the view is.
    void ShowCursorAt(QPoint control);
    // The cursor text again, for a pointer that stood still while the picture moved under it.
    void FollowPointer();
    QString ZoomText() const;
    void FormClose(QCloseEvent* event);
    void UpdateMinimumSize();
    void OpenStartFile();
    void LoadWindowPlacement(const TIniFile& ini);

    // ---- The recovery journal (Form1Recovery.cpp) ---------------------------------------------
    void StartJournal();
    // Offers the journals left by sessions that did not end normally; true when one was recovered
    // into this window.
    bool OfferRecovery();
    bool RecoverInto(TOrphanJournal& orphan);
    void JournalChanged(const TRect& area);
    void JournalResized();
    void JournalReplaced();
    void JournalClean();
    void JournalFloating();
    void PumpJournal();
    void CheckJournal();
    void EndJournal();
    std::unique_ptr<TJournalOverlay> JournalOverlay_; // the floating image, as saving stamps it
    std::unique_ptr<TPictureJournal> Journal_;
    QTimer* JournalFlush_ = nullptr;
    QTimer* JournalPump_ = nullptr;
    bool JournalReplacing_ = false; // between New or Open's replacement and its new name
    int JournalTicks_ = 0;
    std::string RecoverJournal_;

    TAppPaths Paths_;
    std::unique_ptr<TPictureDocument> Document_;
    QActionGroup* LanguageGroup_ = nullptr;
    std::string StartFile_;
    bool Shown_ = false;
    bool FitsToPicture_ = false; // from the first New on
    bool WaitCursorOn_ = false;
    // The write of changed settings, at most once a second, and what was written last.
    QTimer* SettingsTimer_ = nullptr;
    std::string SettingsWritten_;
    bool SettingsLoaded_ = false;
};
