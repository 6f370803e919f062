#pragma once

#include "Form1.h"
#include "ImageControls.h"
#include "ScriptedModal.h"

#include <QEvent>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// A shown main window with a scripted modal interface, started like the program starts it.
class ShellTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    void UsePicture(int width, int height); // the New command with that size
    // A key pressed on whatever widget of the window has the focus.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Click(QWidget* widget, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Drag(QWidget* widget, QPoint from, QPoint to);
    // Puts an image on the system clipboard, lets the refresh see it and pastes it with Ctrl+V.
    void Paste(const QImage& image);

    TPictureDocument& Document() { return Form->Document(); }

    TScriptedModal Modal;
    std::unique_ptr<TForm1> Form;
};

// Every pixel its own colour, never black, so a shift, a lost pixel or a frame shows.
TColor PatternColor(int x, int y);
QImage PatternImage(int width, int height);
testing::AssertionResult HoldsPattern(const TBitmap& bitmap, int left, int top, int width, int height);
