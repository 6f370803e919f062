// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecentFiles.h"

#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecentFiles : public testing::Test {
  protected:
    std::string Touch(const QString& name) {
        const QString path = Dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        return path.toStdString();
    }
    std::vector<std::string> Slots() const {
        std::vector<std::string> result;
        for (int n = 1; n <= TRecentFiles::Count; ++n)
            result.push_back(List.Slot(n));
        return result;
    }
    QTemporaryDir Dir;
    TRecentFiles List;
};

TEST_F(RecentFiles, AddingMovesAnEntryUpOrDropsTheOldest) {
    std::vector<std::string> paths;
    for (int i = 0; i < 10; ++i)
        paths.push_back(Touch(QString("p%1.bmp").arg(i)));
    for (int i = 0; i < 9; ++i)
        ASSERT_TRUE(List.Add(paths[std::size_t(i)]));
    // paths 8 … 0 in slots 1 … 9; path 4 stands in slot 5.
    ASSERT_TRUE(List.Add(paths[4]));
    EXPECT_EQ(Slots(), (std::vector<std::string>{paths[4], paths[8], paths[7], paths[6], paths[5], paths[3],
                                                 paths[2], paths[1], paths[0]}));
    ASSERT_TRUE(List.Add(paths[9]));
    EXPECT_EQ(List.Slot(1), paths[9]);
    EXPECT_EQ(List.Slot(9), paths[1]) << "the entry of slot 9 is dropped";
}

TEST_F(RecentFiles, OnlyRegularFilesWithoutLineBreaksAreListed) {
    const std::string lower = Touch("map.bmp");
    const std::string upper = Touch("MAP.bmp");
    EXPECT_FALSE(List.Add(Dir.filePath("missing.bmp").toStdString()));
    EXPECT_FALSE(List.Add(Dir.path().toStdString()));
    const std::string broken = Touch("a\nb.bmp");
    EXPECT_FALSE(List.Add(broken));
    EXPECT_TRUE(List.Add(lower));
    EXPECT_TRUE(List.Add(upper));
    EXPECT_EQ(List.Slot(1), upper);
    EXPECT_EQ(List.Slot(2), lower);
    EXPECT_EQ(List.Slot(3), "");
}

TEST_F(RecentFiles, LoadClosesUpOverMissingFilesAndSaveWritesEveryKey) {
    const std::string a = Touch("a.bmp");
    const std::string b = Touch("b.bmp");
    const QString iniPath = Dir.filePath("Tessimap.ini");
    {
        TIniFile ini(iniPath);
        ini.WriteString("Recent Files", "1", Dir.filePath("gone.bmp").toStdString());
        ini.WriteString("Recent Files", "2", a);
        ini.WriteString("Recent Files", "3", "");
        ini.WriteString("Recent Files", "4", Dir.path().toStdString());
        ini.WriteString("Recent Files", "5", b);
        ini.UpdateFile();
    }
    List.Load(TIniFile(iniPath));
    EXPECT_EQ(Slots(), (std::vector<std::string>{a, b, "", "", "", "", "", "", ""}));
    TIniFile ini(iniPath);
    List.Save(ini);
    ini.UpdateFile();
    const TIniFile again(iniPath);
    EXPECT_EQ(again.ReadString("Recent Files", "1", "?"), a);
    EXPECT_EQ(again.ReadString("Recent Files", "2", "?"), b);
    for (const char* key : {"3", "4", "5", "9"})
        EXPECT_EQ(again.ReadString("Recent Files", key, "?"), "") << key;
}

} // namespace
