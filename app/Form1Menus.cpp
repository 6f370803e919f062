// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar, built from the command table.

#include "Form1.h"

#include "ZoomMenu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

QMenu* TForm1::MakeMenu(QWidget* parent, const TMenuTitle& title) {
    auto* menu = new QMenu(QString::fromUtf8(title.Text), parent);
    menu->setObjectName(title.Name);
    this->*title.Menu = menu;
    return menu;
}

void TForm1::BuildCommands() {
    for (const TCommand& command : Commands()) {
        auto* action = new QAction(QString::fromUtf8(command.Text), this);
        action->setObjectName(command.Name);
        // "Ctrl+Y; Ctrl+Shift+Z": a command may answer to more than one key.
        if (command.Shortcut)
            action->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(command.Shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(command.Checkable);
        if (command.Image >= 0) ImageList1.Attach(action, command.Image);
        if (command.Button.HintText) action->setToolTip(QString::fromUtf8(command.Button.HintText));
        if (command.Handler)
            connect(action, &QAction::triggered, this, [this, &command] { RunCommand(command); });
        else
            action->setEnabled(false); // present so the menus are complete; none pretends
        this->*command.Action = action;
    }
    auto* steps = new QActionGroup(this);
    for (QAction* step : {Step1, Step2, Step3})
        steps->addAction(step);
}

void TForm1::AddCommands(QMenu* menu, TMenuPlace place) {
    for (const TCommand& command : Commands()) {
        if (command.Place != place) continue;
        if (command.SeparatorBefore) menu->addSeparator();
        menu->addAction(this->*command.Action);
    }
}

void TForm1::BuildMenus() {
    BuildCommands();
    const auto titles = MenuTitles();
    auto title = [&](QMenu* TForm1::*menu) -> const TMenuTitle& {
        return *std::find_if(titles.begin(), titles.end(),
                             [menu](const TMenuTitle& t) { return t.Menu == menu; });
    };
    QMenuBar* bar = menuBar();
    bar->addMenu(MakeMenu(bar, title(&TForm1::File1)));
    AddCommands(File1, TMenuPlace::File);
    N8 = File1->addSeparator();
    N8->setObjectName("N8");
    for (std::size_t i = 0; i < Rec.size(); ++i) {
        Rec[i] = File1->addAction(QString());
        Rec[i]->setObjectName(QString("Rec%1").arg(i + 1));
        connect(Rec[i], &QAction::triggered, this, [this, i] {
            RecClick(int(i) + 1);
            Timer1Timer();
        });
    }
    File1->addSeparator(); // N5 always shows
    AddCommands(File1, TMenuPlace::FileEnd);
    UpdateRecentMenu();

    bar->addMenu(MakeMenu(bar, title(&TForm1::Edit1)));
    AddCommands(Edit1, TMenuPlace::Edit);
    bar->addMenu(MakeMenu(bar, title(&TForm1::View1)));
    View1->addMenu(MakeMenu(View1, title(&TForm1::ToolBarM1)));
    BuildToolBarMenu();
    AddCommands(View1, TMenuPlace::View);
    bar->addMenu(MakeMenu(bar, title(&TForm1::Picture1)));
    AddCommands(Picture1, TMenuPlace::Picture);
    BuildZoomMenu();
    // The Language menu is filled from the language file.
    bar->addMenu(MakeMenu(bar, title(&TForm1::Language1)));
    bar->addMenu(MakeMenu(bar, title(&TForm1::Help1)));
    AddCommands(Help1, TMenuPlace::Help);
}

// Visible, then one check item per toolbar button in the toolbar's order and groups.
void TForm1::BuildToolBarMenu() {
    AddCommands(ToolBarM1, TMenuPlace::ToolBarMenu);
    int group = -1;
    for (const TCommand* command : ToolBarOrder()) {
        const TToolButton& button = command->Button;
        if (button.Group != group) ToolBarM1->addSeparator();
        group = button.Group;
        QAction* check = ToolBarM1->addAction(QString::fromUtf8(button.HintText));
        check->setObjectName(button.CheckName);
        check->setCheckable(true);
        check->setChecked(button.ShownByDefault);
        ImageList1.Attach(check, command->Image);
        connect(check, &QAction::triggered, this, [this] { ToolButCheck1Click(); });
        ToolButChecks[std::size_t(button.Slot - 1)] = check;
    }
}

// View > Zoom and View > Grid change only the view: the picture, the floating image, Modified
// and the undo state stay as they are.
void TForm1::BuildZoomMenu() {
    ZoomMenu_ = new TZoomMenu(*View1, *this,
                              {[this](int level) { ZoomTo(level); }, [this](int steps) { ZoomByKeys(steps); },
                               [this] { FitToWindow1Click(); }, [this](bool on) { Grid1Click(on); }});
    Zoom1 = ZoomMenu_->Menu();
}

// The enabled states follow at once, not only at the next tick: Ctrl+A then Ctrl+C in quick
// succession must copy.
void TForm1::RunCommand(const TCommand& command) {
    (this->*command.Handler)();
    Timer1Timer();
}
