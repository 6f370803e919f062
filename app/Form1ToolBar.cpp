// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar, the two bar toggles, the choice of buttons shown and the three colour buttons.

#include "Form1.h"
#include "ProgressPanel.h"

#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int kButtonSize = 24;

} // namespace

// Every button stands in its own place on the toolbar, so hiding one hides neither the menu item
// sharing its action nor its neighbours.
void TForm1::BuildToolBar() {
    ToolBar1 = addToolBar("Toolbar");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->toggleViewAction()->setVisible(false); // View > Toolbar > Visible does that
    int group = 0;
    for (const TCommand* command : ToolBarOrder()) {
        const TToolButton& button = command->Button;
        if (button.Group != group) {
            QAction* separator = ToolBar1->addSeparator();
            separator->setObjectName(QString("Separator%1ToolBut1").arg(button.Group));
            ToolBarSeparators[std::size_t(button.Group - 1)] = separator;
        }
        group = button.Group;
        auto* tool = new QToolButton(ToolBar1);
        tool->setObjectName(QString(button.ViewKey) + "ToolBut1");
        tool->setDefaultAction(this->*command->Action);
        tool->setAutoRaise(true);
        tool->setFixedSize(kButtonSize, kButtonSize);
        ToolButtons[std::size_t(button.Slot - 1)] = ToolBar1->addWidget(tool);
    }
    // Both bars start hidden; the settings turn them on through their toggles.
    ToolBar1->setVisible(false);
    VisibleToolBar1->setChecked(false);
}

void TForm1::BuildStatusBar() {
    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    // Of the width, the picture panel and the floating image's size and place take a third each,
    // the mouse panel two ninths and the zoom one ninth; the texts never widen them, so the
    // window can still shrink to a small picture.
    const int stretches[] = {3, 2, 3, 1};
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        StatusPanels[i] = new QLabel(this);
        StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i + 1));
        StatusPanels[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        StatusBar1->addWidget(StatusPanels[i], stretches[i]);
    }
    ProgressPanel_ = new TProgressPanel(StatusBar1);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setVisible(false);
    StatusBarM1->setChecked(false);
}

void TForm1::VisibleToolBar1Click() {
    // Set rather than inverted: a menu click has already turned the check mark over.
    const bool show = ToolBar1->isHidden();
    VisibleToolBar1->setChecked(show);
    ToolBar1->setVisible(show);
    LayOutBars();
}

void TForm1::StatusBarM1Click() {
    const bool show = StatusBar1->isHidden();
    StatusBarM1->setChecked(show);
    StatusBar1->setVisible(show);
    LayOutBars();
}

// The picture's view takes the room between the bars now shown, then the window fits a small
// picture again.
void TForm1::LayOutBars() {
    if (layout()) layout()->activate();
    FormResize();
}

void TForm1::ToolButCheck1Click() {
    ApplyToolbarChoices();
}

// A separator shows when the group after it has a visible button; the first group has none, so
// with all of it hidden the toolbar may begin with a separator.
void TForm1::ApplyToolbarChoices() {
    std::array<bool, 6> groupShown{};
    for (const TCommand* command : ToolBarOrder()) {
        const std::size_t slot = std::size_t(command->Button.Slot - 1);
        const bool shown = ToolButChecks[slot]->isChecked();
        ToolButtons[slot]->setVisible(shown);
        groupShown[std::size_t(command->Button.Group)] |= shown;
    }
    for (std::size_t i = 0; i < ToolBarSeparators.size(); ++i)
        ToolBarSeparators[i]->setVisible(groupShown[i + 1]);
}

void TForm1::UpdateColorSwatch(int slot, TColor color) {
    ImageList1.UpdateColorSwatch(slot, color);
}

// The dialog's title is the button's hint, the colour's name in the chosen language.
std::optional<TColor> TForm1::ChooseColorFor(const QAction* button, TColor initial) {
    return Document_->Modal().ChooseColor(button->toolTip().toStdString(), initial);
}

void TForm1::BackgroundColorToolBut1Click() {
    if (const auto color = ChooseColorFor(BackgroundColorToolBut1, Document_->Options().BackgroundColor))
        Document_->SetBackgroundColor(*color);
    UpdateColorSwatch(TImageList::BackgroundSwatch, Document_->Options().BackgroundColor);
}

void TForm1::TransparentColorToolBut1Click() {
    if (const auto color = ChooseColorFor(TransparentColorToolBut1, Document_->Options().TransparentColor))
        Document_->SetTransparentColor(*color);
    UpdateColorSwatch(TImageList::TransparentSwatch, Document_->Options().TransparentColor);
}

void TForm1::FillColorToolBut1Click() {
    if (const auto color = ChooseColorFor(FillColorToolBut1, Document_->Options().FillColor))
        Document_->SetFillColor(*color);
    UpdateColorSwatch(TImageList::FillSwatch, Document_->Options().FillColor);
}
