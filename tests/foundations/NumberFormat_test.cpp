#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <random>
#include <limits>

#include "foundations/LocaleTable.h"
#include "foundations/NumberFormat.h"

using namespace foundations;

struct FixedCase {
    double value;
    int precision, decimals;
    char sep;
    const char* expected;
};

TEST(NumberFormat, FixedPointRoundsHalfAwayOnTheExactValue) {
    const FixedCase cases[] = {
        {2.0005, 15, 3, ',', "2,001"},      // stored a little above the half
        {1.0005, 15, 3, '.', "1.000"},      // stored a little below the half
        {1.005, 15, 2, '.', "1.00"},
        {0.125, 15, 2, '.', "0.13"},        // an exact half goes away from zero
        {-0.125, 15, 2, '.', "-0.13"},
        {2.5, 15, 0, '.', "3"},
        {-2.5, 15, 0, '.', "-3"},
        {0.045, 15, 2, '.', "0.04"},
        {1234.5678, 15, 2, '.', "1234.57"},
        {1234.5678, 6, 3, '.', "1234.570"},  // six significant digits, padded to three decimals
        {0.0, 15, 3, ',', "0,000"},
        {-0.001, 15, 2, '.', "0.00"},        // no "-" in front of nothing but zeros
        {-0.0, 15, 1, '.', "0.0"},
        {0.006, 15, 2, '.', "0.01"},         // rounding up from below the last decimal
        {0.004, 15, 2, '.', "0.00"},
        {9.9996, 15, 3, '.', "10.000"},      // the carry adds an integer digit
        {999.6, 3, 0, '.', "1E3"},           // ... which may no longer fit the precision
        {12.5, 15, 0, '.', "13"},
        {7.0, 15, 0, ',', "7"},              // no separator without decimals
        {1e20, 15, 2, '.', "1E20"},
        {123456.5, 5, 0, ',', "1,2346E5"},
        {0.000123456, 3, 8, '.', "0.00012300"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.value, c.precision, c.decimals, QChar(c.sep)), QString::fromLatin1(c.expected))
            << c.value << " P" << c.precision << " D" << c.decimals;
}

TEST(NumberFormat, GeneralTextDropsTrailingZeros) {
    struct Case {
        double value;
        int precision;
        const char* expected;
    } cases[] = {
        {0.0, 15, "0"}, {100.0, 15, "100"}, {123.45, 15, "123.45"}, {-0.1, 15, "-0.1"},
        {0.1 + 0.2, 15, "0.3"}, {1.0 / 3.0, 15, "0.333333333333333"}, {2.0 / 3.0, 4, "0.6667"},
        {0.00001, 15, "0.00001"}, {0.000001, 15, "1E-6"}, {1.5e20, 15, "1.5E20"},
        {123456.0, 5, "1.2346E5"}, {99999.5, 5, "1E5"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatGeneral(c.value, c.precision), c.expected) << c.value;
    EXPECT_EQ(formatGeneral(2.5, 15, u','), "2,5");
}

// Rounding from the exact digits, the slow way, to check the quick path of the formatter.
static QString referenceField(double v, int decimals) {
    ExactDecimal d = exactDecimal(v);
    QByteArray digits = d.digits;
    int exp = d.exponent;
    const int count = exp + decimals;
    if (count < 0) {
        digits.clear();
    } else if (count < digits.size()) {
        const bool up = digits[count] >= '5';
        digits.truncate(count);
        if (up) {
            int i = count - 1;
            while (i >= 0 && digits[i] == '9') digits[i--] = '0';
            if (i >= 0) {
                digits[i] = char(digits[i] + 1);
            } else {
                digits.prepend('1');
                ++exp;
            }
        }
    }
    QString intPart, frac;
    for (int i = 0; i < exp; ++i) intPart += QChar(i < digits.size() ? digits[i] : '0');
    if (intPart.isEmpty()) intPart = "0";
    bool nonZero = false;
    for (char c : digits) nonZero |= c != '0';
    for (int k = 0; k < decimals; ++k) {
        const int i = exp + k;
        frac += QChar(i >= 0 && i < digits.size() ? digits[i] : '0');
    }
    QString s = (d.negative && nonZero ? "-" : "") + intPart;
    if (decimals > 0) s += "." + frac;
    return s;
}

TEST(NumberFormat, QuickPathAgreesWithTheExactDigits) {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mant(-10.0, 10.0);
    std::uniform_int_distribution<int> exp(-12, 12), dec(0, 12);
    for (int i = 0; i < 20000; ++i) {
        // Values near a half of the last decimal as well as arbitrary ones.
        const int d = dec(rng);
        double v = mant(rng) * std::pow(10.0, exp(rng));
        if (i % 2) v = (std::round(v * std::pow(10.0, d)) + 0.5) / std::pow(10.0, d);
        ASSERT_EQ(formatField(v, 0, d), referenceField(v, d)) << std::setprecision(17) << v << " D" << d;
    }
}

TEST(NumberFormat, NonFiniteValuesHaveNames) {
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::quiet_NaN(), 15, 2), "NAN");
    EXPECT_EQ(formatFixed(-std::numeric_limits<double>::infinity(), 15, 2), "-INF");
    EXPECT_EQ(formatField(std::numeric_limits<double>::infinity(), 5, 2), "  INF");
}

TEST(NumberFormat, PascalFieldsAreRightAlignedAndNeverCut) {
    struct Case {
        double value;
        int width, decimals;
        const char* expected;
    } cases[] = {
        {1.5, 8, 3, "   1.500"},
        {-1234.5, 3, 1, "-1234.5"},
        {0.125, 6, 2, "  0.13"},
        {2.675, 0, 2, "2.67"},
        {-0.004, 6, 2, "  0.00"},
        {1e20, 0, 1, "100000000000000000000.0"},
        {3.0, 4, 0, "   3"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatField(c.value, c.width, c.decimals), c.expected) << c.value;
    EXPECT_EQ(formatPrintfF(-2.5, 7, 0), "     -3");
}

TEST(NumberFormat, PascalStandardScientificField) {
    struct Case {
        double value;
        int width;
        const char* expected;
    } cases[] = {
        {1.0, 23, " 1.00000000000000E+0000"},
        {-1234.5, 23, "-1.23450000000000E+0003"},
        {0.0, 23, " 0.00000000000000E+0000"},
        {0.000123, 23, " 1.23000000000000E-0004"},
        {1.0, 12, " 1.000E+0000"},
        {0.5, 10, " 5.0E-0001"},
        {9.996, 11, " 1.00E+0001"},                  // the carry moves the exponent
        {1.0, 30, "        1.00000000000000E+0000"},  // at most 14 decimals, then blanks
        {2.0, 5, " 2.0E+0000"},                     // never cut
    };
    for (const auto& c : cases) EXPECT_EQ(formatFieldExp(c.value, c.width), c.expected) << c.value;
}

TEST(NumberFormat, UserTypedRealsTakeDotOrComma) {
    struct Case {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"1.5", 1.5}, {"1,5", 1.5}, {" -2,25 ", -2.25}, {"+3", 3.0}, {",5", 0.5}, {"5,", 5.0},
        {"1e3", 1000.0}, {"2,5E-1", 0.25},
        {"", std::nullopt}, {"abc", std::nullopt}, {"1.2.3", std::nullopt}, {"1,2,3", std::nullopt},
        {"1.234,5", std::nullopt}, {"-", std::nullopt}, {"1 000", std::nullopt}, {"1e999", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseUserReal(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(NumberFormat, DisplaySeparatorFollowsTheSystemLocale) {
    setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
    EXPECT_EQ(systemDecimalSeparator(), u',');
    setSystemLocaleOverride(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(systemDecimalSeparator(), u'.');
    setSystemLocaleOverride(std::nullopt);
}
