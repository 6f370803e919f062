// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard mnemonics of the menus, and commands that are available the moment their condition holds.

#include "Mnemonics.h"
#include "ShellFixture.h"

#include <QMenuBar>
#include <QTimer>

#include <set>

namespace {

// The key a text's mark gives, or a null character.
QChar MarkedKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&') continue;
        if (text.at(i + 1) != u'&') return text.at(i + 1).toCaseFolded();
        ++i;
    }
    return QChar();
}

TEST(Mnemonics, EveryTextGetsAKeyOfItsOwnWhereItsLettersAllowIt) {
    const std::vector<std::pair<QStringList, QStringList>> cases = {
        {{"File", "Edit", "View"}, {"&File", "&Edit", "&View"}},
        // Word-initial letters first, then any other letter.
        {{"Save", "Save As", "Select"}, {"&Save", "Save &As", "S&elect"}},
        // An earlier text gives up its letter when a later one has no other.
        {{"ab", "a"}, {"a&b", "&a"}},
        // Case does not make two keys; letters beyond ASCII are keys too.
        {{"open", "Options", "Ö"}, {"&open", "O&ptions", "&Ö"}},
        // A literal ampersand stays; a text without letters or digits gets no mark.
        {{"Black && White", "100%", "--"}, {"&Black && White", "&100%", "--"}},
        // Nothing left to choose: the key is shared rather than lost.
        {{"a", "A"}, {"&a", "&A"}},
    };
    for (const auto& [texts, expected] : cases)
        EXPECT_EQ(WithMnemonics(texts), expected) << texts.join('|').toStdString();
}

TEST(Mnemonics, RunningAgainKeepsTheMarksAndStrippingGivesTheTextBack) {
    const QStringList texts = {"New Picture", "Open Picture", "Save Picture", "Save Picture As",
                               "Export to PNG"};
    const QStringList once = WithMnemonics(texts);
    EXPECT_EQ(WithMnemonics(once), once);
    for (qsizetype i = 0; i < texts.size(); ++i)
        EXPECT_EQ(WithoutMnemonic(once.at(i)), texts.at(i));
    // A mark that is still free stays where it was, even on a letter that is not first choice.
    EXPECT_EQ(WithMnemonics({"Ne&w", "Next"}), (QStringList{"Ne&w", "&Next"}));
}

class MenuKeys : public ShellTest {};

// Every title and every item of each menu the user can see has a key of its own.
TEST_F(MenuKeys, MenusHaveDistinctKeysAndAltFOpensFile) {
    const auto expectDistinct = [](const QList<QAction*>& actions, const std::string& group) {
        std::set<QChar> keys;
        for (QAction* action : actions) {
            if (!action->isVisible() || action->isSeparator()) continue;
            const QChar key = MarkedKey(action->text());
            EXPECT_FALSE(key.isNull()) << group << ": " << action->text().toStdString();
            EXPECT_TRUE(keys.insert(key).second) << group << ": " << action->text().toStdString();
        }
    };
    expectDistinct(Form->menuBar()->actions(), "menu bar");
    for (QAction* title : Form->menuBar()->actions())
        if (title->isVisible()) expectDistinct(title->menu()->actions(), title->text().toStdString());

    QMenu* file = Form->menuBar()->actions().at(0)->menu();
    Press(Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), file);
    Press(Qt::Key_Escape);
}

// Another language sets new texts; running again gives them their own keys, and the items that
// appear later (recent files) are placed when their menu opens.
TEST_F(MenuKeys, NewTextsGetKeysWhenRunAgainAndWhenTheirMenuOpens) {
    QAction* fileTitle = Form->menuBar()->actions().at(0);
    fileTitle->setText("Datei");
    Named(Form, "Newpicture1")->setText("Neues Bild");
    Named(Form, "Openpicture1")->setText("Bild öffnen");
    AssignMnemonics(Form->menuBar());
    EXPECT_EQ(fileTitle->text(), "&Datei");
    EXPECT_EQ(Named(Form, "Newpicture1")->text(), "&Neues Bild");
    EXPECT_EQ(Named(Form, "Openpicture1")->text(), "&Bild öffnen");
    const QString before = Named(Form, "Savepicture1")->text();
    AssignMnemonics(Form->menuBar());
    EXPECT_EQ(Named(Form, "Savepicture1")->text(), before);

    Named(Form, "Rec1")->setText("1 map.bmp");
    Named(Form, "Rec1")->setVisible(true);
    fileTitle->menu()->popup(QPoint(0, 0));
    EXPECT_EQ(Named(Form, "Rec1")->text(), "&1 map.bmp");
    fileTitle->menu()->close();
}

// The refresh runs after each command and key, not only on the timer: a selection made with
// Ctrl+A can be copied at once, and a paste can be cleared at once.
TEST_F(MenuKeys, CommandsAreEnabledAsSoonAsTheirConditionHolds) {
    UsePicture(24, 16);
    Named<QTimer>(Form, "Timer1")->stop();
    Refresh(Form);
    ASSERT_FALSE(Named(Form, "Copy1")->isEnabled());
    QGuiApplication::clipboard()->clear();
    Press(Qt::Key_A, Qt::ControlModifier);
    Press(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(copied && copied->hasImage()) << "Ctrl+C copied the selection";

    Press(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(Document().Floating().Active);
    Press(Qt::Key_Delete);
    EXPECT_FALSE(Document().Floating().Active) << "Del cleared the pasted image";

    Drag(Named<TPictureControl>(Form, "Image1"), QPoint(2, 2), QPoint(8, 8));
    EXPECT_TRUE(Named(Form, "Cut1")->isEnabled()) << "after the mouse lifted a selection";
}

} // namespace
