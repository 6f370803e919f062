// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBox.h"

#include "LanguageTexts.h"
#include "Modal.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>

#ifndef TESSIMAP_VERSION
#define TESSIMAP_VERSION ""
#endif
// The build sets these from its cache variables, so a packager changes them in one place.
#ifndef TESSIMAP_MAKER
#define TESSIMAP_MAKER "Tessimap developers"
#endif
#ifndef TESSIMAP_MAIL
#define TESSIMAP_MAIL "tessimap@example.org"
#endif
#ifndef TESSIMAP_HOMEPAGE
#define TESSIMAP_HOMEPAGE "https://tessimap.example.org/"
#endif
#ifndef TESSIMAP_HOMEPAGE_CS
#define TESSIMAP_HOMEPAGE_CS "https://tessimap.example.org/cs/"
#endif
#ifndef TESSIMAP_FIRST_YEAR
#define TESSIMAP_FIRST_YEAR "2025"
#endif
#ifndef TESSIMAP_LAST_YEAR
#define TESSIMAP_LAST_YEAR "2026"
#endif

namespace {

constexpr int kIconSide = 32;
constexpr int kProductNamePixels = 15;

QLabel* MakeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

QString TAboutBox::MakerName() {
    return QStringLiteral(TESSIMAP_MAKER);
}

QString TAboutBox::MailAddress() {
    return QStringLiteral(TESSIMAP_MAIL);
}

QString TAboutBox::HomePage(bool czech) {
    return czech ? QStringLiteral(TESSIMAP_HOMEPAGE_CS) : QStringLiteral(TESSIMAP_HOMEPAGE);
}

bool TAboutBox::RunsInCzech(const QString& language) {
    QString lowered = language;
    for (QChar& c : lowered)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
    return lowered == QString::fromUtf8("Česky");
}

QString TAboutBox::CreditLine(const QString& author, bool czech) {
    const QString month = czech ? QStringLiteral("srpen") : QStringLiteral("August");
    return QStringLiteral("%1: %2, %3 %4 – %3 %5")
        .arg(author, MakerName(), month, QStringLiteral(TESSIMAP_FIRST_YEAR),
             QStringLiteral(TESSIMAP_LAST_YEAR));
}

TAboutBox::TAboutBox(const TLanguageTexts& texts, TModal& modal, QWidget* parent)
    : QDialog(parent), Modal_(modal), Czech_(RunsInCzech(texts.Language())) {
    FormCreate(texts);
}

void TAboutBox::FormCreate(const TLanguageTexts& texts) {
    setWindowTitle(texts.Text("AboutTit", "About Tessimap"));
    auto* Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setFixedSize(kIconSide, kIconSide);
    ProgramIcon->setPixmap(windowIcon().pixmap(kIconSide, kIconSide));
    ProgramIcon->setScaledContents(true);

    ProductName = MakeLabel(QStringLiteral("Tessimap"), Panel1);
    QFont heavy(QStringList{QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"),
                            QStringLiteral("DejaVu Sans")});
    heavy.setStyleHint(QFont::SansSerif);
    heavy.setPixelSize(kProductNamePixels);
    heavy.setWeight(QFont::Black);
    heavy.setUnderline(true);
    ProductName->setFont(heavy);
    ProductName->setStyleSheet(QStringLiteral("color: green"));

    Version = MakeLabel(texts.Text("AboutVer", "Version") + " " + QStringLiteral(TESSIMAP_VERSION), Panel1);
    Credit = MakeLabel(CreditLine(texts.Text("AboutAtr", "Author"), Czech_), Panel1);
    License = MakeLabel(texts.Text("AboutLic", "Licensed under the GNU GPL, version 3 or later."), Panel1);
    Comments = MakeLabel(texts.Text("AboutCnt", "Contact") + ":", Panel1);
    Comments->setWordWrap(true);
    Label1 = MakeLink(MailAddress());
    Label2 = MakeLink(HomePage(Czech_));

    auto* grid = new QGridLayout(Panel1);
    grid->addWidget(ProgramIcon, 0, 0, 7, 1, Qt::AlignTop);
    int row = 0;
    for (QWidget* line :
         std::initializer_list<QWidget*>{ProductName, Version, Credit, License, Comments, Label1, Label2})
        grid->addWidget(line, row++, 1);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(16);

    OKButton = new QPushButton(texts.Text("AboutOK", "&OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    OKButton->setFocus();
}

// A link is a label the mouse and the keyboard can use: Tab reaches it, Enter or Space opens it.
QLabel* TAboutBox::MakeLink(const QString& caption) {
    QLabel* link = MakeLabel(caption, this);
    link->setStyleSheet(QStringLiteral("color: blue"));
    link->setCursor(Qt::PointingHandCursor);
    link->setMouseTracking(true);
    link->setFocusPolicy(Qt::TabFocus);
    link->installEventFilter(this);
    return link;
}

void TAboutBox::Label1Click() {
    Modal_.OpenWithDesktop(("mailto:" + MailAddress()).toStdString());
}

void TAboutBox::Label2Click() {
    Modal_.OpenWithDesktop(HomePage(Czech_).toStdString());
}

void TAboutBox::Label1MouseMove(QLabel* link) {
    QFont font = link->font();
    font.setBold(true);
    font.setUnderline(true);
    link->setFont(font);
}

void TAboutBox::Label1MouseLeave(QLabel* link) {
    QFont font = link->font();
    font.setBold(false);
    font.setUnderline(false);
    link->setFont(font);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Label1 && watched != Label2) return QDialog::eventFilter(watched, event);
    auto* link = static_cast<QLabel*>(watched);
    const auto click = [this, link] { link == Label1 ? Label1Click() : Label2Click(); };
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::FocusIn:
        Label1MouseMove(link);
        break;
    case QEvent::Leave:
    case QEvent::FocusOut:
        Label1MouseLeave(link);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            link->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
            click();
        return true;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) break;
        click();
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
