#pragma once
// Windows locale ids (LCID = primary language + sub-language × 1024) with the names the Windows
// locale API gives for them, and the system locale mapped onto them.
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

namespace foundations {

struct LocaleRow {
    uint16_t lcid;
    const char* abbrev;       // three letters, e.g. "PLK", "ENU"
    const char* language;     // English language name, e.g. "Serbian (Latin)"
    const char* country;      // English country name; empty for a neutral id
    const char* isoLanguage;  // ISO 639 code, to match a QLocale
    const char* isoCountry;   // ISO 3166 code; empty for a neutral id
};

// All rows, ordered by primary language, then sub-language.
std::span<const LocaleRow> localeRows();
// The row of a locale id; null when the system does not know it.
const LocaleRow* findLocale(uint32_t lcid);

// Empty for an unknown id. A neutral id (sub-language 0, or a script/variant neutral id) answers
// as Windows does with the abbreviation of the language's default locale (0x0015 gives "PLK"),
// the plain language name and an empty country.
QString localeAbbreviation(uint32_t lcid);
QString localeLanguageName(uint32_t lcid);
QString localeCountryName(uint32_t lcid);
bool isNeutralLocale(uint32_t lcid);

// The locale id of a QLocale: its language and country, else the language's first specific
// locale, else its neutral id; the C locale and languages Windows lacks give 0x0409.
uint32_t lcidForLocale(const QLocale& locale);

// The locale of a language abbreviation ("EN": English, "ENU": English (United States), "DEU":
// German (Germany)); nullopt when no locale has it.
std::optional<QLocale> localeOfAbbreviation(const QString& abbreviation);

// The system locale (QLocale::system()), unless a test set another.
QLocale systemLocale();
void setSystemLocaleOverride(const std::optional<QLocale>& locale);
uint32_t systemLcid();
// The abbreviated language name of the system locale, e.g. "PLK".
QString systemLocaleAbbreviation();

}  // namespace foundations
