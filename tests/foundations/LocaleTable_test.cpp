#include <gtest/gtest.h>

#include "foundations/LocaleTable.h"

using namespace foundations;

TEST(LocaleTable, LookupsByLocaleId) {
    struct Case {
        uint32_t lcid;
        const char *abbrev, *language, *country;
        bool neutral;
    } cases[] = {
        {0x0415, "PLK", "Polish", "Poland", false},
        {0x0015, "PLK", "Polish", "", true},  // a neutral id answers with its default locale's abbreviation
        {0x0409, "ENU", "English", "United States", false},
        {0x0809, "ENG", "English", "United Kingdom", false},
        {0x0009, "ENU", "English", "", true},
        {0x0807, "DES", "German", "Switzerland", false},
        {0x0C0A, "ESN", "Spanish", "Spain", false},
        {0x081A, "SRL", "Serbian (Latin)", "Serbia", false},
        {0x7C1A, "SRB", "Serbian", "", true},  // a high script-neutral id
        {0x0414, "NOR", "Norwegian (Bokmål)", "Norway", false},
        {0x083C, "IRE", "Irish", "Ireland", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(localeAbbreviation(c.lcid), c.abbrev) << std::hex << c.lcid;
        EXPECT_EQ(localeLanguageName(c.lcid), QString::fromUtf8(c.language)) << std::hex << c.lcid;
        EXPECT_EQ(localeCountryName(c.lcid), c.country) << std::hex << c.lcid;
        EXPECT_EQ(isNeutralLocale(c.lcid), c.neutral) << std::hex << c.lcid;
    }
    for (uint32_t unknown : {0x0000u, 0x0030u, 0x043Cu, 0x1815u, 0xFFFFu, 0x10415u}) {
        EXPECT_EQ(findLocale(unknown), nullptr) << std::hex << unknown;
        EXPECT_EQ(localeAbbreviation(unknown), "");
    }
    EXPECT_EQ(localeRows().size(), 226u);
}

TEST(LocaleTable, SystemLocaleMapsOntoLocaleIds) {
    struct Case {
        QLocale locale;
        uint32_t lcid;
    } cases[] = {
        {QLocale(QLocale::Polish, QLocale::Poland), 0x0415},
        {QLocale(QLocale::English, QLocale::UnitedStates), 0x0409},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), 0x0809},
        {QLocale(QLocale::German, QLocale::Austria), 0x0C07},
        {QLocale(QLocale::German, QLocale::Belgium), 0x0407},  // country unknown for German: default locale
        {QLocale(QLocale::NorwegianNynorsk, QLocale::Norway), 0x0814},
        {QLocale(QLocale::Chinese, QLocale::Taiwan), 0x0404},
        {QLocale(QLocale::Serbian, QLocale::Serbia), 0x241A},
        {QLocale(QLocale::Swahili, QLocale::Kenya), 0x0409},  // a language Windows lacked
        {QLocale::c(), 0x0409},
    };
    for (const auto& c : cases) EXPECT_EQ(lcidForLocale(c.locale), c.lcid) << c.locale.name().toStdString();

    setSystemLocaleOverride(QLocale(QLocale::German, QLocale::Switzerland));
    EXPECT_EQ(systemLcid(), 0x0807u);
    EXPECT_EQ(systemLocaleAbbreviation(), "DES");
    setSystemLocaleOverride(std::nullopt);
    EXPECT_EQ(systemLocale(), QLocale::system());
}
