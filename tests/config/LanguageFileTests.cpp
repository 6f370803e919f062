// SPDX-License-Identifier: GPL-3.0-or-later
// language.ini on real files: the language list, the chosen language, both encodings, and
// writing Current without disturbing any other byte.

#include "AppPaths.h"
#include "LanguageFile.h"
#include "LanguageTexts.h"
#include "picture/TestFiles.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TLanguageFile Open(const std::string& path) {
    return TLanguageFile(QString::fromStdString(path), QString(), true);
}

struct ListCase {
    const char* Languages;
    QStringList Expected;
    friend std::ostream& operator<<(std::ostream& out, const ListCase& c) { return out << c.Languages; }
};

class LanguageList : public testing::TestWithParam<ListCase> {};

TEST_P(LanguageList, EndsAtTheFirstGapOrNoLanguage) {
    TTempFolder folder;
    Write(folder.File("language.ini"), QByteArray("[Languages]\n") + GetParam().Languages);
    EXPECT_EQ(Open(folder.File("language.ini")).Languages(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguageList,
                         testing::Values(ListCase{"1=English\n2=Deutsch\n4=Français\n",
                                                  {"English", "Deutsch"}},
                                         ListCase{"1=English\n2=NoLanguage\n3=Deutsch\n", {"English"}},
                                         ListCase{"1=English\n2=nolanguage\n", {"English", "nolanguage"}},
                                         ListCase{"2=Deutsch\n", {}}, ListCase{"", {}}));

TEST(LanguageFile, MissingFileGivesNoLanguagesTheFirstNumberAndNoTexts) {
    TTempFolder folder;
    const TLanguageFile file = Open(folder.File("language.ini"));
    EXPECT_TRUE(file.Languages().isEmpty());
    EXPECT_EQ(file.Current(), 1);
    EXPECT_TRUE(file.Section("English").isEmpty());
}

TEST(LanguageFile, ReadsCurrentAndSectionsWhateverTheCase) {
    TTempFolder folder;
    Write(folder.File("language.ini"), "[language]\ncurrent = 2\n[Languages]\n1=English\n2=Deutsch\n"
                                       "[DEUTSCH]\nFile1=Datei\nEdit1=Bearbeiten\n[English]\nFile1=File\n");
    const TLanguageFile file = Open(folder.File("language.ini"));
    EXPECT_EQ(file.Current(), 2);
    const auto texts = file.Section("Deutsch");
    EXPECT_EQ(texts.size(), 2);
    EXPECT_EQ(texts.value("Edit1"), "Bearbeiten");
    EXPECT_TRUE(file.Section("").isEmpty());
}

// Older files were written in Windows-1250: 0xC8 is Č, 0xDA is Ú, 0x9A is š. The same text as
// UTF-8 reads the same.
TEST(LanguageFile, ReadsWindows1250AndUtf8Alike) {
    TTempFolder folder;
    const QByteArray cp1250 = "[Languages]\r\n1=\xC8"
                              "esky\r\n[\xC8"
                              "esky]\r\nEdit1=\xDApravy\r\nMessTit="
                              "Upozorn\xEC"
                              "n\xED\r\nCut1=Vyjmout \x9A\xEDpkem\r\n";
    const QByteArray utf8 = QString::fromUtf8("[Languages]\n1=Česky\n[Česky]\nEdit1=Úpravy\n"
                                              "MessTit=Upozornění\nCut1=Vyjmout šípkem\n")
                                .toUtf8();
    for (const QByteArray& bytes : {cp1250, utf8, QByteArray("\xEF\xBB\xBF") + utf8}) {
        Write(folder.File("language.ini"), bytes);
        const TLanguageFile file = Open(folder.File("language.ini"));
        ASSERT_EQ(file.Languages(), QStringList{QString::fromUtf8("Česky")});
        const auto texts = file.Section(QString::fromUtf8("Česky"));
        EXPECT_EQ(texts.value("Edit1"), QString::fromUtf8("Úpravy"));
        EXPECT_EQ(texts.value("MessTit"), QString::fromUtf8("Upozornění"));
        EXPECT_EQ(texts.value("Cut1"), QString::fromUtf8("Vyjmout šípkem"));
    }
}

// Only the digits of Current change: comments, spacing, line endings, the order and the
// encoding of everything else stay byte for byte.
TEST(LanguageFile, StoringCurrentChangesOnlyItsValue) {
    TTempFolder folder;
    const std::string path = folder.File("language.ini");
    const QByteArray before = "; texts \xC8"
                              "esky\r\n[Languages]\r\n1=English\r\n2=\xC8"
                              "esky\r\n\r\n"
                              "[Language]\r\n; the chosen one\r\nCurrent = 1   \r\nOther=1\r\n[\xC8"
                              "esky]\r\n"
                              "Current=1\r\n";
    const QByteArray utf8 = QString::fromUtf8("[Language]\nCurrent=1\n[Languages]\n1=English\n2=Česky\n"
                                              "[Česky]\nFile1=Soubor")
                                .toUtf8();
    // A byte-order mark before the first section, as Windows editors write it, hides nothing.
    const QByteArray bom = "\xEF\xBB\xBF";
    const std::pair<QByteArray, QByteArray> cases[] = {
        {before, QByteArray(before).replace("Current = 1   ", "Current = 12")},
        {utf8, QByteArray(utf8).replace("Current=1", "Current=12")},
        {bom + utf8, bom + QByteArray(utf8).replace("Current=1", "Current=12")}};
    for (const auto& [original, expected] : cases) {
        Write(path, original);
        TLanguageFile file = Open(path);
        EXPECT_TRUE(file.StoreCurrent(12).isEmpty());
        EXPECT_EQ(file.Current(), 12);
        EXPECT_EQ(Bytes(path), expected);
        EXPECT_EQ(Open(path).Current(), 12);
        EXPECT_EQ(Open(path).Languages().size(), 2);
    }
}

TEST(LanguageFile, StoringCurrentAddsTheKeyOrSectionWhenMissing) {
    TTempFolder folder;
    const std::string path = folder.File("language.ini");
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"[Languages]\r\n1=English\r\n[Language]\r\nOther=x\r\n",
         "[Languages]\r\n1=English\r\n[Language]\r\nCurrent=1\r\nOther=x\r\n"},
        {"[Languages]\n1=English", "[Languages]\n1=English\n[Language]\nCurrent=1\n"},
        {"[Languages]\n1=English\n[Language]", "[Languages]\n1=English\n[Language]\nCurrent=1\n"}};
    for (const auto& [original, expected] : cases) {
        Write(path, original);
        EXPECT_TRUE(Open(path).StoreCurrent(1).isEmpty());
        EXPECT_EQ(Bytes(path), expected);
    }
}

// A text is found whatever the case of its key, as the settings keys are; the locale is read from
// the section without counting as a text the program asks for.
TEST(LanguageFile, TextsMatchKeysWithoutRegardToCaseAndNameTheirLocale) {
    TTempFolder folder;
    Write(folder.File("language.ini"),
          "[Languages]\n1=English\n2=Fran\xC3\xA7\x61is\n[English]\nPaste1=Paste\n"
          "[Fran\xC3\xA7\x61is]\npaste1=Coller\nCUT1=Couper\nLocale=fr\n");
    const TLanguageFile file = Open(folder.File("language.ini"));
    const TLanguageTexts french(file.Languages().at(1), file.Section(file.Languages().at(1)));
    EXPECT_EQ(french.Text("Paste1", "Paste"), "Coller");
    EXPECT_EQ(french.Text("Cut1", "Cut"), "Couper");
    EXPECT_EQ(french.Text("Copy1", "Copy"), "Copy");
    EXPECT_EQ(french.Locale(), "fr");
    EXPECT_FALSE(french.AskedKeys().contains("Locale"));
    EXPECT_EQ(TLanguageTexts("English", file.Section("English")).Locale(), "");
}

// A writable file keeps its own choice: an old per-user copy, left by an installed program, is
// neither read nor written.
TEST(LanguageFile, WritableCopyIgnoresAnOldUserCopy) {
    TTempFolder app, user;
    Write(app.File("language.ini"), "[Language]\nCurrent=2\n[Languages]\n1=English\n2=Deutsch\n");
    Write(user.File("language.ini"), "[Language]\nCurrent=3\n");
    const TAppPaths paths(QString::fromStdString(app.Path().string()), {},
                          QString::fromStdString(user.Path().string()));
    TLanguageFile file = TLanguageFile::ForProgram(paths);
    EXPECT_EQ(file.Current(), 2);
    EXPECT_TRUE(file.StoreCurrent(1).isEmpty());
    EXPECT_EQ(TLanguageFile::ForProgram(paths).Current(), 1);
    EXPECT_TRUE(Bytes(app.File("language.ini")).contains("Current=1"));
    EXPECT_EQ(Bytes(user.File("language.ini")), "[Language]\nCurrent=3\n");
}

// An installed copy is never written: the choice goes to the user's own file, which wins from
// then on; with nowhere to write, the failing file is named and the choice holds for the run.
TEST(LanguageFile, InstalledCopyKeepsTheChoiceInTheUserFile) {
    TTempFolder app, data, user;
    const QByteArray shipped = "[Language]\nCurrent=1\n[Languages]\n1=English\n2=Deutsch\n";
    Write(data.File("language.ini"), shipped);
    const TAppPaths paths(QString::fromStdString(app.Path().string()),
                          QString::fromStdString(data.Path().string()),
                          QString::fromStdString(user.File("config")));
    TLanguageFile file = TLanguageFile::ForProgram(paths);
    EXPECT_EQ(file.Languages().size(), 2);
    EXPECT_TRUE(file.StoreCurrent(2).isEmpty());
    EXPECT_EQ(Bytes(data.File("language.ini")), shipped);
    EXPECT_EQ(Bytes(user.File("config/language.ini")), "[Language]\nCurrent=2\n");
    EXPECT_EQ(TLanguageFile::ForProgram(paths).Current(), 2);

    Write(user.File("blocker"), "a file, not a folder");
    TLanguageFile stuck(QString::fromStdString(data.File("language.ini")),
                        QString::fromStdString(user.File("blocker/language.ini")), false);
    EXPECT_EQ(stuck.StoreCurrent(2), QString::fromStdString(user.File("blocker/language.ini")));
    EXPECT_EQ(stuck.Current(), 2);
    EXPECT_EQ(Bytes(data.File("language.ini")), shipped);
}

} // namespace
