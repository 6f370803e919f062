// SPDX-License-Identifier: GPL-3.0-or-later
// The Language menu, the texts of the chosen language, and the Help menu.

#include "Form1.h"

#include "AboutBox.h"
#include "LanguageFile.h"
#include "Mnemonics.h"
#include "TileSheetPanel.h"
#include "ZoomMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

namespace {

const QString kHelpFile = QStringLiteral("index.htm");

} // namespace

void TForm1::BuildLanguageMenu() {
    const TLanguageFile file = TLanguageFile::ForProgram(Paths_);
    const QStringList names = file.Languages();
    LanguageGroup_ = new QActionGroup(this);
    LanguageGroup_->setExclusive(true);
    for (int number = 1; number <= names.size(); ++number) {
        const QString& name = names[number - 1];
        // "&" in a name is shown as itself; the name is kept whole with the entry, so no caption
        // decoration can change which section is read.
        QAction* item = Language1->addAction(QString(name).replace('&', QStringLiteral("&&")));
        item->setData(name);
        item->setCheckable(true);
        LanguageGroup_->addAction(item);
        if (number == file.Current()) {
            item->setChecked(true);
            CurrentLanguage = name;
        }
        connect(item, &QAction::triggered, this, [this, item] { LanguageItemClick(item); });
    }
    ApplyLanguage();
}

void TForm1::LanguageItemClick(QAction* item) {
    item->setChecked(true);
    CurrentLanguage = item->data().toString();
    TLanguageFile file = TLanguageFile::ForProgram(Paths_);
    const QString failed = file.StoreCurrent(int(LanguageGroup_->actions().indexOf(item)) + 1);
    // The choice holds for this run even when it cannot be kept for the next one.
    ApplyLanguage();
    if (!failed.isEmpty())
        Document_->Modal().ShowMessage(
            Document_->Texts().WarningTitle,
            Texts.TextUtf8("Message5", "The choice of language could not be saved to") + " " +
                failed.toStdString() + ".");
}

// Every caption, hint and View > Toolbar item comes from the command table, so a command added
// there is translated without a line here.
void TForm1::ApplyLanguage() {
    Texts.SetTexts(CurrentLanguage, TLanguageFile::ForProgram(Paths_).Section(CurrentLanguage));
    Document_->ApplyLanguage(Texts);
    QtTexts.Use(Texts.Locale());
    for (const TMenuTitle& title : MenuTitles())
        (this->*title.Menu)->setTitle(Texts.Text(title.Key, QString::fromUtf8(title.Text)));
    for (const TCommand& command : Commands()) {
        QAction* action = this->*command.Action;
        action->setText(Texts.Text(command.Key, QString::fromUtf8(command.Text)));
        const TToolButton& button = command.Button;
        if (!button.HintKey) continue;
        const QString hint = Texts.Text(button.HintKey, QString::fromUtf8(button.HintText));
        action->setToolTip(hint);
        ToolButChecks[std::size_t(button.Slot - 1)]->setText(hint);
    }
    BackgroundColorHint = BackgroundColorToolBut1->toolTip();
    TransparentColorHint = TransparentColorToolBut1->toolTip();
    FillColorHint = FillColorToolBut1->toolTip();
    ZoomMenu_->ApplyTexts(Texts);
    TileSheetPanel_->ApplyLanguage(Texts);
    // New texts bring new letters: the keyboard marks are placed again from them.
    AssignMnemonics(menuBar());
}

void TForm1::Description1Click() {
    const QString help = Paths_.DataFile(kHelpFile);
    if (!QFileInfo::exists(help)) return;
    if (Document_->Modal().OpenWithDesktop(QUrl::fromLocalFile(help).toString().toStdString())) return;
    // A machine without a browser: the user can still open the page by hand, knowing where it is.
    const QString text =
        Texts.Text("Message9", "No program is set up to show the help. Open this file in a web browser: %1");
    Document_->Modal().ShowMessage(
        Document_->Texts().WarningTitle,
        QString(text).replace(QLatin1String("%1"), QDir::toNativeSeparators(help)).toStdString());
}

void TForm1::About1Click() {
    TAboutBox box(Texts, Document_->Modal(), this);
    box.exec();
}
