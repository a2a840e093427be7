#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "evaluation/PointStore.h"
#include "foundations/SharedGlobals.h"
#include "support/RunViewDoubles.h"

using namespace evaluation;

namespace {

struct FakeSeries : IPlotSeries {
    std::vector<std::pair<double, double>> pts;
    bool active = true;
    void Clear() override { pts.clear(); }
    void AddXY(double x, double y) override { pts.push_back({x, y}); }
    void AddXYs(std::span<const QPointF> run) override {
        for (const QPointF& p : run) pts.push_back({p.x(), p.y()});
    }
    int Count() const override { return int(pts.size()); }
    double XValue(int i) const override { return pts.at(i).first; }
    double YValue(int i) const override { return pts.at(i).second; }
    void SetYValue(int i, double y) override { pts.at(i).second = y; }
    void DeleteLast() override {
        if (!pts.empty()) pts.pop_back();
    }
    void SetActive(bool on) override { active = on; }
};

struct FakeArrows : IArrowSeries {
    std::vector<std::array<double, 4>> arrows;
    void Clear() override { arrows.clear(); }
    void AddArrow(double x0, double y0, double x1, double y1) override { arrows.push_back({x0, y0, x1, y1}); }
};

struct FakeChart : testsupport::PlotChartDouble {
    QString title = QStringLiteral("old");
    std::vector<FakeSeries*> series;
    std::vector<FakeArrows*> arrowSeries;
    int repaints = 0;
    bool hasRange = false;
    double lo = 0, hi = 0;
    void SetTitle(const QString& t) override { title = t; }
    void ClearAllSeries() override {
        for (auto* s : series) s->Clear();
        for (auto* a : arrowSeries) a->Clear();
    }
    void Repaint() override { ++repaints; }
    bool VisibleXRange(double& l, double& h) const override {
        l = lo;
        h = hi;
        return hasRange;
    }
};

struct FakeGrid : testsupport::DeviationGridDouble {
    int rows = 2;
    int current = -1;
    bool visible = true;
    std::map<std::pair<int, int>, GridCellRef> cells;
    int RowCount() const override { return rows; }
    void SetRowCount(int r) override { rows = r; }
    void SetCurrentRow(int r) override { current = r; }
    void SetCell(int row, int col, const GridCellRef& ref) override {
        ASSERT_LT(row, rows) << "cell set outside the grid";
        cells[{row, col}] = ref;
    }
    void ClearCell(int row, int col) override { cells.erase({row, col}); }
    bool IsVisible() const override { return visible; }
    std::optional<GridCellRef> at(int row, int col) const {
        auto it = cells.find({row, col});
        if (it == cells.end()) return std::nullopt;
        return it->second;
    }
};

using Pts = std::vector<std::pair<double, double>>;

// The main window's collections, charts and grids in small.
struct StoreFixture : ::testing::Test {
    TPunkt straightness, targets, angular;
    TCykl cycles, cyclesY;
    TVelValue velocity;
    FakeChart wykres, predkosci, pk;
    FakeSeries DoPrzodu, DoTylu, PomiaryWPrzod, PomiaryWTyl, PoprzednieWPrzod, PoprzednieWTyl, ProstoOsY,
        PomiaryOsY, Series2, Series6, Czastkowy, Sumaryczny;
    FakeArrows ArrowBlue, ArrowRed;
    FakeGrid grid, gridPK;
    std::unique_ptr<PointStore> store;

    void SetUp() override {
        ResetSharedGlobals();
        straightness.Clear();
        targets.Clear();
        angular.Clear();
        cycles.Clear();
        cyclesY.Clear();
        velocity.Clear();
        wykres.ClearAllSeries();
        predkosci.ClearAllSeries();
        pk.ClearAllSeries();
        grid = FakeGrid();
        gridPK = FakeGrid();
        wykres.series = {&DoPrzodu, &DoTylu, &PomiaryWPrzod, &PomiaryWTyl, &PoprzednieWPrzod, &PoprzednieWTyl,
                         &ProstoOsY, &PomiaryOsY};
        wykres.arrowSeries = {&ArrowBlue, &ArrowRed};
        predkosci.series = {&Series2, &Series6};
        pk.series = {&Czastkowy, &Sumaryczny};
        PointStoreData d{&straightness, &cycles, &cyclesY, &targets, &velocity, &angular};
        PointStorePlots p;
        p.wykres = &wykres;
        p.DoPrzodu = &DoPrzodu;
        p.DoTylu = &DoTylu;
        p.PomiaryWPrzod = &PomiaryWPrzod;
        p.PomiaryWTyl = &PomiaryWTyl;
        p.PoprzednieWPrzod = &PoprzednieWPrzod;
        p.PoprzednieWTyl = &PoprzednieWTyl;
        p.ProstoOsY = &ProstoOsY;
        p.PomiaryOsY = &PomiaryOsY;
        p.ArrowBlue = &ArrowBlue;
        p.ArrowRed = &ArrowRed;
        p.WykresPredkosci = &predkosci;
        p.Series2 = &Series2;
        p.Series6 = &Series6;
        p.WykresPK = &pk;
        p.SeriesBLCzastkowy = &Czastkowy;
        p.SeriesBlSumaryczny = &Sumaryczny;
        p.GridOdchylka = &grid;
        p.GridOdchylkaPK = &gridPK;
        store = std::make_unique<PointStore>(d, p);
    }
    void TearDown() override { ResetSharedGlobals(); }

    void addCycle(std::vector<std::array<double, 3>> pts, TCykl& into) {
        TPunkt& p = into.Add().Punkt;
        for (auto& v : pts) {
            TPunktItem& it = p.Add();
            it.Dystans = v[0];
            it.Xa = v[1];
            it.Xr = v[2];
        }
    }
    void setTargets(std::vector<double> t) {
        targets.Clear();
        for (double v : t) targets.Add().Dystans = v;
    }
};

void expectPts(const Pts& expected, const FakeSeries& s, const char* what) {
    ASSERT_EQ(expected.size(), s.pts.size()) << what;
    for (size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(expected[k].first, s.pts[k].first, 1e-9) << what << " x " << k;
        EXPECT_NEAR(expected[k].second, s.pts[k].second, 1e-9) << what << " y " << k;
    }
}

}  // namespace

// --- straightness ---

TEST_F(StoreFixture, AngularMethodFirstReadingGivesOriginAndOneStandThenAnglesAddHeight) {
    store->options.straightnessMethod = 0;
    store->options.baseLength = 100.0;
    store->StoreStraightnessPoint(10.0);  // the first angle does not change the height
    ASSERT_EQ(2, straightness.Count());
    EXPECT_EQ(0.0, straightness[0].Dystans);
    EXPECT_EQ(10.0, straightness[1].Dystans);
    EXPECT_EQ(0.0, straightness[1].Xa);
    store->StoreStraightnessPoint(2.0);
    store->StoreStraightnessPoint(-1.0);
    ASSERT_EQ(4, straightness.Count());
    const double step2 = std::sin(2.0 * 4.848136957929807e-06) * 1000 * 100;
    const double step3 = std::sin(-1.0 * 4.848136957929807e-06) * 1000 * 100;
    EXPECT_NEAR(20.0, straightness[2].Dystans, 1e-12);
    EXPECT_NEAR(step2, straightness[2].Xa, 1e-12);
    EXPECT_NEAR(30.0, straightness[3].Dystans, 1e-12);
    EXPECT_NEAR(step2 + step3, straightness[3].Xa, 1e-12);
    expectPts({{0, 0}, {10, 0}, {20, step2}, {30, step2 + step3}}, DoPrzodu, "DoPrzodu");
    expectPts({{10, 0}, {20, 0}, {30, 0}}, ProstoOsY, "ProstoOsY");
}

TEST_F(StoreFixture, StraightnessMethodsAndUnits) {
    struct Case {
        uint8_t method;
        int unit;
        double v;
        int32_t dx, dy;
        double calib;
        std::vector<double> expectDystans, expectXa, expectXr;
        Pts plotted;
    };
    const double in = 0.3937007874015748;
    const std::vector<Case> cases = {
        // deflection: the first reading sits at position 0, the next one stand further
        {1, 0, 3.5, 0, 0, 18, {0, 5}, {3.5, 3.5}, {0, 0}, {{0, 3.5}, {5, 3.5}}},
        {1, 1, 3.5, 0, 0, 18, {0, 5}, {3.5, 3.5}, {0, 0}, {{0, 3.5}, {5 * in, 3.5}}},
        {1, 2, 3.5, 0, 0, 18, {0, 5}, {3.5, 3.5}, {0, 0}, {}},  // unknown unit: stored, not drawn
        // 3-D: axis position mm -> cm, detector counts / calibration
        {2, 0, 250.0, 36, -9, 18, {25, 25}, {2, 2}, {-0.5, -0.5}, {{25, 2}, {25, 2}}},
        // a calibration of zero gives 0 µm instead of an infinite deviation
        {2, 0, 250.0, 36, -9, 0, {25, 25}, {0, 0}, {0, 0}, {{25, 0}, {25, 0}}},
    };
    for (const auto& c : cases) {
        SetUp();
        store->options.straightnessMethod = c.method;
        store->options.baseLength = 50.0;
        LengthUnit = c.unit;
        DetectorX = c.dx;
        DetectorY = c.dy;
        CalibrationXY = c.calib;
        store->StoreStraightnessPoint(c.v);
        store->StoreStraightnessPoint(c.v);
        ASSERT_EQ(int(c.expectDystans.size()), straightness.Count()) << int(c.method);
        for (int k = 0; k < straightness.Count(); ++k) {
            EXPECT_NEAR(c.expectDystans[k], straightness[k].Dystans, 1e-12);
            EXPECT_NEAR(c.expectXa[k], straightness[k].Xa, 1e-12);
            EXPECT_NEAR(c.expectXr[k], straightness[k].Xr, 1e-12);
        }
        expectPts(c.plotted, DoPrzodu, "DoPrzodu");
    }
}

// --- positioning, linear pattern ---

TEST_F(StoreFixture, LinearLearnedTargetsRoundToMillimetreAndFlagAJump) {
    cycles.Add();
    store->options.pointsFromList = false;
    ASSERT_TRUE(store->StorePositioningPoint(0, 1, 123.4567, true));
    ASSERT_TRUE(store->StorePositioningPoint(1, 1, 200.0003, true));
    EXPECT_FALSE(DeviationJumpSeen);
    ASSERT_EQ(2, targets.Count());
    EXPECT_EQ(123.0, targets[0].Dystans);
    EXPECT_EQ(200.0, targets[1].Dystans);
    const TPunkt& p = cycles[0].Punkt;
    EXPECT_NEAR(456.7, p[0].Xa, 1e-6);
    EXPECT_NEAR(0.3, p[1].Xa, 1e-6);
    // 0.3 µm after 456.7 µm: no jump. A change of more than 600 µm needs the deviation to swing
    // across the half millimetre from one point to the next.
    ASSERT_TRUE(store->StorePositioningPoint(2, 1, 300.4999, true));  // +499.9 µm
    ASSERT_TRUE(store->StorePositioningPoint(3, 1, 399.5001, true));  // -499.9 µm: change 999.8
    EXPECT_TRUE(DeviationJumpSeen);
    expectPts({{123, 456.7}, {200, 0.3}, {300, 499.9}, {400, -499.9}}, DoPrzodu, "DoPrzodu");
    EXPECT_EQ(5, grid.rows);
    EXPECT_EQ(4, grid.current);
    EXPECT_EQ((GridCellRef{0, 3}), *grid.at(4, 0));
    EXPECT_EQ((GridCellRef{0, 3}), *grid.at(4, 1));
    EXPECT_FALSE(grid.at(4, 2));
    EXPECT_NEAR(-499.9, store->LastForwardDeviation, 1e-6);
}

TEST_F(StoreFixture, LinearListTargetsBackwardPassConfirmedTargetsAndXAxis) {
    setTargets({0, 100, 200});
    cycles.Add();
    cycles.Add();
    store->options.pointsFromList = true;
    LengthUnit = 1;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(store->StorePositioningPoint(i, 2, i * 100 + 0.002, true));
    for (int i = 2; i >= 0; --i) ASSERT_TRUE(store->StorePositioningPoint(i, 2, i * 100 - 0.001, false));
    EXPECT_EQ(3, targets.Count());  // list targets are not learned again
    const TPunkt& p = cycles[1].Punkt;
    ASSERT_EQ(3, p.Count());
    EXPECT_NEAR(2.0, p[2].Xa, 1e-6);
    EXPECT_NEAR(-1.0, p[2].Xr, 1e-6);
    const double in = 0.03937007874015748;
    expectPts({{200 * in, -1}, {100 * in, -1}, {0, -1}}, DoTylu, "DoTylu inch");
    EXPECT_EQ(1, grid.current);
    EXPECT_EQ((GridCellRef{1, 0}), *grid.at(1, 2));
    EXPECT_EQ((GridCellRef{1, 2}), *grid.at(3, 2));

    // A point index beyond the list, an unknown cycle, a backward point not stored: nothing.
    EXPECT_FALSE(store->StorePositioningPoint(3, 2, 300, true));
    EXPECT_FALSE(store->StorePositioningPoint(0, 3, 0, true));
    EXPECT_FALSE(store->StorePositioningPoint(0, 0, 0, true));
    EXPECT_FALSE(store->StorePositioningPoint(5, 1, 0, false));

    // The confirmed target replaces Dystans only in the deviation; point-number axis.
    store->options.confirmTarget = true;
    store->options.pointNumberAxis = true;
    std::vector<double> asked;
    store->confirmTargetValue = [&](double t) {
        asked.push_back(t);
        return t + 0.01;
    };
    DoPrzodu.Clear();
    ASSERT_TRUE(store->StorePositioningPoint(1, 1, 100.0, true));
    EXPECT_EQ(std::vector<double>{100.0}, asked);
    EXPECT_EQ(100.0, cycles[0].Punkt[0].Dystans);
    EXPECT_NEAR(-10.0, cycles[0].Punkt[0].Xa, 1e-6);
    expectPts({{1, -10.0}}, DoPrzodu, "point number axis");
}

TEST_F(StoreFixture, LinearWithSecondAxisRecordsDetectorPoint) {
    setTargets({10, 20});
    cycles.Add();
    cyclesY.Add();
    store->options.pointsFromList = true;
    store->options.posAndStr = true;
    CalibrationXY = 4.0;
    DetectorX = 10;
    DetectorY = -2;
    ASSERT_TRUE(store->StorePositioningPoint(1, 1, 20.0, true));
    ASSERT_EQ(1, cyclesY[0].Punkt.Count());
    EXPECT_EQ(20.0, cyclesY[0].Punkt[0].Dystans);
    EXPECT_EQ(2.5, cyclesY[0].Punkt[0].Xa);
    EXPECT_EQ(-0.5, cyclesY[0].Punkt[0].Xr);
}

// --- positioning, pilgrim patterns ---

TEST_F(StoreFixture, PilgrimSecondCycleShowsRunningMeanAndGridListsCyclesPerPoint) {
    setTargets({0, 50});
    cycles.Add();
    cycles.Add();
    store->options.cycleCount = 2;
    // Each point's cycles in a row: point 0 cycle 1, 2; point 1 cycle 1, 2.
    const double r[2][2] = {{0.001, 0.003}, {50.004, 50.008}};
    for (int i = 0; i < 2; ++i)
        for (int c = 1; c <= 2; ++c) {
            ASSERT_TRUE(store->FillPositioningGrid(i, c, r[i][c - 1], true));
            ASSERT_TRUE(store->FillPositioningGrid(i, c, r[i][c - 1] - 0.002, false));
        }
    expectPts({{0, 1}, {0, 3}, {50, 4}, {50, 8}}, PomiaryWPrzod, "PomiaryWPrzod");
    expectPts({{0, 2}, {50, 6}}, DoPrzodu, "DoPrzodu means of cycles 1 and 2");
    expectPts({{0, 0}, {50, 4}}, DoTylu, "DoTylu means");
    expectPts({{0, -1}, {0, 1}, {50, 2}, {50, 6}}, PomiaryWTyl, "PomiaryWTyl");
    EXPECT_EQ(5, grid.rows);  // heading + 4 readings: the very first reading adds no row
    EXPECT_EQ(4, grid.current);
    EXPECT_EQ((GridCellRef{0, 0}), *grid.at(1, 0));
    EXPECT_EQ((GridCellRef{1, 0}), *grid.at(2, 1));
    EXPECT_EQ((GridCellRef{0, 1}), *grid.at(3, 2));
    EXPECT_EQ((GridCellRef{1, 1}), *grid.at(4, 2));
    EXPECT_EQ(QStringLiteral("Punkt 1 - Pomiar 2"), wykres.title);
    EXPECT_NEAR(4.0, MeanBackwardDeviation(cycles, 2, 1), 1e-9);
    EXPECT_DOUBLE_EQ(0.0, MeanForwardDeviation(cycles, 2, 7));  // no cycle has point 7
}

// --- velocity ---

TEST(VelocityUnits, FactorsOnMillimetresPerSecond) {
    const double in = 0.03937007874015748;
    const std::vector<std::pair<int, double>> cases = {{0, 1},     {1, 0.001},    {2, 0.06}, {3, 60},
                                                       {4, in},    {5, in * 60},  {6, 1},    {-1, 1}};
    for (auto [unit, f] : cases) EXPECT_DOUBLE_EQ(f, VelocityUnitFactor(unit)) << unit;
    EXPECT_NEAR(23.622, 10 * VelocityUnitFactor(5), 5e-4);
}

TEST_F(StoreFixture, VelocitySamplesOnlyWhileRunningRepaintEveryFifth) {
    store->options.velocityChartUnit = 5;
    store->AddVelocitySample(10.0);  // not running: nothing
    EXPECT_EQ(0, velocity.Count());
    VelocityRunning = true;
    for (int k = 0; k < 11; ++k) store->AddVelocitySample(10.0 + k);
    EXPECT_EQ(11, velocity.Count());
    EXPECT_EQ(11, VelocitySampleCount);
    EXPECT_EQ(2, predkosci.repaints);
    ASSERT_EQ(11, Series2.Count());
    EXPECT_NEAR(0.4, Series2.pts[10].first, 1e-12);
    EXPECT_NEAR(20.0 * 0.03937007874015748 * 60, Series2.pts[10].second, 1e-9);

    store->options.velocityChartUnit = 3;
    Series6.AddXY(0, 0);
    store->PlotVelocity();
    EXPECT_TRUE(Series6.pts.empty());
    ASSERT_EQ(11, Series2.Count());
    EXPECT_NEAR(0.04, Series2.pts[1].first, 1e-12);
    EXPECT_NEAR(660.0, Series2.pts[1].second, 1e-9);
}

TEST_F(StoreFixture, MeanVelocityOverVisibleRange) {
    double shown = -1;
    store->showMeanVelocity = [&](double m) { shown = m; };
    for (int k = 0; k < 6; ++k) Series2.AddXY(k * 0.04, k * 1.0);
    struct Case {
        bool hasRange;
        double lo, hi;
        double mean;
        Pts line;
    };
    const std::vector<Case> cases = {
        {false, 0, 0, 2.5, {{0, 2.5}, {0.2, 2.5}}},               // whole curve
        {true, 0.07, 0.17, 3.0, {{0.08, 3.0}, {0.16, 3.0}}},      // indexes 2..4
        {true, 0.11, 0.13, 3.0, {{0.12, 3.0}, {0.12, 3.0}}},      // one visible value: itself
    };
    for (const auto& c : cases) {
        predkosci.hasRange = c.hasRange;
        predkosci.lo = c.lo;
        predkosci.hi = c.hi;
        store->ShowMeanVelocity();
        EXPECT_DOUBLE_EQ(c.mean, shown);
        expectPts(c.line, Series6, "mean line");
    }
    // Nothing visible: no mean, no line, the display keeps what it had.
    predkosci.hasRange = true;
    predkosci.lo = 5;
    predkosci.hi = 6;
    shown = -1;
    store->ShowMeanVelocity();
    EXPECT_EQ(-1, shown);
    EXPECT_TRUE(Series6.pts.empty());
}

// --- angular ---

TEST_F(StoreFixture, AngularPointsPlotLinkGridAndRedraw) {
    for (int k = 0; k < 3; ++k) {
        TPunktItem& p = angular.Add();
        p.Dystans = k * 120.0;
        p.Xa = k + 0.5;
        p.Xr = -k;
    }
    store->AddAngularPoint(1);
    expectPts({{120, 1.5}}, Czastkowy, "partial");
    expectPts({{120, -1}}, Sumaryczny, "cumulative");
    EXPECT_EQ(3, gridPK.rows);
    EXPECT_EQ(2, gridPK.current);
    for (int col = 0; col < 3; ++col) EXPECT_EQ((GridCellRef{-1, 1}), *gridPK.at(2, col));
    store->AddAngularPoint(3);  // no such point
    EXPECT_EQ(1, Czastkowy.Count());

    store->options.pointNumberAxisPK = true;
    store->PlotPositionPK();
    expectPts({{0, 0.5}, {1, 1.5}, {2, 2.5}}, Czastkowy, "redrawn");
    EXPECT_EQ(4, gridPK.rows);
    EXPECT_EQ(QStringLiteral("Pozycjonowanie kątowe"), pk.title);

    angular.Clear();
    store->PlotPositionPK();  // empty list: the chart stays as it is
    EXPECT_EQ(3, Czastkowy.Count());
}

// --- reset, cycle views ---

TEST_F(StoreFixture, ResetChartAndGridEmptiesTheMatchingGrid) {
    DoPrzodu.AddXY(1, 1);
    grid.rows = 4;
    grid.cells[{3, 2}] = {0, 2};
    gridPK.rows = 3;
    gridPK.cells[{2, 0}] = {-1, 1};
    store->ResetChartAndGrid(&wykres);
    EXPECT_EQ(QString(), wykres.title);
    EXPECT_EQ(0, DoPrzodu.Count());
    EXPECT_EQ(2, grid.rows);
    EXPECT_TRUE(grid.cells.empty());
    EXPECT_EQ(3, gridPK.rows);
    store->ResetChartAndGrid(&pk);
    EXPECT_EQ(2, gridPK.rows);
    EXPECT_TRUE(gridPK.cells.empty());
}

TEST_F(StoreFixture, ShowPositioningCycleDrawsCycleOverAllWithArrows) {
    addCycle({{0, 1, -1}, {10, 2, -2}, {20, 3, -3}}, cycles);
    addCycle({{0, 4, -4}, {10, 5, -5}, {20, 6, -6}}, cycles);
    store->ShowPositioningCycle(2);
    expectPts({{0, 1}, {10, 2}, {20, 3}, {0, 4}, {10, 5}, {20, 6}}, PoprzednieWPrzod, "all forward");
    EXPECT_EQ(6, PoprzednieWTyl.Count());
    expectPts({{0, 4}, {10, 5}, {20, 6}}, DoPrzodu, "cycle 2 forward");
    expectPts({{0, -4}, {10, -5}, {20, -6}}, DoTylu, "cycle 2 backward");
    ASSERT_EQ(1u, ArrowBlue.arrows.size());
    EXPECT_EQ((std::array<double, 4>{0, 4, 10, 5}), ArrowBlue.arrows[0]);
    ASSERT_EQ(1u, ArrowRed.arrows.size());
    EXPECT_EQ((std::array<double, 4>{20, -6, 10, -5}), ArrowRed.arrows[0]);
    EXPECT_EQ(4, grid.rows);
    EXPECT_EQ((GridCellRef{1, 2}), *grid.at(3, 2));
    EXPECT_EQ(QStringLiteral("Cykl 2"), wykres.title);

    store->ShowPositioningCycle(3);  // no such cycle: nothing changes
    EXPECT_EQ(QStringLiteral("Cykl 2"), wykres.title);
}

TEST_F(StoreFixture, ShowPositioningCycleWithoutBackwardPassOrWithOnePoint) {
    addCycle({{0, 1, 0}, {10, 2, 0}}, cycles);
    grid.visible = false;
    store->ShowPositioningCycle(1);
    EXPECT_EQ(0, DoTylu.Count());
    EXPECT_EQ(0, PoprzednieWTyl.Count());
    EXPECT_TRUE(ArrowRed.arrows.empty());
    EXPECT_EQ(1u, ArrowBlue.arrows.size());
    EXPECT_TRUE(grid.cells.empty());  // hidden grid: not linked
    EXPECT_EQ(3, grid.rows);

    cycles.Clear();
    addCycle({{0, 1, -1}}, cycles);
    store->ShowPositioningCycle(1);  // one point: no arrow
    EXPECT_TRUE(ArrowBlue.arrows.empty());
    EXPECT_TRUE(ArrowRed.arrows.empty());
    EXPECT_EQ(1, DoPrzodu.Count());
}

TEST_F(StoreFixture, FitXYCycleLineByStatisticsMethod) {
    addCycle({{0, 0, 1}, {10, 5, 2}, {20, 4, 3}}, cyclesY);
    store->options.statisticsMethod = 0;
    store->FitXYCycleLine();
    expectPts({{0, 0}, {10, 3}, {20, 0}}, PoprzednieWPrzod, "end-point residuals Xa");
    expectPts({{0, 0}, {10, 0}, {20, 0}}, PomiaryOsY, "end-point residuals Xr");
    PoprzednieWPrzod.Clear();
    PomiaryOsY.Clear();
    store->options.statisticsMethod = 2;
    store->FitXYCycleLine();
    expectPts({{0, 0}, {10, 5}, {20, 4}}, PoprzednieWPrzod, "copy");
}

// --- trimming ---

TEST(TrimCycles, CutsEveryCycleToTheShortest) {
    const std::vector<std::pair<std::vector<int>, std::vector<int>>> cases = {
        {{10, 10, 8}, {8, 8, 8}},
        {{10, 9, 9}, {9, 9, 9}},
        {{5, 5}, {5, 5}},
        {{3, 0}, {0, 0}},
        {{}, {}},
    };
    for (const auto& [before, after] : cases) {
        TCykl c;
        for (int n : before) {
            TPunkt& p = c.Add().Punkt;
            for (int k = 0; k < n; ++k) p.Add().Dystans = k;
        }
        TrimCyclesToShortest(c);
        std::vector<int> got;
        for (int i = 0; i < c.Count(); ++i) got.push_back(c[i].Punkt.Count());
        EXPECT_EQ(after, got);
        if (c.Count() && c[0].Punkt.Count()) EXPECT_EQ(after[0] - 1, c[0].Punkt[after[0] - 1].Dystans);
    }
}
