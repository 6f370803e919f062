// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniFile.h"

#include "Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>

namespace {

QString WriteText(const QTemporaryDir& dir, const std::string& text) {
    const QString path = dir.filePath("Tessimap.ini");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

std::string ReadText(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

struct TIntegerCase {
    const char* Value; // the text after '=', or nullptr for a missing key
    int Expected;      // read with default 77
};

class IniIntegerRead : public testing::TestWithParam<TIntegerCase> {};

TEST_P(IniIntegerRead, GivesValueOrDefault) {
    QTemporaryDir dir;
    const TIntegerCase c = GetParam();
    const std::string body =
        c.Value ? std::string("[Options]\nWidthPic=") + c.Value + "\n" : std::string("[Options]\nOther=5\n");
    const TIniFile ini(WriteText(dir, body));
    EXPECT_EQ(ini.ReadInteger("Options", "WidthPic", 77), c.Expected) << (c.Value ? c.Value : "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniIntegerRead,
    testing::Values(TIntegerCase{"640", 640}, TIntegerCase{"-12", -12}, TIntegerCase{"+9", 9},
                    TIntegerCase{"0x1F", 31}, TIntegerCase{"0X1f", 31}, TIntegerCase{"0xFFFFFFFF", -1},
                    TIntegerCase{"0x100000000", 77}, TIntegerCase{"2147483647", 2147483647},
                    TIntegerCase{"-2147483648", -2147483647 - 1}, TIntegerCase{"2147483648", 77},
                    TIntegerCase{"99999999999999999999", 77}, TIntegerCase{"12abc", 77},
                    TIntegerCase{"abc", 77}, TIntegerCase{"0x", 77}, TIntegerCase{"1.5", 77},
                    TIntegerCase{"-", 77}, TIntegerCase{"", 77}, TIntegerCase{nullptr, 77}),
    [](const testing::TestParamInfo<TIntegerCase>& info) { return std::to_string(info.index); });

TEST(IniFile, NamesIgnoreCaseAndFirstDuplicateCounts) {
    QTemporaryDir dir;
    const TIniFile ini(WriteText(dir, "[options]\nwidthpic=5\nWIDTHPIC=6\n[PATH]\nbmp=/a\n"));
    EXPECT_EQ(ini.ReadInteger("Options", "WidthPic", 0), 5);
    EXPECT_EQ(ini.ReadString("Path", "Bmp", "x"), "/a");
}

TEST(IniFile, EmptyValueIsEmptyButMissingKeyIsDefault) {
    QTemporaryDir dir;
    const TIniFile ini(WriteText(dir, "[Path]\nBmp=\n"));
    EXPECT_EQ(ini.ReadString("Path", "Bmp", "/default"), "");
    EXPECT_EQ(ini.ReadString("Path", "Other", "/default"), "/default");
    EXPECT_EQ(ini.ReadString("Nowhere", "Bmp", "/default"), "/default");
}

TEST(IniFile, LongTextIsReadWhole) {
    QTemporaryDir dir;
    const std::string path = "/" + std::string(5000, 'p');
    const TIniFile ini(WriteText(dir, "[Path]\nBmp=" + path + "\n"));
    EXPECT_EQ(ini.ReadString("Path", "Bmp", ""), path);
}

TEST(IniFile, BooleansWrittenAsDigitsAndAnyNonZeroReadsTrue) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tessimap.ini");
    {
        TIniFile ini(path);
        ini.WriteBool("View", "ToolBar", true);
        ini.WriteBool("View", "StatusBar", false);
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadText(path), "[View]\nToolBar=1\nStatusBar=0\n");
    const TIniFile ini(WriteText(dir, "[View]\nA=-3\nB=0x0\nC=yes\nD=true\n"));
    EXPECT_TRUE(ini.ReadBool("View", "A", false));
    EXPECT_FALSE(ini.ReadBool("View", "B", true));
    EXPECT_TRUE(ini.ReadBool("View", "C", true)); // not a number: the default
    EXPECT_FALSE(ini.ReadBool("View", "D", false));
}

TEST(IniFile, RewriteKeepsUnknownKeysCommentsAndReplacesDuplicates) {
    QTemporaryDir dir;
    const QString path = WriteText(dir, "; kept by hand\n[Options]\nWidthPic=5\nMine=keep\nwidthpic=6\n");
    TIniFile ini(path);
    ini.WriteInteger("OPTIONS", "WidthPic", 640);
    ini.WriteString("Recent Files", "1", "/a\n[Evil]\nX=1");
    ini.UpdateFile();
    const std::string text = ReadText(path);
    EXPECT_NE(text.find("; kept by hand"), std::string::npos);
    EXPECT_NE(text.find("Mine=keep"), std::string::npos);
    EXPECT_EQ(text.find("Evil"), std::string::npos);
    const TIniFile again(path);
    EXPECT_EQ(again.ReadInteger("Options", "WidthPic", 0), 640);
    EXPECT_EQ(again.ReadString("Options", "Mine", ""), "keep");
    EXPECT_EQ(again.ReadString("Recent Files", "1", ""), "/a");
    EXPECT_EQ(text.find("=6\n"), std::string::npos) << text;
}

// A full disk, simulated with a file-size limit, which binds root as well.
TEST(IniFile, FullDiskLeavesEarlierFileUnchanged) {
    QTemporaryDir dir;
    const std::string before = "[Path]\nBmp=/old\n";
    const QString path = WriteText(dir, before);
    TIniFile ini(path);
    ini.WriteString("Path", "Bmp", "/" + std::string(4096, 'n'));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadText(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

} // namespace
