// SPDX-License-Identifier: GPL-3.0-or-later
// Files dropped on the window, delivered as the desktop delivers them: to the window's surface,
// which finds the widget under the point.

#include "BmpFile.h"
#include "ShellFixture.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QUrl>

namespace {

class DropTest : public ShellTest {
  protected:
    void Drop(const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        const QPoint at = Form->centralWidget()->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form->windowHandle(), &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form->windowHandle(), &drop);
        QApplication::processEvents();
    }
    TTempFolder Folder;
};

TEST_F(DropTest, ADroppedPictureOpensAfterTheSaveQuestionAndAnUnreadableOneGivesItsError) {
    TBitmap picture(5, 3);
    picture.SetPixel(4, 2, RGB(9, 9, 9));
    SaveBitmapToFile(picture, Folder.File("dropped.bmp"));
    MarkModified(Document());
    Modal.Answers = {false};
    Drop(Folder.File("dropped.bmp"));
    EXPECT_EQ(Modal.Shown, std::vector<std::string>{"Warning|Save changes?"});
    EXPECT_EQ(Document().CurrentFile(), Folder.File("dropped.bmp"));
    EXPECT_EQ(Document().Picture().Pixel(4, 2), RGB(9, 9, 9));

    WriteFileBytes(Folder.File("notes.txt"), {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'});
    Drop(Folder.File("notes.txt"));
    EXPECT_EQ(Modal.Errors.size(), 1u);
    EXPECT_EQ(Document().CurrentFile(), Folder.File("dropped.bmp"));
}

} // namespace
