// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

class QAction;
class QMenu;
class TForm1;

// Where a command's menu item stands. The recent-files entries come between File and FileEnd;
// ToolBarMenu is the View > Toolbar submenu.
enum class TMenuPlace { None, File, FileEnd, Edit, View, ToolBarMenu, Picture, Help };

// A command's toolbar button and the View > Toolbar check item that shows or hides it.
struct TToolButton {
    int Slot = 0;                    // 1 to 18, the button's place on the toolbar; 0: no button
    int Group = 0;                   // 0 to 5; a separator stands before every group but the first
    const char* CheckName = nullptr; // the check item's object name
    const char* ViewKey = nullptr;   // its key in the settings file's View section
    bool ShownByDefault = true;
    const char* HintKey = nullptr; // language key of the button's hint and the check item's text
    const char* HintText = nullptr;
};

// One command of the main window: its action, its texts, its place in the menus and on the
// toolbar, and the handler every way of running it goes through.
struct TCommand {
    QAction* TForm1::*Action = nullptr;
    const char* Name = nullptr; // the action's object name, the member's name
    const char* Key = nullptr;  // language key of the caption
    const char* Text = nullptr; // the English caption
    const char* Shortcut = nullptr;
    int Image = -1;                      // image list slot, -1 for none
    void (TForm1::*Handler)() = nullptr; // nullptr: the command is not available yet
    TMenuPlace Place = TMenuPlace::None;
    bool SeparatorBefore = false;
    bool Checkable = false;
    TToolButton Button{};
};

// The commands in menu order.
std::span<const TCommand> Commands();
// The commands with a toolbar button, in the toolbar's order.
std::vector<const TCommand*> ToolBarOrder();

// A menu of the menu bar, or the View > Toolbar submenu, with its caption.
struct TMenuTitle {
    QMenu* TForm1::*Menu = nullptr;
    const char* Name = nullptr;
    const char* Key = nullptr; // language key of the caption
    const char* Text = nullptr;
};

// The menus with a language key, in the menu bar's order (the Toolbar submenu after View).
std::span<const TMenuTitle> MenuTitles();
