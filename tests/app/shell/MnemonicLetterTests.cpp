// Keyboard marks go on keys every layout types directly: letters beyond A-Z only when nothing
// else is free.

#include "LanguageFile.h"
#include "Mnemonics.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(MnemonicLetters, TypableKeysFirstOthersOnlyWhenNoneIsFree) {
    const std::vector<std::pair<QStringList, QStringList>> cases = {
        {{"Úpravy"}, {"Ú&pravy"}},
        // A later letter rather than the Ü, without taking the B another entry starts with.
        {{"Über", "Bild"}, {"Üb&er", "&Bild"}},
        // A mark placed on such a letter moves when a typable one is free.
        {{"&Úpravy"}, {"Ú&pravy"}},
        // Every typable key taken: the other letter still gives a key of its own.
        {{"Üa", "a"}, {"&Üa", "&a"}},
        {{"Ü", "Ü"}, {"&Ü", "&Ü"}},
    };
    for (const auto& [texts, expected] : cases) {
        const QStringList marked = WithMnemonics(texts);
        EXPECT_EQ(marked, expected) << texts.join('|').toStdString();
        EXPECT_EQ(WithMnemonics(marked), marked) << texts.join('|').toStdString();
    }
}

// The menu titles and the Help menu of every shipped language.
TEST(MnemonicLetters, ShippedMenusAreMarkedOnTypableKeys) {
    const TLanguageFile shipped(QStringLiteral(TESSIMAP_RESOURCES "/language.ini"), {}, false);
    const std::vector<std::vector<const char*>> groups = {
        {"File1", "Edit1", "View1", "Picture1", "Language1", "Help1"}, {"Description1", "About1"}};
    for (const QString& language : shipped.Languages()) {
        const auto texts = shipped.Section(language);
        for (const auto& keys : groups) {
            QStringList captions;
            for (const char* key : keys)
                captions.append(texts.value(key));
            for (const QString& caption : WithMnemonics(captions)) {
                const qsizetype mark = caption.indexOf('&');
                ASSERT_GE(mark, 0) << caption.toStdString();
                EXPECT_LT(caption.at(mark + 1).unicode(), 0x80) << caption.toStdString();
            }
        }
    }
}

} // namespace
