// SPDX-License-Identifier: GPL-3.0-or-later
// The Language menu, the texts it switches, and the Help menu: a window whose AppPath is a
// temporary folder holding the language file under test.

#include "AboutBox.h"
#include "Form2.h"
#include "Form4.h"
#include "LanguageFile.h"
#include "ShellFixture.h"

#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <functional>
#include <ostream>

// Failures show the texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

// A menu text as the user reads it, whatever keyboard marks the menus placed.
QString Shown(QString text) {
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove('&').replace('\x01', '&');
}

const QString kShippedLanguageFile = QStringLiteral(TESSIMAP_RESOURCES "/language.ini");

class LanguageMenu : public testing::Test {
  protected:
    void TearDown() override {
        if (Form) ForgetChanges(Form->Document());
        Form.reset();
    }
    QString AppFile(const char* name) const { return QString::fromStdString(App.File(name)); }
    void UseLanguageFile(const QByteArray& text) {
        QFile file(AppFile("language.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void UseShippedLanguageFile() { ASSERT_TRUE(QFile::copy(kShippedLanguageFile, AppFile("language.ini"))); }
    // Starts (or restarts) the window as the program does; the user folder lies inside AppPath's
    // temporary folder so nothing outside it is touched.
    void Start(const QString& dataDir = {}, const QString& userDir = {}) {
        if (Form) ForgetChanges(Form->Document());
        Form.reset();
        Form = std::make_unique<TForm1>(Modal, TAppPaths(QString::fromStdString(App.Path().string()), dataDir,
                                                         userDir.isEmpty() ? AppFile("user") : userDir));
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }
    QList<QAction*> Entries() const { return Named<QMenu>(Form, "Language1")->actions(); }
    QString Checked() const {
        for (QAction* entry : Entries())
            if (entry->isChecked()) return Shown(entry->text());
        return {};
    }
    QString MenuTitle(int index) const { return Form->menuBar()->actions().at(index)->text(); }
    // Runs the action inside the next modal dialog that opens, then closes that dialog.
    void InNextDialog(std::function<void(QDialog&)> action) {
        QTimer::singleShot(0, [action] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            action(*dialog);
            dialog->reject();
        });
    }

    TTempFolder App;
    TScriptedModal Modal;
    std::unique_ptr<TForm1> Form;
};

// Entries up to the first gap; Current naming no entry checks none and leaves the defaults even
// though a section of that number's language exists.
TEST_F(LanguageMenu, CurrentBeyondTheListChecksNothing) {
    UseLanguageFile("[Language]\nCurrent=3\n[Languages]\n1=English\n2=Deutsch\n4=Fran\xC3\xA7"
                    "ais\n"
                    "[Deutsch]\nPaste1=Einf\xC3\xBCgen\n[Fran\xC3\xA7"
                    "ais]\nPaste1=Coller\n");
    Start();
    ASSERT_EQ(Entries().size(), 2);
    EXPECT_EQ(Shown(Entries()[1]->text()), "Deutsch");
    EXPECT_EQ(Checked(), "");
    EXPECT_EQ(Shown(Named(Form, "Paste1")->text()), "Paste");
}

// The name stays whole with its entry: "&" neither vanishes nor makes a mnemonic, and the
// section of exactly that name is read.
TEST_F(LanguageMenu, ANameWithAmpersandIsKeptWhole) {
    UseLanguageFile("[Language]\nCurrent=1\n[Languages]\n1=English\n2=Rock & Roll\n"
                    "[Rock & Roll]\nPaste1=Slap\nDlgFilter=Bilder\n[Rock  Roll]\nPaste1=Wrong\n");
    Start();
    Entries()[1]->trigger();
    EXPECT_EQ(Checked(), "Rock & Roll");
    EXPECT_EQ(Shown(Entries()[1]->text()), "Rock & Roll");
    EXPECT_EQ(Shown(Named(Form, "Paste1")->text()), "Slap");
    EXPECT_EQ(TLanguageFile(AppFile("language.ini"), {}, true).Current(), 2);
    Named(Form, "Openpicture1")->trigger();
    ASSERT_EQ(Modal.Dialogs.size(), 1u);
    EXPECT_EQ(Modal.Dialogs[0].FilterText, "Bilder");
}

TEST_F(LanguageMenu, SwitchingToDeutschChangesTheTextsAtOnceAndTheNextStartKeepsIt) {
    UseShippedLanguageFile();
    Start();
    ASSERT_EQ(Entries().size(), 3);
    EXPECT_EQ(Checked(), "English");
    EXPECT_EQ(Shown(MenuTitle(0)), "File");

    Entries()[2]->trigger();
    EXPECT_EQ(Checked(), "Deutsch");
    EXPECT_EQ(Shown(MenuTitle(0)), "Datei");
    EXPECT_EQ(Shown(Named(Form, "Paste1")->text()), "Einfügen");
    EXPECT_EQ(Named(Form, "Paste1")->toolTip(), "Einfügen");
    EXPECT_EQ(Form->Document().Texts().WarningTitle, "Warnung");
    EXPECT_EQ(Form->Document().Texts().SaveChangesText, "Änderungen speichern?");
    EXPECT_EQ(Named(Form, "BackgroundColorToolBut1")->toolTip(), "Hintergrundfarbe");
    QStringList toolbarItems;
    for (QAction* item : Named<QMenu>(Form, "ToolBarM1")->actions())
        toolbarItems.append(Shown(item->text()));
    EXPECT_TRUE(toolbarItems.contains("Einfügen"));
    EXPECT_TRUE(toolbarItems.contains("Füllfarbe"));
    EXPECT_FALSE(toolbarItems.contains("Paste"));

    // The export reports in the language of the moment.
    Modal.FileChoices.push_back(App.File("karte.bmp"));
    Named(Form, "Saveas1")->trigger();
    Refresh(Form);
    Named(Form, "ExportToGIF1")->trigger();
    ASSERT_EQ(Modal.Shown.size(), 1u);
    EXPECT_EQ(QString::fromStdString(Modal.Shown[0]),
              "Als GIF exportieren|Das Bild wurde gespeichert unter " + AppFile("karte.gif") + ".");
    EXPECT_EQ(QString::fromStdString(Modal.Dialogs[0].Title), "Bild speichern");

    Start();
    EXPECT_EQ(Checked(), "Deutsch");
    EXPECT_EQ(Checked(), "Deutsch");
    EXPECT_EQ(Shown(MenuTitle(1)), "Bearbeiten");
}

// Each shipped language writes the status bar's depth and zoom its own way, names the grid apart
// from the step pairs, and spells its colour-loss question right.
TEST_F(LanguageMenu, ShippedStatusGridAndQuestionTexts) {
    UseShippedLanguageFile();
    Start();
    Named(Form, "Zoom12")->trigger();
    const struct {
        int Entry;
        const char* Depth;
        const char* Zoom;
        const char* Question;
    } cases[] = {{0, " x 24-bit", "12.5 %", "do you really want"},
                 {1, " x 24bitová", "12,5 %", "Opravdu"},
                 {2, " x 24 Bit", "12,5 %", "Wirklich"}};
    for (const auto& c : cases) {
        Entries()[c.Entry]->trigger();
        Refresh(Form);
        SCOPED_TRACE(Checked().toStdString());
        EXPECT_TRUE(Named<QLabel>(Form, "StatusPanel1")->text().endsWith(QString::fromUtf8(c.Depth)));
        EXPECT_EQ(Named<QLabel>(Form, "StatusPanel4")->text(), c.Zoom);
        EXPECT_FALSE(Shown(Named(Form, "Step1")->text()).contains(Shown(Named(Form, "Grid1")->text())));
        EXPECT_NE(Form->Document().Texts().ColorLossText.find(c.Question), std::string::npos);
    }
}

// A choice that cannot be written still switches the texts, says which file failed, and holds
// until the program ends.
TEST_F(LanguageMenu, AFailedWriteStillSwitchesAndNamesTheFile) {
    TTempFolder data;
    ASSERT_TRUE(QFile::copy(kShippedLanguageFile, QString::fromStdString(data.File("language.ini"))));
    WriteFileBytes(App.File("blocker"), {'x'});
    Start(QString::fromStdString(data.Path().string()), AppFile("blocker"));
    Entries()[1]->trigger();
    EXPECT_EQ(Shown(Named(Form, "Paste1")->text()), "Vložit");
    ASSERT_EQ(Modal.Shown.size(), 1u);
    EXPECT_EQ(QString::fromStdString(Modal.Shown[0]),
              "Upozornění|Volbu jazyka se nepodařilo uložit do souboru " + AppFile("blocker/language.ini") +
                  ".");
    EXPECT_EQ(Checked(), "Česky");
}

TEST_F(LanguageMenu, F1OpensTheHelpPageOnlyWhenItIsThere) {
    Start();
    QTest::keyClick(Form.get(), Qt::Key_F1);
    EXPECT_TRUE(Modal.Opened.empty());
    EXPECT_TRUE(Modal.Shown.empty());
    EXPECT_TRUE(Modal.Errors.empty());

    WriteFileBytes(App.File("index.htm"), {'<', 'p', '>'});
    QTest::keyClick(Form.get(), Qt::Key_F1);
    EXPECT_EQ(Modal.Opened, std::vector{QUrl::fromLocalFile(AppFile("index.htm")).toString().toStdString()});
    EXPECT_TRUE(Modal.Shown.empty());

    // No program took it: the page's path is named, in the chosen language.
    UseShippedLanguageFile();
    Start();
    Entries()[2]->trigger();
    Modal.DesktopHandles = false;
    QTest::keyClick(Form.get(), Qt::Key_F1);
    EXPECT_EQ(Modal.Shown,
              std::vector<std::string>{"Warnung|Es ist kein Programm eingerichtet, das die Hilfe "
                                       "anzeigen kann. Öffnen Sie diese Datei in einem Webbrowser: " +
                                       App.File("index.htm")});
}

TEST_F(LanguageMenu, AboutBoxInCzechShowsSrpenAndTheCzechPage) {
    UseShippedLanguageFile();
    Start();
    Entries()[1]->trigger();
    bool opened = false;
    InNextDialog([&](QDialog& dialog) {
        auto& box = static_cast<TAboutBox&>(dialog);
        opened = true;
        EXPECT_EQ(box.windowTitle(), "O aplikaci Tessimap");
        EXPECT_TRUE(box.Credit->text().startsWith("Autor: "));
        EXPECT_TRUE(box.Credit->text().contains("srpen"));
        EXPECT_FALSE(box.Credit->text().contains("August"));
        EXPECT_EQ(box.License->text(),
                  QString::fromUtf8("Licencováno pod licencí GNU GPL, verze 3 nebo novější."));
        EXPECT_EQ(box.Comments->text(), "Kontakt:");
        EXPECT_EQ(box.Version->text(), "Verze " TESSIMAP_VERSION);
        EXPECT_EQ(box.focusWidget(), static_cast<QWidget*>(box.OKButton));
        EXPECT_TRUE(box.OKButton->isDefault());
        QTest::mouseClick(box.Label2, Qt::LeftButton);
        QTest::mouseClick(box.Label1, Qt::LeftButton);
    });
    QTest::keyClick(Form.get(), Qt::Key_F1, Qt::AltModifier);
    EXPECT_TRUE(opened);
    EXPECT_EQ(Modal.Opened, (std::vector{TAboutBox::HomePage(true).toStdString(),
                                         "mailto:" + TAboutBox::MailAddress().toStdString()}));
    EXPECT_NE(TAboutBox::HomePage(true), TAboutBox::HomePage(false));
}

// Only A to Z are lowered before the comparison, as older language files expect.
TEST(AboutBox, CzechByNameWithOnlyAsciiLettersLowered) {
    for (const char* name : {"Česky", "ČESKY"})
        EXPECT_TRUE(TAboutBox::RunsInCzech(QString::fromUtf8(name))) << name;
    for (const char* name : {"česky", "Cesky", ""})
        EXPECT_FALSE(TAboutBox::RunsInCzech(QString::fromUtf8(name))) << name;
}

TEST(AboutBox, LinksTurnBoldAndUnderlinedUnderTheMouseAndPlainAfter) {
    TScriptedModal modal;
    const TLanguageTexts english;
    TAboutBox box(english, modal);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    for (QLabel* link : {box.Label1, box.Label2}) {
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseMove(link, QPoint(3, 3));
        EXPECT_TRUE(link->font().bold());
        EXPECT_TRUE(link->font().underline());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        EXPECT_FALSE(link->font().bold());
        EXPECT_FALSE(link->font().underline());
    }
    EXPECT_EQ(box.windowTitle(), "About Tessimap");
    EXPECT_TRUE(box.Credit->text().contains("August"));
    EXPECT_EQ(box.Label2->text(), TAboutBox::HomePage(false));
    EXPECT_EQ(box.ProgramIcon->size(), QSize(32, 32));
}

// The program's own readers name the keys: the window, the document's messages and exports, the
// about box (and every dialog the window opens). Each shipped language has them all, and English
// says exactly what the defaults say.
TEST_F(LanguageMenu, TheShippedFileHasEveryKeyInEveryLanguage) {
    // A choice that cannot be kept asks for the text only that failure shows.
    TTempFolder data;
    ASSERT_TRUE(QFile::copy(kShippedLanguageFile, QString::fromStdString(data.File("language.ini"))));
    WriteFileBytes(App.File("blocker"), {'x'});
    Start(QString::fromStdString(data.Path().string()), AppFile("blocker"));
    Entries()[0]->trigger();
    InNextDialog([](QDialog&) {});
    // So does help that no program takes.
    WriteFileBytes(data.File("index.htm"), {'<', 'p', '>'});
    Modal.DesktopHandles = false;
    QTest::keyClick(Form.get(), Qt::Key_F1);
    Named(Form, "About1")->trigger();
    // The two picture dialogs read their texts as they are built.
    TForm2 options(Form->Document(), Form->LanguageTexts());
    TForm4 insertText(Form->Document(), Form->LanguageTexts(), [] {});
    const QHash<QString, QString> asked = Form->LanguageTexts().AskedKeys();
    for (const char* reader : {"File1", "ToolBar1", "Col3", "Message1", "MessTit3", "AboutCnt", "SetForm",
                               "LStepY3", "FontForm", "FontInsertBut", "Message5", "Message6", "Message9"})
        ASSERT_TRUE(asked.contains(reader)) << reader;
    const TLanguageFile shipped(kShippedLanguageFile, {}, false);
    ASSERT_EQ(shipped.Languages(), (QStringList{"English", "Česky", "Deutsch"}));
    for (const QString& language : shipped.Languages()) {
        const auto texts = shipped.Section(language);
        for (auto key = asked.constBegin(); key != asked.constEnd(); ++key) {
            EXPECT_TRUE(texts.contains(key.key()))
                << language.toStdString() << " lacks " << key.key().toStdString();
            if (language == "English")
                EXPECT_EQ(texts.value(key.key()), key.value()) << key.key().toStdString();
            else
                EXPECT_FALSE(texts.value(key.key()).isEmpty()) << key.key().toStdString();
        }
    }
}

} // namespace
