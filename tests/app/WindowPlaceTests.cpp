// SPDX-License-Identifier: GPL-3.0-or-later
// The window's place and size across starts, on a screen larger than any stored window.

#include "ShellFixture.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

class WindowPlace : public ShellTest {
  protected:
    void SetUp() override { ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(2560, 1600)); }
    void StartWith(const std::string& text) {
        WriteFileBytes(AppFolder.File("Tessimap.ini"), std::vector<std::uint8_t>(text.begin(), text.end()));
        StartWindow();
    }
};

// Neither the picture the window is made with, nor the bars shown one after the other, nor the
// larger picture the settings ask for may change the stored rectangle; and what is written is
// what is applied, so it holds over any number of starts.
TEST_F(WindowPlace, AStoredWindowComesBackUnchangedOverFiveStarts) {
    StartWith(
        "[Window]\nLeft=40\nTop=60\nWidth=1600\nHeight=1000\n[Options]\nWidthPic=2000\nHeightPic=1500\n");
    for (int start = 1; start <= 5; ++start) {
        SCOPED_TRACE(start);
        EXPECT_EQ(Form->geometry(), QRect(40, 60, 1600, 1000));
        EXPECT_EQ(Document().Picture().Width(), 2000);
        ASSERT_TRUE(Form->close());
        Form.reset();
        StartWindow();
    }
}

TEST_F(WindowPlace, AWindowWhoseTitleBarWouldBeAboveTheScreenIsCentred) {
    StartWith("[Window]\nLeft=100\nTop=-5\nWidth=700\nHeight=500\n");
    EXPECT_EQ(Form->geometry(), QRect((2560 - 700) / 2, (1600 - 500) / 2, 700, 500));
}

} // namespace
