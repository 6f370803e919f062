// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandTable.h"
#include "DocumentTestHelpers.h"
#include "Form1.h"
#include "ImageControls.h"
#include "ScriptedModal.h"
#include "picture/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

// The window's parts, found by object name as an automation tool finds them.
template <typename T = QAction> T* Named(const std::unique_ptr<TForm1>& form, const QString& name) {
    T* part = form->findChild<T*>(name);
    EXPECT_NE(part, nullptr) << "no part named " << name.toStdString();
    return part;
}

// The window's 50 ms refresh, run now.
inline void Refresh(const std::unique_ptr<TForm1>& form) {
    QMetaObject::invokeMethod(Named<QTimer>(form, "Timer1"), "timeout");
}

// By toolbar slot (1 to 18): the View > Toolbar check item and the button; the separator before
// group n (1 to 5).
inline QAction* ToolButCheck(const std::unique_ptr<TForm1>& form, int slot) {
    return Named(form, ToolBarOrder()[std::size_t(slot - 1)]->Button.CheckName);
}
inline QToolButton* ToolBut(const std::unique_ptr<TForm1>& form, int slot) {
    return Named<QToolButton>(form,
                              QString(ToolBarOrder()[std::size_t(slot - 1)]->Button.ViewKey) + "ToolBut1");
}
inline QAction* ToolBarSeparator(const std::unique_ptr<TForm1>& form, int n) {
    return Named(form, QString("Separator%1ToolBut1").arg(n));
}

// A shown main window with a scripted modal interface, started like the program starts it.
class ShellTest : public testing::Test {
  protected:
    void SetUp() override { StartWindow(); }
    // A new window on the test's folder, shown: it reads the settings file found there.
    void StartWindow() {
        QGuiApplication::clipboard()->clear();
        Form = std::make_unique<TForm1>(
            Modal, TAppPaths(QString::fromStdString(AppFolder.Path().string()), QString(), QString()));
        Form->show();
        Form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    void TearDown() override {
        if (Form) ForgetChanges(Document()); // nothing to ask about when the test's window goes
        Form.reset();
    }

    void UsePicture(int width, int height) { // the New command with that size
        SetNewPictureSize(Document(), width, height);
        Named(Form, "Newpicture1")->trigger();
        QApplication::processEvents();
    }
    // A key pressed on whatever widget of the window has the focus.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Form.get();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }
    // Press and release report the left button as the one that changed; a move reports the held ones.
    void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons, modifiers);
        QApplication::sendEvent(widget, &event);
    }
    void Click(QWidget* widget, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Mouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
        Mouse(widget, QEvent::MouseButtonRelease, at, Qt::NoButton, modifiers);
    }
    void Drag(QWidget* widget, QPoint from, QPoint to) {
        Mouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        Mouse(widget, QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    // Puts an image on the system clipboard, lets the refresh see it and pastes it with Ctrl+V.
    void Paste(const QImage& image) {
        QGuiApplication::clipboard()->setImage(image);
        QApplication::processEvents();
        Refresh(Form);
        Press(Qt::Key_V, Qt::ControlModifier);
    }

    TPictureDocument& Document() { return Form->Document(); }

    TTempFolder AppFolder;
    TScriptedModal Modal;
    std::unique_ptr<TForm1> Form;
};

// Every pixel its own colour, never black, so a shift, a lost pixel or a frame shows.
inline TColor PatternColor(int x, int y) {
    return RGB(std::uint8_t(40 + 13 * x), std::uint8_t(30 + 11 * y), 200);
}

inline QImage PatternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 + 13 * x, 30 + 11 * y, 200));
    return image;
}

// Whether the bitmap from (left, top) holds the pattern's part from (fromX, fromY).
inline testing::AssertionResult HoldsPattern(const TBitmap& bitmap, int left, int top, int width, int height,
                                             int fromX = 0, int fromY = 0) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (bitmap.Pixel(left + x, top + y) != PatternColor(fromX + x, fromY + y))
                return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                   << bitmap.Pixel(left + x, top + y);
    return testing::AssertionSuccess();
}
