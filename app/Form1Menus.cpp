#include "Form1.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

QAction* TForm1::MakeAction(QMenu* menu, const char* caption, const QKeySequence& shortcut, int image) {
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    if (image >= 0) action->setIcon(ImageList1.Icon(image));
    menu->addAction(action);
    return action;
}

// Commands that later work brings; present so the menus are complete, disabled so none pretends.
static void Unfinished(std::initializer_list<QAction*> actions) {
    for (QAction* action : actions)
        action->setEnabled(false);
}

void TForm1::BuildMenus() {
    BuildFileMenu();
    BuildEditMenu();
    BuildViewMenu();
    BuildPictureMenu();
    BuildOtherMenus();
}

void TForm1::BuildFileMenu() {
    QMenu* file = menuBar()->addMenu("File");
    Newpicture1 = MakeAction(file, "New Picture", QKeySequence("Ctrl+N"), TImageList::NewPicture);
    file->addSeparator();
    Openpicture1 = MakeAction(file, "Open Picture", QKeySequence("Ctrl+O"), TImageList::OpenPicture);
    Savepicture1 = MakeAction(file, "Save Picture", QKeySequence("Ctrl+S"), TImageList::SavePicture);
    Saveas1 = MakeAction(file, "Save Picture As", QKeySequence());
    file->addSeparator();
    ExportToGIF1 = MakeAction(file, "Export to GIF", QKeySequence("Ctrl+G"));
    ExportToPNG1 = MakeAction(file, "Export to PNG", QKeySequence("Ctrl+P"));
    file->addSeparator();
    for (std::size_t i = 0; i < Rec.size(); ++i) {
        Rec[i] = MakeAction(file, "", QKeySequence());
        Rec[i]->setVisible(false); // the recent-files list is empty
    }
    file->addSeparator();
    Exit1 = MakeAction(file, "Exit", QKeySequence("Alt+F4"), TImageList::Exit);
    connect(Newpicture1, &QAction::triggered, this, [this] { Newpicture1Click(); });
    connect(Openpicture1, &QAction::triggered, this, [this] { Openpicture1Click(); });
    connect(Savepicture1, &QAction::triggered, this, [this] { Savepicture1Click(); });
    connect(Saveas1, &QAction::triggered, this, [this] { Saveas1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    connect(ExportToGIF1, &QAction::triggered, this, [this] { ExportToGIF1Click(); });
    connect(ExportToPNG1, &QAction::triggered, this, [this] { ExportToPNG1Click(); });
}

void TForm1::BuildEditMenu() {
    QMenu* edit = menuBar()->addMenu("Edit");
    Undo1 = MakeAction(edit, "Undo", QKeySequence("Ctrl+Z"), TImageList::Undo);
    edit->addSeparator();
    Cut1 = MakeAction(edit, "Cut", QKeySequence("Ctrl+X"), TImageList::Cut);
    Copy1 = MakeAction(edit, "Copy", QKeySequence("Ctrl+C"), TImageList::Copy);
    Paste1 = MakeAction(edit, "Paste", QKeySequence("Ctrl+V"), TImageList::Paste);
    edit->addSeparator();
    Delete1 = MakeAction(edit, "Clear Selection", QKeySequence(Qt::Key_Delete));
    SelectAll1 = MakeAction(edit, "Select All", QKeySequence("Ctrl+A"));
    connect(Undo1, &QAction::triggered, this, [this] { Undo1Click(); });
    connect(Cut1, &QAction::triggered, this, [this] { Cut1Click(); });
    connect(Copy1, &QAction::triggered, this, [this] { Copy1Click(); });
    connect(Paste1, &QAction::triggered, this, [this] { Paste1Click(); });
    connect(Delete1, &QAction::triggered, this, [this] { Delete1Click(); });
    connect(SelectAll1, &QAction::triggered, this, [this] { SelectAll1Click(); });
}

void TForm1::BuildViewMenu() {
    QMenu* view = menuBar()->addMenu("View");
    QMenu* toolBar = view->addMenu("Toolbar");
    VisibleToolBar1 = MakeAction(toolBar, "Visible", QKeySequence());
    VisibleToolBar1->setCheckable(true);
    VisibleToolBar1->setChecked(true);
    VisibleToolBar1->setEnabled(false);
    // One check item per toolbar button, in the toolbar's groups; choosing them comes later.
    const std::initializer_list<std::initializer_list<std::pair<const char*, int>>> groups = {
        {{"New Picture", TImageList::NewPicture},
         {"Open Picture", TImageList::OpenPicture},
         {"Save Picture", TImageList::SavePicture},
         {"Exit", TImageList::Exit}},
        {{"Cut", TImageList::Cut},
         {"Copy", TImageList::Copy},
         {"Paste", TImageList::Paste},
         {"Undo", TImageList::Undo}},
        {{"Transparent", TImageList::Transparent},
         {"Insert Text", TImageList::InsertText},
         {"Options", TImageList::Setting}},
        {{"Background color", TImageList::BackgroundSwatch},
         {"Transparent color", TImageList::TransparentSwatch},
         {"Fill color", TImageList::FillSwatch}},
        {{"Step X1/Y1", TImageList::Step1},
         {"Step X2/Y2", TImageList::Step2},
         {"Step X3/Y3", TImageList::Step3}},
        {{"Help", TImageList::Help}}};
    for (const auto& group : groups) {
        toolBar->addSeparator();
        for (const auto& [caption, image] : group) {
            QAction* check = MakeAction(toolBar, caption, QKeySequence(), image);
            check->setCheckable(true);
            check->setChecked(image != TImageList::Exit && image != TImageList::Help);
            check->setEnabled(false);
        }
    }
    StatusBarM1 = MakeAction(view, "Status Bar", QKeySequence());
    StatusBarM1->setCheckable(true);
    StatusBarM1->setChecked(true);
    StatusBarM1->setEnabled(false);
}

void TForm1::BuildPictureMenu() {
    QMenu* picture = menuBar()->addMenu("Picture");
    Transparent1 = MakeAction(picture, "Transparent", QKeySequence("Ctrl+T"), TImageList::Transparent);
    Transparent1->setCheckable(true);
    Clear1 = MakeAction(picture, "Clear Picture", QKeySequence());
    BlackWhite1 = MakeAction(picture, "Black and White", QKeySequence());
    picture->addSeparator();
    MirrorHorizontal1 = MakeAction(picture, "Horizontal Mirroring", QKeySequence());
    MirrorVertical1 = MakeAction(picture, "Vertical Mirroring", QKeySequence());
    picture->addSeparator();
    Degrees90 = MakeAction(picture, "Rotate about 90°", QKeySequence());
    Degrees180 = MakeAction(picture, "Rotate about 180°", QKeySequence());
    Degrees270 = MakeAction(picture, "Rotate about 270°", QKeySequence());
    Degrees90->setVisible(false);
    Degrees270->setVisible(false);
    picture->addSeparator();
    StepGroup_ = new QActionGroup(this);
    StepGroup_->setExclusive(true);
    const char* const captions[] = {"Step X1/Y1", "Step X2/Y2", "Step X3/Y3"};
    const int images[] = {TImageList::Step1, TImageList::Step2, TImageList::Step3};
    for (int i = 0; i < 3; ++i) {
        Step[std::size_t(i)] =
            MakeAction(picture, captions[i], QKeySequence(QString("Ctrl+%1").arg(i + 1)), images[i]);
        Step[std::size_t(i)]->setCheckable(true);
        StepGroup_->addAction(Step[std::size_t(i)]);
    }
    picture->addSeparator();
    InsertText1 = MakeAction(picture, "Insert Text", QKeySequence(Qt::Key_F11), TImageList::InsertText);
    picture->addSeparator();
    Setting1 = MakeAction(picture, "Options", QKeySequence(Qt::Key_F8), TImageList::Setting);
    connect(InsertText1, &QAction::triggered, this, [this] { InsertText1Click(); });
    connect(Setting1, &QAction::triggered, this, [this] { Setting1Click(); });
    connect(Transparent1, &QAction::triggered, this, [this] { Transparent1Click(); });
    connect(Clear1, &QAction::triggered, this, [this] { Clear1Click(); });
    connect(BlackWhite1, &QAction::triggered, this, [this] { BlackWhite1Click(); });
    connect(MirrorHorizontal1, &QAction::triggered, this, [this] { MirrorHorizontal1Click(); });
    connect(MirrorVertical1, &QAction::triggered, this, [this] { MirrorVertical1Click(); });
    connect(Degrees180, &QAction::triggered, this, [this] { Degrees180Click(); });
    connect(Step[0], &QAction::triggered, this, [this] { Step1ToolBut1Click(); });
    connect(Step[1], &QAction::triggered, this, [this] { Step2ToolBut1Click(); });
    connect(Step[2], &QAction::triggered, this, [this] { Step3ToolBut1Click(); });
}

void TForm1::BuildOtherMenus() {
    Zoom1 = menuBar()->addMenu("Zoom");
    auto* zoomGroup = new QActionGroup(this);
    for (int factor : {1, 2, 4, 8}) {
        QAction* item = MakeAction(Zoom1, "", QKeySequence());
        item->setText(QString("%1%").arg(factor * 100));
        item->setCheckable(true);
        item->setChecked(factor == 1);
        zoomGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, factor] { N8001Click(factor); });
    }
    Zoom1->menuAction()->setVisible(false); // nothing shows the zoom menu
    Language1 = menuBar()->addMenu("Language");
    Language1->menuAction()->setEnabled(false);
    QMenu* help = menuBar()->addMenu("Help");
    Description1 = MakeAction(help, "Description of Application", QKeySequence(Qt::Key_F1), TImageList::Help);
    About1 = MakeAction(help, "About Tessimap", QKeySequence("Alt+F1"));
    Unfinished({Description1, About1});
}

void TForm1::BuildToolBar() {
    ToolBar1 = addToolBar("Toolbar");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->addActions({Newpicture1, Openpicture1, Savepicture1});
    ExitToolBut1 = ToolBar1->addAction(ImageList1.Icon(TImageList::Exit), "Exit");
    ExitToolBut1->setVisible(false); // Exit is not among the buttons shown by default
    connect(ExitToolBut1, &QAction::triggered, this, [this] { Exit1Click(); });
    ToolBar1->addSeparator();
    ToolBar1->addActions({Cut1, Copy1, Paste1, Undo1});
    ToolBar1->addSeparator();
    ToolBar1->addActions({Transparent1, InsertText1, Setting1});
    ToolBar1->addSeparator();
    ToolBar1->addActions({Step[0], Step[1], Step[2]});
}

void TForm1::BuildStatusBar() {
    // The picture panel takes 60 % of the width, the mouse and floating-image panels 20 % each;
    // the texts never widen them, so the window can still shrink to a small picture.
    const int stretches[] = {3, 1, 1};
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        StatusPanels[i] = new QLabel(this);
        StatusPanels[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        statusBar()->addWidget(StatusPanels[i], stretches[i]);
    }
    statusBar()->setSizeGripEnabled(false);
}
