// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export Tile Map from the window: the dialog driven from the keyboard writes the same
// files, byte for byte, as tessimap-export does for the same picture and choices.

#include "../app/ShellFixture.h"
#include "BmpFile.h"
#include "TileMapDialog.h"

#include <QCheckBox>
#include <QSpinBox>

#include <cstdlib>
#include <filesystem>

namespace {

class TileMapCommand : public ShellTest {};

TEST_F(TileMapCommand, TheDialogWritesTheSameFilesAsTheCommandLine) {
    // Cells of 16 x 16: a tile, its mirror image and cells of the transparent colour.
    TBitmap picture(48, 32, TPixelFormat::pf24bit);
    const TColor magenta = RGB(255, 0, 255);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x) {
            const int cell = x / 16 + 3 * (y / 16), u = x % 16, v = y % 16;
            picture.SetPixel(x, y,
                             cell == 1 || cell == 5 ? magenta
                             : cell % 2 == 0        ? RGB(u * 15, v * 15, 7)
                                                    : RGB((15 - u) * 15, v * 15, 7));
        }
    TTempFolder editor, command;
    SaveBitmapToFile(picture, editor.File("level.bmp"));
    SaveBitmapToFile(picture, command.File("level.bmp"));
    ASSERT_TRUE(Document().OpenPictureFile(editor.File("level.bmp")));
    Document().SetTransparentColor(magenta);
    Refresh(Form);

    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TTileMapDialog*>(QApplication::activeModalWidget());
        if (dialog && QTest::qWaitFor([&] { return QApplication::focusWidget() == dialog->TileWidth; })) {
            ran = true;
            EXPECT_EQ(std::pair(dialog->TileWidth->value(), dialog->TileHeight->value()),
                      std::pair(Document().StepX(), Document().StepY()));
            EXPECT_FALSE(dialog->Flips->isChecked() || dialog->Empty->isChecked());
            EXPECT_EQ(dialog->windowTitle(), "Export Tile Map");
            QTest::keyClicks(dialog->TileWidth, "16");
            Press(Qt::Key_Tab);
            QTest::keyClick(dialog->TileHeight, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(dialog->TileHeight, "16");
            for (int i = 0; i < 2; ++i) {
                Press(Qt::Key_Tab);
                Press(Qt::Key_Space);
            }
            EXPECT_TRUE(dialog->Flips->isChecked() && dialog->Empty->isChecked());
            Press(Qt::Key_Return);
        }
        if (QApplication::activeModalWidget()) QApplication::activeModalWidget()->close();
    });
    Named(Form, "ExportTileMap1")->trigger();
    ASSERT_TRUE(ran);
    ASSERT_FALSE(Modal.Notices.empty());
    EXPECT_NE(Modal.Notices.back().find("6 cells, 1 distinct tiles, 256 colors"), std::string::npos)
        << Modal.Notices.back();

    const std::string run = std::string(TESSIMAP_EXPORT) +
                            " --tilemap 16x16 --flips --empty --transparent ff00ff '" +
                            command.File("level.bmp") + "' >/dev/null";
    ASSERT_EQ(std::system(run.c_str()), 0);
    for (const char* name : {"level-tiles.png", "level.tsx", "level.tmx", "level.tmj", "level.csv"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = ReadFileBytes(editor.File(name));
        EXPECT_FALSE(bytes.empty());
        EXPECT_EQ(bytes, ReadFileBytes(command.File(name)));
    }
}

} // namespace
