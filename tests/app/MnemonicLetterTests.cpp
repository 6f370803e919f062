// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard marks go on keys every layout types directly: letters beyond A-Z only when nothing
// else is free.

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

} // namespace
