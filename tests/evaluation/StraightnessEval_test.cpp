#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>

#include "evaluation/StraightnessEval.h"
#include "StraightnessPoints.h"

using namespace evaluation;

namespace {

void expectPoints(const TPunkt& got, std::initializer_list<Pt> want) {
    ASSERT_EQ(got.Count(), static_cast<int>(want.size()));
    int i = 0;
    for (const Pt& w : want) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(got[i].Dystans, w.x);
        EXPECT_NEAR(got[i].Xa, w.xa, 1e-12);
        EXPECT_NEAR(got[i].Xr, w.xr, 1e-12);
        ++i;
    }
}

double arcSeconds(double slope) { return std::atan(1e-4 * slope) * 206264.8; }

// x = 0, 1, 2, 3 cm; Xa = 1, 3, 2, 4; Xr = 2x + 5 (a straight line).
// Least squares for Xa: Σx 6, Σy 10, Σx² 14, Σxy 19, D = 36 - 56 = -20,
// a = (60 - 76) / -20 = 0.8, b = (114 - 140) / -20 = 1.3; residuals -0.3, 0.9, -0.9, 0.3.
// End-point line for Xa: k = (4 - 1) / 3 = 1; residuals 0, 1, -1, 0 (straightness 2).
TPunkt wavyLine() { return points({{0, 1, 5}, {1, 3, 7}, {2, 2, 9}, {3, 4, 11}}); }

}  // namespace

TEST(StraightnessEval, EndPointLine) {
    // Xa: k = (4 - 2) / (3 - 1) = 1, residuals 0, 5 - 3, 0; Xr: k = 2, residuals 0, 1 - 2, 0.
    TPunkt dest;
    LineAngles angles{9, 9};
    FitEndPointLine(points({{1, 2, 0}, {2, 5, 1}, {3, 4, 4}}), dest, angles);
    expectPoints(dest, {{1, 0, 0}, {2, 2, -1}, {3, 0, 0}});
    EXPECT_NEAR(angles[0], 20.6265, 5e-5);  // 1 µm/cm
    EXPECT_NEAR(angles[0], arcSeconds(1), 1e-9);
    EXPECT_NEAR(angles[1], arcSeconds(2), 1e-9);
}

TEST(StraightnessEval, FitsAppendToDestination) {
    TPunkt dest = points({{99, 1, 1}});
    LineAngles angles;
    FitEndPointLine(wavyLine(), dest, angles);
    ASSERT_EQ(dest.Count(), 5);
    EXPECT_EQ(dest[0].Dystans, 99.0);
}

TEST(StraightnessEval, LeastSquaresLine) {
    TPunkt dest;
    LineAngles angles;
    FitLeastSquaresLine(wavyLine(), dest, angles);
    expectPoints(dest, {{0, -0.3, 0}, {1, 0.9, 0}, {2, -0.9, 0}, {3, 0.3, 0}});
    EXPECT_NEAR(angles[0], arcSeconds(0.8), 1e-9);
    EXPECT_NEAR(angles[1], arcSeconds(2), 1e-9);

    LineCoefficients c;
    LeastSquaresCoefficients(wavyLine(), c);
    const double want[] = {0.8, 2, 1.3, 5};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(c[i], want[i], 1e-12) << i;
}

TEST(StraightnessEval, AnglesHeldAsSixByteReals) {
    EXPECT_EQ(RoundToReal48(0.0), 0.0);
    EXPECT_EQ(RoundToReal48(1.0 + std::ldexp(1.0, -39)), 1.0 + std::ldexp(1.0, -39));  // last kept bit
    EXPECT_EQ(RoundToReal48(1.0 + std::ldexp(1.0, -41)), 1.0);                         // below it
    EXPECT_EQ(RoundToReal48(-3.0 - std::ldexp(1.0, -45)), -3.0);
    EXPECT_EQ(RoundToReal48(1e-40), 0.0);  // under the 6-byte range
    TPunkt dest;
    LineAngles angles;
    FitEndPointLine(points({{0, 0, 0}, {1, 1, 0}}), dest, angles);
    EXPECT_EQ(angles[0], RoundToReal48(arcSeconds(1)));
}

TEST(StraightnessEval, StraightLineOffZeroHasNoResidualsAndZeroValue) {
    // Xa = x - 5 from x = 10 cm: slope 1 µm/cm.
    const TPunkt line = points({{10, 5, 0}, {20, 15, 0}, {30, 25, 0}});
    for (int method : {0, 1}) {
        SCOPED_TRACE(method);
        TPunkt dest;
        LineAngles angles;
        if (method == 0)
            FitEndPointLine(line, dest, angles);
        else
            FitLeastSquaresLine(line, dest, angles);
        for (int i = 0; i < dest.Count(); ++i) EXPECT_NEAR(dest[i].Xa, 0.0, 1e-12);
        EXPECT_NEAR(angles[0], arcSeconds(1), 1e-9);
    }
    const StraightnessPlot plot = PlotStraightness(line, {}, u'.');
    EXPECT_EQ(plot.horizontalValue, 0.0);
    EXPECT_EQ(plot.horizontalCaption, QString::fromUtf8("Prostoliniowość =  0.00 µm"));
}

TEST(StraightnessEval, DegenerateInputRemovesNoLine) {
    const std::vector<TPunkt> cases = {
        TPunkt(),                                       // no point
        points({{5, 3, -2}}),                           // one point
        points({{5, 3, -2}, {5, 4, 1}, {5, 7, 0}}),     // all positions equal
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const TPunkt& src = cases[i];
        TPunkt ep, ls;
        LineAngles a1{9, 9}, a2{9, 9};
        LineCoefficients c{9, 9, 9, 9};
        FitEndPointLine(src, ep, a1);
        FitLeastSquaresLine(src, ls, a2);
        LeastSquaresCoefficients(src, c);
        for (const TPunkt* d : {&ep, &ls}) {
            ASSERT_EQ(d->Count(), src.Count());
            for (int k = 0; k < src.Count(); ++k) {
                EXPECT_EQ((*d)[k].Xa, src[k].Xa);
                EXPECT_EQ((*d)[k].Xr, src[k].Xr);
            }
        }
        EXPECT_EQ(a1, (LineAngles{0, 0}));
        EXPECT_EQ(a2, (LineAngles{0, 0}));
        EXPECT_EQ(c, (LineCoefficients{0, 0, 0, 0}));
        const StraightnessPlot plot = PlotStraightness(src, {}, u'.');
        EXPECT_FALSE(std::isnan(plot.horizontalValue));
        EXPECT_FALSE(std::isnan(plot.verticalValue));
    }
    // Last position equal to the first: no end-point slope, while least squares has a line.
    const TPunkt loop = points({{0, 1, 0}, {2, 3, 0}, {0, 5, 0}});
    TPunkt ep;
    LineAngles a;
    FitEndPointLine(loop, ep, a);
    EXPECT_EQ(ep[1].Xa, 3.0);
    EXPECT_EQ(a[0], 0.0);
}

TEST(StraightnessEval, PlotByStatisticsMethod) {
    struct Case {
        int method;
        std::vector<double> curveXa;
    } cases[] = {
        {0, {0, 1, -1, 0}},          // end-point residuals
        {1, {-0.3, 0.9, -0.9, 0.3}},  // least-squares residuals
        {2, {1, 3, 2, 4}},           // raw readings
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        StraightnessPlotOptions o;
        o.statisticsMethod = c.method;
        const StraightnessPlot plot = PlotStraightness(wavyLine(), o, u',');
        EXPECT_EQ(plot.horizontal.name, "DoPrzodu");
        EXPECT_EQ(plot.vertical.name, "ProstoOsY");
        ASSERT_EQ(plot.horizontal.points.size(), 4u);
        ASSERT_EQ(plot.vertical.points.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_DOUBLE_EQ(plot.horizontal.points[i].x(), i);
            EXPECT_NEAR(plot.horizontal.points[i].y(), c.curveXa[i], 1e-12);
        }
        // The value is always that of the end-point line.
        EXPECT_NEAR(plot.horizontalValue, 2.0, 1e-12);
        EXPECT_NEAR(plot.verticalValue, 0.0, 1e-12);
        EXPECT_EQ(plot.horizontalCaption, QString::fromUtf8("Prostoliniowość =  2,00 µm"));
        EXPECT_EQ(plot.verticalCaption, QString::fromUtf8("Prostoliniowość =  0,00 µm"));
    }
}

TEST(StraightnessEval, PlotUnitsAndTitles) {
    StraightnessPlotOptions o;
    o.lengthUnit = 1;
    StraightnessPlot plot = PlotStraightness(wavyLine(), o, u'.');
    EXPECT_DOUBLE_EQ(plot.horizontal.points[3].x(), 3 * 0.3937007874015748);
    EXPECT_DOUBLE_EQ(plot.horizontal.points[1].y(), 1.0);  // deviations stay in µm
    EXPECT_EQ(plot.horizontalTitle, QStringList{QString::fromUtf8("Wykres prostoliniowości")});
    EXPECT_EQ(plot.verticalTitle, QStringList{QString::fromUtf8("Wykres prostoliniowości - Oś pionowa")});

    o.lengthUnit = 2;  // no other unit is plotted
    o.straightnessMethod = 2;
    o.flatnessMode = true;
    o.flatnessLine = 3;
    plot = PlotStraightness(wavyLine(), o, u'.');
    EXPECT_TRUE(plot.horizontal.points.empty());
    EXPECT_TRUE(plot.vertical.points.empty());
    EXPECT_EQ(plot.horizontalTitle, QStringList({QString::fromUtf8("Wykres prostoliniowości - Oś pozioma"),
                                                 QString::fromUtf8("Mapa płaskości - oś 3")}));
    EXPECT_NEAR(plot.horizontalValue, 2.0, 1e-12);
}

TEST(StraightnessEval, PadLeft) {
    struct Case {
        int width;
        const char* s;
        const char* want;
    } cases[] = {{5, "12", "    12"}, {2, "12345", "12345"}, {2, "12", " 12"}, {0, "", " "}, {3, "", "    "}};
    for (const Case& c : cases) EXPECT_EQ(PadLeft(c.width, c.s), QString(c.want)) << c.width << " " << c.s;
}

namespace {
// The stored bytes of a short string of capacity `cap`: length byte, text, zeros.
QByteArray shortString(const QByteArray& text, int cap) {
    QByteArray b(cap + 1, '\0');
    b[0] = static_cast<char>(text.size());
    for (int i = 0; i < text.size(); ++i) b[1 + i] = text[i];
    return b;
}
}  // namespace

TEST(StraightnessEval, HeaderEnvironmentFromStation) {
    TMeasurementHeader h;
    h.MachineType = "VMC";
    h.Feed = "500";
    EnvironmentEntry e;
    e.humidityFromStation = e.pressureFromStation = e.airFromStation = e.materialFromStation = true;
    e.humidityText = e.pressureText = e.airText = e.materialText = "unused";
    e.humidity = 45.6;          // precision 3, no decimals: "46 %"
    e.pressure = 1013.25;       // precision 5, 1 decimal: 1013.3
    e.airTemperature = 20.125;  // precision 4, 2 decimals: 20.13
    e.materialTemperature = 19.8765;
    e.referenceTemperature = 20.0;
    const QDate day(2026, 12, 10);
    FillHeaderEnvironment(h, e, day);

    // Air temperature (106, 7), material temperature (114, 7), humidity (122, 4), pressure
    // (127, 8) and reference temperature (136, 4) as stored.
    const QByteArray want = shortString("20.13", 7) + shortString("19.88", 7) + shortString("46 %", 4) +
                            shortString("1013.3", 8) + shortString("20.0", 4);
    const QByteArray bytes = h.toBytes();
    EXPECT_EQ(bytes.mid(106, 35), want);
    EXPECT_EQ(h.Date, QLocale::system().toString(day, QLocale::ShortFormat).left(17));
    EXPECT_EQ(h.MachineType, "VMC");
    EXPECT_EQ(h.Feed, "500");
}

TEST(StraightnessEval, HeaderEnvironmentFromManualEntryIsCutToWidth) {
    TMeasurementHeader h;
    EnvironmentEntry e;
    e.humidityText = "55.5 %";
    e.pressureText = "1000.0 hPa";
    e.airText = "21,5";
    e.materialText = "19.75 C plus";
    e.referenceTemperature = 123.45;  // 15 digits, 1 decimal "123.5", cut to 4
    FillHeaderEnvironment(h, e, QDate(2026, 1, 2));
    EXPECT_EQ(h.Humidity, "55.5");
    EXPECT_EQ(h.Pressure, "1000.0 h");
    EXPECT_EQ(h.AirTemperature, "21,5");
    EXPECT_EQ(h.MaterialTemperature, "19.75 C");
    EXPECT_EQ(h.ReferenceTemperature, "123.");

    e.humidityFromStation = true;
    e.humidity = 100.0;  // "100 %" does not fit four characters
    FillHeaderEnvironment(h, e, QDate(2026, 1, 2));
    EXPECT_EQ(h.Humidity, "100 ");
}
