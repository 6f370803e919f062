// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QMenu;
class QMenuBar;

// Keyboard mnemonics made from the texts the menus show now, in whatever language: Alt+F opens
// File, and inside a menu a letter chooses an item. Texts are never taken from or written back to
// the language file; only the "&" the menu shows is placed.

// Gives the bar's titles and the items of every menu below it (submenus included) a mnemonic each,
// keeping a letter already marked where it is still free. Safe to run again whenever texts change:
// a second run changes nothing. A menu also places its items again just before it opens, so items
// whose texts change at run time (the recent files) need no call of their own.
void AssignMnemonics(QMenuBar* bar);

// One text per entry with one "&" each, so that no two entries share a key where the letters of
// their texts allow it. Letters A-Z and digits come before any other letter, which serves only
// when none of them is free; among them word-initial letters come first. Texts without a letter
// or digit stay as they are.
QStringList WithMnemonics(const QStringList& texts);

// The text as the user reads it: mnemonic marks removed, a literal "&&" kept.
QString WithoutMnemonic(const QString& text);
