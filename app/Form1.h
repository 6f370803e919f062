#pragma once

#include "ImageList.h"
#include "PictureDocument.h"

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
class QTimer;
class QToolBar;
class TPictureControl;
class TFloatingControl;

// The main window: menus, toolbar, the two image controls and the status bar around the picture
// document it owns. Handlers turn an event into a call on the document; the document reports
// back what changed, and only that is repainted.
class TForm1 : public QMainWindow, public TDocumentHost {
  public:
    // The window takes the modal interface it shows its questions and dialogs with.
    explicit TForm1(TModal& modal, QWidget* parent = nullptr);
    ~TForm1() override;

    TPictureDocument& Document() { return *Document_; }
    // The picture given on the command line, opened once the window is first shown and its
    // settings are in place, exactly as Open would open it.
    void SetStartFile(std::string path) { StartFile_ = std::move(path); }
    TPictureControl* Image1 = nullptr;
    TFloatingControl* Image2 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    std::array<QLabel*, 3> StatusPanels{};
    TImageList ImageList1;

    // ---- Menu items (the toolbar buttons share their actions) -----------------------------
    QAction *Newpicture1 = nullptr, *Openpicture1 = nullptr, *Savepicture1 = nullptr, *Saveas1 = nullptr;
    QAction *ExportToGIF1 = nullptr, *ExportToPNG1 = nullptr, *Exit1 = nullptr;
    std::array<QAction*, 9> Rec{};
    QAction *Undo1 = nullptr, *Cut1 = nullptr, *Copy1 = nullptr, *Paste1 = nullptr, *Delete1 = nullptr,
            *SelectAll1 = nullptr;
    QAction *VisibleToolBar1 = nullptr, *StatusBarM1 = nullptr;
    QAction *Transparent1 = nullptr, *Clear1 = nullptr, *BlackWhite1 = nullptr, *MirrorHorizontal1 = nullptr,
            *MirrorVertical1 = nullptr, *Degrees90 = nullptr, *Degrees180 = nullptr, *Degrees270 = nullptr;
    std::array<QAction*, 3> Step{};
    QAction *InsertText1 = nullptr, *Setting1 = nullptr;
    QMenu* Zoom1 = nullptr;
    QMenu* Language1 = nullptr;
    QAction *Description1 = nullptr, *About1 = nullptr;
    QAction* ExitToolBut1 = nullptr; // the toolbar's own Exit button, hidden in the default set

    // ---- Handlers ---------------------------------------------------------------------------
    void FormShow();
    void Timer1Timer();
    void FormResize();

    void Newpicture1Click();
    void Openpicture1Click();
    void Savepicture1Click();
    void Saveas1Click();
    void Exit1Click();
    void ExportToGIF1Click();
    void ExportToPNG1Click();

    void Undo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Delete1Click();
    void SelectAll1Click();

    void Transparent1Click();
    void Clear1Click();
    void BlackWhite1Click();
    void MirrorHorizontal1Click();
    void MirrorVertical1Click();
    void Degrees180Click();
    void Step1ToolBut1Click();
    void Step2ToolBut1Click();
    void Step3ToolBut1Click();
    void N8001Click(int factor); // the four Zoom items

    // Returns true when the key was one of the editor's and is used up.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormMouseWheelDown();
    void FormMouseWheelUp();
    void Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void Image1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void Image1MouseUp();
    void Image2MouseDown(Qt::MouseButton button, int x, int y);
    void Image2MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);

    // ---- TDocumentHost ------------------------------------------------------------------------
    void PictureChanged(int left, int top, int right, int bottom) override;
    void PictureResized() override;
    void FloatingChanged() override;
    void SetWaitCursor(bool wait) override;
    void ProcessPendingEvents() override;
    void TitleChanged() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildFileMenu();
    void BuildEditMenu();
    void BuildViewMenu();
    void BuildPictureMenu();
    void BuildOtherMenus();
    void BuildToolBar();
    void BuildStatusBar();
    QAction* MakeAction(QMenu* menu, const char* caption, const QKeySequence& shortcut, int image = -1);
    void ShowStepPair(int pair);
    void ShowSwitches();
    bool BelongsHere(QObject* watched) const;
    void ScrollTo(int x, int y);
    void FormClose(QCloseEvent* event);
    void OpenStartFile();

    std::unique_ptr<TPictureDocument> Document_;
    QActionGroup* StepGroup_ = nullptr;
    std::string StartFile_;
    bool Shown_ = false;
    bool WaitCursorOn_ = false;
};
