#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLocale>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "ChartPixels.h"
#include "platform/Chart.h"
#include "platform/Chart3DGridSeries.h"

using namespace platform;
using namespace chartpixels;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const QColor kNavy(0, 0, 128), kWhite(255, 255, 255), kRed(255, 0, 0), kGreen(0, 128, 0), kBlue(0, 0, 255);

// Heights of a 3 x 3 grid, X 0..2 to the right and Z 0..2 into the depth:
//   z=2: 2 5 8
//   z=1: 1 3 5
//   z=0: 0 1 2
template <class S>
void knownGrid(S& s) {
    const double h[3][3] = {{0, 1, 2}, {1, 3, 5}, {2, 5, 8}};  // [z][x]
    for (int z = 0; z < 3; ++z)
        for (int x = 0; x < 3; ++x) s.AddXYZ(x, z, h[z][x]);
}

// A segment as its two ends in a fixed order, so pieces compare whatever way they were traced.
struct Seg {
    double x0, z0, x1, z1;
};
Seg norm(double x0, double z0, double x1, double z1) {
    if (x0 > x1 || (x0 == x1 && z0 > z1)) return {x1, z1, x0, z0};
    return {x0, z0, x1, z1};
}
bool sameSeg(const Seg& a, const Seg& b) {
    return std::abs(a.x0 - b.x0) < 1e-9 && std::abs(a.z0 - b.z0) < 1e-9 && std::abs(a.x1 - b.x1) < 1e-9 &&
           std::abs(a.z1 - b.z1) < 1e-9;
}
std::vector<Seg> segsOfLevel(const std::vector<TContourSegment>& all, int level) {
    std::vector<Seg> out;
    for (const auto& s : all)
        if (s.level == level) out.push_back(norm(s.x0, s.z0, s.x1, s.z1));
    return out;
}
}  // namespace

TEST(GridSeries, GridIndexFromPoints) {
    TSurfaceSeries s;
    EXPECT_EQ(s.NumXValues(), 10);
    EXPECT_EQ(s.NumZValues(), 10);
    // A 3 x 2 grid from X 5..7 and Z -1..0, cell (6, 0) missing, one point given twice.
    EXPECT_EQ(s.AddXYZ(5, -1, 1.0), 0);
    EXPECT_EQ(s.AddXYZ(6, -1, 2.0), 1);
    EXPECT_EQ(s.AddXYZ(7, -1, 3.0), 2);
    EXPECT_EQ(s.AddXYZ(5, 0, 4.0), 3);
    EXPECT_EQ(s.AddXYZ(7, 0, 5.0), 4);
    EXPECT_EQ(s.AddXYZ(7, 0, 6.0), 5);  // the later point holds the cell
    // A height that is not finite has no place on the grid.
    EXPECT_EQ(s.AddXYZ(6, 0, kNaN), -1);
    EXPECT_EQ(s.AddXYZ(6, 0, kInf), -1);
    EXPECT_EQ(s.AddXYZRounded(6, 0, -kInf), -1);
    EXPECT_EQ(s.Count(), 6);
    // Points set from outside with a non-finite value are left out of the grid.
    s.AddXY(kNaN, 1.0);
    s.FillGridIndex();
    EXPECT_EQ(s.GridIndex(1, 1), 0);
    EXPECT_EQ(s.GridIndex(2, 1), 1);
    EXPECT_EQ(s.GridIndex(3, 1), 2);
    EXPECT_EQ(s.GridIndex(1, 2), 3);
    EXPECT_EQ(s.GridIndex(2, 2), -1);
    EXPECT_EQ(s.GridIndex(3, 2), 5);
    for (auto [c, r] : {std::pair{0, 1}, {1, 0}, {4, 1}, {501, 1}, {1, 501}, {-3, -3}}) EXPECT_EQ(s.GridIndex(c, r), -1);
    // The grid sizes grow to what the points reach, never shrink by themselves.
    EXPECT_EQ(s.NumXValues(), 10);
    s.AddXYZ(20, 0, 1.0);  // column 16
    s.AddXYZ(5, 11, 1.0);  // row 13
    s.FillGridIndex();
    EXPECT_EQ(s.NumXValues(), 16);
    EXPECT_EQ(s.NumZValues(), 13);
    // Beyond 500 columns a point has no cell; the rest of the grid stays.
    const int far = s.AddXYZ(5 + 500, 0, 1.0);
    s.FillGridIndex();
    EXPECT_EQ(s.GridIndex(500, 2), -1);
    EXPECT_EQ(s.NumXValues(), 16);
    EXPECT_EQ(s.GridIndex(1, 1), 0);
    EXPECT_GT(far, 0);
    // Rounded to the nearest cell, halves to even.
    TSurfaceSeries r;
    r.AddXY(0.0, 1.0);
    r.AddXY(1.5, 1.0);  // round(1.5) = 2: column 3
    r.AddXY(2.5, 2.0);  // round(2.5) = 2: column 3 again, the later point holds it
    r.FillGridIndex();
    EXPECT_EQ(r.GridIndex(1, 1), 0);
    EXPECT_EQ(r.GridIndex(2, 1), -1);
    EXPECT_EQ(r.GridIndex(3, 1), 2);

    // Clearing frees the grid and leaves X unordered.
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.GridIndex(1, 1), -1);
    EXPECT_EQ(s.XValues().order, TValueOrder::None);
}

TEST(GridSeries, GeneratesGridValues) {
    TContourSeries s;
    s.AddXYZ(1, 1, 7.0);
    std::vector<std::pair<int, int>> asked;
    s.OnGetYValue = [&](TChartSeries* sender, int x, int z) {
        EXPECT_EQ(sender, &s);
        asked.push_back({x, z});
        return x * 10.0 + z;
    };
    // Changing the columns regenerates the whole grid from the handler.
    EXPECT_TRUE(s.SetNumXValues(3));
    ASSERT_EQ(s.Count(), 3 * 10);
    EXPECT_EQ(asked.size(), 30u);
    s.FillGridIndex();
    const int i = s.GridIndex(3, 7);
    ASSERT_GE(i, 0);
    EXPECT_EQ(s.XValue(i), 3.0);
    EXPECT_EQ(s.ZValue(i), 7.0);
    EXPECT_EQ(s.YValue(i), 37.0);
    // Sizes outside 1..500 are refused and change nothing.
    for (int bad : {0, -1, 501}) {
        EXPECT_FALSE(s.SetNumXValues(bad));
        EXPECT_FALSE(s.SetNumZValues(bad));
    }
    EXPECT_EQ(s.NumXValues(), 3);
    EXPECT_EQ(s.Count(), 30);
    // Without a handler the cells are 0; sample values are a surface that is not flat.
    s.OnGetYValue = nullptr;
    EXPECT_TRUE(s.SetNumZValues(2));
    ASSERT_EQ(s.Count(), 6);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(s.YValue(k), 0.0);
    s.AddSampleValues(8);
    EXPECT_EQ(s.Count(), 64);
    EXPECT_EQ(s.NumXValues(), 8);
    EXPECT_LT(s.MinYValue() + 5, s.MaxYValue());
    s.SetNumXValues(4);  // no longer sampling: zeros again
    EXPECT_EQ(s.MaxYValue(), 0.0);
}

TEST(GridSeries, ColourOfAHeight) {
    TSurfaceSeries s;
    s.SetSeriesColor(kGreen);
    s.AddXYZ(0, 0, 2.0);
    s.AddXYZ(1, 0, 6.0);
    s.AddXYZ(2, 0, kNaN);  // refused, so it cannot spoil the range
    // The colour range, navy to white over 2..6, each component rounded (halves to even).
    struct Row { double y; QColor want; };
    for (const Row& r : {Row{2.0, kNavy}, Row{6.0, kWhite},
                         Row{4.0, QColor(128, 128, 192)},  // 127.5 -> 128, 128 + 63.5 -> 192
                         Row{3.0, QColor(64, 64, 160)},    // 63.75 -> 64, 128 + 31.75 -> 160
                         Row{-100, kNavy}, Row{100, kWhite}, Row{kNaN, kNavy}}) {
        SCOPED_TRACE(r.y);
        EXPECT_EQ(s.ColorOfValue(r.y), r.want);
    }
    // Falling components round the same way: 255 + round(-127.5) = 255 - 128.
    s.SetStartColor(QColor(255, 0, 0));
    s.SetEndColor(QColor(0, 0, 255));
    EXPECT_EQ(s.ColorOfValue(4.0), QColor(127, 0, 128));
    EXPECT_EQ(s.ColorOfValue(4.0, 4.0, 4.0), QColor(255, 0, 0));  // no range: the start colour

    // The palette: bands kept in value order, each the colour of heights up to its value.
    s.SetUsePalette(true);
    EXPECT_EQ(s.ColorOfValue(4.0), QColor(127, 0, 128));  // the range still takes precedence
    s.SetUseColorRange(false);
    EXPECT_EQ(s.ColorOfValue(4.0), kGreen);  // no bands yet: the series colour
    EXPECT_TRUE(s.AddPalette(3.0, kGreen));
    EXPECT_TRUE(s.AddPalette(1.0, kRed));
    EXPECT_TRUE(s.AddPalette(2.0, kBlue));
    EXPECT_FALSE(s.AddPalette(kNaN, kWhite));
    ASSERT_EQ(s.Palette().size(), 3u);
    EXPECT_EQ(s.Palette()[0], (TPaletteEntry{1.0, kRed}));
    EXPECT_EQ(s.Palette()[1], (TPaletteEntry{2.0, kBlue}));
    EXPECT_EQ(s.Palette()[2], (TPaletteEntry{3.0, kGreen}));
    for (const Row& r : {Row{-5, kRed}, Row{1.0, kRed}, Row{1.0001, kBlue}, Row{2.0, kBlue}, Row{3.0, kGreen},
                         Row{99, kGreen}}) {
        SCOPED_TRACE(r.y);
        EXPECT_EQ(s.ColorOfValue(r.y), r.want);
    }
    // The legend: the bands from the highest down, values as the locale writes them.
    s.AddPalette(2.5, kNavy);
    const auto items = s.LegendItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "3");
    EXPECT_EQ(items[0].color, kGreen);
    EXPECT_EQ(items[1].text, QLocale().toString(2.5, 'f', 1));
    EXPECT_EQ(items[3].text, "1");
    // Neither option: the series colour.
    s.SetUsePalette(false);
    EXPECT_EQ(s.ColorOfValue(2.0), kGreen);
}

TEST(GridSeries, DefaultPaletteFollowsTheHeights) {
    TSurfaceSeries s;
    s.SetUseColorRange(false);
    s.SetUsePalette(true);
    for (int x = 0; x < 3; ++x) s.AddXYZ(x, 0, 10.0 + 10.0 * x);  // 10..30
    // Made at drawing time (the legend asks for it too), PaletteSteps bands up to the highest.
    auto items = s.LegendItems();
    ASSERT_EQ(items.size(), 32u);
    EXPECT_EQ(items.front().text, "30");
    EXPECT_EQ(items.back().text, QLocale().toString(10.625, 'f', 3));  // 10 + 20/32
    EXPECT_EQ(s.ColorOfValue(10.0), s.Palette().front().color);
    EXPECT_EQ(s.ColorOfValue(30.0), s.Palette().back().color);
    EXPECT_NE(s.Palette().front().color, s.Palette().back().color);
    // It follows the data while nobody set bands by hand.
    s.AddXYZ(3, 0, 50.0);
    EXPECT_TRUE(s.SetPaletteSteps(4));
    EXPECT_FALSE(s.SetPaletteSteps(0));
    items = s.LegendItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "50");
    EXPECT_EQ(items[3].text, "20");
    // A flat grid (min = max): one band at the height, the range colour is the start colour.
    TSurfaceSeries flat;
    for (int x = 0; x < 3; ++x)
        for (int z = 0; z < 3; ++z) flat.AddXYZ(x, z, 7.0);
    EXPECT_EQ(flat.ColorOfValue(7.0), kNavy);
    flat.SetUseColorRange(false);
    flat.SetUsePalette(true);
    items = flat.LegendItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "7");
    // Bands set by hand replace the default ones and stay.
    flat.AddPalette(100.0, kRed);
    EXPECT_EQ(flat.LegendItems().size(), 1u);
    EXPECT_EQ(flat.ColorOfValue(7.0), kRed);
    flat.ClearPalette();
    EXPECT_EQ(flat.LegendItems().size(), 1u);
    EXPECT_NE(flat.Palette()[0].color, kRed);
}

TEST(ContourSeries, LevelsSpreadOverTheHeights) {
    TContourSeries s;
    knownGrid(s);  // heights 0..8
    EXPECT_EQ(s.NumLevels(), 10);
    EXPECT_TRUE(s.SetNumLevels(4));
    auto levels = s.Levels();
    ASSERT_EQ(levels.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(levels[std::size_t(i)].upToValue, 2.0 * i);
        EXPECT_EQ(levels[std::size_t(i)].color, chartDefaultColor(i));  // each level its own colour
    }
    EXPECT_NE(chartDefaultColor(0), chartDefaultColor(1));
    EXPECT_EQ(chartDefaultColor(15), chartDefaultColor(0));
    // Without ColorEachPoint: the colour range of the level's height, else the series colour.
    s.SetColorEachPoint(false);
    levels = s.Levels();
    EXPECT_EQ(levels[0].color, kNavy);
    EXPECT_EQ(levels[2].color, s.ColorOfValue(4.0));
    s.SetUseColorRange(false);
    s.SetSeriesColor(kGreen);
    EXPECT_EQ(s.Levels()[3].color, kGreen);
    // The handler may change a level.
    s.OnGetLevel = [](TContourSeries*, int i, double& value, QColor& color) {
        if (i == 1) {
            value = 3.0;
            color = kRed;
        }
    };
    levels = s.Levels();
    EXPECT_EQ(levels[1].upToValue, 3.0);
    EXPECT_EQ(levels[1].color, kRed);
    EXPECT_EQ(levels[2].upToValue, 4.0);
    // Counts outside 0..251 are refused; 0 levels draw no line.
    for (int bad : {-1, 252}) EXPECT_FALSE(s.SetNumLevels(bad));
    EXPECT_EQ(s.NumLevels(), 4);
    EXPECT_TRUE(s.SetNumLevels(251));
    EXPECT_EQ(s.Levels().size(), 251u);
    EXPECT_TRUE(s.SetNumLevels(0));
    EXPECT_TRUE(s.Levels().empty());
    // A flat grid: every level at the one height, and no line through the flat cells.
    TContourSeries flat;
    for (int x = 0; x < 3; ++x)
        for (int z = 0; z < 3; ++z) flat.AddXYZ(x, z, 5.0);
    levels = flat.Levels();
    ASSERT_EQ(levels.size(), 10u);
    for (const auto& l : levels) EXPECT_EQ(l.upToValue, 5.0);
    flat.FillGridIndex();
    EXPECT_TRUE(flat.Segments(levels).empty());
    EXPECT_TRUE(TContourSeries().Levels().empty());
}

// The level lines of the known grid, worked by hand: each cell split into four triangles
// meeting at its centre, whose height is the mean of the corners.
TEST(ContourSeries, SegmentsOfAKnownGrid) {
    TContourSeries s;
    knownGrid(s);
    s.SetNumLevels(2);  // levels 0 and 4
    s.FillGridIndex();
    const auto levels = s.Levels();
    const auto all = s.Segments(levels);
    // Level 0 only touches the lowest corner: no line.
    EXPECT_TRUE(segsOfLevel(all, 0).empty());
    // Level 4 runs through three cells; the lower left cell (all below 4) has none.
    //  cell x1..2 z0..1, centre (1.5, 0.5) height 2.75:
    //   triangle (2,0)=2 (2,1)=5 centre: edge (2,0)-(2,1) at 2/3, edge (2,1)-centre at 1/2.25
    //   triangle (2,1)=5 (1,1)=3 centre: edge midpoint (1.5,1), the same centre crossing
    //  cell x1..2 z1..2, centre (1.5, 1.5) height 5.25: crossings at (1.5,1), (1,1.5) and
    //   on the diagonal at 4/9 of the way from (1,1)
    //  cell x0..1 z1..2: the mirror image of the first.
    const double a = 2.0 / 3, b = 16.0 / 9, c = 7.0 / 9, d = 11.0 / 9;
    const std::vector<Seg> want = {norm(2, a, b, c),   norm(1.5, 1, b, c), norm(1.5, 1, d, d),
                                   norm(1, 1.5, d, d), norm(1, 1.5, c, b), norm(a, 2, c, b)};
    const auto got = segsOfLevel(all, 1);
    ASSERT_EQ(got.size(), want.size());
    for (const Seg& w : want) {
        SCOPED_TRACE(testing::Message() << w.x0 << "," << w.z0 << " - " << w.x1 << "," << w.z1);
        EXPECT_EQ(std::count_if(got.begin(), got.end(), [&](const Seg& g) { return sameSeg(g, w); }), 1);
    }

    // A level through a corner (height 3 at (1,1)): the line runs from that vertex to the
    // opposite edge where it crosses, and across two edges elsewhere.
    const std::vector<TContourLevel> three = {{3.0, kRed}};
    const auto through = segsOfLevel(s.Segments(three), 0);
    auto has = [&](const Seg& w) {
        return std::any_of(through.begin(), through.end(), [&](const Seg& g) { return sameSeg(g, w); });
    };
    // Triangle (2,1)=5 (1,1)=3 and centre 2.75: from (1,1) to 8/9 of the way from (2,1) to the centre.
    EXPECT_TRUE(has(norm(1, 1, 14.0 / 9, 5.0 / 9)));
    // Triangle (2,0)=2 (2,1)=5 centre: (2, 1/3) to the same point.
    EXPECT_TRUE(has(norm(2, 1.0 / 3, 14.0 / 9, 5.0 / 9)));
    // A vertex whose other two corners lie on one side makes no line: nothing in the lower left cell.
    for (const Seg& g : through)
        EXPECT_FALSE(g.x0 <= 1 && g.z0 <= 1 && g.x1 <= 1 && g.z1 <= 1) << g.x0 << "," << g.z0;
    // Through two vertices: a level at a whole edge's height draws that edge.
    TContourSeries edge;
    edge.AddXYZ(0, 0, 1.0);
    edge.AddXYZ(1, 0, 1.0);
    edge.AddXYZ(0, 1, 3.0);
    edge.AddXYZ(1, 1, 3.0);
    edge.FillGridIndex();
    const auto e = segsOfLevel(edge.Segments({{1.0, kRed}}), 0);
    ASSERT_FALSE(e.empty());
    for (const Seg& g : e) EXPECT_TRUE(sameSeg(g, norm(0, 0, 1, 0)));
    // A non-finite level makes no line.
    EXPECT_TRUE(edge.Segments({{kNaN, kRed}}).empty());
}

TEST(GridSeries, FewerThanTwoColumnsOrRowsDrawNothing) {
    for (bool oneColumn : {true, false}) {
        SCOPED_TRACE(oneColumn);
        TChart c;
        c.SetColor(Qt::white);
        c.SetLegendVisible(false);
        c.SetView3D(true);
        auto* surf = c.AddNewSeries<TSurfaceSeries>("surf");
        auto* cont = c.AddNewSeries<TContourSeries>("cont");
        surf->SetStartColor(kRed);
        surf->SetEndColor(kRed);
        cont->Pen().width = 3;
        for (int k = 0; k < 5; ++k) {
            surf->AddXYZ(oneColumn ? 0 : k, oneColumn ? k : 0, k);
            cont->AddXYZ(oneColumn ? 0 : k, oneColumn ? k : 0, k);
        }
        const QImage img = c.RenderImage(QSize(300, 200));
        EXPECT_EQ(hitsAnywhere(img, kRed), 0);
        EXPECT_TRUE(cont->Segments(cont->Levels()).empty());
        EXPECT_TRUE(surf->CellOrder(c.LayoutFor(QRectF(0, 0, 300, 200))).empty());
    }
}

namespace {
// A white chart with fixed limits, nothing drawn but the box.
void plainChart(TChart& c, bool view3D, bool orthogonal) {
    c.SetColor(Qt::white);
    c.SetLegendVisible(false);
    c.SetView3D(view3D);
    c.View3DOptions().orthogonal = orthogonal;
    c.View3DOptions().chart3DPercent = 60;
    c.LeftAxis().SetGridVisible(false);
    c.BottomAxis().SetGridVisible(false);
    c.DepthAxis().SetGridVisible(false);
}
}  // namespace

TEST(SurfaceSeries, CellsArePaintedFarToNear) {
    // Loop order: left to right on the bottom axis, far rows (large Z) first.
    TSurfaceSeries s;
    for (int x = 0; x < 3; ++x)
        for (int z = 0; z < 3; ++z)
            if (!(x == 2 && z == 0)) s.AddXYZ(x, z, 1.0);  // cell (3, 2) lacks a corner
    s.FillGridIndex();
    TChart c;
    TChartDrawContext ctx = c.LayoutFor(QRectF(0, 0, 300, 200));
    auto order = [&] {
        std::vector<std::pair<int, int>> out;
        for (const auto& cell : s.CellOrder(ctx)) out.push_back({cell.column, cell.row});
        return out;
    };
    using V = std::vector<std::pair<int, int>>;
    EXPECT_EQ(order(), (V{{2, 3}, {3, 3}, {2, 2}}));
    ctx.x.inverted = true;
    EXPECT_EQ(order(), (V{{3, 3}, {2, 3}, {2, 2}}));
    ctx.z.inverted = true;
    EXPECT_EQ(order(), (V{{2, 2}, {3, 3}, {2, 3}}));

    // In a 3-D view the pieces go to the chart's depth queue; the near row is painted over the
    // far one where they overlap, in the oblique and in the turned view. The front row slopes
    // down away from the eye and the back row up, so the back row shows behind the front one.
    for (bool orthogonal : {true, false}) {
        SCOPED_TRACE(orthogonal);
        TChart chart;
        plainChart(chart, true, orthogonal);
        chart.SetRotation(340);
        chart.SetElevation(340);
        auto* surf = chart.AddNewSeries<TSurfaceSeries>("surf");
        surf->Pen().visible = false;
        const double h[3] = {10, 0, 10};
        for (int z = 0; z < 3; ++z)
            for (int x = 0; x < 2; ++x) surf->AddXYZ(x, z, h[z]);
        surf->OnGetColor = [&](TChartSeries*, int index, QColor& col) {
            col = surf->ZValue(index) == 1.0 ? kRed : kBlue;  // front row red, back row blue
        };
        const QRectF rect(0, 0, 400, 300);
        TChartDrawContext lay = chart.LayoutFor(rect);
        std::vector<TChartDrawContext::DepthPiece> queue;
        lay.depthQueue = &queue;
        surf->Draw(lay);
        ASSERT_EQ(queue.size(), 2u);
        EXPECT_GT(queue[0].depth, queue[1].depth);  // the back row handed over first and deeper
        // Where the two quadrilaterals overlap on the screen, the front one shows.
        auto quad = [&](int row) {
            QPolygonF q;
            for (auto [x, z] : {std::pair{1, row}, {0, row}, {0, row - 1}, {1, row - 1}}) q << lay.Pos3D(x, h[z], z);
            return q;
        };
        const QPolygonF both = quad(1).intersected(quad(2));
        ASSERT_GT(both.boundingRect().width(), 10);
        const QPointF inside = both.boundingRect().center();
        ASSERT_TRUE(both.containsPoint(inside, Qt::OddEvenFill));
        const QImage img = chart.RenderImage(rect.size().toSize());
        EXPECT_GT(hits(img, inside, kRed), 5);
        EXPECT_EQ(hits(img, inside, kBlue), 0);
    }
}

namespace {
// The sample surface of 12 x 12 points in a turned 3-D view.
TCustom3DGridSeries* sampleChart(TChart& c, bool contour) {
    c.SetTitleText(contour ? "Poziomice" : "Powierzchnia");
    c.SetColor(Qt::white);
    c.SetView3D(true);
    c.View3DOptions().orthogonal = false;
    c.View3DOptions().chart3DPercent = 80;
    c.SetRotation(330);
    c.SetElevation(340);
    c.BottomAxis().SetTitle("X");
    c.LeftAxis().SetTitle("Y");
    c.DepthAxis().SetVisible(true);
    c.DepthAxis().SetTitle("Z");
    TCustom3DGridSeries* s = nullptr;
    if (contour) {
        auto* k = c.AddNewSeries<TContourSeries>("Contour", "Poziomice");
        k->Pen().width = 2;
        k->SetYPositionLevel(true);
        s = k;
    } else {
        s = c.AddNewSeries<TSurfaceSeries>("Surface", "Powierzchnia");
    }
    s->AddSampleValues(12);
    return s;
}
}  // namespace

TEST(SurfaceSeries, SurfacePicture) {
    TChart c;
    auto* surf = static_cast<TSurfaceSeries*>(sampleChart(c, false));
    const QSize size(640, 460);
    const QImage img = c.RenderImage(size);
    EXPECT_TRUE(img.save(QDir::temp().filePath("vkm30_surface.png")));
    // The lowest cells near navy, the highest near white, and every cell drawn.
    EXPECT_GT(hitsAnywhere(img, kNavy), 200);
    EXPECT_GT(hitsAnywhere(img, QColor(235, 235, 245)), 50);
    EXPECT_EQ(surf->CellOrder(c.LayoutFor(QRectF(QPointF(0, 0), QSizeF(size)))).size(), 121u);
    // Wire frame: outlines in the cells' colours, no fill.
    surf->SetWireFrame(true);
    const QImage wire = c.RenderImage(size);
    EXPECT_TRUE(wire.save(QDir::temp().filePath("vkm30_surface_wire.png")));
    EXPECT_LT(hitsAnywhere(wire, kNavy), hitsAnywhere(img, kNavy) / 2);
    EXPECT_GT(hitsAnywhere(wire, kNavy), 20);
    // A palette instead of the range; a copy keeps it.
    surf->SetWireFrame(false);
    surf->SetUseColorRange(false);
    surf->SetUsePalette(true);
    surf->SetPaletteSteps(8);
    const QImage pal = c.RenderImage(size);
    EXPECT_TRUE(pal.save(QDir::temp().filePath("vkm30_surface_palette.png")));
    EXPECT_GT(hitsAnywhere(pal, QColor(0, 0, 255)), 100);  // the lowest band, blue
    EXPECT_GT(hitsAnywhere(pal, QColor(255, 0, 0)), 20);   // the highest, red
    std::unique_ptr<TChartSeries> copy(surf->Clone());
    auto* cs = dynamic_cast<TSurfaceSeries*>(copy.get());
    ASSERT_NE(cs, nullptr);
    EXPECT_TRUE(cs->UsePalette());
    EXPECT_EQ(cs->PaletteSteps(), 8);
    EXPECT_EQ(cs->Count(), 144);
    EXPECT_EQ(cs->ZValues().values, surf->ZValues().values);
}

TEST(ContourSeries, ContourPicture) {
    TChart c;
    auto* k = static_cast<TContourSeries*>(sampleChart(c, true));
    const QSize size(640, 460);
    const QImage img = c.RenderImage(size);
    EXPECT_TRUE(img.save(QDir::temp().filePath("vkm30_contour.png")));
    // Lines of several levels, each in its own colour.
    int coloured = 0;
    for (int i = 1; i < 6; ++i) coloured += hitsAnywhere(img, chartDefaultColor(i)) > 20;
    EXPECT_GE(coloured, 4);
    // In a flat chart: a map, X along the bottom and Z up the left axis.
    c.SetView3D(false);
    c.LeftAxis().SetTitle("Z");
    c.AdjustAxes();
    EXPECT_LE(c.LeftAxis().Minimum(), 1.0);
    EXPECT_GE(c.LeftAxis().Maximum(), 12.0);
    EXPECT_LT(c.LeftAxis().Maximum(), 15.0);  // the heights reach 18
    const QImage flat = c.RenderImage(size);
    EXPECT_TRUE(flat.save(QDir::temp().filePath("vkm30_contour_flat.png")));
    EXPECT_GT(hitsAnywhere(flat, chartDefaultColor(3)), 20);
    // All the lines in one plane, in the colours of the range.
    c.SetView3D(true);
    k->SetYPositionLevel(false);
    EXPECT_TRUE(k->SetYPosition(0.0));
    EXPECT_FALSE(k->SetYPosition(kNaN));
    k->SetColorEachPoint(false);
    c.LeftAxis().SetMinMax(0, 20);
    const QImage plane = c.RenderImage(size);
    EXPECT_TRUE(plane.save(QDir::temp().filePath("vkm30_contour_plane.png")));
    EXPECT_GT(hitsAnywhere(plane, kNavy), 20);
}
