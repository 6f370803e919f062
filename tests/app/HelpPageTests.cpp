// SPDX-License-Identifier: GPL-3.0-or-later
// The help page against the window it describes: every command has a mention in the page's text.

#include "ShellFixture.h"

#include <QFile>
#include <QMainWindow>
#include <QTextDocument>

namespace {

// The page as a reader sees it: tags gone, entities decoded, white space folded.
QString HelpPageText() {
    QFile file(QStringLiteral(TESSIMAP_RESOURCES "/index.htm"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QTextDocument page;
    page.setHtml(QString::fromUtf8(file.readAll()));
    return page.toPlainText().simplified();
}

// A menu caption without the keyboard marks the menus place.
QString Shown(QString text) {
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove('&').replace('\x01', '&');
}

// The commands of the table and every other item of the menu bar (the zoom levels, the grid),
// but not the languages and recent files, which are the user's own.
QStringList CommandCaptions(QMainWindow& window) {
    QStringList captions;
    for (const TCommand& command : Commands())
        captions << QString::fromUtf8(command.Text);
    const std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
        if (menu->objectName() == "Language1") return;
        for (QAction* item : menu->actions()) {
            if (item->menu()) walk(item->menu());
            if (item->isSeparator() || !item->isVisible() || item->objectName().startsWith("Rec")) continue;
            captions << Shown(item->text());
        }
    };
    for (QAction* title : window.menuBar()->actions())
        if (title->menu()) walk(title->menu());
    captions.removeDuplicates();
    return captions;
}

class HelpPage : public ShellTest {};

TEST_F(HelpPage, MentionsEveryCommandOfTheMenusAndTheToolbar) {
    const QString text = HelpPageText();
    ASSERT_TRUE(text.contains(QStringLiteral("Tessimap")));
    ASSERT_FALSE(text.contains('<')) << "the page's text, not its markup";
    const QStringList captions = CommandCaptions(*Form);
    ASSERT_GT(captions.size(), 40);
    for (const QString& caption : captions)
        EXPECT_TRUE(text.contains(caption.simplified(), Qt::CaseInsensitive))
            << "no mention of " << caption.toStdString();
}

} // namespace
