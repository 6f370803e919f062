// SPDX-License-Identifier: GPL-3.0-or-later
// Picture > Options (F8) and Picture > Insert Text (F11) from the main window, with the dialog
// driven as a user drives it while it runs modally.

#include "../app/ShellFixture.h"
#include "Form2.h"
#include "Form4.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

class DialogCommands : public ShellTest {
  protected:
    // Presses the key on the window and, once the dialog it opens runs, hands it to the user's steps.
    template <typename TDialog> void WithDialog(int key, std::function<void(TDialog&)> steps) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<TDialog*>(QApplication::activeModalWidget());
            if (dialog && QTest::qWaitFor([&] {
                    return QApplication::focusWidget() && QApplication::focusWidget()->window() == dialog;
                })) {
                ran = true;
                steps(*dialog);
            }
            if (QApplication::activeModalWidget()) QApplication::activeModalWidget()->close();
        });
        Press(key);
        EXPECT_TRUE(ran);
    }
};

TEST_F(DialogCommands, F8StampsTheFloatingImageThenOpensTheOptionsOnTheWidth) {
    UsePicture(300, 300);
    Paste(PatternImage(8, 8));
    ASSERT_TRUE(Document().Floating().Active);
    WithDialog<TForm2>(Qt::Key_F8, [&](TForm2& f) {
        EXPECT_FALSE(Document().Floating().Active);
        EXPECT_EQ(QApplication::focusWidget(), f.EWidth);
        QTest::keyClick(f.EWidth, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(f.EWidth, "512");
        QTest::keyClick(f.EWidth, Qt::Key_Return);
    });
    EXPECT_EQ(std::pair(Document().Picture().Width(), Document().Options().WidthPic), std::pair(512, 512));
    EXPECT_TRUE(HoldsPattern(Document().Picture(), 0, 0, 8, 8));
    EXPECT_TRUE(Named(Form, "Setting1")->isEnabled() && Named(Form, "InsertText1")->isEnabled());
}

TEST_F(DialogCommands, F11InsertsTheTypedTextAsTheFloatingImageAtThePicturesDepth) {
    UsePicture(300, 300);
    Document().SetColorDepth(8);
    WithDialog<TForm4>(Qt::Key_F11, [&](TForm4& f) {
        QTest::keyClicks(f.Memo1, "Map");
        QTest::mouseClick(f.InsertBut, Qt::LeftButton);
    });
    ASSERT_TRUE(Document().Floating().Active);
    EXPECT_EQ(Document().Floating().Bitmap.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(),
              QSize(Document().Floating().Bitmap.Width(), Document().Floating().Bitmap.Height()));
}

} // namespace
