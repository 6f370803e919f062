// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form2.h"

#include "DialogControls.h"
#include "EditFilters.h"
#include "LanguageTexts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int SizeLength = 5;  // up to 99999 pixels
constexpr int Step1Length = 3; // the first pair's steps go up to 999
constexpr int OffsetLength = 5;
constexpr int OffsetLimitX = 9999;
constexpr int OffsetLimitY = 99999;

// The list's entries by position, with the bits each stands for.
constexpr int DepthBits[] = {24, 16, 8, 4, 1};

QLineEdit* Edit(QWidget* parent, TEditFilter::TKind kind, int maxLength) {
    auto* edit = new QLineEdit(parent);
    TEditFilter::Install(edit, kind, maxLength);
    return edit;
}

QLineEdit* FreeEdit(QWidget* parent) {
    return new QLineEdit(parent);
}

// A label and its edit on one row of a group's grid.
QLabel* AddRow(QGridLayout* grid, int row, int column, QWidget* edit) {
    auto* label = new QLabel(grid->parentWidget());
    label->setBuddy(edit);
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1);
    return label;
}

} // namespace

TForm2::TForm2(TPictureDocument& document, const TLanguageTexts& texts, QWidget* parent)
    : QDialog(parent), Document_(document) {
    BuildControls();
    FormCreate(texts);
}

void TForm2::BuildControls() {
    GroupBox1 = new QGroupBox(this);
    auto* size = new QGridLayout(GroupBox1);
    EWidth = Edit(GroupBox1, TEditFilter::Digits, SizeLength);
    EHeight = Edit(GroupBox1, TEditFilter::Digits, SizeLength);
    Label1 = AddRow(size, 0, 0, EWidth);
    Label2 = AddRow(size, 1, 0, EHeight);

    GroupBox2 = new QGroupBox(this);
    auto* steps = new QGridLayout(GroupBox2);
    EStepX1 = Edit(GroupBox2, TEditFilter::Digits, Step1Length);
    EStepY1 = Edit(GroupBox2, TEditFilter::Digits, Step1Length);
    EStepX2 = FreeEdit(GroupBox2);
    EStepY2 = FreeEdit(GroupBox2);
    EStepX3 = FreeEdit(GroupBox2);
    EStepY3 = FreeEdit(GroupBox2);
    Label3 = AddRow(steps, 0, 0, EStepX1);
    Label4 = AddRow(steps, 0, 2, EStepY1);
    Label7 = AddRow(steps, 1, 0, EStepX2);
    Label8 = AddRow(steps, 1, 2, EStepY2);
    Label9 = AddRow(steps, 2, 0, EStepX3);
    Label10 = AddRow(steps, 2, 2, EStepY3);

    GroupBox4 = new QGroupBox(this);
    auto* offset = new QGridLayout(GroupBox4);
    EOffsetX = Edit(GroupBox4, TEditFilter::SignedDigits, OffsetLength);
    EOffsetY = Edit(GroupBox4, TEditFilter::SignedDigits, OffsetLength);
    UpDown1 = new TUpDown(GroupBox4);
    UpDown2 = new TUpDown(GroupBox4);
    Label5 = AddRow(offset, 0, 0, EOffsetX);
    Label6 = AddRow(offset, 1, 0, EOffsetY);
    offset->addWidget(UpDown1, 0, 2);
    offset->addWidget(UpDown2, 1, 2);
    UpDown1->OnChanging = [this](bool up) { UpDown1ChangingEx(up); };
    UpDown2->OnChanging = [this](bool up) { UpDown2ChangingEx(up); };
    EOffsetX->installEventFilter(this);
    EOffsetY->installEventFilter(this);

    GroupBox3 = new QGroupBox(this);
    auto* colors = new QHBoxLayout(GroupBox3);
    for (TColorPanel** panel : {&Panel1, &Panel2, &Panel3}) {
        *panel = new TColorPanel(TColorPanel::Click, GroupBox3);
        (*panel)->OnChoose = [this, p = *panel] { ChooseColor(p); };
        colors->addWidget(*panel);
    }

    GroupBox5 = new QGroupBox(this);
    auto* depth = new QVBoxLayout(GroupBox5);
    ComboBox1 = new QComboBox(GroupBox5);
    ComboBox1->setEditable(false);
    depth->addWidget(ComboBox1);

    OKBut = new QPushButton(this);
    CancelBut = new QPushButton(this);
    OKBut->setDefault(true);
    connect(OKBut, &QPushButton::clicked, this, [this] { OKButClick(); });
    connect(CancelBut, &QPushButton::clicked, this, [this] { CancelButClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBut);
    buttons->addWidget(CancelBut);

    auto* layout = new QGridLayout(this);
    layout->addWidget(GroupBox1, 0, 0);
    layout->addWidget(GroupBox4, 0, 1);
    layout->addWidget(GroupBox2, 1, 0, 2, 1);
    layout->addWidget(GroupBox3, 1, 1);
    layout->addWidget(GroupBox5, 2, 1);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm2::FormCreate(const TLanguageTexts& texts) {
    const TPictureOptions current = Document_.CurrentOptions().Options;
    Panel1->SetColor(current.BackgroundColor);
    Panel2->SetColor(current.TransparentColor);
    Panel3->SetColor(current.FillColor);
    const std::pair<QLineEdit*, int> values[] = {{EStepX1, current.StepX1},
                                                 {EStepY1, current.StepY1},
                                                 {EStepX2, current.StepX2},
                                                 {EStepY2, current.StepY2},
                                                 {EStepX3, current.StepX3},
                                                 {EStepY3, current.StepY3},
                                                 {EWidth, current.WidthPic},
                                                 {EHeight, current.HeightPic},
                                                 {EOffsetX, 0},
                                                 {EOffsetY, 0}};
    for (const auto& [edit, value] : values)
        TEditFilter::SetText(edit, QString::number(value));

    setWindowTitle(texts.Text("SetForm", "Setting"));
    const std::pair<QGroupBox*, std::pair<const char*, const char*>> groups[] = {
        {GroupBox1, {"Group1", "Resolution of picture"}},
        {GroupBox2, {"Group2", "Stepping of insert image"}},
        {GroupBox3, {"Group3", "Background color"}},
        {GroupBox4, {"Group6", "Offset"}},
        {GroupBox5, {"Group4", "Color depth"}}};
    for (const auto& [group, text] : groups)
        group->setTitle(" " + texts.Text(text.first, text.second) + " ");
    Panel1->setToolTip(texts.Text("Col1", "Background color"));
    Panel2->setToolTip(texts.Text("Col2", "Transparent color"));
    Panel3->setToolTip(texts.Text("Col3", "Fill color"));
    ComboBox1->addItems({texts.Text("Group5Item1", "24-bit color depth (16,7 million colors)"),
                         texts.Text("Group5Item2", "16-bit color depth (65536 colors)"),
                         texts.Text("Group5Item3", "8-bit color depth (256 colors)"),
                         texts.Text("Group5Item4", "4-bit color depth (16 colors)"),
                         texts.Text("Group5Item5", "1-bit color depth (2 colors)")});
    const std::pair<QLabel*, std::pair<const char*, const char*>> labels[] = {
        {Label1, {"LWidth", "Width"}},    {Label2, {"LHeight", "Height"}},  {Label3, {"LStepX1", "Step X1"}},
        {Label4, {"LStepY1", "Step Y1"}}, {Label7, {"LStepX2", "Step X2"}}, {Label8, {"LStepY2", "Step Y2"}},
        {Label9, {"LStepX3", "Step X3"}}, {Label10, {"LStepY3", "Step Y3"}}};
    for (const auto& [label, text] : labels)
        label->setText(texts.Text(text.first, text.second) + ":");
    Label5->setText("X:");
    Label6->setText("Y:");
    OKBut->setText(texts.Text("OKBut", "&OK"));
    CancelBut->setText(texts.Text("CancelBut", "&Cancel"));
    ShowCurrentColorDepth();
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    EWidth->setFocus(Qt::OtherFocusReason);
    EWidth->selectAll();
}

void TForm2::ShowCurrentColorDepth() {
    const int bits = Document_.Picture().BitsPerPixel();
    ComboBox1->setCurrentIndex(0);
    for (int index = 1; index < int(std::size(DepthBits)); ++index)
        if (DepthBits[index] == bits) ComboBox1->setCurrentIndex(index);
}

int TForm2::ColorDepthChoice() const {
    const int index = ComboBox1->currentIndex();
    return index > 0 && index < int(std::size(DepthBits)) ? DepthBits[index] : 24;
}

void TForm2::ChooseColor(TColorPanel* panel) {
    // The colour dialog is titled with the panel's hint, so it says which colour it chooses.
    const auto chosen = Document_.Modal().ChooseColor(panel->toolTip().toStdString(), panel->Color());
    if (chosen) panel->SetColor(*chosen);
}

// The offset edits step like the arrows beside them, so the offset is set from the keyboard too.
bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == EOffsetX || watched == EOffsetY)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            watched == EOffsetX ? UpDown1ChangingEx(key == Qt::Key_Up) : UpDown2ChangingEx(key == Qt::Key_Up);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::UpDown1ChangingEx(bool up) {
    StepOffset(EOffsetX, {EStepX1, EStepX2, EStepX3}, OffsetLimitX, up);
}

void TForm2::UpDown2ChangingEx(bool up) {
    StepOffset(EOffsetY, {EStepY1, EStepY2, EStepY3}, OffsetLimitY, up);
}

void TForm2::StepOffset(QLineEdit* offset, const std::array<QLineEdit*, 3>& steps, int limit, bool up) {
    const int pair = Document_.Options().ActualStep;
    QString stepText = steps[std::size_t(pair == 2 || pair == 3 ? pair - 1 : 0)]->text();
    if (stepText.isEmpty()) stepText = "0";
    if (offset->text().isEmpty() || offset->text() == "-") TEditFilter::SetText(offset, "0");
    const std::optional<int> step = IntegerOf(stepText);
    if (!step) {
        Document_.Modal().ShowError(InvalidIntegerText(stepText).toStdString());
        return;
    }
    const long long value = offset->text().toLongLong() + (up ? *step : -(long long)*step);
    if (value > limit || value < -limit) return;
    TEditFilter::SetText(offset, QString::number(value));
}

std::optional<TOptionsChange> TForm2::ReadOptions() {
    TOptionsChange change = Document_.CurrentOptions();
    TPictureOptions& o = change.Options;
    const std::pair<QLineEdit*, int*> steps[] = {{EStepX1, &o.StepX1}, {EStepY1, &o.StepY1},
                                                 {EStepX2, &o.StepX2}, {EStepY2, &o.StepY2},
                                                 {EStepX3, &o.StepX3}, {EStepY3, &o.StepY3}};
    for (const auto& [edit, step] : steps) {
        if (edit->text().isEmpty()) {
            *step = 1;
            continue;
        }
        const std::optional<int> value = IntegerOf(edit->text());
        if (!value) {
            Document_.Modal().ShowError(InvalidIntegerText(edit->text()).toStdString());
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            return std::nullopt;
        }
        *step = std::max(*value, 1);
    }
    o.BackgroundColor = Panel1->Color();
    o.TransparentColor = Panel2->Color();
    o.FillColor = Panel3->Color();
    o.ColorDepth = ColorDepthChoice();
    // The edits show the size that is applied: the smallest picture is 256 x 192.
    for (auto [edit, least, value] : {std::tuple{EWidth, MinPictureWidth, &o.WidthPic},
                                      std::tuple{EHeight, MinPictureHeight, &o.HeightPic}}) {
        if (edit->text().toInt() < least) TEditFilter::SetText(edit, QString::number(least));
        *value = edit->text().toInt();
    }
    for (auto [edit, value] : {std::pair{EOffsetX, &change.OffsetX}, std::pair{EOffsetY, &change.OffsetY}}) {
        if (edit->text().isEmpty() || edit->text() == "-") TEditFilter::SetText(edit, "0");
        *value = edit->text().toInt();
    }
    return change;
}

void TForm2::OKButClick() {
    const std::optional<TOptionsChange> change = ReadOptions();
    if (!change) return;
    Document_.ApplyOptions(*change);
    accept();
}

void TForm2::CancelButClick() {
    reject();
}
