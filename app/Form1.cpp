// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "ImageControls.h"
#include "Mnemonics.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include <utility>

namespace {

constexpr int kRefreshMilliseconds = 50;
// Changed settings reach the disk at most this often.
constexpr int kSettingsWriteMilliseconds = 1000;

bool ClipboardHasBitmap() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

// Where the file dialogs start before any file or folder was chosen: never the program's folder.
QString UserPicturesFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QDir(pictures).exists() ? pictures : QDir::homePath();
}

} // namespace

TForm1::TForm1(TModal& modal, TAppPaths paths, QWidget* parent)
    : QMainWindow(parent), Paths_(std::move(paths)),
      Document_(std::make_unique<TPictureDocument>(modal, static_cast<TDocumentHost&>(*this))) {
    ShowTitle();
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    Image1 = new TPictureControl(*Document_, *this, nullptr);
    ScrollBox1->setWidget(Image1);
    Viewport_ = std::make_unique<TPictureViewport>(*ScrollBox1, *Image1);
    Viewport_->PictureResized(Document_->Picture());
    Image2 = new TFloatingControl(*Document_, *this, Image1);
    // A scroll bar dragged moves the picture under a pointer that may come back to it unmoved.
    for (QScrollBar* bar : {ScrollBox1->horizontalScrollBar(), ScrollBox1->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] { FollowPointer(); });
    Document_->SetDefaultFolder(UserPicturesFolder().toStdString());
    setCentralWidget(ScrollBox1);
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    BuildTileSheetPanel();
    AssignMnemonics(menuBar());
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kRefreshMilliseconds);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();
    SettingsTimer_ = new QTimer(this);
    SettingsTimer_->setObjectName("SettingsTimer");
    SettingsTimer_->setSingleShot(true);
    SettingsTimer_->setInterval(kSettingsWriteMilliseconds);
    connect(SettingsTimer_, &QTimer::timeout, this, [this] { WriteChangedSettings(); });
    // The editor's keys must reach FormKeyDown before the scroll area scrolls with them, and the
    // wheel must scroll by the editor's own amounts.
    qApp->installEventFilter(this);
    setAcceptDrops(true);
}

TForm1::~TForm1() {
    EndJournal();
    qApp->removeEventFilter(this);
    if (WaitCursorOn_) QApplication::restoreOverrideCursor();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!Shown_) {
        Shown_ = true;
        FormShow();
    }
}

void TForm1::FormShow() {
    BuildLanguageMenu();
    LoadSettings();
    UpdateRecentMenu();
    FitsToPicture_ = true;
    Newpicture1Click();
    StartJournal();
    // A recovered picture takes the window: opening another file over it would only ask to save it.
    if (!OfferRecovery()) OpenStartFile();
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose(event);
}

// The settings are written after the question, so a picture saved under a new name on the way
// out is on the recent list at the next start; a window that stays open writes nothing yet.
void TForm1::FormClose(QCloseEvent* event) {
    // Cancel, or a save that failed, must not cost the user the picture: the window stays open.
    if (Document_->Modified() && !Document_->AskSaveChanges()) {
        event->ignore();
        return;
    }
    SaveSettings();
    event->accept();
}

void TForm1::Timer1Timer() {
    const TCommandStates states = Document_->CommandStates(ClipboardHasBitmap());
    Undo1->setEnabled(states.Undo);
    Redo1->setEnabled(states.Redo);
    Paste1->setEnabled(states.Paste);
    for (QAction* action :
         {Cut1, Copy1, Delete1, MirrorHorizontal1, MirrorVertical1, Degrees90, Degrees180, Degrees270})
        action->setEnabled(states.FloatingCommands);
    // The scroll bars need no work here: the scroll area shows each exactly while the picture is
    // larger than the view that way, and FormResize keeps a smaller picture's view its own size.
    ExportToGIF1->setEnabled(states.Export);
    ExportToPNG1->setEnabled(states.Export);
    ExportTileMap1->setEnabled(states.Export);
    const auto documentTexts = Document_->StatusTexts();
    std::array<QString, 4> texts;
    for (std::size_t panel = 0; panel < documentTexts.size(); ++panel)
        texts[panel] = QString::fromStdString(documentTexts[panel]);
    texts[1] = QString::fromStdString(CursorText_);
    texts[3] = ZoomText();
    for (std::size_t panel = 0; panel < texts.size(); ++panel)
        if (StatusPanels[panel]->text() != texts[panel]) StatusPanels[panel]->setText(texts[panel]);
    ShowSwitches();
    ShowTitle();
    NoteSettingsChange();
}

// The picture's name, and a mark while it differs from the file: the history can bring a picture
// back to its saved state, so the mark follows Modified rather than the last command.
void TForm1::ShowTitle() {
    QString title = QString::fromStdString(Document_->Title());
    if (Document_->Modified()) title += " *";
    if (windowTitle() != title) setWindowTitle(title);
}
