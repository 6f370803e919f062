// SPDX-License-Identifier: GPL-3.0-or-later
// The Tile Sheets panel and the stamp brush, driven with the mouse and keys as a user drives them.

#include "ShellFixture.h"

#include "BmpFile.h"
#include "TileSheetView.h"

#include <QDockWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <filesystem>

namespace {

constexpr int Tile = 16;

// Every pixel of every 16 x 16 tile its own colour, so a wrong tile or a shifted one shows.
TColor SheetColor(int x, int y) {
    return RGB(std::uint8_t(10 + 3 * x), std::uint8_t(20 + 7 * y),
               std::uint8_t(x / Tile * 60 + y / Tile * 30));
}

class TileSheets : public ShellTest {
  protected:
    // A 64 x 32 sheet of 4 x 2 tiles, written as a real file.
    std::string WriteSheet(const std::string& name) {
        TBitmap sheet(4 * Tile, 2 * Tile);
        for (int y = 0; y < sheet.Height(); ++y)
            for (int x = 0; x < sheet.Width(); ++x)
                sheet.SetPixel(x, y, SheetColor(x, y));
        const std::string path = AppFolder.File(name);
        SaveBitmapToFile(sheet, path);
        return path;
    }
    void AddSheet(const std::string& path) {
        if (!Named<QDockWidget>(Form, "TileSheetPanel")->isVisible()) Press(Qt::Key_F9);
        Modal.FileChoices.push_back(path);
        QTest::mouseClick(Named<QPushButton>(Form, "AddSheetBut"), Qt::LeftButton);
    }
    TTileSheetView* Sheet() { return Named<TTileSheetView>(Form, "TileSheetView"); }
    QWidget* Image1() { return Named<TPictureControl>(Form, "Image1"); }
    // The pointer comes over the picture, then clicks, as a hand moves a mouse: the event goes to
    // whichever control is on top at that point.
    void ClickMap(QPoint at) {
        QWidget* target = Image1()->childAt(at) ? Image1()->childAt(at) : Image1();
        const QPoint local = target->mapFrom(Image1(), at);
        Mouse(target, QEvent::MouseMove, local, Qt::NoButton);
        Click(target, local);
    }
    // Whether the picture holds sheet tile (column, row) with its top-left corner at (x, y).
    testing::AssertionResult HoldsTile(const TBitmap& picture, int x, int y, int column = 1, int row = 0) {
        for (int ty = 0; ty < Tile; ++ty)
            for (int tx = 0; tx < Tile; ++tx)
                if (picture.Pixel(x + tx, y + ty) != SheetColor(column * Tile + tx, row * Tile + ty))
                    return testing::AssertionFailure() << "(" << x + tx << ", " << y + ty << ")";
        return testing::AssertionSuccess();
    }
    // Pixels that are not the background.
    int Painted(const TBitmap& picture) {
        const TColor background = Document().Options().BackgroundColor;
        int count = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                count += picture.Pixel(x, y) != background;
        return count;
    }
};

TEST_F(TileSheets, PickedTileIsStampedWhereTheMapIsClickedAtAnyZoom) {
    UsePicture(256, 256);
    SetSteps(Document(), Tile, Tile);
    AddSheet(WriteSheet("terrain.bmp"));
    Click(Sheet(), QPoint(Tile + 5, 5)); // tile (1, 0)
    Press(Qt::Key_B);
    ASSERT_TRUE(Named(Form, "StampBrush1")->isChecked());

    for (const QPoint at : {QPoint(20, 40), QPoint(100, 20), QPoint(200, 200)})
        ClickMap(at);
    Named(Form, "Zoom25")->trigger();
    for (const QPoint at : {QPoint(13, 1), QPoint(30, 50), QPoint(60, 10)})
        ClickMap(at);
    EXPECT_TRUE(Document().Floating().Active); // the brush keeps its image

    Press(Qt::Key_Escape);
    EXPECT_FALSE(Document().Floating().Active);
    Modal.FileChoices.push_back(AppFolder.File("map.bmp"));
    Press(Qt::Key_S, Qt::ControlModifier);
    const TBitmap saved = LoadBitmapFromFile(AppFolder.File("map.bmp"));
    const QPoint cells[] = {{16, 32}, {96, 16}, {192, 192}, {48, 0}, {112, 192}, {240, 32}};
    for (const QPoint cell : cells)
        EXPECT_TRUE(HoldsTile(saved, cell.x(), cell.y())) << cell.x() << ", " << cell.y();
    EXPECT_EQ(Painted(saved), 6 * Tile * Tile);

    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Painted(Document().Picture()), 5 * Tile * Tile);
    EXPECT_TRUE(HoldsTile(Document().Picture(), 112, 192));
}

TEST_F(TileSheets, ADragStampsOnceInEveryCellItPassesAsOneStep) {
    UsePicture(256, 256);
    SetSteps(Document(), Tile, Tile);
    AddSheet(WriteSheet("terrain.bmp"));
    Click(Sheet(), QPoint(Tile + 5, 5));
    Press(Qt::Key_B);
    const std::size_t steps = Document().History().UndoCount();
    Mouse(Image1(), QEvent::MouseMove, QPoint(8, 232), Qt::NoButton);
    Mouse(Image1(), QEvent::MouseButtonPress, QPoint(8, 232), Qt::LeftButton);
    for (const int x : {30, 50, 72})
        Mouse(Image1(), QEvent::MouseMove, QPoint(x, 236), Qt::LeftButton);
    Mouse(Image1(), QEvent::MouseButtonRelease, QPoint(72, 236), Qt::NoButton);
    for (int cell = 0; cell < 5; ++cell)
        EXPECT_TRUE(HoldsTile(Document().Picture(), cell * Tile, 224)) << cell;
    EXPECT_EQ(Painted(Document().Picture()), 5 * Tile * Tile);
    EXPECT_EQ(Document().History().UndoCount(), steps + 1);
}

// The drag runs from tile (0, 0) to tile (1, 1); the block floats as one 32 x 32 image.
TEST_F(TileSheets, DragOverTwoByTwoCellsPicksOneSquareImage) {
    SetSteps(Document(), Tile, Tile);
    AddSheet(WriteSheet("terrain.bmp"));
    Drag(Sheet(), QPoint(3, 3), QPoint(Tile + 3, Tile + 3));
    ASSERT_TRUE(Document().Floating().Active);
    const TBitmap block = Document().CopyFloating().Bitmap();
    ASSERT_EQ(std::pair(block.Width(), block.Height()), std::pair(2 * Tile, 2 * Tile));
    for (const QPoint cell : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
        EXPECT_TRUE(HoldsTile(block, cell.x() * Tile, cell.y() * Tile, cell.x(), cell.y()));
}

// Letters typed into the panel's number fields are theirs; on the picture Z turns the image.
TEST_F(TileSheets, SingleLetterKeysDoNotFireInTheNumberFields) {
    AddSheet(WriteSheet("terrain.bmp"));
    Paste(PatternImage(10, 20));
    Named<QSpinBox>(Form, "TileWidthEdit")->setFocus();
    Press(Qt::Key_Z);
    Press(Qt::Key_B);
    EXPECT_EQ(Document().Floating().Width, 10);
    EXPECT_FALSE(Named(Form, "StampBrush1")->isChecked());
    Named<QScrollArea>(Form, "ScrollBox1")->setFocus();
    Press(Qt::Key_Z);
    EXPECT_EQ(Document().Floating().Width, 20);
}

// The grids, the chosen tab, the panel and the brush survive a restart; a sheet whose file has
// gone is dropped without a word.
TEST_F(TileSheets, SheetsSurviveARestartAndAMissingOneIsDropped) {
    const std::string gone = WriteSheet("gone.bmp");
    AddSheet(gone);
    AddSheet(WriteSheet("kept.bmp"));
    QSpinBox* width = Named<QSpinBox>(Form, "TileWidthEdit");
    width->selectAll();
    QTest::keyClicks(width, "32");
    QTest::keyClick(width, Qt::Key_Tab);
    AddSheet(WriteSheet("last.bmp"));
    Named<QTabWidget>(Form, "SheetTabs")->setCurrentIndex(1);
    Named<QScrollArea>(Form, "ScrollBox1")->setFocus();
    Press(Qt::Key_B);
    Form->close();
    std::filesystem::remove(gone);

    StartWindow();
    auto* tabs = Named<QTabWidget>(Form, "SheetTabs");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "kept.bmp");
    EXPECT_EQ(Named<QSpinBox>(Form, "TileWidthEdit")->value(), 32);
    EXPECT_TRUE(Named<QDockWidget>(Form, "TileSheetPanel")->isVisible());
    EXPECT_TRUE(Named(Form, "StampBrush1")->isChecked());
    EXPECT_TRUE(Modal.Errors.empty());
}

} // namespace
