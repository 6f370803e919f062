// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtTranslations.h"

#include <QAbstractButton>
#include <QMessageBox>

#include <gtest/gtest.h>

namespace {

// The Yes and No buttons of a question made now, without the keyboard marks.
std::pair<QString, QString> YesNoTexts() {
    QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
    return {box.button(QMessageBox::Yes)->text().remove('&'),
            box.button(QMessageBox::No)->text().remove('&')};
}

TEST(QtTranslations, QuestionButtonsFollowEachSwitchOfLanguage) {
    TQtTranslations translations;
    struct TStep {
        const char* Locale;
        bool InUse;
        QString Yes, No;
    };
    // The Czech and German files come from the system's Qt translations; an unknown locale and
    // English both fall back to Qt's own texts, dropping the translation installed before.
    for (const TStep& step :
         {TStep{"cs", true, "Ano", "Ne"}, TStep{"de", true, "Ja", "Nein"}, TStep{"xx", false, "Yes", "No"},
          TStep{"cs", true, "Ano", "Ne"}, TStep{"", false, "Yes", "No"}}) {
        SCOPED_TRACE(step.Locale);
        EXPECT_EQ(translations.Use(step.Locale), step.InUse);
        EXPECT_EQ(YesNoTexts(), std::make_pair(step.Yes, step.No));
    }
}

TEST(QtTranslations, EndingTheOwnerRemovesItsTranslation) {
    {
        TQtTranslations translations;
        ASSERT_TRUE(translations.Use("de"));
    }
    EXPECT_EQ(YesNoTexts().first, "Yes");
}

} // namespace
