#include <gtest/gtest.h>

#include <QImage>

#include "foundations/Display.h"
#include "foundations/LocaleTable.h"
#include "foundations/NumberFormat.h"

TEST(Display, RoundsHalvesAwayAndRedrawsOnlyOnChange) {
    TDisplay d;
    d.SetValue(1.0005);
    EXPECT_EQ(d.Value(), 1.001);
    d.SetValue(-1.0005);
    EXPECT_EQ(d.Value(), -1.001);
    const int redraws = d.RedrawCount();
    d.SetValue(-1.0012);  // rounds to the stored value
    d.SetValue(-1.001);
    EXPECT_EQ(d.RedrawCount(), redraws);
    d.SetPrecision(20);
    EXPECT_EQ(d.Precision(), 3);
    d.SetPrecision(1);
    EXPECT_EQ(d.Value(), -1.001);  // not rounded again

    // Large values are already whole at any precision, and never become infinite.
    d.SetPrecision(14);
    d.SetValue(1e300);
    EXPECT_EQ(d.Value(), 1e300);
    d.SetValue(-4503599627370497.0);
    EXPECT_EQ(d.Value(), -4503599627370497.0);
    d.SetAngle(true);
    d.SetPrecision(0);
    d.SetValue(3.6e21);
    EXPECT_EQ(d.DisplayText(), QString::fromUtf8(" 1000000000000000000\u00B0  0'  0\""));
}

TEST(Display, Texts) {
    struct Case {
        double value;
        int precision;
        bool angle;
        char sep;
        const char* expected;
    } cases[] = {
        {1234.5678, 3, false, ',', "1234,568"},
        {-0.25, 2, false, '.', "-0.25"},
        {12345678901.5, 1, false, '.', "1.23456789E10"},  // more than 10 integer digits
        {3725.25, 2, true, ',', " 1\u00B0  2'  5,25\""},
        {-3600.0, 2, true, ',', "-1\u00B0  0'  0,00\""},
        {-0.5, 2, true, ',', "-0\u00B0  0'  0,50\""},  // the sign of a value between -1 and 0 stays
        {86399.5, 1, true, '.', " 23\u00B059'59.5\""},
        {45.0, 0, true, '.', " 0\u00B0  0'45\""},
        {5.0, 0, true, '.', " 0\u00B0  0'  5\""},
    };
    for (const auto& c : cases) {
        TDisplay d;
        d.SetPrecision(c.precision);
        d.SetDecSep(QChar(c.sep));
        d.SetAngle(c.angle);
        d.SetValue(c.value);
        EXPECT_EQ(d.DisplayText(), QString::fromUtf8(c.expected)) << c.value;
    }
}

TEST(Display, OwnSeparatorWhateverTheSystemUses) {
    foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
    TDisplay d;
    EXPECT_EQ(d.DecSep(), u',');
    d.SetDecSep(u'.');
    d.SetValue(2.5);
    d.resize(80, 20);
    QImage img(d.size(), QImage::Format_RGB32);
    d.render(&img);
    EXPECT_EQ(d.DisplayText(), "2.500");
    EXPECT_EQ(foundations::systemDecimalSeparator(), u',');
    foundations::setSystemLocaleOverride(std::nullopt);
}
