#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>
#include <limits>

#include "ChartPixels.h"
#include "platform/Chart.h"

using namespace platform;
using namespace chartpixels;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const QSize kSize(400, 300);
const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kGreen(0, 255, 0);

// A plain white chart without legend or grid, so that only series put colour into the plot.
void plain(TChart& c) {
    c.SetColor(Qt::white);
    c.SetLegendVisible(false);
    c.LeftAxis().SetGridVisible(false);
    c.BottomAxis().SetGridVisible(false);
    c.LeftAxis().SetMinMax(0, 10);
    c.BottomAxis().SetMinMax(0, 10);
}

QRectF fullRect() { return QRectF(QPointF(0, 0), QSizeF(kSize)); }
}  // namespace

TEST(Chart, WindowsColours) {
    EXPECT_EQ(colorFromWin(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(colorFromWin(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(colorFromWin(0x00FF00), QColor(0, 255, 0));
    EXPECT_EQ(colorFromWin(0x800000), QColor(0, 0, 128));
    EXPECT_FALSE(colorFromWin(kSeriesColor).isValid());
    EXPECT_TRUE(colorFromWin(0x8000000F).isValid());  // button face
    EXPECT_EQ(colorToWin(QColor(0x12, 0x34, 0x56)), 0x563412u);
}

// Every series kind is drawn where its points are, and not at all while inactive.
TEST(Chart, EachSeriesKindDrawsAtItsPointsAndNotWhenInactive) {
    struct Case {
        const char* name;
        std::function<TChartSeries*(TChart&)> make;
        QPointF probe;  // value coordinates where the series must colour the plot
    };
    const std::vector<Case> cases = {
        {"line", [](TChart& c) {
             auto* s = c.AddNewSeries<TLineSeries>("L");
             s->LinePen().width = 3;
             s->AddXY(2, 2);
             s->AddXY(8, 8);
             return s;
         }, {5, 5}},
        {"point", [](TChart& c) {
             auto* s = c.AddNewSeries<TPointSeries>("P");
             s->AddXY(5, 5);
             return s;
         }, {5, 5}},
        {"fast line", [](TChart& c) {
             auto* s = c.AddNewSeries<TFastLineSeries>("F");
             s->LinePen().width = 3;
             s->AddXY(1, 5);
             s->AddXY(9, 5);
             return s;
         }, {3, 5}},
        {"arrow", [](TChart& c) {
             auto* s = c.AddNewSeries<TArrowSeries>("A");
             s->ArrowPen().width = 3;
             s->AddArrow(1, 1, 9, 5);
             return s;
         }, {5, 3}},
        {"filled rectangle", [](TChart& c) {
             auto* s = c.AddNewSeries<TChartShape>("R");
             s->SetCorners(4, 4, 6, 6);
             s->SetBrushColor(Qt::red);
             return s;
         }, {5, 5}},
        {"horizontal line shape", [](TChart& c) {
             auto* s = c.AddNewSeries<TChartShape>("H");
             s->SetStyle(TShapeStyle::HorizLine);
             s->Pen().width = 3;
             s->SetCorners(-100, 7, 100, 7);
             return s;
         }, {5, 7}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TChart c;
        plain(c);
        TChartSeries* s = k.make(c);
        s->SetSeriesColor(kRed);
        const TChartDrawContext ctx = c.LayoutFor(fullRect());
        const QPointF at = ctx.Pos(k.probe.x(), k.probe.y());
        EXPECT_GT(hits(c.RenderImage(kSize), at, kRed), 3);
        s->SetActive(false);
        EXPECT_EQ(hitsIn(c.RenderImage(kSize), ctx.plotRect, kRed), 0);
    }
}

TEST(Chart, PointColourOverridesAndSeriesColourByDefault) {
    TChart c;
    plain(c);
    auto* s = c.AddNewSeries<TPointSeries>("P");
    s->SetSeriesColor(kRed);
    s->AddXY(3, 3);                    // series colour
    s->AddXY(7, 7, QString(), 0xFF0000);  // blue in 0x00BBGGRR
    EXPECT_EQ(s->ValueColor(0), kRed);
    EXPECT_EQ(s->ValueColor(1), kBlue);
    const QImage img = c.RenderImage(kSize);
    const TChartDrawContext ctx = c.LayoutFor(fullRect());
    EXPECT_GT(hits(img, ctx.Pos(3, 3), kRed), 3);
    EXPECT_EQ(hits(img, ctx.Pos(3, 3), kBlue), 0);
    EXPECT_GT(hits(img, ctx.Pos(7, 7), kBlue), 3);
}

TEST(Chart, LineSeriesKeepXAscendingOtherKindsKeepInsertionOrder) {
    TChart c;
    auto* l = c.AddNewSeries<TLineSeries>("L");
    l->AddXY(5, 50);
    l->AddXY(1, 10);
    EXPECT_EQ(l->AddXY(5, 51), 2);  // after the equal X
    l->AddXY(3, 30);
    EXPECT_EQ(l->XValue(0), 1);
    EXPECT_EQ(l->YValue(1), 30);
    EXPECT_EQ(l->YValue(2), 50);
    EXPECT_EQ(l->YValue(3), 51);
    l->SetYValue(1, 33);  // running means replace a value in place
    EXPECT_EQ(l->YValue(1), 33);
    l->Delete(0);
    EXPECT_EQ(l->Count(), 3);
    EXPECT_TRUE(std::isnan(l->XValue(7)));

    auto* a = c.AddNewSeries<TArrowSeries>("A");
    a->AddArrow(9, 0, 8, 1);
    a->AddArrow(1, 2, 3, 4);
    EXPECT_EQ(a->XValue(0), 9);
    EXPECT_EQ(a->EndYValue(1), 4);
    a->Delete(0);
    EXPECT_EQ(a->EndXValue(0), 3);
    a->Clear();
    EXPECT_EQ(a->Count(), 0);
}

TEST(Chart, AutomaticLimitsFollowActiveFiniteValuesOnNiceTicks) {
    struct Case {
        std::vector<double> ys;
        double lo, hi;
    };
    const std::vector<Case> cases = {
        {{0.3, 4.7}, 0.0, 5.0},
        {{0.0, 5.0}, 0.0, 5.0},  // a range from 0 to 5 does not straddle zero
        {{-2.0, 3.0}, -2.0, 3.0},
        {{-0.013, 0.021}, -0.015, 0.025},
        {{2.0, 2.0}, 1.8, 2.2},   // one value: widened
        {{0.0}, -1.0, 1.0},
        {{1.0, kNaN, kInf, -kInf, 3.0}, 1.0, 3.0},
    };
    for (const Case& k : cases) {
        TChart c;
        auto* s = c.AddNewSeries<TLineSeries>("L");
        for (std::size_t i = 0; i < k.ys.size(); ++i) s->AddXY(double(i), k.ys[i]);
        c.AdjustAxes();
        EXPECT_NEAR(c.LeftAxis().Minimum(), k.lo, 1e-12) << k.ys.size();
        EXPECT_NEAR(c.LeftAxis().Maximum(), k.hi, 1e-12) << k.ys.size();
    }

    // Inactive series do not count; an empty chart gets a unit range.
    TChart c;
    auto* s = c.AddNewSeries<TPointSeries>("S");
    auto* big = c.AddNewSeries<TPointSeries>("Big");
    s->AddXY(0, 1);
    s->AddXY(10, 2);
    big->AddXY(1000, 1000);
    big->SetActive(false);
    c.AdjustAxes();
    EXPECT_EQ(c.BottomAxis().Maximum(), 10);
    EXPECT_EQ(c.LeftAxis().Maximum(), 2);
    TChart empty;
    empty.AdjustAxes();
    EXPECT_EQ(empty.LeftAxis().Minimum(), 0);
    EXPECT_EQ(empty.LeftAxis().Maximum(), 1);
}

TEST(Chart, FixedLimitsStayAndAreChecked) {
    TChart c;
    auto* s = c.AddNewSeries<TLineSeries>("L");
    s->AddXY(0, -50);
    s->AddXY(1, 50);
    c.LeftAxis().SetMinMax(5, -5);  // either order
    c.AdjustAxes();
    EXPECT_EQ(c.LeftAxis().Minimum(), -5);
    EXPECT_EQ(c.LeftAxis().Maximum(), 5);
    EXPECT_FALSE(c.LeftAxis().Automatic());

    // Only the maximum follows the data.
    c.LeftAxis().SetAutomaticMaximum(true);
    c.AdjustAxes();
    EXPECT_EQ(c.LeftAxis().Minimum(), -5);
    EXPECT_EQ(c.LeftAxis().Maximum(), 50);

    // A maximum below the minimum is refused and changes nothing; so are non-finite limits.
    EXPECT_THROW(c.LeftAxis().SetMaximum(-6), ChartAxisError);
    EXPECT_THROW(c.LeftAxis().SetMinimum(kNaN), ChartAxisError);
    EXPECT_THROW(c.LeftAxis().SetMinMax(0, kInf), ChartAxisError);
    EXPECT_EQ(c.LeftAxis().Maximum(), 50);

    // Equal fixed limits are widened for drawing; the drawing works.
    c.LeftAxis().SetMinMax(3, 3);
    double lo, hi;
    c.LeftAxis().DrawRange(lo, hi);
    EXPECT_LT(lo, 3);
    EXPECT_GT(hi, 3);
    EXPECT_FALSE(c.RenderImage(kSize).isNull());

    // Back to automatic.
    c.LeftAxis().SetAutomatic(true);
    c.AdjustAxes();
    EXPECT_EQ(c.LeftAxis().Minimum(), -50);
}

TEST(Chart, TicksAreNiceAndLabelledWithTheirDecimals) {
    TChart c;
    TChartAxis& a = c.LeftAxis();
    a.SetMinMax(0, 1);
    const auto t = a.TickValues(200, 12);
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t.front(), 0.0);
    EXPECT_NEAR(t.back(), 1.0, 1e-12);
    const double step = t[1] - t[0];
    EXPECT_TRUE(std::abs(step - 0.1) < 1e-12 || std::abs(step - 0.2) < 1e-12 || std::abs(step - 0.25) < 1e-12 ||
                std::abs(step - 0.5) < 1e-12);
    EXPECT_EQ(a.LabelText(0.5, 0.5), QLocale().toString(0.5, 'f', 1));
    EXPECT_EQ(a.LabelText(-1e-17, 0.25), QLocale().toString(0.0, 'f', 2));  // no "-0.00"
    a.SetLabelDecimals(3);
    EXPECT_EQ(a.LabelText(2, 1), QLocale().toString(2.0, 'f', 3));

    // A fixed increment is used while its labels fit, coarsened when they would not.
    a.SetIncrement(0.1);
    EXPECT_EQ(a.TickValues(1000, 12).size(), 11u);
    EXPECT_LT(a.TickValues(40, 12).size(), 5u);

    // Huge and degenerate ranges give few or no ticks, never a runaway loop.
    a.SetIncrement(0);
    a.SetMinMax(-1.7e308, 1.7e308);
    EXPECT_LE(a.TickValues(300, 12).size(), 1000u);
    a.SetMinMax(1, 1 + 1e-15);
    EXPECT_LE(a.TickValues(300, 12).size(), 1000u);
}

// An axis of point numbers ticks whole numbers only, however wide it is drawn.
TEST(Chart, WholeNumberAxisNeverTicksBetweenNumbers) {
    TChart c;
    TChartAxis& a = c.BottomAxis();
    a.SetMinMax(0, 3);
    a.SetIncrement(0.3);
    a.SetWholeNumberTicks(true);
    for (double width : {60.0, 300.0, 2000.0}) {
        const auto t = a.TickValues(width, 12);
        ASSERT_FALSE(t.empty()) << width;
        for (double v : t) EXPECT_EQ(v, std::round(v)) << width << " " << v;
        if (t.size() > 1) EXPECT_EQ(a.LabelText(t[1], t[1] - t[0]), QLocale().toString(t[1], 'f', 0));
    }
    a.SetIncrement(0);
    a.SetWholeNumberTicks(false);
    EXPECT_GT(a.TickValues(2000, 12).size(), 4u);  // fractions again once off
}

// The bottom labels never run into each other, whatever the width: a finer step whose labels
// need another decimal ("0,05" after "0,1") is not taken when those labels do not fit.
TEST(Chart, BottomLabelsOfTheChosenStepFitTheirSpacing) {
    TChart c;
    c.BottomAxis().SetMinMax(0, 1);
    c.LeftAxis().SetMinMax(0, 1);
    const QFontMetricsF fm(c.BottomAxis().LabelFont());
    for (int width = 200; width <= 900; width += 7) {
        const TChartDrawContext ctx = c.LayoutFor(QRectF(0, 0, width, 400));
        ASSERT_GE(ctx.xTicks.size(), 2u) << width;
        const double pxPerUnit = (ctx.x.p1 - ctx.x.p0) / 1.0;
        double widest = 0;
        for (double v : ctx.xTicks) widest = std::max(widest, fm.horizontalAdvance(c.BottomAxis().LabelText(v, ctx.xStep)));
        EXPECT_GT(ctx.xStep * pxPerUnit, widest) << "width " << width << ", step " << ctx.xStep;
    }
}

TEST(Chart, NonFinitePointsAreSkippedAndBreakTheLine) {
    TChart c;
    plain(c);
    auto* s = c.AddNewSeries<TLineSeries>("L");
    s->SetSeriesColor(kRed);
    s->LinePen().width = 3;
    s->Pointer().visible = true;
    s->AddXY(1, 5);
    s->AddXY(5, kNaN);
    s->AddXY(9, 5);
    s->AddXY(kInf, 3);
    s->AddXY(2, 1e308);  // far outside: clamped, not lost in the painter
    EXPECT_EQ(s->Count(), 5);
    const QImage img = c.RenderImage(kSize);
    const TChartDrawContext ctx = c.LayoutFor(fullRect());
    EXPECT_GT(hits(img, ctx.Pos(1, 5), kRed), 3);
    EXPECT_GT(hits(img, ctx.Pos(9, 5), kRed), 3);
    // No segment through the missing point at x = 5.
    EXPECT_EQ(hits(img, ctx.Pos(5, 5), kRed), 0);

    // Automatic limits ignore them too.
    c.LeftAxis().SetAutomatic(true);
    c.BottomAxis().SetAutomatic(true);
    s->SetYValue(4, 4);
    c.AdjustAxes();
    EXPECT_EQ(c.BottomAxis().Maximum(), 9);
    EXPECT_EQ(c.LeftAxis().Maximum(), 5);
}

TEST(Chart, EmptyAndLogarithmicChartsPaint) {
    TChart c;
    c.SetTitleText(QStringList{"A", "B"});
    c.LeftAxis().SetTitle("y");
    c.BottomAxis().SetTitle("x");
    EXPECT_FALSE(c.RenderImage(kSize).isNull());
    EXPECT_FALSE(c.RenderImage(QSize(3, 2)).isNull());  // tiny: still no crash

    auto* s = c.AddNewSeries<TFastLineSeries>("S");
    for (int k = 0; k < 100; ++k) s->AddXY(k * 0.12, k == 0 ? 0.0 : k * 1.5);
    c.BottomAxis().SetLogarithmic(true);
    c.LeftAxis().SetLogarithmic(true);
    c.AdjustAxes();
    EXPECT_GT(c.BottomAxis().Minimum(), 0);
    EXPECT_EQ(c.LeftAxis().Maximum(), 1000);
    EXPECT_FALSE(c.RenderImage(kSize).isNull());
}

TEST(Chart, VisibleIndexesFollowTheBottomAxis) {
    TChart c;
    auto* s = c.AddNewSeries<TLineSeries>("V");
    for (int k = 0; k < 10; ++k) s->AddXY(k * 0.04, 1.0);
    c.BottomAxis().SetMinMax(0.1, 0.2);
    EXPECT_EQ(s->FirstValueIndex(), 3);
    EXPECT_EQ(s->LastValueIndex(), 5);
    c.BottomAxis().SetMinMax(0.09, 0.11);
    EXPECT_EQ(s->FirstValueIndex(), -1);
    EXPECT_EQ(s->LastValueIndex(), -1);
}

TEST(Chart, TitleIsAPropertyFoundByName) {
    TChart c;
    c.AddNewSeries<TLineSeries>("DoPrzodu", "Forward");
    auto* s = c.findChild<TChartSeries*>("DoPrzodu");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->property("title").toString(), "Forward");
    s->setProperty("title", "Naprzód");
    EXPECT_EQ(s->Title(), "Naprzód");
    EXPECT_EQ(c.SeriesByName("DoPrzodu"), s);
    // A series deleted by its user leaves the chart; drawing goes on.
    delete s;
    EXPECT_EQ(c.SeriesCount(), 0);
    EXPECT_FALSE(c.RenderImage(kSize).isNull());
}

TEST(Chart, CopyIntoAnotherChartGivesTheSameChart) {
    TChart src;
    src.SetTitleText(QStringList{"Pozycjonowanie", "Cykl 1"});
    src.LeftAxis().SetTitle("Błąd [ µm ]");
    src.LeftAxis().SetMinMax(-3, 7);
    src.BottomAxis().SetTitle("Odległość [ mm ]");
    src.BottomAxis().SetInverted(true);
    src.Legend().alignment = TLegendAlignment::Bottom;
    auto* line = src.AddNewSeries<TLineSeries>("DoPrzodu", "Forward");
    line->SetSeriesColor(Qt::blue);
    line->Pointer().visible = true;
    line->Pointer().style = TPointerStyle::Circle;
    auto* pts = src.AddNewSeries<TPointSeries>("PomiaryWPrzod");
    auto* fast = src.AddNewSeries<TFastLineSeries>("Series2");
    auto* arrow = src.AddNewSeries<TArrowSeries>("ArrowBlue");
    auto* shape = src.AddNewSeries<TChartShape>("HorBlue");
    for (int k = 0; k < 6; ++k) {
        line->AddXY(k * 100, std::sin(k));
        pts->AddXY(k * 100, std::cos(k), "", k == 2 ? 0x00FF00u : kSeriesColor);
        fast->AddXY(k * 100, 0.5 * k);
    }
    arrow->AddArrow(0, 1, 100, 2);
    shape->SetCorners(0, 1, 500, 1);
    shape->SetStyle(TShapeStyle::HorizLine);
    pts->SetActive(false);

    TChart dst;
    dst.AddNewSeries<TLineSeries>("Old");  // replaced
    dst.Assign(src);

    ASSERT_EQ(dst.SeriesCount(), src.SeriesCount());
    for (int i = 0; i < src.SeriesCount(); ++i) {
        const TChartSeries* a = src.Series(i);
        const TChartSeries* b = dst.Series(i);
        EXPECT_EQ(typeid(*a), typeid(*b));
        EXPECT_EQ(b->objectName(), a->objectName());
        EXPECT_EQ(b->Title(), a->Title());
        EXPECT_EQ(b->Active(), a->Active());
        EXPECT_EQ(b->parent(), &dst);
        ASSERT_EQ(b->Count(), a->Count());
        for (int k = 0; k < a->Count(); ++k) {
            EXPECT_EQ(b->XValue(k), a->XValue(k));
            EXPECT_EQ(b->YValue(k), a->YValue(k));
            EXPECT_EQ(b->ValueColorWin(k), a->ValueColorWin(k));
        }
    }
    EXPECT_TRUE(static_cast<TLineSeries*>(dst.Series(0))->Pointer() == line->Pointer());
    EXPECT_EQ(static_cast<TArrowSeries*>(dst.Series(3))->EndYValue(0), 2);
    EXPECT_EQ(static_cast<TChartShape*>(dst.Series(4))->Style(), TShapeStyle::HorizLine);
    EXPECT_EQ(dst.Title().text, src.Title().text);
    EXPECT_EQ(dst.LeftAxis().Title(), "Błąd [ µm ]");
    EXPECT_FALSE(dst.LeftAxis().Automatic());
    EXPECT_TRUE(dst.BottomAxis().Inverted());
    // The strongest equality: both draw the same picture.
    EXPECT_EQ(dst.RenderImage(kSize), src.RenderImage(kSize));

    // The copy is independent of its source.
    line->Clear();
    EXPECT_EQ(dst.Series(0)->Count(), 6);

    // A chart with no series copies to a chart with no series.
    TChart none, into;
    into.AddNewSeries<TPointSeries>("X");
    into.Assign(none);
    EXPECT_EQ(into.SeriesCount(), 0);
}

TEST(Chart, PrintScalingRoundsEverySizeHalvesToEven) {
    TChart c;
    auto* l = c.AddNewSeries<TLineSeries>("L");
    auto* d = c.AddNewSeries<TLineSeries>("Dotted");
    auto* p = c.AddNewSeries<TPointSeries>("P");
    auto* f = c.AddNewSeries<TFastLineSeries>("F");
    d->LinePen().style = Qt::DotLine;
    c.ScaleForPrint(2.5);
    EXPECT_EQ(c.LeftAxis().LabelFont().pointSize(), 20);
    EXPECT_EQ(c.BottomAxis().TitleFont().pointSize(), 20);
    EXPECT_EQ(c.Title().font.pointSize(), 25);
    EXPECT_EQ(c.Legend().font.pointSize(), 20);
    EXPECT_EQ(c.LeftAxis().AxisPen().width, 2);  // 2.5 -> 2
    EXPECT_EQ(c.LeftAxis().GridPen().width, 2);
    EXPECT_EQ(c.LeftAxis().LabelSeparation(), 25);
    EXPECT_EQ(l->LinePen().width, 2);
    EXPECT_EQ(l->Pointer().horizSize, 10);
    EXPECT_EQ(d->LinePen().width, 1);  // only solid lines grow
    EXPECT_EQ(p->Pointer().vertSize, 10);
    EXPECT_EQ(p->Pointer().pen.width, 2);
    EXPECT_EQ(f->LinePen().width, 2);
    c.ScaleForPrint(1.5);  // 2 * 1.5 = 3
    EXPECT_EQ(f->LinePen().width, 3);
    c.ScaleForPrint(kNaN);  // ignored
    EXPECT_EQ(f->LinePen().width, 3);
    c.ScaleForPrint(0.01);  // never below 1
    EXPECT_EQ(f->LinePen().width, 1);
    EXPECT_EQ(c.LeftAxis().LabelFont().pointSize(), 1);
}

TEST(Chart, ZoomAndUndoZoom) {
    TChart c;
    auto* s = c.AddNewSeries<TLineSeries>("L");
    s->AddXY(0, 0);
    s->AddXY(10, 10);
    QSignalSpy zoomed(&c, &TChart::zoomed), undone(&c, &TChart::undoneZoom);
    c.ZoomValues(2, 4, 8, 6);
    EXPECT_TRUE(c.Zoomed());
    EXPECT_EQ(c.BottomAxis().Minimum(), 2);
    EXPECT_EQ(c.LeftAxis().Maximum(), 8);
    c.ZoomValues(3, 3.5, 7, 6.5);  // zoom again: undo still goes to the start
    c.UndoZoom();
    EXPECT_FALSE(c.Zoomed());
    EXPECT_TRUE(c.LeftAxis().Automatic());
    EXPECT_EQ(c.BottomAxis().Maximum(), 10);
    EXPECT_EQ(zoomed.count(), 2);
    EXPECT_EQ(undone.count(), 1);
    c.UndoZoom();  // nothing to undo
    EXPECT_EQ(undone.count(), 1);
}

TEST(Chart, MouseDragZoomsAndClickReportsValues) {
    TChart c;
    c.resize(kSize);
    c.SetLegendVisible(false);
    auto* s = c.AddNewSeries<TLineSeries>("L");
    s->AddXY(0, 0);
    s->AddXY(10, 10);
    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
    c.repaint();
    const QRectF plot = c.PlotRect();
    ASSERT_FALSE(plot.isEmpty());

    QSignalSpy clicks(&c, &TChart::clicked);
    const QPoint mid = plot.center().toPoint();
    QTest::mouseClick(&c, Qt::LeftButton, {}, mid);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_NEAR(clicks[0][0].toDouble(), 5.0, 0.1);
    EXPECT_NEAR(clicks[0][1].toDouble(), 5.0, 0.1);

    // Drag to the lower right: zoom into the rectangle.
    const QPoint a = c.ValueToPixel(2, 8).toPoint(), b = c.ValueToPixel(4, 6).toPoint();
    QTest::mousePress(&c, Qt::LeftButton, {}, a);
    QTest::mouseMove(&c, b);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, b);
    EXPECT_TRUE(c.Zoomed());
    EXPECT_NEAR(c.BottomAxis().Minimum(), 2, 0.1);
    EXPECT_NEAR(c.LeftAxis().Minimum(), 6, 0.1);
    c.repaint();
    // Drag to the upper left: undo.
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseMove(&c, QPoint(150, 150));
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_FALSE(c.Zoomed());

    // Zoom forbidden: a drag changes nothing.
    c.SetAllowZoom(false);
    QTest::mousePress(&c, Qt::LeftButton, {}, a);
    QTest::mouseMove(&c, b);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, b);
    EXPECT_FALSE(c.Zoomed());
}

TEST(Chart, HandlerBeforeAxesAddsAZeroLineInTheSameDrawing) {
    TChart c;
    plain(c);
    c.LeftAxis().SetMinMax(-2, 3);
    auto* zero = c.AddNewSeries<TLineSeries>("LiniaZera");
    zero->SetSeriesColor(kRed);
    zero->LinePen().width = 3;
    QObject::connect(&c, &TChart::beforeDrawAxes, [&] {
        zero->Clear();
        if (c.LeftAxis().Maximum() > 0 && c.LeftAxis().Minimum() < 0) {
            zero->AddXY(c.BottomAxis().Minimum(), 0);
            zero->AddXY(c.BottomAxis().Maximum(), 0);
        }
    });
    const QImage img = c.RenderImage(kSize);
    EXPECT_EQ(zero->Count(), 2);
    EXPECT_GT(hits(img, c.LayoutFor(fullRect()).Pos(5, 0), kRed), 3);
}

TEST(Chart, BackgroundPictureOfAMetafileNameComesFromPng) {
    QTemporaryDir dir;
    QImage pic(20, 10, QImage::Format_RGB32);
    pic.fill(kGreen);
    ASSERT_TRUE(pic.save(dir.filePath("liniowe.png")));
    TChart c;
    c.SetLegendVisible(false);
    EXPECT_TRUE(c.LoadBackImage(dir.filePath("liniowe.wmf")));
    EXPECT_EQ(c.BackImage().size(), QSize(20, 10));
    const QImage img = c.RenderImage(kSize);
    EXPECT_TRUE(near(img.pixelColor(3, 3), kGreen));  // stretched over the chart
    EXPECT_FALSE(c.LoadBackImage(dir.filePath("pilgrim.wmf")));  // missing: no background
    EXPECT_TRUE(c.BackImage().isNull());
}

namespace {
// A series kind from outside the chart layer drawing itself through the 3-D projection.
class DepthDots : public TChartSeries {
public:
    std::vector<double> z;
    bool HasZValues() const override { return true; }
    double MinZValue() const override { return z.empty() ? kNaN : *std::min_element(z.begin(), z.end()); }
    double MaxZValue() const override { return z.empty() ? kNaN : *std::max_element(z.begin(), z.end()); }
    void Draw(TChartDrawContext& ctx) const override {
        ctx.painter->setPen(Qt::NoPen);
        ctx.painter->setBrush(SeriesColor());
        for (int i = 0; i < Count(); ++i) ctx.painter->drawEllipse(ctx.Pos3D(XValue(i), YValue(i), z[std::size_t(i)]), 4, 4);
    }

protected:
    TChartSeries* NewInstance() const override { return new DepthDots; }
};
}  // namespace

TEST(Chart, ThreeDViewProjectsSeriesThroughTheBox) {
    for (bool orthogonal : {true, false}) {
        SCOPED_TRACE(orthogonal);
        TChart c;
        plain(c);
        c.SetView3D(true);
        c.View3DOptions().orthogonal = orthogonal;
        c.View3DOptions().chart3DPercent = 75;
        c.SetRotation(335);
        c.SetElevation(348);
        c.DepthAxis().SetVisible(true);
        c.DepthAxis().SetMinMax(0, 100);
        auto* s = new DepthDots;
        s->SetSeriesColor(kRed);
        c.AddSeries(s);
        s->AddXY(5, 5);
        s->z.push_back(100);
        const TChartDrawContext ctx = c.LayoutFor(fullRect());
        const QPointF back = ctx.Pos3D(5, 5, 100), front = ctx.Pos3D(5, 5, 0);
        EXPECT_GT(std::hypot(back.x() - front.x(), back.y() - front.y()), 20);  // depth moves the point
        EXPECT_TRUE(ctx.chartRect.contains(back));
        const QImage img = c.RenderImage(kSize);
        EXPECT_GT(hits(img, back, kRed), 3);
        EXPECT_EQ(hits(img, front, kRed), 0);
    }
}

// A chart as the program draws it, saved for a look by eye.
TEST(Chart, EngineeringChartPicture) {
    TChart c;
    c.SetTitleText(QStringList{"Pozycjonowanie - 10.12.2026", "Cykl 1"});
    c.LeftAxis().SetTitle("Błąd [ µm ]");
    c.BottomAxis().SetTitle("Odległość [ mm ]");
    auto* fw = c.AddNewSeries<TLineSeries>("DoPrzodu", "Do przodu");
    fw->SetSeriesColorWin(0xFF0000);
    fw->Pointer().visible = true;
    auto* bw = c.AddNewSeries<TLineSeries>("DoTylu", "Do tyłu");
    bw->SetSeriesColorWin(0x0000FF);
    bw->Pointer().visible = true;
    bw->Pointer().style = TPointerStyle::Circle;
    auto* arrow = c.AddNewSeries<TArrowSeries>("ArrowBlue", "Kierunek");
    arrow->SetSeriesColorWin(0xFF0000);
    for (int k = 0; k <= 10; ++k) {
        fw->AddXY(k * 50.0, 3.0 * std::sin(k * 0.5) + 0.2 * k);
        bw->AddXY(k * 50.0, 3.0 * std::sin(k * 0.5) + 0.2 * k - 1.1);
    }
    arrow->AddArrow(0, fw->YValue(0), 50, fw->YValue(1));
    const QImage img = c.RenderImage(QSize(640, 420));
    EXPECT_TRUE(img.save(QDir::temp().filePath("vkm30_chart.png")));

    // The 3-D view as the straightness view sets it up.
    TChart v;
    v.SetLegendVisible(false);
    v.SetView3D(true);
    v.View3DOptions().orthogonal = false;
    v.View3DOptions().chart3DPercent = 75;
    v.View3DOptions().zoom = 84;
    v.SetRotation(335);
    v.SetElevation(348);
    v.BottomAxis().SetTitle("Dystans [cm]");
    v.LeftAxis().SetTitle("Oś pionowa");
    v.DepthAxis().SetVisible(true);
    v.DepthAxis().SetTitle("Oś pozioma");
    v.DepthAxis().SetIncrement(10);
    auto* d = new DepthDots;
    d->SetSeriesColor(kRed);
    v.AddSeries(d);
    for (int k = 0; k <= 20; ++k) {
        d->AddXY(k * 5.0, 2.0 * std::cos(k * 0.3));
        d->z.push_back(std::nearbyint(10 * std::sin(k * 0.2)));
    }
    EXPECT_TRUE(v.RenderImage(QSize(640, 420)).save(QDir::temp().filePath("vkm30_chart3d.png")));
    v.View3DOptions().orthogonal = true;
    v.View3DOptions().chart3DPercent = 40;
    EXPECT_TRUE(v.RenderImage(QSize(640, 420)).save(QDir::temp().filePath("vkm30_chart3d_oblique.png")));
}

// A side legend that would take more than a third of a narrow chart goes below the plot, its
// entries wrapped into rows within the chart; a wide chart keeps it at the side.
TEST(Chart, SideLegendMovesBelowANarrowPlotAndWrapsItsEntries) {
    TChart c;
    for (int i = 0; i < 6; ++i) {
        auto* s = c.AddNewSeries<TLineSeries>(QString("S%1").arg(i));
        s->SetTitle(QString("Odchylenie pozycji, cykl %1").arg(i + 1));
        s->AddXY(0, i);
        s->AddXY(1, i + 1);
    }
    const QRectF narrow(0, 0, 420, 300), wide(0, 0, 1600, 600);
    const TChartDrawContext n = c.LayoutFor(narrow);
    EXPECT_EQ(n.legendAlignment, TLegendAlignment::Bottom);
    EXPECT_LE(n.legendSize.width(), narrow.width());
    EXPECT_GT(n.legendSize.height(), 2 * QFontMetricsF(c.Legend().font).height());  // more than one row
    EXPECT_GT(n.plotRect.width(), narrow.width() * 0.6);
    EXPECT_LT(n.plotRect.bottom() + n.legendSize.height(), narrow.bottom() + 1);
    const TChartDrawContext w = c.LayoutFor(wide);
    EXPECT_EQ(w.legendAlignment, TLegendAlignment::Right);

    QImage img(narrow.size().toSize(), QImage::Format_RGB32);  // the wrapped legend paints
    QPainter p(&img);
    img.fill(Qt::white);
    c.paint(p, narrow);
}
