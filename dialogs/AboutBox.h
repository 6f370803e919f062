// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class TLanguageTexts;
class TModal;

// Help > About: the program's name, version, maker and licence, and two links the desktop opens. Made
// for each showing, so its texts follow the language chosen at that moment.
class TAboutBox : public QDialog {
  public:
    TAboutBox(const TLanguageTexts& texts, TModal& modal, QWidget* parent = nullptr);

    // The maker's details, as the build was configured.
    static QString MakerName();
    static QString MailAddress();
    static QString HomePage(bool czech);

    // Czech by the language's name: A to Z lowered, every other letter as it is, equal to
    // "Česky". So "ČESKY" counts and "česky" does not, as with older language files.
    static bool RunsInCzech(const QString& language);
    // "Author: <maker>, August <first year> – August <last year>", with "srpen" in Czech.
    static QString CreditLine(const QString& author, bool czech);

    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Credit = nullptr;
    QLabel* License = nullptr;
    QLabel* Comments = nullptr;
    QLabel* Label1 = nullptr; // the mail link
    QLabel* Label2 = nullptr; // the home-page link
    QPushButton* OKButton = nullptr;

    void Label1Click();
    void Label2Click();
    void Label1MouseMove(QLabel* link);  // shared by both links
    void Label1MouseLeave(QLabel* link); // shared by both links

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate(const TLanguageTexts& texts);
    QLabel* MakeLink(const QString& caption);

    TModal& Modal_;
    bool Czech_ = false;
};
