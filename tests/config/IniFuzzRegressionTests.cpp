// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs kept for the INI fuzz target, read again by the ordinary tests: every one reads
// through both the settings and the language file readers, and numbers out of range fall back.

#include "IniFile.h"
#include "LanguageFile.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(IniFuzzRegressions, EveryKeptInputReadsAsSettingsAndAsALanguageFile) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TESSIMAP_INI_FUZZ_INPUTS)) {
        ++files;
        const QString path = QString::fromStdString(entry.path().string());
        const TIniFile settings(path);
        (void)settings.Keys("Options");
        const TLanguageFile languages(path, {}, false);
        for (const QString& language : languages.Languages())
            (void)languages.Section(language);
    }
    EXPECT_GT(files, 0);

    const TIniFile numbers(QStringLiteral(TESSIMAP_INI_FUZZ_INPUTS "/out-of-range-numbers.ini"));
    EXPECT_EQ(numbers.ReadInteger("Options", "Width", 5), 0x7FFFFFFF);
    EXPECT_EQ(numbers.ReadInteger("Options", "Height", 5), 5) << "below the smallest 32-bit number";
    EXPECT_EQ(numbers.ReadString("Options", "StepX1", "8"), "");
    const TLanguageFile language(QStringLiteral(TESSIMAP_INI_FUZZ_INPUTS "/out-of-range-numbers.ini"), {},
                                 false);
    EXPECT_EQ(language.Languages(), QStringList{"English"});
    EXPECT_EQ(language.Current(), 1);
}
