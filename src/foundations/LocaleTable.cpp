#include "foundations/LocaleTable.h"

#include <algorithm>
#include <mutex>

namespace foundations {

namespace {

// What the Windows locale API reports for each locale id of primary languages 1-63: the
// three-letter abbreviated language name, the English language and country names (the country
// is empty for neutral ids), and the ISO codes that tie a row to a QLocale.
const LocaleRow kRows[] = {
    {0x0001, "ARA", "Arabic", "", "ar", ""},
    {0x0401, "ARA", "Arabic", "Saudi Arabia", "ar", "SA"},
    {0x0801, "ARI", "Arabic", "Iraq", "ar", "IQ"},
    {0x0C01, "ARE", "Arabic", "Egypt", "ar", "EG"},
    {0x1001, "ARL", "Arabic", "Libya", "ar", "LY"},
    {0x1401, "ARG", "Arabic", "Algeria", "ar", "DZ"},
    {0x1801, "ARM", "Arabic", "Morocco", "ar", "MA"},
    {0x1C01, "ART", "Arabic", "Tunisia", "ar", "TN"},
    {0x2001, "ARO", "Arabic", "Oman", "ar", "OM"},
    {0x2401, "ARY", "Arabic", "Yemen", "ar", "YE"},
    {0x2801, "ARS", "Arabic", "Syria", "ar", "SY"},
    {0x2C01, "ARJ", "Arabic", "Jordan", "ar", "JO"},
    {0x3001, "ARB", "Arabic", "Lebanon", "ar", "LB"},
    {0x3401, "ARK", "Arabic", "Kuwait", "ar", "KW"},
    {0x3801, "ARU", "Arabic", "U.A.E.", "ar", "AE"},
    {0x3C01, "ARH", "Arabic", "Bahrain", "ar", "BH"},
    {0x4001, "ARQ", "Arabic", "Qatar", "ar", "QA"},
    {0x0002, "BGR", "Bulgarian", "", "bg", ""},
    {0x0402, "BGR", "Bulgarian", "Bulgaria", "bg", "BG"},
    {0x0003, "CAT", "Catalan", "", "ca", ""},
    {0x0403, "CAT", "Catalan", "Spain", "ca", "ES"},
    {0x0004, "CHS", "Chinese (Simplified)", "", "zh", ""},
    {0x0404, "CHT", "Chinese (Traditional)", "Taiwan", "zh", "TW"},
    {0x0804, "CHS", "Chinese (Simplified)", "People's Republic of China", "zh", "CN"},
    {0x0C04, "ZHH", "Chinese (Traditional)", "Hong Kong S.A.R.", "zh", "HK"},
    {0x1004, "ZHI", "Chinese (Simplified)", "Singapore", "zh", "SG"},
    {0x1404, "ZHM", "Chinese (Traditional)", "Macau S.A.R.", "zh", "MO"},
    {0x7804, "CHS", "Chinese", "", "zh", ""},
    {0x7C04, "CHT", "Chinese (Traditional)", "", "zh", ""},
    {0x0005, "CSY", "Czech", "", "cs", ""},
    {0x0405, "CSY", "Czech", "Czech Republic", "cs", "CZ"},
    {0x0006, "DAN", "Danish", "", "da", ""},
    {0x0406, "DAN", "Danish", "Denmark", "da", "DK"},
    {0x0007, "DEU", "German", "", "de", ""},
    {0x0407, "DEU", "German", "Germany", "de", "DE"},
    {0x0807, "DES", "German", "Switzerland", "de", "CH"},
    {0x0C07, "DEA", "German", "Austria", "de", "AT"},
    {0x1007, "DEL", "German", "Luxembourg", "de", "LU"},
    {0x1407, "DEC", "German", "Liechtenstein", "de", "LI"},
    {0x0008, "ELL", "Greek", "", "el", ""},
    {0x0408, "ELL", "Greek", "Greece", "el", "GR"},
    {0x0009, "ENU", "English", "", "en", ""},
    {0x0409, "ENU", "English", "United States", "en", "US"},
    {0x0809, "ENG", "English", "United Kingdom", "en", "GB"},
    {0x0C09, "ENA", "English", "Australia", "en", "AU"},
    {0x1009, "ENC", "English", "Canada", "en", "CA"},
    {0x1409, "ENZ", "English", "New Zealand", "en", "NZ"},
    {0x1809, "ENI", "English", "Ireland", "en", "IE"},
    {0x1C09, "ENS", "English", "South Africa", "en", "ZA"},
    {0x2009, "ENJ", "English", "Jamaica", "en", "JM"},
    {0x2409, "ENB", "English", "Caribbean", "en", "029"},
    {0x2809, "ENL", "English", "Belize", "en", "BZ"},
    {0x2C09, "ENT", "English", "Trinidad and Tobago", "en", "TT"},
    {0x3009, "ENW", "English", "Zimbabwe", "en", "ZW"},
    {0x3409, "ENP", "English", "Republic of the Philippines", "en", "PH"},
    {0x4009, "ENN", "English", "India", "en", "IN"},
    {0x4409, "ENM", "English", "Malaysia", "en", "MY"},
    {0x4809, "ENE", "English", "Singapore", "en", "SG"},
    {0x000A, "ESP", "Spanish", "", "es", ""},
    {0x040A, "ESP", "Spanish", "Spain", "es", "ES"},
    {0x080A, "ESM", "Spanish", "Mexico", "es", "MX"},
    {0x0C0A, "ESN", "Spanish", "Spain", "es", "ES"},
    {0x100A, "ESG", "Spanish", "Guatemala", "es", "GT"},
    {0x140A, "ESC", "Spanish", "Costa Rica", "es", "CR"},
    {0x180A, "ESA", "Spanish", "Panama", "es", "PA"},
    {0x1C0A, "ESD", "Spanish", "Dominican Republic", "es", "DO"},
    {0x200A, "ESV", "Spanish", "Venezuela", "es", "VE"},
    {0x240A, "ESO", "Spanish", "Colombia", "es", "CO"},
    {0x280A, "ESR", "Spanish", "Peru", "es", "PE"},
    {0x2C0A, "ESS", "Spanish", "Argentina", "es", "AR"},
    {0x300A, "ESF", "Spanish", "Ecuador", "es", "EC"},
    {0x340A, "ESL", "Spanish", "Chile", "es", "CL"},
    {0x380A, "ESY", "Spanish", "Uruguay", "es", "UY"},
    {0x3C0A, "ESZ", "Spanish", "Paraguay", "es", "PY"},
    {0x400A, "ESB", "Spanish", "Bolivia", "es", "BO"},
    {0x440A, "ESE", "Spanish", "El Salvador", "es", "SV"},
    {0x480A, "ESH", "Spanish", "Honduras", "es", "HN"},
    {0x4C0A, "ESI", "Spanish", "Nicaragua", "es", "NI"},
    {0x500A, "ESU", "Spanish", "Puerto Rico", "es", "PR"},
    {0x540A, "EST", "Spanish", "United States", "es", "US"},
    {0x000B, "FIN", "Finnish", "", "fi", ""},
    {0x040B, "FIN", "Finnish", "Finland", "fi", "FI"},
    {0x000C, "FRA", "French", "", "fr", ""},
    {0x040C, "FRA", "French", "France", "fr", "FR"},
    {0x080C, "FRB", "French", "Belgium", "fr", "BE"},
    {0x0C0C, "FRC", "French", "Canada", "fr", "CA"},
    {0x100C, "FRS", "French", "Switzerland", "fr", "CH"},
    {0x140C, "FRL", "French", "Luxembourg", "fr", "LU"},
    {0x180C, "FRM", "French", "Principality of Monaco", "fr", "MC"},
    {0x000D, "HEB", "Hebrew", "", "he", ""},
    {0x040D, "HEB", "Hebrew", "Israel", "he", "IL"},
    {0x000E, "HUN", "Hungarian", "", "hu", ""},
    {0x040E, "HUN", "Hungarian", "Hungary", "hu", "HU"},
    {0x000F, "ISL", "Icelandic", "", "is", ""},
    {0x040F, "ISL", "Icelandic", "Iceland", "is", "IS"},
    {0x0010, "ITA", "Italian", "", "it", ""},
    {0x0410, "ITA", "Italian", "Italy", "it", "IT"},
    {0x0810, "ITS", "Italian", "Switzerland", "it", "CH"},
    {0x0011, "JPN", "Japanese", "", "ja", ""},
    {0x0411, "JPN", "Japanese", "Japan", "ja", "JP"},
    {0x0012, "KOR", "Korean", "", "ko", ""},
    {0x0412, "KOR", "Korean", "Korea", "ko", "KR"},
    {0x0013, "NLD", "Dutch", "", "nl", ""},
    {0x0413, "NLD", "Dutch", "Netherlands", "nl", "NL"},
    {0x0813, "NLB", "Dutch", "Belgium", "nl", "BE"},
    {0x0014, "NOR", "Norwegian", "", "nb", ""},
    {0x0414, "NOR", "Norwegian (Bokmål)", "Norway", "nb", "NO"},
    {0x0814, "NON", "Norwegian (Nynorsk)", "Norway", "nn", "NO"},
    {0x7814, "NON", "Norwegian (Nynorsk)", "", "nn", ""},
    {0x7C14, "NOR", "Norwegian (Bokmål)", "", "nb", ""},
    {0x0015, "PLK", "Polish", "", "pl", ""},
    {0x0415, "PLK", "Polish", "Poland", "pl", "PL"},
    {0x0016, "PTB", "Portuguese", "", "pt", ""},
    {0x0416, "PTB", "Portuguese", "Brazil", "pt", "BR"},
    {0x0816, "PTG", "Portuguese", "Portugal", "pt", "PT"},
    {0x0017, "RMC", "Romansh", "", "rm", ""},
    {0x0417, "RMC", "Romansh", "Switzerland", "rm", "CH"},
    {0x0018, "ROM", "Romanian", "", "ro", ""},
    {0x0418, "ROM", "Romanian", "Romania", "ro", "RO"},
    {0x0019, "RUS", "Russian", "", "ru", ""},
    {0x0419, "RUS", "Russian", "Russia", "ru", "RU"},
    {0x001A, "HRV", "Croatian", "", "hr", ""},
    {0x041A, "HRV", "Croatian", "Croatia", "hr", "HR"},
    {0x081A, "SRL", "Serbian (Latin)", "Serbia", "sr", "CS"},
    {0x0C1A, "SRB", "Serbian (Cyrillic)", "Serbia", "sr", "CS"},
    {0x101A, "HRB", "Croatian (Latin)", "Bosnia and Herzegovina", "hr", "BA"},
    {0x141A, "BSB", "Bosnian (Latin)", "Bosnia and Herzegovina", "bs", "BA"},
    {0x181A, "SRS", "Serbian (Latin)", "Bosnia and Herzegovina", "sr", "BA"},
    {0x1C1A, "SRN", "Serbian (Cyrillic)", "Bosnia and Herzegovina", "sr", "BA"},
    {0x201A, "BSC", "Bosnian (Cyrillic)", "Bosnia and Herzegovina", "bs", "BA"},
    {0x241A, "SRM", "Serbian (Latin)", "Serbia", "sr", "RS"},
    {0x281A, "SRO", "Serbian (Cyrillic)", "Serbia", "sr", "RS"},
    {0x2C1A, "SRP", "Serbian (Latin)", "Montenegro", "sr", "ME"},
    {0x301A, "SRQ", "Serbian (Cyrillic)", "Montenegro", "sr", "ME"},
    {0x641A, "BSC", "Bosnian (Cyrillic)", "", "bs", ""},
    {0x681A, "BSB", "Bosnian (Latin)", "", "bs", ""},
    {0x6C1A, "SRO", "Serbian (Cyrillic)", "", "sr", ""},
    {0x701A, "SRM", "Serbian (Latin)", "", "sr", ""},
    {0x781A, "BSB", "Bosnian", "", "bs", ""},
    {0x7C1A, "SRB", "Serbian", "", "sr", ""},
    {0x001B, "SKY", "Slovak", "", "sk", ""},
    {0x041B, "SKY", "Slovak", "Slovakia", "sk", "SK"},
    {0x001C, "SQI", "Albanian", "", "sq", ""},
    {0x041C, "SQI", "Albanian", "Albania", "sq", "AL"},
    {0x001D, "SVE", "Swedish", "", "sv", ""},
    {0x041D, "SVE", "Swedish", "Sweden", "sv", "SE"},
    {0x081D, "SVF", "Swedish", "Finland", "sv", "FI"},
    {0x001E, "THA", "Thai", "", "th", ""},
    {0x041E, "THA", "Thai", "Thailand", "th", "TH"},
    {0x001F, "TRK", "Turkish", "", "tr", ""},
    {0x041F, "TRK", "Turkish", "Turkey", "tr", "TR"},
    {0x0020, "URD", "Urdu", "", "ur", ""},
    {0x0420, "URD", "Urdu", "Islamic Republic of Pakistan", "ur", "PK"},
    {0x0021, "IND", "Indonesian", "", "id", ""},
    {0x0421, "IND", "Indonesian", "Indonesia", "id", "ID"},
    {0x0022, "UKR", "Ukrainian", "", "uk", ""},
    {0x0422, "UKR", "Ukrainian", "Ukraine", "uk", "UA"},
    {0x0023, "BEL", "Belarusian", "", "be", ""},
    {0x0423, "BEL", "Belarusian", "Belarus", "be", "BY"},
    {0x0024, "SLV", "Slovenian", "", "sl", ""},
    {0x0424, "SLV", "Slovenian", "Slovenia", "sl", "SI"},
    {0x0025, "ETI", "Estonian", "", "et", ""},
    {0x0425, "ETI", "Estonian", "Estonia", "et", "EE"},
    {0x0026, "LVI", "Latvian", "", "lv", ""},
    {0x0426, "LVI", "Latvian", "Latvia", "lv", "LV"},
    {0x0027, "LTH", "Lithuanian", "", "lt", ""},
    {0x0427, "LTH", "Lithuanian", "Lithuania", "lt", "LT"},
    {0x0028, "TAJ", "Tajik", "", "tg", ""},
    {0x0428, "TAJ", "Tajik (Cyrillic)", "Tajikistan", "tg", "TJ"},
    {0x7C28, "TAJ", "Tajik (Cyrillic)", "", "tg", ""},
    {0x0029, "FAR", "Persian", "", "fa", ""},
    {0x0429, "FAR", "Persian", "Iran", "fa", "IR"},
    {0x002A, "VIT", "Vietnamese", "", "vi", ""},
    {0x042A, "VIT", "Vietnamese", "Viet Nam", "vi", "VN"},
    {0x002B, "HYE", "Armenian", "", "hy", ""},
    {0x042B, "HYE", "Armenian", "Armenia", "hy", "AM"},
    {0x002C, "AZE", "Azeri", "", "az", ""},
    {0x042C, "AZE", "Azeri (Latin)", "Azerbaijan", "az", "AZ"},
    {0x082C, "AZC", "Azeri (Cyrillic)", "Azerbaijan", "az", "AZ"},
    {0x742C, "AZC", "Azeri (Cyrillic)", "", "az", ""},
    {0x782C, "AZE", "Azeri (Latin)", "", "az", ""},
    {0x002D, "EUQ", "Basque", "", "eu", ""},
    {0x042D, "EUQ", "Basque", "Spain", "eu", "ES"},
    {0x002E, "HSB", "Upper Sorbian", "", "hsb", ""},
    {0x042E, "HSB", "Upper Sorbian", "Germany", "hsb", "DE"},
    {0x082E, "DSB", "Lower Sorbian", "Germany", "dsb", "DE"},
    {0x7C2E, "DSB", "Lower Sorbian", "", "dsb", ""},
    {0x002F, "MKI", "FYRO Macedonian", "", "mk", ""},
    {0x042F, "MKI", "FYRO Macedonian", "Former Yugoslav Republic of Macedonia", "mk", "MK"},
    {0x0032, "TSN", "Setswana", "", "tn", ""},
    {0x0432, "TSN", "Setswana", "South Africa", "tn", "ZA"},
    {0x0034, "XHO", "isiXhosa", "", "xh", ""},
    {0x0434, "XHO", "isiXhosa", "South Africa", "xh", "ZA"},
    {0x0035, "ZUL", "isiZulu", "", "zu", ""},
    {0x0435, "ZUL", "isiZulu", "South Africa", "zu", "ZA"},
    {0x0036, "AFK", "Afrikaans", "", "af", ""},
    {0x0436, "AFK", "Afrikaans", "South Africa", "af", "ZA"},
    {0x0037, "KAT", "Georgian", "", "ka", ""},
    {0x0437, "KAT", "Georgian", "Georgia", "ka", "GE"},
    {0x0038, "FOS", "Faeroese", "", "fo", ""},
    {0x0438, "FOS", "Faeroese", "Faeroe Islands", "fo", "FO"},
    {0x0039, "HIN", "Hindi", "", "hi", ""},
    {0x0439, "HIN", "Hindi", "India", "hi", "IN"},
    {0x003A, "MLT", "Maltese", "", "mt", ""},
    {0x043A, "MLT", "Maltese", "Malta", "mt", "MT"},
    {0x003B, "SME", "Sami (Northern)", "", "se", ""},
    {0x043B, "SME", "Sami (Northern)", "Norway", "se", "NO"},
    {0x083B, "SMF", "Sami (Northern)", "Sweden", "se", "SE"},
    {0x0C3B, "SMG", "Sami (Northern)", "Finland", "se", "FI"},
    {0x103B, "SMJ", "Sami (Lule)", "Norway", "smj", "NO"},
    {0x143B, "SMK", "Sami (Lule)", "Sweden", "smj", "SE"},
    {0x183B, "SMA", "Sami (Southern)", "Norway", "sma", "NO"},
    {0x1C3B, "SMB", "Sami (Southern)", "Sweden", "sma", "SE"},
    {0x203B, "SMS", "Sami (Skolt)", "Finland", "sms", "FI"},
    {0x243B, "SMN", "Sami (Inari)", "Finland", "smn", "FI"},
    {0x703B, "SMN", "Sami (Inari)", "", "smn", ""},
    {0x743B, "SMS", "Sami (Skolt)", "", "sms", ""},
    {0x783B, "SMB", "Sami (Southern)", "", "sma", ""},
    {0x7C3B, "SMK", "Sami (Lule)", "", "smj", ""},
    {0x003C, "IRE", "Irish", "", "ga", ""},
    {0x083C, "IRE", "Irish", "Ireland", "ga", "IE"},
    {0x003E, "MSL", "Malay", "", "ms", ""},
    {0x043E, "MSL", "Malay", "Malaysia", "ms", "MY"},
    {0x083E, "MSB", "Malay", "Brunei Darussalam", "ms", "BN"},
    {0x003F, "KKZ", "Kazakh", "", "kk", ""},
    {0x043F, "KKZ", "Kazakh", "Kazakhstan", "kk", "KZ"},
};

std::mutex& overrideMutex() {
    static std::mutex m;
    return m;
}
std::optional<QLocale>& overrideLocale() {
    static std::optional<QLocale> l;
    return l;
}

}  // namespace

std::span<const LocaleRow> localeRows() { return kRows; }

const LocaleRow* findLocale(uint32_t lcid) {
    auto it = std::lower_bound(std::begin(kRows), std::end(kRows), lcid, [](const LocaleRow& r, uint32_t id) {
        uint32_t ka = (r.lcid & 0x3FF) << 16 | r.lcid >> 10;
        uint32_t kb = (id & 0x3FF) << 16 | id >> 10;
        return ka < kb;
    });
    return it != std::end(kRows) && it->lcid == lcid ? &*it : nullptr;
}

QString localeAbbreviation(uint32_t lcid) {
    const LocaleRow* r = findLocale(lcid);
    return r ? QString::fromUtf8(r->abbrev) : QString();
}

QString localeLanguageName(uint32_t lcid) {
    const LocaleRow* r = findLocale(lcid);
    return r ? QString::fromUtf8(r->language) : QString();
}

QString localeCountryName(uint32_t lcid) {
    const LocaleRow* r = findLocale(lcid);
    return r ? QString::fromUtf8(r->country) : QString();
}

bool isNeutralLocale(uint32_t lcid) {
    const LocaleRow* r = findLocale(lcid);
    return r && r->country[0] == '\0';
}

uint32_t lcidForLocale(const QLocale& locale) {
    if (locale.language() == QLocale::C) return 0x0409;
    const QString lang = QLocale::languageToCode(locale.language());
    const QString country = QLocale::territoryToCode(locale.territory());
    const LocaleRow* firstSpecific = nullptr;
    const LocaleRow* neutral = nullptr;
    for (const LocaleRow& r : kRows) {
        if (lang != QLatin1String(r.isoLanguage)) continue;
        if (r.country[0] == '\0') {
            if (!neutral) neutral = &r;
            continue;
        }
        if (country == QLatin1String(r.isoCountry)) return r.lcid;
        if (!firstSpecific) firstSpecific = &r;
    }
    // A country the table lacks: the language's default locale, as Windows would pick it.
    if (firstSpecific) return firstSpecific->lcid;
    if (neutral) return neutral->lcid;
    return 0x0409;
}

std::optional<QLocale> localeOfAbbreviation(const QString& abbreviation) {
    const QString a = abbreviation.trimmed().toUpper();
    if (a.isEmpty()) return std::nullopt;
    for (const LocaleRow& r : kRows) {
        const QString rowAbbrev = QString::fromLatin1(r.abbrev).toUpper();
        // Two letters name a language's neutral locale, as the language menu cuts them.
        const bool match = a.size() == 2 ? r.country[0] == '\0' && rowAbbrev.left(2) == a : rowAbbrev == a;
        if (!match) continue;
        const QString name = QString::fromLatin1(r.isoLanguage) +
                             (r.isoCountry[0] ? QStringLiteral("_") + QString::fromLatin1(r.isoCountry) : QString());
        return QLocale(name);
    }
    return std::nullopt;
}

QLocale systemLocale() {
    std::lock_guard lock(overrideMutex());
    return overrideLocale() ? *overrideLocale() : QLocale::system();
}

void setSystemLocaleOverride(const std::optional<QLocale>& locale) {
    std::lock_guard lock(overrideMutex());
    overrideLocale() = locale;
}

uint32_t systemLcid() { return lcidForLocale(systemLocale()); }

QString systemLocaleAbbreviation() { return localeAbbreviation(systemLcid()); }

}  // namespace foundations
