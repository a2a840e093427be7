#include "evaluation/FlatnessMap.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "evaluation/MeasurementFiles.h"

#include "platform/Chart.h"
#include "platform/Chart3DSeries.h"

using namespace evaluation;

namespace {

struct Pt {
    double d, y;
};

TPunkt lineOf(std::initializer_list<Pt> pts) {
    TPunkt p;
    for (const Pt& q : pts) {
        auto& it = p.Add();
        it.Dystans = q.d;
        it.Xa = q.y;
    }
    return p;
}

// 16 empty lines, line k (1-based) set by `set`.
struct Lines {
    TCykl c;
    Lines() {
        for (int k = 0; k < kFlatnessLineCount; ++k) c.Add();
    }
    Lines& set(int k, std::initializer_list<Pt> pts) {
        c[k - 1].Punkt = lineOf(pts);
        return *this;
    }
};

std::vector<double> heights(const TPunkt& p) {
    std::vector<double> v;
    for (int i = 0; i < p.Count(); ++i) v.push_back(p[i].Xa);
    return v;
}

void expectHeights(const FlatnessMapResult& r, int line, std::vector<double> want) {
    const std::vector<double> got = heights(r.lines[line - 1].Punkt);
    ASSERT_EQ(got.size(), want.size()) << "line " << line;
    for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << "line " << line << " point " << i;
}

std::vector<MapPoint> pts(std::initializer_list<MapPoint> p) { return p; }

// Diagonals (224 cm, 3 points) with a bump and a dip; their least-squares residuals are
// line 2: -1, 2, -1 and line 4: 1, -2, 1. Middles 2 and -2: line 4 is raised by 4 to 5, 2, 5.
Lines fourLineEnvelope() {
    Lines l;
    l.set(1, {{0, 0}, {100, 1}, {200, 0}})
        .set(2, {{0, 0}, {112, 3}, {224, 0}})
        .set(4, {{0, 0}, {112, -3}, {224, 0}})
        .set(5, {{0, 0}, {100, 0}, {200, 0}});
    return l;
}

}  // namespace

TEST(FlatnessMapTest, EnvelopeOfFourLinesMeetsAtTheCorners) {
    // Line 1 tilted from line 2's first (-1) to line 4's last (5): 0,1,0 + (-1, 2, 5) = -1, 3, 5.
    // Line 5 tilted from line 4's first (5) to line 2's last (-1): 5, 2, -1.
    // Lines 3, 6, 7, 8 are empty: no ramp between middles. Heights -1..5: value 6, all +1.
    const FlatnessMapResult r = BuildFlatnessMap(fourLineEnvelope().c, {});
    EXPECT_DOUBLE_EQ(r.value, 6.0);
    expectHeights(r, 1, {0, 4, 6});
    expectHeights(r, 2, {0, 3, 0});
    expectHeights(r, 4, {6, 3, 6});
    expectHeights(r, 5, {6, 3, 0});
    // W from line 1, H the default while line 3 is empty.
    EXPECT_EQ(r.width, 200);
    EXPECT_EQ(r.depth, 100);
    EXPECT_EQ(r.series[0], pts({{0, 0, 0}, {100, 4, 0}, {200, 6, 0}}));
    EXPECT_EQ(r.series[1], pts({{0, 0, 0}, {100, 3, 50}, {200, 0, 100}}));
    EXPECT_EQ(r.series[3], pts({{0, 6, 100}, {100, 3, 50}, {200, 6, 0}}));  // back left to front right
    EXPECT_EQ(r.series[4], pts({{0, 6, 100}, {100, 3, 100}, {200, 0, 100}}));
    for (int k : {2, 5, 6, 7}) EXPECT_TRUE(r.series[size_t(k)].empty()) << k;
}

TEST(FlatnessMapTest, EnvelopeOfEightLines) {
    Lines l = fourLineEnvelope();
    l.set(3, {{0, 0}, {50, 0}, {100, 0}})
        .set(6, {{0, 0}, {50, 0}, {100, 0}})
        .set(7, {{0, 0}, {100, -2}, {200, 0}})
        .set(8, {{0, 0}, {25, 1}, {50, 1}, {75, 1}, {100, 0}});
    // As above, and line 3 from line 2's first (-1) to line 4's first (5): -1, 2, 5;
    // line 6 from line 4's last (5) to line 2's last (-1): 5, 2, -1.
    // Line 8 between the middles of line 1 (3) and line 5 (2): 0,1,1,1,0 + 3, 2.75, 2.5, 2.25, 2.
    // Line 7 between the middles of line 3 (2) and line 6 (2): 2, 0, 2. Heights -1..5: value 6.
    const FlatnessMapResult r = BuildFlatnessMap(l.c, {});
    EXPECT_DOUBLE_EQ(r.value, 6.0);
    expectHeights(r, 3, {0, 3, 6});
    expectHeights(r, 6, {6, 3, 0});
    expectHeights(r, 7, {3, 1, 3});
    expectHeights(r, 8, {4, 4.75, 4.5, 4.25, 3});
    EXPECT_EQ(r.depth, 100);  // line 3's length
    EXPECT_EQ(r.series[2], pts({{0, 0, 0}, {0, 3, 50}, {0, 6, 100}}));
    EXPECT_EQ(r.series[5], pts({{200, 6, 0}, {200, 3, 50}, {200, 0, 100}}));
    EXPECT_EQ(r.series[6], pts({{0, 3, 50}, {100, 1, 50}, {200, 3, 50}}));
    EXPECT_EQ(r.series[7], pts({{100, 4, 0}, {100, 4.75, 25}, {100, 4.5, 50}, {100, 4.25, 75}, {100, 3, 100}}));
    // Each edge starts and ends where the lines at its corners do.
    auto first = [&](int k) { return r.lines[k - 1].Punkt[0].Xa; };
    auto last = [&](int k) { return r.lines[k - 1].Punkt[r.lines[k - 1].Punkt.Count() - 1].Xa; };
    EXPECT_EQ(first(3), first(1));
    EXPECT_EQ(last(3), first(5));
    EXPECT_EQ(first(6), last(1));
    EXPECT_EQ(last(6), last(5));
}

TEST(FlatnessMapTest, FlatEnvelopeIsZeroEverywhere) {
    Lines l;
    for (int k = 1; k <= 8; ++k) l.set(k, {{0, 0}, {50, 0}, {100, 0}});
    const FlatnessMapResult r = BuildFlatnessMap(l.c, {});
    EXPECT_EQ(FlatnessValueText(r.value, '.'), "0.00");
    for (const auto& s : r.series)
        for (const MapPoint& p : s) EXPECT_EQ(p.y, 0.0);
}

TEST(FlatnessMapTest, GridThreeByThree) {
    // H lines (1..3) run 200 cm along x at z = 0, 50, 100; V lines (4..6) run 100 cm along z at
    // x = 0, 100, 200.
    Lines l;
    l.set(1, {{0, 0}, {100, 1}, {200, 0}})
        .set(2, {{0, 0}, {100, 0}, {200, 0}})
        .set(3, {{0, 0}, {100, 0}, {200, 0}})
        .set(4, {{0, 0}, {50, 2}, {100, 0}})
        .set(5, {{0, 0}, {50, 0}, {100, 0}})
        .set(6, {{0, 0}, {50, -2}, {100, 0}});
    // H line 2 (z = 50) from V1 at 50 (2) to V3 at 50 (-2): 2, 0, -2; H1 and H3 cross at the
    // V lines' ends (0) and stay. V2 (x = 100) from H1 at 100 (1) to H3 at 100 (0): 1, 0.5, 0.
    // Heights -2..2: value 4, all +2.
    const FlatnessMapResult r = BuildFlatnessMap(l.c, {true, 3, 3});
    EXPECT_DOUBLE_EQ(r.value, 4.0);
    expectHeights(r, 1, {2, 3, 2});
    expectHeights(r, 2, {4, 2, 0});
    expectHeights(r, 3, {2, 2, 2});
    expectHeights(r, 4, {2, 4, 2});
    expectHeights(r, 5, {3, 2.5, 2});
    expectHeights(r, 6, {2, 0, 2});
    EXPECT_EQ(r.width, 200);
    EXPECT_EQ(r.depth, 100);
    EXPECT_EQ(r.series[0], pts({{0, 2, 0}, {100, 3, 0}, {200, 2, 0}}));
    EXPECT_EQ(r.series[1], pts({{0, 4, 50}, {100, 2, 50}, {200, 0, 50}}));
    EXPECT_EQ(r.series[2], pts({{0, 2, 100}, {100, 2, 100}, {200, 2, 100}}));
    EXPECT_EQ(r.series[4], pts({{100, 3, 0}, {100, 2.5, 50}, {100, 2, 100}}));
    EXPECT_EQ(r.series[5], pts({{200, 2, 0}, {200, 0, 50}, {200, 2, 100}}));
}

TEST(FlatnessMapTest, LineRoutines) {
    // Middles: odd count the middle point, even the mean of the two middle ones.
    EXPECT_EQ(LineMiddle(lineOf({{0, 1}, {1, 5}, {2, 9}})), 5.0);
    EXPECT_EQ(LineMiddle(lineOf({{0, 1}, {1, 4}, {2, 6}, {3, 9}})), 5.0);
    EXPECT_EQ(LineMiddle(TPunkt()), 0.0);

    TPunkt ramp = lineOf({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
    AddLineRamp(ramp, 1, 3);
    EXPECT_EQ(heights(ramp), (std::vector<double>{1, 1.5, 2, 2.5, 3}));
    // A single point: no span to divide, it takes the start height.
    TPunkt one = lineOf({{0, 7}});
    AddLineRamp(one, 2, 5);
    EXPECT_EQ(heights(one), (std::vector<double>{9}));
    TiltLineTo(one, 2, 5);
    EXPECT_EQ(heights(one), (std::vector<double>{2}));
    // An imported line that does not start and end at 0 still meets the heights given:
    // 4, 6, 2 + ramp (-1 - 4 = -5 .. 3 - 2 = 1) = -1, 4, 3.
    TPunkt raw = lineOf({{0, 4}, {1, 6}, {2, 2}});
    TiltLineTo(raw, -1, 3);
    EXPECT_EQ(heights(raw), (std::vector<double>{-1, 4, 3}));

    const TPunkt l = lineOf({{10, 1}, {20, 3}, {40, -1}});
    struct Case {
        int x;
        double want;
    } cases[] = {{0, 1}, {10, 1}, {15, 2}, {20, 3}, {30, 1}, {40, -1}, {55, -1}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(LineValueAt(c.x, l), c.want) << c.x;
    EXPECT_EQ(LineValueAt(5, TPunkt()), 0.0);

    // The reference height 0 counts: all heights positive, the minimum is 0 and nothing moves.
    TCykl pos;
    pos.Add().Punkt = lineOf({{0, 1}, {1, 3}});
    pos.Add().Punkt = lineOf({{0, 2}});
    EXPECT_DOUBLE_EQ(FlatnessValue(pos), 3.0);
    EXPECT_EQ(heights(pos[0].Punkt), (std::vector<double>{1, 3}));
    // All negative: the lowest becomes 0.
    TCykl neg;
    neg.Add().Punkt = lineOf({{0, -1}, {1, -4}});
    EXPECT_DOUBLE_EQ(FlatnessValue(neg), 4.0);
    EXPECT_EQ(heights(neg[0].Punkt), (std::vector<double>{3, 0}));
    TCykl none;
    none.Add();
    EXPECT_EQ(FlatnessValue(none), 0.0);
}

TEST(FlatnessMapTest, MissingAndUnevenLines) {
    {
        // One line: its own spread, nothing else drawn.
        Lines l;
        l.set(1, {{0, 0}, {60, 3}, {120, 0}});
        const FlatnessMapResult r = BuildFlatnessMap(l.c, {});
        EXPECT_DOUBLE_EQ(r.value, 3.0);
        EXPECT_EQ(r.width, 120);
        EXPECT_EQ(r.depth, 100);
        for (size_t k = 1; k < r.series.size(); ++k) EXPECT_TRUE(r.series[k].empty()) << k;
    }
    {
        // A crossing measured by one diagonal only: no fit, no ramps; lines stay as measured.
        Lines l;
        l.set(1, {{0, 0}, {100, 2}, {200, 0}}).set(2, {{0, 0}, {112, 1}, {224, 0}});
        const FlatnessMapResult r = BuildFlatnessMap(l.c, {});
        expectHeights(r, 1, {0, 2, 0});
        expectHeights(r, 2, {0, 1, 0});
        EXPECT_DOUBLE_EQ(r.value, 2.0);
    }
    {
        // Grid: the first V line is missing, so the H lines are not tilted; H1 and H3 tilt V3.
        // H1 is shorter (100 cm) than the map (200 cm from H3): V3 at x = 200 takes H1's last
        // height, 3. V3 0,0,0 + ramp 3..0 over 3 points: 3, 1.5, 0.
        Lines l;
        l.set(1, {{0, 0}, {50, 1}, {100, 3}})
            .set(3, {{0, 0}, {200, 0}})
            .set(6, {{0, 0}, {40, 0}, {80, 0}});
        const FlatnessMapResult r = BuildFlatnessMap(l.c, {true, 3, 3});
        EXPECT_EQ(r.width, 200);
        EXPECT_EQ(r.depth, 80);
        expectHeights(r, 1, {0, 1, 3});
        expectHeights(r, 6, {3, 1.5, 0});
        EXPECT_EQ(r.series[2], pts({{0, 0, 80}, {200, 0, 80}}));
        EXPECT_EQ(r.series[5], pts({{200, 3, 0}, {200, 1.5, 40}, {200, 0, 80}}));
    }
    {
        // A diagonal whose points all sit at position 0 has no length: its points stay at its
        // start instead of dividing by zero.
        Lines l;
        l.set(2, {{0, 0}, {0, 1}}).set(4, {{0, 0}, {112, 0}, {224, 0}});
        const FlatnessMapResult r = BuildFlatnessMap(l.c, {});
        for (const MapPoint& p : r.series[1]) EXPECT_EQ(std::pair(p.x, p.z), std::pair(0, 0));
        for (const auto& s : r.series)
            for (const MapPoint& p : s) EXPECT_TRUE(std::isfinite(p.y));
    }
}

TEST(FlatnessMapTest, BadInputNeverReachesTheMap) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    {
        // Non-finite points are left out; the rest of the line is used.
        Lines l;
        l.set(1, {{0, 0}, {nan, 5}, {100, inf}, {200, 2}});
        const FlatnessMapResult r = BuildFlatnessMap(l.c, {});
        EXPECT_EQ(r.series[0], pts({{0, 0, 0}, {200, 2, 0}}));
        EXPECT_DOUBLE_EQ(r.value, 2.0);
    }
    {
        // Fewer items than lines (an eight-line text import), odd grid counts, a single H
        // line (no spacing to divide) and more lines than the map has.
        TCykl eight;
        for (int k = 0; k < 8; ++k) eight.Add().Punkt = lineOf({{0, 0}, {100, double(k)}});
        for (FlatnessLayout layout : {FlatnessLayout{}, FlatnessLayout{true, 1, 1}, FlatnessLayout{true, 8, 12},
                                      FlatnessLayout{true, -3, 40}, FlatnessLayout{true, 0, 0}}) {
            const FlatnessMapResult r = BuildFlatnessMap(eight, layout);
            EXPECT_EQ(r.lines.Count(), kFlatnessLineCount);
            for (const auto& s : r.series)
                for (const MapPoint& p : s) EXPECT_TRUE(std::isfinite(p.y));
        }
        EXPECT_EQ(GridVLines({true, 8, 12}), 8);
        EXPECT_EQ(GridHLines({true, -3, 40}), 0);
        const FlatnessMapResult single = BuildFlatnessMap(eight, {true, 1, 1});
        EXPECT_EQ(single.series[1], pts({{0, 0, 0}, {0, 0, 100}}));  // V1 tilted to meet H1 (0) at both ends
    }
    {
        // Positions far beyond any table are clamped, not turned into undefined integers.
        Lines l;
        l.set(1, {{0, 0}, {1e300, 1}});
        const FlatnessMapResult r = BuildFlatnessMap(l.c, {});
        EXPECT_EQ(r.width, 10000000);
    }
}

// Damaged or extreme .dt5 files whose lines give non-finite positions or heights part-way through
// the fit: the map is not built, with a message, and nothing reaches the chart.
TEST(FlatnessMapTest, NonFiniteIntermediatesLeaveTheMapUnbuilt) {
    struct {
        const char* what;
        const char* body;  // the bytes after the header
    } cases[] = {
        {"envelope, line 3 = (10,0,0),(2e-311,0,0): the position along the line divides by a "
         "subnormal length and the depth of the point is 0 * inf",
         "00030000000300000003000000000000000000000002000000000000000000244000000000000000000000000000"
         "000000a2c74982ae03000000000000000000000000000000000000"},
        {"envelope, diagonals 2 and 4 of heights +-1e308: the least-squares fit overflows",
         "0003000000030000000400000000000000030000000000000000000000a0c8eb85f3cce17f0000000000000000"
         "0000000000005940a0c8eb85f3cce1ff00000000000000000000000000006940a0c8eb85f3cce17f0000000000"
         "00000000000000030000000000000000000000a0c8eb85f3cce1ff00000000000000000000000000005940a0c8"
         "eb85f3cce17f00000000000000000000000000006940a0c8eb85f3cce1ff0000000000000000"},
    };
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).absoluteFilePath("mapa.dt5");
    for (const auto& c : cases) {
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(TMeasurementHeader().toBytes() + QByteArray::fromHex(c.body));
        }
        TCykl lines;
        int32_t h = 0, v = 0;
        uint8_t method = 0;
        TMeasurementHeader header;
        ASSERT_NO_THROW(LoadFlatnessFile(lines, path, h, method, v, header)) << c.what;
        const FlatnessMapResult r = BuildFlatnessMap(lines, {method != 0, h, v});
        EXPECT_FALSE(r.built) << c.what;
        EXPECT_FALSE(r.message.isEmpty()) << c.what;
        EXPECT_EQ(r.value, 0.0) << c.what;
        for (const auto& s : r.series) EXPECT_TRUE(s.empty()) << c.what;
    }
}

TEST(FlatnessMapTest, MaskAndClear) {
    Lines l;
    l.set(1, {{0, 0}}).set(4, {{0, 0}}).set(16, {{0, 0}});
    EXPECT_EQ(LineMask(l.c), 0x8009);
    ClearFlatnessLines(l.c);
    EXPECT_EQ(l.c.Count(), kFlatnessLineCount);
    EXPECT_EQ(LineMask(l.c), 0);
    EXPECT_EQ(FlatnessValueText(12.345, ','), "12,35");
}

TEST(FlatnessMapTest, FillsTheChartSeries) {
    platform::TChart chart;
    std::vector<platform::TPoint3DSeries*> series;
    for (int k = 0; k < kFlatnessLineCount; ++k)
        series.push_back(chart.AddNewSeries<platform::TPoint3DSeries>(QString("S%1").arg(k)));
    FillFlatnessChart(chart, series, BuildFlatnessMap(fourLineEnvelope().c, {}));
    EXPECT_EQ(series[3]->Count(), 3);
    EXPECT_EQ(series[3]->XValue(0), 0.0);
    EXPECT_EQ(series[3]->YValue(0), 6.0);
    EXPECT_EQ(series[3]->ZValue(0), 100.0);
    EXPECT_EQ(chart.DepthAxis().Minimum(), 0.0);
    EXPECT_EQ(chart.DepthAxis().Maximum(), 100.0);
    EXPECT_FALSE(chart.DepthAxis().Automatic());

    // A smaller map replaces the old one whole; a missing series is skipped.
    Lines one;
    one.set(1, {{0, 0}, {50, 1}});
    series[2] = nullptr;
    FillFlatnessChart(chart, series, BuildFlatnessMap(one.c, {}));
    EXPECT_EQ(series[0]->Count(), 2);
    EXPECT_EQ(series[3]->Count(), 0);
    ClearFlatnessChart(series);
    EXPECT_EQ(series[0]->Count(), 0);
}
