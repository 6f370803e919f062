// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DocumentTestHelpers.h"
#include "LanguageTexts.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <memory>

// A document and a dialog over it, shown offscreen and driven with real events.
template <typename TDialog> class TDialogTest : public TDocumentTest {
  protected:
    void TearDown() override { Dialog.reset(); }

    template <typename... TArgs> TDialog& Open(TArgs&&... args) {
        Dialog = std::make_unique<TDialog>(D, std::forward<TArgs>(args)...);
        Dialog->show();
        Dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Dialog.get()));
        return *Dialog;
    }
    // Replaces an edit's text as a user does: select all, then type.
    static void Retype(QWidget* edit, const QString& text) {
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        if (!text.isEmpty()) QTest::keyClicks(edit, text);
    }
    static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }

    TLanguageTexts Texts;
    std::unique_ptr<TDialog> Dialog;
};
