#include "ShellFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QTest>

void ShellTest::SetUp() {
    QGuiApplication::clipboard()->clear();
    Form = std::make_unique<TForm1>(Modal);
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
}

void ShellTest::TearDown() {
    Document().Modified = false; // nothing to ask about when the test's window goes
    Form.reset();
}

void ShellTest::UsePicture(int width, int height) {
    Document().WidthPic = width;
    Document().HeightPic = height;
    Form->Newpicture1Click();
    QApplication::processEvents();
}

void ShellTest::Press(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Form.get();
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

// Press and release report the button that changed; a move reports the buttons held.
void ShellTest::Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers modifiers) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

void ShellTest::Click(QWidget* widget, QPoint at, Qt::KeyboardModifiers modifiers) {
    Mouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
    Mouse(widget, QEvent::MouseButtonRelease, at, Qt::NoButton, modifiers);
}

void ShellTest::Drag(QWidget* widget, QPoint from, QPoint to) {
    Mouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    Mouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    Mouse(widget, QEvent::MouseMove, to, Qt::LeftButton);
    Mouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void ShellTest::Paste(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
    QApplication::processEvents();
    Form->Timer1Timer();
    Press(Qt::Key_V, Qt::ControlModifier);
}

TColor PatternColor(int x, int y) { return RGB(std::uint8_t(40 + 13 * x), std::uint8_t(30 + 11 * y), 200); }

QImage PatternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 + 13 * x, 30 + 11 * y, 200));
    return image;
}

testing::AssertionResult HoldsPattern(const TBitmap& bitmap, int left, int top, int width, int height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (bitmap.Pixel(left + x, top + y) != PatternColor(x, y))
                return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                   << bitmap.Pixel(left + x, top + y);
    return testing::AssertionSuccess();
}
