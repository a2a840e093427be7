// A whole run of points given to a series at once, and the markers of a large series stamped
// from a cached picture: both must give what point-by-point filling and drawing give.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "platform/Chart.h"

using namespace platform;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<QPointF> pts(std::initializer_list<double> xs, double firstId) {
    std::vector<QPointF> out;
    double id = firstId;
    for (double x : xs) out.emplace_back(x, id++);  // y tells which point went where
    return out;
}

// Same doubles, NaN equal to NaN.
bool same(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

void expectSameSeries(const TChartSeries& a, const TChartSeries& b, const char* what) {
    ASSERT_EQ(a.Count(), b.Count()) << what;
    for (int i = 0; i < a.Count(); ++i) {
        EXPECT_TRUE(same(a.XValue(i), b.XValue(i))) << what << " x at " << i << ": " << a.XValue(i) << " / " << b.XValue(i);
        EXPECT_TRUE(same(a.YValue(i), b.YValue(i))) << what << " y at " << i << ": " << a.YValue(i) << " / " << b.YValue(i);
        EXPECT_EQ(a.Label(i), b.Label(i)) << what << " label at " << i;
        EXPECT_EQ(a.ValueColorWin(i), b.ValueColorWin(i)) << what << " colour at " << i;
    }
}
}  // namespace

// Points already in the series (added one by one, some with a label and a colour of their own),
// then a run added at once, against the same run added one by one: x ascending where the kind
// sorts, equal X in the order added, a non-finite X left where it came and starting a new
// stretch, insertion order kept where the kind does not sort.
TEST(ChartBulk, RunAddedAtOnceGivesThePointsOfAddingThemOneByOne) {
    struct Case {
        const char* name;
        std::vector<QPointF> before, run;
    };
    std::vector<Case> cases = {
        {"empty, in order", {}, pts({1, 2, 3, 4}, 0)},
        {"empty, reversed", {}, pts({4, 3, 2, 1}, 0)},
        {"equal x keep their order", {}, pts({2, 1, 2, 1, 2, 1}, 0)},
        {"merged into the sorted points", pts({1, 3, 5}, 100), pts({4, 2, 6, 3, 1, 5}, 0)},
        {"all below the points there", pts({10, 20}, 100), pts({3, 2, 1}, 0)},
        {"after a non-finite x there", pts({5, kNaN, 3}, 100), pts({1, 4, 3}, 0)},
        {"non-finite x inside the run", pts({2}, 100), pts({3, 1, kNaN, 2, 0, kInf, -1, -kInf, 7, 6}, 0)},
        {"run ending on a non-finite x", pts({2}, 100), pts({1, kNaN}, 0)},
    };
    // Many equal values out of order, as the cycles of a run are.
    std::mt19937 rng(5);
    std::vector<QPointF> many;
    for (int i = 0; i < 3000; ++i) many.emplace_back(double(rng() % 50) * 0.5, i);
    cases.push_back({"three thousand with repeats", pts({3, 7}, 100000), many});

    for (const Case& c : cases) {
        TChart chart;
        auto* one = chart.AddNewSeries<TLineSeries>("one");
        auto* bulk = chart.AddNewSeries<TLineSeries>("bulk");
        auto* arrowsOne = chart.AddNewSeries<TArrowSeries>("arrowsOne");
        auto* arrowsBulk = chart.AddNewSeries<TArrowSeries>("arrowsBulk");
        for (TChartSeries* s : {static_cast<TChartSeries*>(one), static_cast<TChartSeries*>(bulk),
                                static_cast<TChartSeries*>(arrowsOne), static_cast<TChartSeries*>(arrowsBulk)}) {
            int k = 0;
            for (const QPointF& p : c.before) s->AddXY(p.x(), p.y(), k++ == 0 ? QString("first") : QString(), k == 2 ? 0xFF0000u : kSeriesColor);
        }
        for (const QPointF& p : c.run) {
            one->AddXY(p.x(), p.y());
            arrowsOne->AddXY(p.x(), p.y());
        }
        bulk->AddXYs(c.run);
        arrowsBulk->AddXYs(c.run);
        expectSameSeries(*one, *bulk, c.name);
        expectSameSeries(*arrowsOne, *arrowsBulk, c.name);
        for (int i = 0; i < arrowsBulk->Count(); ++i) {
            EXPECT_TRUE(same(arrowsBulk->EndXValue(i), arrowsOne->EndXValue(i))) << c.name << " end x at " << i;
            EXPECT_TRUE(same(arrowsBulk->EndYValue(i), arrowsOne->EndYValue(i))) << c.name << " end y at " << i;
        }
    }
}

// A series large enough to have its markers stamped looks like the same markers drawn one by
// one (here: the same points split into series too small to be stamped, drawn in the same
// order). Stamps sit on sixteenths of a pixel, so only the soft edges may differ, and by little.
TEST(ChartBulk, StampedMarkersLookLikeMarkersDrawnOneByOne) {
    const QSize size(320, 220);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(0.0, 10.0);
    std::vector<QPointF> points;
    for (int i = 0; i < 1800; ++i) {
        points.emplace_back(u(rng), u(rng));
        if (i % 5 == 0) points.insert(points.end(), 2, points.back());  // the same reading again at once
    }
    // Repeats on the same spot, and on spots a fraction of a pixel apart.
    for (int i = 0; i < 300; ++i) points.push_back(points[std::size_t(i)]);
    for (int i = 0; i < 300; ++i) points.emplace_back(points[std::size_t(i)].x() + 0.004, points[std::size_t(i)].y() - 0.003);

    auto look = [](TChart& c) {
        c.SetColor(Qt::white);
        c.SetLegendVisible(false);
        c.LeftAxis().SetGridVisible(false);
        c.BottomAxis().SetGridVisible(false);
        c.LeftAxis().SetMinMax(0, 10);
        c.BottomAxis().SetMinMax(0, 10);
    };
    struct Kind {
        const char* name;
        TPointerStyle style;
        int half;
        bool line;
    };
    for (const Kind& k : {Kind{"circles", TPointerStyle::Circle, 2, false}, Kind{"squares", TPointerStyle::Rectangle, 3, false},
                          Kind{"line markers", TPointerStyle::Rectangle, 3, true}, Kind{"triangles", TPointerStyle::Triangle, 4, false}}) {
        auto setUp = [&](TChartSeries* s) {
            s->SetSeriesColor(QColor(64, 128, 255));
            TSeriesPointer& ptr = k.line ? static_cast<TLineSeries*>(s)->Pointer() : static_cast<TPointSeries*>(s)->Pointer();
            ptr.visible = true;
            ptr.style = k.style;
            ptr.horizSize = ptr.vertSize = k.half;
            if (k.line) static_cast<TLineSeries*>(s)->LinePen().visible = false;
        };
        TChart stamped, drawn;
        look(stamped);
        look(drawn);
        TChartSeries* big = k.line ? static_cast<TChartSeries*>(stamped.AddNewSeries<TLineSeries>("big"))
                                   : static_cast<TChartSeries*>(stamped.AddNewSeries<TPointSeries>("big"));
        setUp(big);
        // Not sorted by X: the line kind sorts, so the small ones get the sorted order too.
        big->AddXYs(points);
        for (int from = 0; from < big->Count(); from += 400) {
            TChartSeries* part = k.line ? static_cast<TChartSeries*>(drawn.AddNewSeries<TLineSeries>(QString::number(from)))
                                        : static_cast<TChartSeries*>(drawn.AddNewSeries<TPointSeries>(QString::number(from)));
            setUp(part);
            std::vector<QPointF> slice;
            for (int i = from; i < std::min(from + 400, big->Count()); ++i) slice.emplace_back(big->XValue(i), big->YValue(i));
            part->AddXYs(slice);
        }
        const QImage a = stamped.RenderImage(size).convertToFormat(QImage::Format_ARGB32);
        const QImage b = drawn.RenderImage(size).convertToFormat(QImage::Format_ARGB32);
        int differ = 0, worst = 0, coloured = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
                const int d = std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()), std::abs(p.blue() - q.blue())});
                worst = std::max(worst, d);
                differ += d > 48;
                coloured += q != QColor(Qt::white);
            }
        EXPECT_GT(coloured, 5000) << k.name;
        EXPECT_LT(differ, coloured / 100) << k.name << ": " << differ << " of " << coloured << " pixels differ, worst by " << worst;
        // A lost or misplaced marker would leave a pixel far off (fill against outline or white).
        EXPECT_LT(worst, 128) << k.name;
    }
}

// A wide line through thousands of points is stroked in pieces; it looks like the one stroke
// through all of them (drawn here onto the same chart without its line).
TEST(ChartBulk, LongWideLineLooksLikeOneStroke) {
    const QSize size(360, 240);
    auto make = [](TChart& c, bool withLine) {
        c.SetColor(Qt::white);
        c.SetLegendVisible(false);
        c.LeftAxis().SetGridVisible(false);
        c.BottomAxis().SetGridVisible(false);
        c.LeftAxis().SetMinMax(0, 10);
        c.BottomAxis().SetMinMax(0, 10);
        auto* s = c.AddNewSeries<TLineSeries>("line");
        s->SetSeriesColor(QColor(200, 30, 30));
        s->LinePen().width = 2;
        s->LinePen().visible = withLine;
        std::vector<QPointF> run;
        for (int i = 0; i < 6000; ++i) run.emplace_back(0.5 + 9.0 * i / 6000.0, 5.0 + 3.0 * std::sin(i * 0.7) * std::cos(i * 0.013));
        s->AddXYs(run);
        return s;
    };
    TChart pieced, plain;
    make(pieced, true);
    TLineSeries* s = make(plain, false);
    const QImage a = pieced.RenderImage(size).convertToFormat(QImage::Format_ARGB32);
    QImage b = plain.RenderImage(size).convertToFormat(QImage::Format_ARGB32);
    {
        const TChartDrawContext ctx = plain.LayoutFor(QRectF(QPointF(0, 0), QSizeF(size)));
        QPainter p(&b);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setClipRect(ctx.plotRect.adjusted(-5, -5, 5, 5));
        QPen pen(QColor(200, 30, 30));
        pen.setWidthF(2);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        QPolygonF line;
        for (int i = 0; i < s->Count(); ++i) line << ctx.Pos(s->XValue(i), s->YValue(i));
        p.drawPolyline(line);
    }
    int differ = 0, worst = 0, coloured = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            const int d = std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()), std::abs(p.blue() - q.blue())});
            worst = std::max(worst, d);
            differ += d > 48;
            coloured += q != QColor(Qt::white);
        }
    EXPECT_GT(coloured, 5000);
    EXPECT_LT(differ, coloured / 100) << differ << " of " << coloured << " pixels differ, worst by " << worst;
    EXPECT_LT(worst, 128);
}
