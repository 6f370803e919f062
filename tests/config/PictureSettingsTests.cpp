// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureSettings.h"

#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

class PictureSettings : public testing::Test {
  protected:
    QString Write(const std::string& text) {
        QFile file(Path);
        file.open(QIODevice::WriteOnly);
        file.write(text.data(), qint64(text.size()));
        return Path;
    }
    QTemporaryDir Dir;
    QString Path = Dir.filePath("Tessimap.ini");
};

TEST_F(PictureSettings, ColorDepthIsJudgedByItsLowByte) {
    for (const auto& [stored, depth] : {std::pair{264, 8}, {2, 24}, {32, 24}, {16, 16}, {1, 1}, {0, 24}})
        EXPECT_EQ(ColorDepthOf(stored), depth) << stored;
    Write("[Options]\nColorDepth=0x108\n");
    EXPECT_EQ(LoadPictureOptions(TIniFile(Path)).ColorDepth, 8);
}

TEST_F(PictureSettings, HarmfulValuesAreMendedAndStepsKeptAsStored) {
    Write("[Options]\nWidthPic=0\nHeightPic=-4\nStepX1=0\nStepY1=-3\nActualStep=7\nFillColor=-1\n"
          "TransparentColor=0x1FF0000\nUndoMemory=-5\nUndoDisk=-1\n[Font]\nFontColor=-1\nFontName=\n");
    const TIniFile ini(Path);
    const TPictureOptions o = LoadPictureOptions(ini);
    EXPECT_EQ(o.WidthPic, 1000);
    EXPECT_EQ(o.HeightPic, 1000);
    EXPECT_EQ(o.StepX1, 0);
    EXPECT_EQ(o.StepY1, -3);
    EXPECT_EQ(o.ActualStep, 7) << "the Step command makes it 1";
    EXPECT_EQ(o.FillColor, 0xFFFFFFu);
    EXPECT_EQ(o.TransparentColor, 0xFF0000u);
    EXPECT_NE(o.FillColor, clInvalid);
    EXPECT_EQ(o.UndoMemory, DefaultUndoMemory());
    EXPECT_TRUE(DefaultUndoMemory() > 0 && DefaultUndoMemory() <= 512);
    EXPECT_EQ(o.UndoDisk, 4096);
    EXPECT_EQ(LoadFontOptions(ini).FontColor, 0xFFFFFFu);
    EXPECT_EQ(LoadFontOptions(ini).FontName, "") << "an empty value is not the default";
}

TEST_F(PictureSettings, FontSizeOutsideOneTo999ReadsAsTheDefault) {
    for (const auto& [stored, size] :
         {std::pair{"0", 12}, {"-5", 12}, {"100000", 12}, {"1", 1}, {"999", 999}}) {
        Write(std::string("[Font]\nFontSize=") + stored + "\n");
        EXPECT_EQ(LoadFontOptions(TIniFile(Path)).FontSize, size) << stored;
    }
}

TEST_F(PictureSettings, SavedOptionsReadBackUnchanged) {
    TPictureOptions o;
    o.WidthPic = 640;
    o.HeightPic = 480;
    o.StepX2 = 16;
    o.StepY3 = 0;
    o.ActualStep = 3;
    o.BackgroundColor = RGB(1, 2, 3);
    o.TransparentColor = RGB(255, 0, 255);
    o.FillColor = RGB(9, 9, 9);
    o.ColorDepth = 8;
    o.Transparency = true;
    o.ExactColors = true;
    o.UndoMemory = 0;
    TFontOptions f;
    f.FontName = "Liberation Serif";
    f.FontSize = 20;
    f.FontStyleI = true;
    f.FontColor = RGB(0, 128, 0);
    {
        TIniFile ini(Path);
        SavePictureOptions(ini, o);
        SaveFontOptions(ini, f);
        ini.UpdateFile();
    }
    const TIniFile ini(Path);
    EXPECT_EQ(LoadPictureOptions(ini), o);
    EXPECT_EQ(LoadFontOptions(ini), f);
    // The newest key comes after the keys older files already have.
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_GT(text.indexOf("UndoMemory=0"), text.indexOf("ColorDepth="));
}

} // namespace
