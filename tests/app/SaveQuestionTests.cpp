// SPDX-License-Identifier: GPL-3.0-or-later
// "Save changes?" as the real message box shows it: Escape and the close button call off the
// action that asked, and the buttons speak the chosen language.

#include "QtModal.h"
#include "ShellFixture.h"

#include <QAbstractButton>
#include <QMessageBox>

#include <functional>

namespace {

// A window whose questions are real Qt message boxes, each handled by the test's hand as soon as
// it shows.
class SaveQuestion : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(TESSIMAP_RESOURCES "/language.ini",
                                QString::fromStdString(AppFolder.File("language.ini"))));
        Form = std::make_unique<TForm1>(
            Modal, TAppPaths(QString::fromStdString(AppFolder.Path().string()), QString(), QString()));
        Modal.SetParent(Form.get());
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        EditPicture(Form->Document(), [](TBitmap& b) { b.SetPixel(3, 4, clWhite); });
        MarkModified(Form->Document());
    }
    void TearDown() override {
        WhenAsked([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
        Form.reset();
    }
    // The next message box gets the hand; its buttons' texts are kept, without keyboard marks.
    void WhenAsked(std::function<void(QMessageBox*)> hand) {
        Buttons.clear();
        QTimer::singleShot(10, Form.get(), [this, hand] { Handle(hand); });
    }
    void Handle(const std::function<void(QMessageBox*)>& hand) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, Form.get(), [this, hand] { Handle(hand); });
            return;
        }
        for (QAbstractButton* button : box->buttons())
            Buttons.push_back(button->text().remove('&'));
        hand(box);
    }

    TTempFolder AppFolder;
    TQtModal Modal;
    std::unique_ptr<TForm1> Form;
    QStringList Buttons;
};

TEST_F(SaveQuestion, EscapeAndTheCloseButtonLeaveEverythingAsItWas) {
    const std::vector<std::pair<const char*, std::function<void(QMessageBox*)>>> ways{
        {"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }},
        {"close button", [](QMessageBox* box) { box->close(); }}};
    for (const auto& [way, hand] : ways) {
        SCOPED_TRACE(way);
        const TBitmap before = Form->Document().Picture();
        Form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        WhenAsked(hand);
        QTest::keyClick(Form.get(), Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(Buttons.size(), 3) << Buttons.join(", ").toStdString();
        EXPECT_TRUE(Form->Document().Modified());
        EXPECT_EQ(Form->Document().Picture().PixelBuffer(), before.PixelBuffer());

        WhenAsked(hand);
        EXPECT_FALSE(Form->close());
        EXPECT_TRUE(Form->isVisible());
        EXPECT_TRUE(Form->Document().Modified());
    }
}

// Qt's own texts follow the Language menu at once, and go back to Qt's English with English.
TEST_F(SaveQuestion, ButtonsSpeakTheLanguageChosenInTheMenu) {
    const QList<QAction*> languages = Named<QMenu>(Form, "Language1")->actions();
    const std::vector<std::pair<int, QStringList>> cases{
        {1, {"Ano", "Ne", "Zrušit"}}, {2, {"Ja", "Nein", "Abbrechen"}}, {0, {"Yes", "No", "Cancel"}}};
    for (const auto& [entry, expected] : cases) {
        languages[entry]->trigger();
        WhenAsked([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_FALSE(Form->close());
        Buttons.sort();
        QStringList sorted = expected;
        sorted.sort();
        EXPECT_EQ(Buttons, sorted);
    }
}

} // namespace
