// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellFixture.h"

#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

class ToolBar : public ShellTest {
  protected:
    // Slots count from 1 in the toolbar's order.
    QAction* Check(int slot) { return ToolButCheck(Form, slot); }
    bool ButtonShown(int slot) {
        QApplication::processEvents(); // the toolbar lays out its buttons on the next turn
        QWidget* button = ToolBut(Form, slot);
        return button && button->isVisible();
    }
    bool SeparatorShown(int n) { return ToolBarSeparator(Form, n)->isVisible(); }
    // The toolbar's first item a user sees.
    QAction* FirstShown() {
        for (QAction* item : Named<QToolBar>(Form, "ToolBar1")->actions())
            if (item->isVisible()) return item;
        return nullptr;
    }
    static QColor SwatchColor(const QIcon& icon) { return icon.pixmap(16, 16).toImage().pixelColor(8, 8); }

    enum : int { NewBut = 1, OpenBut, SaveBut, ExitBut, CutBut, CopyBut, PasteBut, UndoBut, HelpBut = 18 };
};

// An automation tool finds each button and separator by its own name, in the toolbar's order.
TEST_F(ToolBar, ButtonsAndSeparatorsCarryTheirNamesInOrder) {
    QStringList names;
    auto* bar = Named<QToolBar>(Form, "ToolBar1");
    for (QAction* item : bar->actions())
        names << (item->isSeparator() ? item->objectName() : bar->widgetForAction(item)->objectName());
    EXPECT_EQ(names, (QStringList{"NewPictureToolBut1",
                                  "OpenPictureToolBut1",
                                  "SavePictureToolBut1",
                                  "ExitToolBut1",
                                  "Separator1ToolBut1",
                                  "CutToolBut1",
                                  "CopyToolBut1",
                                  "PasteToolBut1",
                                  "UndoToolBut1",
                                  "Separator2ToolBut1",
                                  "TransparentToolBut1",
                                  "InsertTextToolBut1",
                                  "SettingToolBut1",
                                  "Separator3ToolBut1",
                                  "BackgroundColorToolBut1",
                                  "TransparentColorToolBut1",
                                  "FillColorToolBut1",
                                  "Separator4ToolBut1",
                                  "Step1ToolBut1",
                                  "Step2ToolBut1",
                                  "Step3ToolBut1",
                                  "Separator5ToolBut1",
                                  "HelpToolBut1"}));
}

TEST_F(ToolBar, SeparatorShowsWhileItsGroupHasAButton) {
    for (int slot : {CutBut, CopyBut, PasteBut, UndoBut})
        Check(slot)->trigger();
    for (int slot : {CutBut, CopyBut, PasteBut, UndoBut})
        EXPECT_FALSE(ButtonShown(slot)) << slot;
    EXPECT_FALSE(SeparatorShown(1));
    EXPECT_TRUE(Named(Form, "Cut1")->isVisible()) << "the menu item stays";
    Check(PasteBut)->trigger();
    EXPECT_TRUE(ButtonShown(PasteBut));
    EXPECT_TRUE(SeparatorShown(1));

    EXPECT_FALSE(SeparatorShown(5)) << "Help starts hidden, and the separator before it";
    Check(HelpBut)->trigger();
    EXPECT_TRUE(ButtonShown(HelpBut));
    EXPECT_TRUE(SeparatorShown(5));
}

TEST_F(ToolBar, WithoutTheFileGroupTheToolbarStartsWithASeparator) {
    for (int slot : {NewBut, OpenBut, SaveBut})
        Check(slot)->trigger();
    ASSERT_FALSE(Check(ExitBut)->isChecked());
    ASSERT_NE(FirstShown(), nullptr);
    EXPECT_TRUE(FirstShown()->isSeparator());
    EXPECT_EQ(FirstShown(), ToolBarSeparator(Form, 1));
}

TEST_F(ToolBar, HidingTheToolbarKeepsTheButtonChoices) {
    Check(CutBut)->trigger();
    Named(Form, "VisibleToolBar1")->trigger();
    EXPECT_FALSE(Named<QToolBar>(Form, "ToolBar1")->isVisible());
    EXPECT_FALSE(Named(Form, "VisibleToolBar1")->isChecked());
    EXPECT_FALSE(Check(CutBut)->isChecked());
    Named(Form, "VisibleToolBar1")->trigger();
    EXPECT_TRUE(Named<QToolBar>(Form, "ToolBar1")->isVisible());
    EXPECT_TRUE(Named(Form, "VisibleToolBar1")->isChecked());
    EXPECT_FALSE(ButtonShown(CutBut));
    EXPECT_TRUE(ButtonShown(CopyBut));
}

TEST_F(ToolBar, ChosenFillColourRepaintsButtonAndCheckItemAndCancelKeepsIt) {
    Modal.ColorChoices = {RGB(255, 0, 0)};
    Named(Form, "FillColorToolBut1")->trigger();
    EXPECT_EQ(Modal.ColorPresets, std::vector<TColor>{clWhite});
    EXPECT_EQ(Document().Options().FillColor, RGB(255, 0, 0));
    EXPECT_EQ(SwatchColor(Named(Form, "FillColorToolBut1")->icon()), QColor(255, 0, 0));
    EXPECT_EQ(SwatchColor(Check(14)->icon()), QColor(255, 0, 0));
    const auto* button = qobject_cast<QToolButton*>(ToolBut(Form, 14));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(SwatchColor(button->icon()), QColor(255, 0, 0));

    Named(Form, "FillColorToolBut1")->trigger(); // cancelled
    EXPECT_EQ(Document().Options().FillColor, RGB(255, 0, 0));
}

// The background colour becomes the drawing colour; the transparent colour reaches a floating
// image at once.
TEST_F(ToolBar, ColourButtonsChangeTheDocument) {
    UsePicture(16, 16);
    Modal.ColorChoices = {RGB(0, 0, 255), RGB(0, 255, 0)};
    Named(Form, "BackgroundColorToolBut1")->trigger();
    Named(Form, "Clear1")->trigger();
    EXPECT_EQ(Document().Picture().Pixel(3, 3), RGB(0, 0, 255));
    EXPECT_EQ(SwatchColor(Check(12)->icon()), QColor(0, 0, 255));
    Paste(PatternImage(4, 4));
    ASSERT_TRUE(Document().Floating().Active);
    Named(Form, "TransparentColorToolBut1")->trigger();
    EXPECT_EQ(Document().Floating().Bitmap.TransparentColor, RGB(0, 255, 0));
}

} // namespace
