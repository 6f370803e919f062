// SPDX-License-Identifier: GPL-3.0-or-later
// The one guard around every handler: real key, mouse and timer events whose handlers fail
// show the error, leave the document as it was, and the window carries on.

#include "Errors.h"
#include "MemoryGuard.h"
#include "ShellFixture.h"

#include <QTimer>

#include <functional>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

const std::string OutOfMemoryBox = "Warning|Out of memory, picture is too large!";

class Guard : public ShellTest {
  protected:
    // Runs the gesture with its allocations refused from the first on, then from the second,
    // and so on until it succeeds. After every refusal exactly the out-of-memory box was shown
    // and the picture, undo area, floating image and Modified are as they were; returns how
    // many refusals there were.
    int RefuseEachAllocation(const std::function<void()>& gesture) {
        int refusals = 0;
        for (std::uint64_t allowed = 0;; ++allowed) {
#if defined(__SANITIZE_ADDRESS__)
            // Qt's event delivery is not written for exceptions: when a handler's error
            // unwinds through it to the guard, a few small objects of that event (and of the
            // events it posted) are left behind. The guard accepts that price for keeping the program and the
            // picture alive, so the leak checker is not asked to count them here.
            const __lsan::ScopedDisabler unwoundEventsLeak;
#endif
            Modal.Shown.clear();
            const TBitmap picture = Document().Picture();
            const std::size_t steps = Document().History().UndoCount();
            const bool floating = Document().Floating().Active, modified = Document().Modified();
            const TBitmap floatingImage = floating ? Document().CopyFloating().Bitmap() : TBitmap();
            bool refused = false;
            {
                const TForcedOutOfMemory forced(allowed);
                gesture();
                refused = MemoryGuardHook::Requests() > allowed;
            }
            QApplication::processEvents();
            if (!refused) return refusals;
            ++refusals;
            SCOPED_TRACE("allocation " + std::to_string(allowed + 1) + " refused");
            EXPECT_EQ(Modal.Shown, std::vector<std::string>{OutOfMemoryBox});
            EXPECT_TRUE(Form->isVisible());
            EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass stayed";
            EXPECT_EQ(Document().Picture().PixelBuffer(), picture.PixelBuffer());
            EXPECT_EQ(Document().History().UndoCount(), steps);
            EXPECT_EQ(Document().Floating().Active, floating);
            EXPECT_EQ(Document().Modified(), modified);
            if (floating) {
                EXPECT_EQ(Document().CopyFloating().Bitmap().PixelBuffer(), floatingImage.PixelBuffer());
            }
        }
    }

    // A picture with a stamp behind it, so that there is a history to keep.
    void PictureWithUndo() {
        UsePicture(64, 48);
        Paste(PatternImage(10, 8));
        Press(Qt::Key_Return);
        ForgetChanges(Document());
    }
};

TEST_F(Guard, LiftOnMouseReleaseAndSelectAllThatRunOutOfMemoryLiftNothing) {
    PictureWithUndo();
    EXPECT_GT(RefuseEachAllocation([&] {
                  Mouse(Named<TPictureControl>(Form, "Image1"), QEvent::MouseButtonPress, QPoint(3, 4),
                        Qt::LeftButton);
                  Mouse(Named<TPictureControl>(Form, "Image1"), QEvent::MouseMove, QPoint(30, 20),
                        Qt::LeftButton);
                  Mouse(Named<TPictureControl>(Form, "Image1"), QEvent::MouseButtonRelease, QPoint(30, 20),
                        Qt::NoButton);
              }),
              2);
    ASSERT_TRUE(Document().Floating().Active) << "once memory is there the lift works";
    Named(Form, "Undo1")->trigger();
    ASSERT_FALSE(Document().Floating().Active);

    EXPECT_GT(RefuseEachAllocation([&] { Press(Qt::Key_A, Qt::ControlModifier); }), 2);
    EXPECT_TRUE(Document().Floating().Active);
}

TEST_F(Guard, PasteAndCopyThatRunOutOfMemoryChangeNothing) {
    PictureWithUndo();
    QGuiApplication::clipboard()->setImage(PatternImage(12, 6).convertToFormat(QImage::Format_RGB16));
    Refresh(Form);
    EXPECT_GT(RefuseEachAllocation([&] { Press(Qt::Key_V, Qt::ControlModifier); }), 0);
    ASSERT_TRUE(Document().Floating().Active);

    QGuiApplication::clipboard()->clear();
    Refresh(Form);
    EXPECT_GT(RefuseEachAllocation([&] { Press(Qt::Key_C, Qt::ControlModifier); }), 0);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
}

// A plain std::bad_alloc, as the colour matcher's table raises it, shows the same box.
TEST_F(Guard, StampIntoAPictureWithItsOwnColourTableThatRunsOutOfMemory) {
    UsePicture(64, 48);
    ASSERT_TRUE(Document().SetColorDepth(8));
    std::vector<TRGBQuad> table;
    for (int i = 0; i < 256; ++i)
        table.push_back(TRGBQuad{std::uint8_t(i), std::uint8_t(i / 2), std::uint8_t(255 - i), 0});
    EditPicture(Document(), [&](TBitmap& p) { p.SetColorTable(table); });
    Paste(PatternImage(10, 8));
    EXPECT_GT(RefuseEachAllocation([&] { Press(Qt::Key_Return); }), 0);
    EXPECT_FALSE(Document().Floating().Active);
}

// Any other error from the picture layer, from a timer or any other handler, shows its message.
TEST_F(Guard, AnErrorFromATimerShowsItsMessageAndTheWindowRunsOn) {
    QTimer::singleShot(0, Form.get(), [] { throw EWriteError(); });
    QTest::qWait(20);
    EXPECT_EQ(Modal.Errors, std::vector<std::string>{"Stream write error"});
    Paste(PatternImage(4, 4));
    EXPECT_TRUE(Document().Floating().Active);
}

} // namespace
