// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form4.h"

#include "DialogControls.h"
#include "EditFilters.h"
#include "Errors.h"
#include "LanguageTexts.h"
#include "TextBlock.h"

#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int SizeLength = 3; // up to 999 points
constexpr int SizeOfNoNumber = 6;
const char* const Sizes[] = {"6",  "8",  "10", "12", "14", "16", "18", "20",
                             "22", "24", "26", "28", "36", "42", "72"};

// A size box text as a size: anything but a positive whole number counts as the smallest size.
int SizeOf(const QString& text) {
    const std::optional<int> value = IntegerOf(text);
    return value && *value > 0 ? *value : SizeOfNoNumber;
}

QToolButton* Toggle(QWidget* parent, const char* caption, void (QFont::*style)(bool),
                    const QKeySequence& key) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    QFont font = button->font();
    (font.*style)(true);
    button->setFont(font);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setShortcut(key);
    return button;
}

} // namespace

TForm4::TForm4(TPictureDocument& document, const TLanguageTexts& texts, std::function<void()> paste,
               QWidget* parent)
    : QDialog(parent), Document_(document), Font_(document.Font()), Paste_(std::move(paste)) {
    BuildControls();
    FormCreate(texts);
    FormShow();
}

void TForm4::BuildControls() {
    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMinimumContentsLength(16);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    TEditFilter::Install(ComboBox2->lineEdit(), TEditFilter::Digits, SizeLength);
    for (const char* size : Sizes)
        ComboBox2->addItem(size);
    Bold = Toggle(this, "B", &QFont::setBold, QKeySequence::Bold);
    Italic = Toggle(this, "I", &QFont::setItalic, QKeySequence::Italic);
    Underline = Toggle(this, "U", &QFont::setUnderline, QKeySequence::Underline);
    Panel1 = new TColorPanel(TColorPanel::DoubleClick, this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Memo1->setMinimumSize(420, 200);
    Memo1->viewport()->installEventFilter(this);
    InsertBut = new QPushButton(this);
    InsertBut->setAutoDefault(false);

    auto* choices = new QHBoxLayout;
    choices->addWidget(ComboBox1, 1);
    choices->addWidget(ComboBox2);
    for (QWidget* w : std::initializer_list<QWidget*>{Bold, Italic, Underline, Panel1})
        choices->addWidget(w);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(InsertBut);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
    QWidget* const order[] = {Memo1, ComboBox1, ComboBox2, Bold, Italic, Underline, Panel1, InsertBut};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TForm4::FormCreate(const TLanguageTexts& texts) {
    setWindowTitle(texts.Text("FontForm", "Inserting Text"));
    InsertBut->setText(texts.Text("FontInsertBut", "Insert"));
    Panel1->setToolTip(texts.Text("FontColorHint", "Text color"));
    BackgroundTitle_ = texts.Text("Col1", "Background color");
}

void TForm4::FormShow() {
    SetBackground(Document_.Options().TransparentColor);
    ComboBox1->addItems(QFontDatabase::families());
    // The stored name is shown even when no installed family has exactly that name: the font
    // system serves it with its nearest match.
    const int listed = ComboBox1->findText(QString::fromStdString(Font_.FontName), Qt::MatchFixedString);
    if (listed >= 0) ComboBox1->setCurrentIndex(listed);
    ComboBox1->setEditText(QString::fromStdString(Font_.FontName));
    TEditFilter::SetText(ComboBox2->lineEdit(), QString::number(Font_.FontSize));
    Bold->setChecked(Font_.FontStyleB);
    Italic->setChecked(Font_.FontStyleI);
    Underline->setChecked(Font_.FontStyleU);
    Panel1->SetColor(Font_.FontColor);
    // Connected only now, so showing the stored choices does not store them again.
    connect(ComboBox1, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { ComboBox1Change(t); });
    connect(ComboBox2, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { ComboBox2Change(t); });
    connect(Bold, &QToolButton::clicked, this, [this] { BoldClick(); });
    connect(Italic, &QToolButton::clicked, this, [this] { ItalicClick(); });
    connect(Underline, &QToolButton::clicked, this, [this] { UnderlineClick(); });
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { Memo1Change(); });
    connect(InsertBut, &QPushButton::clicked, this, [this] { InsertButClick(); });
    Panel1->OnChoose = [this] { Panel1DblClick(); };
    ApplyFontStyle();
    Memo1Change();
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Memo1->setFocus(Qt::OtherFocusReason);
}

// The preview shows the text exactly as it will be stamped.
void TForm4::ApplyFontStyle() {
    Memo1->setFont(TextFont(ComboBox1->currentText(), Font_.FontSize, Bold->isChecked(), Italic->isChecked(),
                            Underline->isChecked()));
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Text, QColorOf(Panel1->Color()));
    palette.setColor(QPalette::Base, QColorOf(Background_));
    Memo1->setPalette(palette);
}

void TForm4::SetBackground(TColor color) {
    Background_ = color;
    ApplyFontStyle();
}

void TForm4::ComboBox1Change(const QString& text) {
    // A name typed into the box is kept only once it names a listed family.
    const int listed = ComboBox1->findText(text, Qt::MatchFixedString);
    if (listed >= 0) Font_.FontName = ComboBox1->itemText(listed).toStdString();
    KeepFont();
    ApplyFontStyle();
}

void TForm4::ComboBox2Change(const QString& text) {
    Font_.FontSize = SizeOf(text);
    KeepFont();
    ApplyFontStyle();
}

void TForm4::BoldClick() {
    Font_.FontStyleB = Bold->isChecked();
    KeepFont();
    ApplyFontStyle();
}

void TForm4::ItalicClick() {
    Font_.FontStyleI = Italic->isChecked();
    KeepFont();
    ApplyFontStyle();
}

void TForm4::UnderlineClick() {
    Font_.FontStyleU = Underline->isChecked();
    KeepFont();
    ApplyFontStyle();
}

void TForm4::Panel1DblClick() {
    const auto chosen = Document_.Modal().ChooseColor(Panel1->toolTip().toStdString(), Panel1->Color());
    if (!chosen) return;
    Panel1->SetColor(*chosen);
    Font_.FontColor = *chosen;
    KeepFont();
    ApplyFontStyle();
}

// The background serves this insertion only; the next opening starts from the transparent colour.
void TForm4::Memo1DblClick() {
    if (const auto chosen = Document_.Modal().ChooseColor(BackgroundTitle_.toStdString(), Background_))
        SetBackground(*chosen);
}

void TForm4::Memo1Change() {
    InsertBut->setEnabled(!DisplayedLines().isEmpty());
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Memo1DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QStringList TForm4::DisplayedLines() const {
    QStringList lines;
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(Memo1->document()->documentLayout());
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next()) {
        if (layout) layout->ensureBlockLayout(block);
        const QTextLayout* text = block.layout();
        if (!text || text->lineCount() == 0) {
            lines.append(block.text());
            continue;
        }
        for (int i = 0; i < text->lineCount(); ++i)
            lines.append(block.text().mid(text->lineAt(i).textStart(), text->lineAt(i).textLength()));
    }
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void TForm4::InsertButClick() {
    const QString sizeText = ComboBox2->currentText();
    if (!IntegerOf(sizeText)) {
        Document_.Modal().ShowError(InvalidIntegerText(sizeText).toStdString());
        return;
    }
    const QFont font = TextFont(ComboBox1->currentText(), SizeOf(sizeText), Bold->isChecked(),
                                Italic->isChecked(), Underline->isChecked());
    QImage block;
    try {
        block = RenderTextBlock(DisplayedLines(), font, Panel1->Color(), Background_);
    } catch (const EOutOfMemory&) {
        Document_.Modal().ShowMessage(Document_.Texts().WarningTitle, Document_.Texts().OutOfMemoryText);
        return;
    }
    if (!block.isNull()) {
        QGuiApplication::clipboard()->setImage(block);
        if (Paste_) Paste_();
    }
    accept();
}

void TForm4::KeepFont() {
    Document_.SetFont(Font_);
}
