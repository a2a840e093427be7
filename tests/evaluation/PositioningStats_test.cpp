#include <gtest/gtest.h>

#include <cmath>

#include "evaluation/PositioningStats.h"
#include "evaluation/PositioningFixture.h"

using namespace evaluation;

namespace {

using namespace positioning_fixture;

struct Evaluated {
    TCykl cycles;
    TPunkt means, sigmas;
    explicit Evaluated(TCykl c) : cycles(std::move(c)) {
        ComputePointMeans(cycles, means);
        ComputePointSigmas(cycles, sigmas);
    }
};

}  // namespace

TEST(PositioningStats, PointMeansAndDeviations) {
    Evaluated e(bidirectionalRun());
    ASSERT_EQ(e.means.Count(), 4);
    ASSERT_EQ(e.sigmas.Count(), 4);
    const double up[] = {5, 8, 10, 6}, down[] = {3, 7, 12, 1};
    const double sUp[] = {1, 2, 0, 1}, sDown[] = {1, 0, 1, 2};
    const double pooled[] = {std::sqrt(2.0), std::sqrt(1.9), std::sqrt(1.6), std::sqrt(9.5)};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_DOUBLE_EQ(e.means[k].Dystans, 100.0 * k);
        EXPECT_DOUBLE_EQ(e.means[k].Xa, up[k]);
        EXPECT_DOUBLE_EQ(e.means[k].Xr, down[k]);
        EXPECT_NEAR(e.sigmas[k].Xa, sUp[k], 1e-12);
        EXPECT_NEAR(e.sigmas[k].Xr, sDown[k], 1e-12);
        EXPECT_NEAR(e.sigmas[k].Dystans, pooled[k], 1e-12);
    }
}

TEST(PositioningStats, PooledDeviationOfEqualForwardAndBackwardReadings) {
    // Readings 1, 2, 3 forward and 1, 2, 3 backward: s↑ = 1, pooled sqrt(4 / 5).
    Evaluated e(makeRun({{{1, 1}, {0, 0}, {0, 0}, {0, 0}},
                         {{2, 2}, {0, 0}, {0, 0}, {0, 0}},
                         {{3, 3}, {0, 0}, {0, 0}, {0, 0}}}));
    EXPECT_DOUBLE_EQ(e.means[0].Xa, 2.0);
    EXPECT_NEAR(e.sigmas[0].Xa, 1.0, 1e-15);
    EXPECT_NEAR(e.sigmas[0].Dystans, std::sqrt(0.8), 1e-15);
    EXPECT_EQ(e.sigmas[1].Dystans, 0.0);
}

TEST(PositioningStats, EqualReadingsNeverGiveNaN) {
    // Values whose one-pass difference can round below zero.
    for (double v : {0.1, 1e5 + 0.3, -7.77, 123456.789, 1.0 / 3.0}) {
        SCOPED_TRACE(v);
        TCykl run = makeRun({{{v, v}, {v, v}, {v, v}, {v, v}}, {{v, v}, {v, v}, {v, v}, {v, v}},
                             {{v, v}, {v, v}, {v, v}, {v, v}}, {{v, v}, {v, v}, {v, v}, {v, v}},
                             {{v, v}, {v, v}, {v, v}, {v, v}}, {{v, v}, {v, v}, {v, v}, {v, v}},
                             {{v, v}, {v, v}, {v, v}, {v, v}}});
        TPunkt sigmas;
        ComputePointSigmas(run, sigmas);
        for (int k = 0; k < sigmas.Count(); ++k) {
            EXPECT_FALSE(std::isnan(sigmas[k].Xa));
            EXPECT_LT(sigmas[k].Xa, 1e-6);
            EXPECT_LT(sigmas[k].Xr, 1e-6);
            EXPECT_LT(sigmas[k].Dystans, 1e-6);
        }
    }
}

TEST(PositioningStats, DeviationsNeedFourPointsAndSpreadNeedsTwoCycles) {
    TPunkt sigmas;
    sigmas.Add();
    ComputePointSigmas(makeRun({{{1, 1}, {2, 2}, {3, 3}}, {{2, 2}, {3, 3}, {4, 4}}}), sigmas);
    EXPECT_EQ(sigmas.Count(), 0);  // three points: left empty (and cleared)
    ComputePointSigmas(TCykl(), sigmas);
    EXPECT_EQ(sigmas.Count(), 0);

    // One cycle: no directional spread; the pooled deviation of its two readings is defined.
    ComputePointSigmas(makeRun({{{1, 3}, {2, 2}, {3, 3}, {4, 4}}}), sigmas);
    ASSERT_EQ(sigmas.Count(), 4);
    EXPECT_EQ(sigmas[0].Xa, 0.0);
    EXPECT_EQ(sigmas[0].Xr, 0.0);
    EXPECT_NEAR(sigmas[0].Dystans, std::sqrt(2.0), 1e-15);
}

TEST(PositioningStats, MeansUseShortestCycle) {
    // A later cycle shorter than cycle 0 is read only as far as it goes.
    TCykl run = makeRun({{{1, 0}, {2, 0}, {3, 0}}, {{3, 0}, {4, 0}}});
    TPunkt means;
    ComputePointMeans(run, means);
    ASSERT_EQ(means.Count(), 2);
    EXPECT_DOUBLE_EQ(means[1].Xa, 3.0);
    ComputePointMeans(TCykl(), means);
    EXPECT_EQ(means.Count(), 0);
}

TEST(PositioningStats, FiguresOfBidirectionalRun) {
    Evaluated e(bidirectionalRun());
    const PositioningFigures f = ComputePositioningFigures(e.cycles, e.means, e.sigmas);
    struct Row {
        const char* name;
        double got, want;
    } rows[] = {
        // x̄↑ + 3s↑ = 8, 14, 10, 9; x̄↑ - 3s↑ = 2, 2, 10, 3.
        {"A forward", f.accuracy.forward, 14 - 2},
        // x̄↓ + 3s↓ = 6, 7, 15, 7; x̄↓ - 3s↓ = 0, 7, 9, -5.
        {"A backward", f.accuracy.backward, 15 - -5},
        // x̄ + 3s is largest at point 2, x̄ - 3s smallest at point 3.
        {"A pooled", f.accuracy.pooled, (11 + 3 * std::sqrt(1.6)) - (3.5 - 3 * std::sqrt(9.5))},
        {"A total", f.accuracy.total, 15 - -5},
        {"R forward", f.repeatability.forward, 6 * 2},
        {"R backward", f.repeatability.backward, 6 * 2},
        {"R pooled", f.repeatability.pooled, 6 * std::sqrt(9.5)},
        // 3s↑ + 3s↓ + |B| = 8, 7, 5, 14 beats R↑ = R↓ = 12.
        {"R bidirectional", f.repeatability.bidirectional, 14},
        {"B mean", f.reversal.mean, (2 + 1 - 2 + 5) / 4.0},
        {"B max", f.reversal.max, 5},
        // Per cycle Xa spans 10-4, 10-5, 10-6; Xr spans 11+1, 12-1, 13-3.
        {"span forward", f.span.forward, 6},
        {"span backward", f.span.backward, 12},
        {"Pa", f.Pa, 11 - 3.5},
        // x̄↑ + 1.5(s↑+s↓) = 8, 11, 11.5, 10.5; x̄↓ - 1.5(s↑+s↓) = 0, 4, 10.5, -3.5.
        {"P", f.P, 11.5 - -3.5},
        {"Ps", f.Ps, 3 * 3},
        {"Ps+U", f.PsU, 14},
        {"Rpmax", f.Rpmax, 12},
        {"Mar", f.Mar, 20},
        // (max + min)/2 of |readings|: forward 5, 8, 10, 6; backward 3, 7, 12, 2.
        {"J", f.J, 12},
    };
    for (const Row& r : rows) EXPECT_NEAR(r.got, r.want, 1e-12) << r.name;
    EXPECT_DOUBLE_EQ(SpreadBothDirections(e.means, e.sigmas), f.accuracy.total);
}

TEST(PositioningStats, FiguresOfUnidirectionalRun) {
    Evaluated e(unidirectionalRun());
    ASSERT_TRUE(IsUnidirectional(e.cycles));
    const PositioningFigures f = ComputePositioningFigures(e.cycles, e.means, e.sigmas);
    struct Row {
        const char* name;
        double got, want;
    } rows[] = {
        {"A forward", f.accuracy.forward, 12},
        {"A backward", f.accuracy.backward, 0},
        // The backward line is 0 everywhere: max(14, 0) - min(2, 0).
        {"A total", f.accuracy.total, 14},
        {"Mar", f.Mar, 14},
        {"R forward", f.repeatability.forward, 12},
        {"R backward", f.repeatability.backward, 0},
        {"Rpmax", f.Rpmax, 12},
        {"span forward", f.span.forward, 6},
        {"span backward", f.span.backward, 0},
        {"B max", f.reversal.max, 10},
        {"J", f.J, 10},
    };
    for (const Row& r : rows) EXPECT_NEAR(r.got, r.want, 1e-12) << r.name;
}

TEST(PositioningStats, NegativeMeanReversalKeepsItsSign) {
    TPunkt means;
    for (double b : {-1.0, -3.0}) {
        TPunktItem& p = means.Add();
        p.Xa = 2;
        p.Xr = 2 - b;
    }
    const Reversal r = ComputeReversal(means);
    EXPECT_DOUBLE_EQ(r.mean, -2.0);
    EXPECT_DOUBLE_EQ(r.max, 3.0);
    EXPECT_EQ(MaxAbsReversal(nullptr), 0.0);
    const Reversal none = ComputeReversal(TPunkt());
    EXPECT_EQ(none.mean, 0.0);
    EXPECT_EQ(none.max, 0.0);
}

TEST(PositioningStats, FiguresOfEmptyRunAreZero) {
    TCykl none;
    TPunkt empty;
    const PositioningFigures f = ComputePositioningFigures(none, empty, empty);
    for (double v : {f.accuracy.forward, f.accuracy.total, f.repeatability.bidirectional, f.reversal.mean,
                     f.span.forward, f.Pa, f.P, f.Ps, f.PsU, f.Rpmax, f.Mar, f.J})
        EXPECT_EQ(v, 0.0);
}

TEST(PositioningStats, AnyCharacteristicActive) {
    EXPECT_FALSE(AnyCharacteristicActive({true, true, true, true}));
    EXPECT_FALSE(AnyCharacteristicActive({true, true, true, true, false, false}));
    EXPECT_TRUE(AnyCharacteristicActive({false, false, false, false, false, true}));
}

namespace {
const SeriesValues& series(const std::vector<SeriesValues>& all, const QString& name) {
    for (const auto& s : all)
        if (s.name == name) return s;
    throw std::runtime_error("no series " + name.toStdString());
}
}  // namespace

TEST(PositioningStats, ChartSeriesOfBidirectionalRun) {
    Evaluated e(bidirectionalRun());
    const auto all = PositioningChartSeries(e.cycles, e.means, e.sigmas, false, 0);
    ASSERT_EQ(all.size(), PositioningSeriesNames().size());
    // Point 0: x̄↑ 5, s↑ 1, x̄↓ 3, s↓ 1, x̄ 4, B 2, Ps = 3 (1 + 1) = 6.
    struct Row {
        const char* name;
        double y0;
    } rows[] = {{"SredniaWPrzod", 5},  {"SredniaPp3Sigma", 8},  {"SredniaPm3Sigma", 2},
                {"SredniaWTyl", 3},    {"SredniaTp3Sigma", 6},  {"SredniaTm3Sigma", 0},
                {"SredniaDwukier", 4}, {"SredniaDp3Sigma", 4 + 3 * std::sqrt(2.0)},
                {"SredniaDm3Sigma", 4 - 3 * std::sqrt(2.0)},
                {"LuzZwrotny", 2},     {"SredniaVDI", 4},       {"SredniaVDIpA", 4 + (2 + 6) / 2.0},
                {"SredniaVDImA", 0},   {"SredniaVDIpU", 6},     {"SredniaVDImU", 2}};
    for (const Row& r : rows) {
        const SeriesValues& s = series(all, r.name);
        ASSERT_EQ(s.points.size(), 4u) << r.name;
        EXPECT_NEAR(s.points[0].y(), r.y0, 1e-12) << r.name;
        EXPECT_DOUBLE_EQ(s.points[3].x(), 300.0) << r.name;
    }
    // Raw readings: every cycle of a point, point by point.
    const SeriesValues& fwd = series(all, "PomiaryWPrzod");
    ASSERT_EQ(fwd.points.size(), 12u);
    EXPECT_EQ(fwd.points[1], QPointF(0, 5));
    EXPECT_EQ(fwd.points[3], QPointF(100, 6));
    EXPECT_EQ(series(all, "PomiaryWTyl").points[11], QPointF(300, 3));
}

TEST(PositioningStats, ChartSeriesXValuesAndUnidirectionalRun) {
    Evaluated e(unidirectionalRun());
    const auto byNumber = PositioningChartSeries(e.cycles, e.means, e.sigmas, true, 1);
    EXPECT_EQ(series(byNumber, "SredniaWPrzod").points[0].x(), 0.0);
    EXPECT_EQ(series(byNumber, "SredniaWPrzod").points[2].x(), 2.0);
    for (const QString& name : PositioningSeriesNames()) {
        const bool forward = name == "SredniaWPrzod" || name == "SredniaPp3Sigma" || name == "SredniaPm3Sigma" ||
                             name == "PomiaryWPrzod";
        EXPECT_EQ(series(byNumber, name).points.empty(), !forward) << name.toStdString();
    }
    const auto inches = PositioningChartSeries(e.cycles, e.means, e.sigmas, false, 1);
    EXPECT_DOUBLE_EQ(series(inches, "SredniaWPrzod").points[1].x(), 3.937007874015748);
}

TEST(PositioningStats, BacklashCaption) {
    const TCykl run = bidirectionalRun();
    // Cycle 1: |Xa - Xr| = 2, 1, 1, 6.
    EXPECT_EQ(BacklashCaption(run, 1, u'.'), QString::fromUtf8("Luz zwrotny: 6.00 µm"));
    EXPECT_EQ(BacklashCaption(run, 3, u','), QString::fromUtf8("Luz zwrotny: 4,00 µm"));
    EXPECT_EQ(BacklashCaption(run, 0), std::nullopt);
    EXPECT_EQ(BacklashCaption(run, 4), std::nullopt);
    EXPECT_EQ(BacklashCaption(unidirectionalRun(), 1), std::nullopt);
    EXPECT_EQ(BacklashCaption(makeRun({{{1, 2}, {3, 5}}}), 1), std::nullopt);
}

namespace {

// Deterministic readings: offset + spread·noise forward, reversal less backward; cycle 0 may be
// an outlier by `first`.
TCykl generatedRun(int points, int cycles, double offset, double spread, double reversal, double first) {
    uint32_t state = 777;
    auto noise = [&] {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 23) - 1.0;
    };
    TCykl run;
    for (int c = 0; c < cycles; ++c) {
        TPunkt& pts = run.Add().Punkt;
        for (int k = 0; k < points; ++k) {
            TPunktItem& p = pts.Add();
            p.Dystans = 2.5 * k;
            p.Xa = offset + 0.3 * k + spread * noise() + (c == 0 ? first : 0.0);
            p.Xr = p.Xa - reversal + spread * noise();
        }
    }
    return run;
}

// Two-pass sample deviation in extended precision.
double exactDeviation(const std::vector<long double>& x) {
    if (x.size() < 2) return 0.0;
    long double mean = 0;
    for (long double v : x) mean += v;
    mean /= x.size();
    long double ss = 0;
    for (long double v : x) ss += (v - mean) * (v - mean);
    return double(std::sqrt(ss / (x.size() - 1)));
}

}  // namespace

// Means are the cycle-order sums divided by the cycle count, to the last bit; deviations agree
// with an exact two-pass computation to 1e-12 relative also where readings lie far from zero,
// the reversal is large or the first cycle is an outlier, and across the 64-point blocks.
TEST(PositioningStats, MeansExactAndDeviationsAgainstTwoPassReference) {
    struct Row {
        const char* name;
        int points, cycles;
        double offset, spread, reversal, first;
    } rows[] = {{"small", 5, 2, 0, 1, 0.5, 0},          {"far from zero", 70, 10, 1000, 0.01, 2, 0},
                {"large reversal", 130, 100, -50, 0.5, 40, 0}, {"outlier first cycle", 64, 7, 3, 0.05, 1, 2},
                {"one cycle", 9, 1, 10, 1, 3, 0},       {"millimetres in µm", 65, 5, 123456.789, 0.2, 5, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const TCykl run = generatedRun(r.points, r.cycles, r.offset, r.spread, r.reversal, r.first);
        TPunkt means, sigmas;
        ComputePointMeans(run, means);
        ComputePointSigmas(run, sigmas);
        ASSERT_EQ(means.Count(), r.points);
        ASSERT_EQ(sigmas.Count(), r.points);
        for (int k = 0; k < r.points; ++k) {
            SCOPED_TRACE(k);
            double up = 0, down = 0;
            std::vector<long double> a, b, both;
            for (int c = 0; c < r.cycles; ++c) {
                up += run[c].Punkt[k].Xa;
                down += run[c].Punkt[k].Xr;
                a.push_back(run[c].Punkt[k].Xa);
                b.push_back(run[c].Punkt[k].Xr);
            }
            both = a;
            both.insert(both.end(), b.begin(), b.end());
            EXPECT_EQ(means[k].Xa, up / r.cycles);
            EXPECT_EQ(means[k].Xr, down / r.cycles);
            EXPECT_EQ(means[k].Dystans, run[r.cycles - 1].Punkt[k].Dystans);
            const double want[] = {r.cycles > 1 ? exactDeviation(a) : 0.0, r.cycles > 1 ? exactDeviation(b) : 0.0,
                                   exactDeviation(both)};
            const double got[] = {sigmas[k].Xa, sigmas[k].Xr, sigmas[k].Dystans};
            for (int i = 0; i < 3; ++i) EXPECT_LE(std::fabs(got[i] - want[i]), 1e-12 * want[i]) << i;
        }
    }
}

// One copy of the run serves every step; the chart's buffers are refilled, not added to.
TEST(PositioningStats, ReadingsCopyGivesTheSameAndSeriesBuffersAreRefilled) {
    const TCykl run = generatedRun(100, 4, 5, 0.3, 1.5, 0);
    TPunkt means, sigmas;
    ComputePointMeans(run, means);
    ComputePointSigmas(run, sigmas);
    const PositioningReadings readings(run);
    EXPECT_EQ(readings.PointCount(), 100);
    EXPECT_FALSE(readings.Unidirectional());
    // Results of an earlier, longer run are replaced whole.
    TPunkt means2, sigmas2;
    for (int k = 0; k < 150; ++k) {
        means2.Add().Xa = -1;
        sigmas2.Add().Dystans = -1;
    }
    ComputePointMeans(readings, means2);
    ComputePointSigmas(readings, sigmas2);
    ASSERT_EQ(means2.Count(), 100);
    ASSERT_EQ(sigmas2.Count(), 100);
    for (int k = 0; k < 100; ++k) {
        EXPECT_EQ(means2[k].Dystans, means[k].Dystans);
        EXPECT_EQ(means2[k].Xa, means[k].Xa);
        EXPECT_EQ(sigmas2[k].Xa, sigmas[k].Xa);
        EXPECT_EQ(sigmas2[k].Dystans, sigmas[k].Dystans);
    }
    const PositioningFigures f = ComputePositioningFigures(run, means, sigmas);
    const PositioningFigures g = ComputePositioningFigures(readings, means, sigmas);
    EXPECT_EQ(f.J, g.J);
    EXPECT_EQ(f.span.forward, g.span.forward);
    EXPECT_EQ(f.accuracy.total, g.accuracy.total);

    const auto fresh = PositioningChartSeries(run, means, sigmas, false, 0);
    std::vector<SeriesValues> reused;
    for (int pass = 0; pass < 2; ++pass) {
        PositioningChartSeries(readings, means, sigmas, false, 0, reused);
        ASSERT_EQ(reused.size(), fresh.size());
        for (size_t i = 0; i < fresh.size(); ++i) {
            EXPECT_EQ(reused[i].name, fresh[i].name);
            EXPECT_EQ(reused[i].points, fresh[i].points) << fresh[i].name.toStdString();
        }
    }
    EXPECT_EQ(series(reused, "PomiaryWTyl").points.size(), 400u);
}

// Means longer than the shortest cycle (taken from another run): the readings of the cycles
// that reach a point are drawn, as before.
TEST(PositioningStats, ChartSeriesPastTheShortestCycle) {
    TCykl run = makeRun({{{1, 2}, {3, 4}, {5, 6}}, {{7, 8}, {9, 10}}});
    TPunkt means;
    ComputePointMeans(makeRun({{{0, 0}, {0, 0}, {0, 0}}}), means);
    const auto all = PositioningChartSeries(run, means, TPunkt(), false, 0);
    EXPECT_EQ(series(all, "PomiaryWPrzod").points,
              (std::vector<QPointF>{{0, 1}, {0, 7}, {100, 3}, {100, 9}, {200, 5}}));
}
