#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "evaluation/MeasurementFiles.h"
#include "evaluation/Perpendicularity.h"
#include "StraightnessPoints.h"

using namespace evaluation;

namespace {

// A run along 0..20 cm whose deviation rises by `slope` µm per cm, with a bump in the middle
// that the end-point line keeps and the line through the ends removes.
TPunkt run(double slope, bool vertical = false) {
    TPunkt p;
    for (double x : {0.0, 5.0, 10.0, 15.0, 20.0}) {
        TPunktItem& i = p.Add();
        i.Dystans = x;
        const double y = slope * x + (x == 10.0 ? 0.7 : 0.0);
        (vertical ? i.Xr : i.Xa) = y;
        (vertical ? i.Xa : i.Xr) = -3.0 * x;  // the other plane slopes differently
    }
    return p;
}

const QString deg = QString::fromUtf8("°");

}  // namespace

// Two runs with slopes worked by hand: atan(0.0001·k)·206264.8 arc seconds per axis, and
// 324000 + angle1 − angle2 between them.
TEST(Perpendicularity, AngleBetweenAxesFromTwoSlopes) {
    struct Case {
        double slope1, slope2;
        double angle1, angle2;  // arc seconds
        const char* result;
    } cases[] = {
        {3.0, 3.0, 61.8794381, 61.8794381, "324000.0 sek. = 90° 0' 0.0\""},
        {1.0, 0.0, 20.6264799, 0.0, "324020.6 sek. = 90° 0' 20.6\""},      // axis 1 opens the angle
        {0.0, 1.0, 0.0, 20.6264799, "323979.4 sek. = 89° 59' 39.4\""},     // axis 2 closes it
        {-2.5, 2.5, -51.5661989, 51.5661989, "323896.9 sek. = 89° 58' 16.9\""},
        {50.0, 0.0, 1031.3154058, 0.0, "325031.3 sek. = 90° 17' 11.3\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        PerpendicularityEval e;
        e.SetAxisPoints(0, run(c.slope1));
        e.SetAxisPoints(1, run(c.slope2));
        EXPECT_NEAR(e.axis(0).angle, c.angle1, 1e-6);
        EXPECT_NEAR(e.axis(1).angle, c.angle2, 1e-6);
        ASSERT_TRUE(e.AngleBetween());
        EXPECT_NEAR(*e.AngleBetween(), 324000.0 + c.angle1 - c.angle2, 1e-6);
        EXPECT_EQ(e.ResultText(u'.'), QString::fromUtf8(c.result));
    }
    // Identical slopes give exactly a right angle.
    PerpendicularityEval e;
    e.SetAxisPoints(0, run(3.0));
    e.SetAxisPoints(1, run(3.0));
    EXPECT_EQ(*e.AngleBetween(), 324000.0);
}

TEST(Perpendicularity, PlaneAndLineChooseWhatIsFitted) {
    // Least-squares slope of 0, 2, 1, 3 over 0..3 cm is 0.8 µm/cm; the end points give 1.
    const TPunkt p = points({{0, 0, 0}, {1, 2, -4}, {2, 1, -8}, {3, 3, -12}});
    struct Case {
        int line, plane;
        double angle;
        std::vector<QPointF> residuals;
    } cases[] = {
        {plEndPoints, ppHorizontal, 20.6264799, {{0, 0}, {1, 1}, {2, -1}, {3, 0}}},
        {plLeastSquares, ppHorizontal, 16.5011840, {{0, -0.3}, {1, 0.9}, {2, -0.9}, {3, 0.3}}},
        {plEndPoints, ppVertical, -82.5059156, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        const AxisLineFit f = FitAxisLine(p, c.line, c.plane);
        EXPECT_TRUE(f.fitted());
        EXPECT_NEAR(f.angle, c.angle, 1e-6);
        ASSERT_EQ(f.residuals.size(), c.residuals.size());
        for (size_t i = 0; i < c.residuals.size(); ++i) {
            EXPECT_DOUBLE_EQ(f.residuals[i].x(), c.residuals[i].x());
            EXPECT_NEAR(f.residuals[i].y(), c.residuals[i].y(), 1e-12);
        }
    }
}

TEST(Perpendicularity, SplitArcSeconds) {
    struct Case {
        int32_t s;
        ArcSecondsSplit want;
    } cases[] = {
        {0, {0, 0, 0, 0}},
        {324012, {0, 90, 0, 12}},
        {3599, {0, 0, 59, 59}},
        {3600, {0, 1, 0, 0}},
        {-3661, {1, 1, 1, 1}},
        {std::numeric_limits<int32_t>::min(), {1, 596523, 14, 8}},  // no overflow on the magnitude
    };
    for (const Case& c : cases) EXPECT_EQ(SplitArcSeconds(c.s), c.want) << c.s;
}

TEST(Perpendicularity, ResultAndAngleTexts) {
    struct Case {
        double v;
        QChar sep;
        const char* want;
    } cases[] = {
        {324012.5, u'.', "324012.5 sek. = 90° 0' 12.5\""},
        {324059.96, u'.', "324060.0 sek. = 90° 1' 0.0\""},   // 59.96" is a whole minute
        {324059.95, u'.', "324060.0 sek. = 90° 1' 0.0\""},   // stored a little above .95
        {323999.96, u'.', "324000.0 sek. = 90° 0' 0.0\""},
        {3599.97, u'.', "3600.0 sek. = 1° 0' 0.0\""},
        {5.05, u'.', "5.0 sek. = 0° 0' 5.0\""},              // really 5.04999...
        {-12.5, u'.', "-12.5 sek. = -0° 0' 12.5\""},
        {-3661.24, u'.', "-3661.2 sek. = -1° 1' 1.2\""},
        {-0.04, u'.', "0.0 sek. = 0° 0' 0.0\""},
        {324012.5, u',', "324012,5 sek. = 90° 0' 12,5\""},
        {std::nan(""), u'.', "-"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatAngleBetweenAxes(c.v, c.sep), QString::fromUtf8(c.want)) << c.v;

    EXPECT_EQ(FormatSlopeAngle(20.6264799, u'.'), "20.63");
    EXPECT_EQ(FormatSlopeAngle(-51.5661989, u','), "-51,57");
    EXPECT_EQ(FormatSlopeAngle(0.0, u'.'), "0.00");
}

// A run that defines no line gives zero figures and says why; nothing is ever NaN.
TEST(Perpendicularity, DegenerateRunsGiveZeroAndAReason) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        TPunkt p;
        int line, plane;
        AxisLineFault fault;
        size_t shown;  // readings drawn as they are
    } cases[] = {
        {"empty", TPunkt(), plEndPoints, ppHorizontal, AxisLineFault::TooFewPoints, 0},
        {"one point", points({{4, 1, 2}}), plLeastSquares, ppHorizontal, AxisLineFault::TooFewPoints, 1},
        {"zero span", points({{4, 1, 2}, {4, 5, 6}}), plLeastSquares, ppHorizontal, AxisLineFault::TooFewPoints, 2},
        {"ends at one place", points({{0, 1, 2}, {5, 3, 2}, {0, 5, 6}}), plEndPoints, ppHorizontal,
         AxisLineFault::TooFewPoints, 3},
        {"NaN deviation", points({{0, 1, 2}, {5, nan, 2}, {10, 5, 6}}), plEndPoints, ppHorizontal,
         AxisLineFault::NonFinite, 2},
        {"infinite position", points({{0, 1, 2}, {inf, 3, 2}}), plLeastSquares, ppVertical,
         AxisLineFault::NonFinite, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AxisLineFit f = FitAxisLine(c.p, c.line, c.plane);
        EXPECT_EQ(f.fault, c.fault);
        EXPECT_EQ(f.angle, 0.0);
        EXPECT_EQ(f.residuals.size(), c.shown);
        for (const QPointF& q : f.residuals) EXPECT_TRUE(std::isfinite(q.x()) && std::isfinite(q.y()));
    }
    // The other plane and the other line are judged on their own.
    const TPunkt backAtStart = points({{0, 1, 2}, {5, 3, 2}, {0, 5, 6}});
    EXPECT_TRUE(FitAxisLine(backAtStart, plLeastSquares, ppHorizontal).fitted());
    EXPECT_TRUE(FitAxisLine(points({{0, 1, 2}, {5, nan, 2}, {10, 5, 6}}), plEndPoints, ppVertical).fitted());

    PerpendicularityEval e;
    e.SetAxisPoints(0, run(1.0));
    e.SetAxisPoints(1, points({{7, 1, 1}}));
    EXPECT_EQ(e.axis(1).angle, 0.0);
    EXPECT_FALSE(e.AngleBetween());
    EXPECT_EQ(e.ResultText(u'.'),
              QString::fromUtf8("Oś nr2: za mało punktów, by wyznaczyć linię (potrzeba dwóch w różnych odległościach)."));
    e.SetAxisPoints(0, points({{0, nan, 0}, {1, 1, 1}}));
    EXPECT_EQ(e.Faults(), QStringList({QString::fromUtf8("Oś nr1: plik zawiera wartości, które nie są liczbami."),
                                       QString::fromUtf8("Oś nr2: za mało punktów, by wyznaczyć linię "
                                                         "(potrzeba dwóch w różnych odległościach).")}));
    // A run that is degenerate for the end points only gets its line from least squares.
    e.SetAxisPoints(0, run(1.0));
    e.SetAxisPoints(1, backAtStart);
    EXPECT_FALSE(e.AngleBetween());
    e.line = plLeastSquares;
    e.FitBoth();
    EXPECT_TRUE(e.AngleBetween());
}

class PerpendicularityFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString write(const char* name, const TPunkt& p) const {
        SavePointSeriesFile(path(name), TMeasurementHeader(), p);
        return path(name);
    }
};

TEST_F(PerpendicularityFiles, OneRunAloneLeavesTheResultOpen) {
    PerpendicularityEval e;
    EXPECT_EQ(e.ResultText(u'.'), "-");
    EXPECT_FALSE(e.LoadAxis(1, write("y.dt4", run(1.0))));
    EXPECT_TRUE(e.axis(1).loaded);
    EXPECT_NEAR(e.axis(1).angle, 20.6264799, 1e-6);
    EXPECT_FALSE(e.axis(0).loaded);
    EXPECT_EQ(e.ResultText(u'.'), "-");
}

TEST_F(PerpendicularityFiles, ChoicesRefitFromTheLoadedPointsWithoutReadingAgain) {
    PerpendicularityEval e;
    ASSERT_FALSE(e.LoadAxis(0, write("x.dt4", run(1.0, /*vertical=*/true))));
    ASSERT_FALSE(e.LoadAxis(1, write("y.dt4", run(0.0, /*vertical=*/true))));
    ASSERT_TRUE(QFile::remove(path("x.dt4")) && QFile::remove(path("y.dt4")));
    // Horizontal plane: both Xa slope −3 µm/cm, so a right angle.
    EXPECT_EQ(e.ResultText(u'.'), QString::fromUtf8("324000.0 sek. = 90° 0' 0.0\""));
    e.plane = ppVertical;
    e.FitBoth();
    EXPECT_EQ(e.ResultText(u'.'), QString::fromUtf8("324020.6 sek. = 90° 0' 20.6\""));
    EXPECT_EQ(e.axis(0).line.residuals.size(), 5u);
    EXPECT_NEAR(e.axis(0).line.residuals[2].y(), 0.7, 1e-12);
}

TEST_F(PerpendicularityFiles, DamagedFileKeepsBothAxes) {
    PerpendicularityEval e;
    ASSERT_FALSE(e.LoadAxis(0, write("x.dt4", run(1.0))));
    ASSERT_FALSE(e.LoadAxis(1, write("y.dt4", run(0.0))));
    const QString before = e.ResultText(u'.');

    // Cut inside the third point, and a file that is not there.
    const QString cut = write("cut.dt4", run(5.0));
    {
        QFile f(cut);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(TMeasurementHeader::Size + 4 + 2 * 24 + 10));
    }
    for (const QString& bad : {cut, path("missing.dt4")}) {
        SCOPED_TRACE(bad.toStdString());
        const auto err = e.LoadAxis(0, bad);
        ASSERT_TRUE(err);
        EXPECT_EQ(*err, QString::fromUtf8("Nie można otworzyć pliku ") + bad);
        EXPECT_EQ(e.axis(0).points.Count(), 5);
        EXPECT_NEAR(e.axis(0).angle, 20.6264799, 1e-6);
        EXPECT_EQ(e.axis(1).points.Count(), 5);
        EXPECT_EQ(e.ResultText(u'.'), before);
    }
}
