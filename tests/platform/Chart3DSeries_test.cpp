#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "ChartPixels.h"
#include "platform/Chart.h"
#include "platform/Chart3DSeries.h"

using namespace platform;
using namespace chartpixels;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const QSize kSize(400, 300);
const QRectF kRect(QPointF(0, 0), QSizeF(kSize));
const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

// A white 3-D chart with fixed limits: x 0..100, y 0..10, z 0..100, nothing but the box.
void plain3D(TChart& c, bool orthogonal) {
    c.SetColor(Qt::white);
    c.SetLegendVisible(false);
    c.SetView3D(true);
    c.View3DOptions().orthogonal = orthogonal;
    c.View3DOptions().chart3DPercent = 50;
    c.LeftAxis().SetGridVisible(false);
    c.BottomAxis().SetGridVisible(false);
    c.DepthAxis().SetGridVisible(false);
    c.BottomAxis().SetMinMax(0, 100);
    c.LeftAxis().SetMinMax(0, 10);
    c.DepthAxis().SetMinMax(0, 100);
}

TPoint3DSeries* addSeries(TChart& c, const QColor& col, const QString& name) {
    auto* s = c.AddNewSeries<TPoint3DSeries>(name);
    s->SetSeriesColor(col);
    return s;
}
}  // namespace

TEST(Point3DSeries, ValueListsStayInStepAndKeepInsertionOrder) {
    TPoint3DSeries s;
    EXPECT_TRUE(std::isnan(s.MinZValue()));
    EXPECT_TRUE(std::isnan(s.MaxZValue()));
    // Decreasing X stays where it was added.
    EXPECT_EQ(s.AddXYZ(30, 7, 1.5), 0);
    EXPECT_EQ(s.AddXYZ(10, -2, 2.5, "b"), 1);
    EXPECT_EQ(s.AddXYZ(20, 10, 3.5, QString(), 0x0000FF), 2);
    ASSERT_EQ(s.Count(), 3);
    EXPECT_EQ(s.XValue(1), 10.0);
    EXPECT_EQ(s.YValue(1), 2.5);
    EXPECT_EQ(s.ZValue(1), -2.0);
    EXPECT_EQ(s.Label(1), "b");
    EXPECT_EQ(s.ZValues().name, "Z");
    EXPECT_EQ(s.MinZValue(), -2.0);
    EXPECT_EQ(s.MaxZValue(), 14.0);  // largest Z 10 + DepthSize 4
    // Colour 0x80000000 is the series colour.
    s.SetSeriesColor(kBlue);
    EXPECT_EQ(s.ValueColor(0), kBlue);
    EXPECT_EQ(s.ValueColor(2), kRed);

    s.Delete(1);
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.ZValues().values, (std::vector<double>{7, 10}));
    EXPECT_EQ(s.XValues().values, (std::vector<double>{30, 20}));
    EXPECT_EQ(s.MinZValue(), 7.0);
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_TRUE(s.ZValues().values.empty());
    EXPECT_EQ(s.AddXYZ(1, 5, 0), 0);  // lists still in step after a clear
    EXPECT_EQ(s.ZValue(0), 5.0);
    EXPECT_TRUE(std::isnan(s.ZValue(1)));

    // A plain XY add gets Z 0 beside it.
    EXPECT_EQ(s.AddXY(2, 2), 1);
    EXPECT_EQ(s.ZValue(1), 0.0);
}

TEST(Point3DSeries, NonFiniteCoordinatesAreRefused) {
    TPoint3DSeries s;
    s.AddXYZ(1, 2, 3);
    struct Row { double x, z, y; };
    for (const Row& r : {Row{kNaN, 1, 1}, Row{1, kNaN, 1}, Row{1, 1, kNaN}, Row{kInf, 1, 1}, Row{1, -kInf, 1},
                         Row{3e9, 1, 1}, Row{1, -3e9, 1}}) {
        SCOPED_TRACE(testing::Message() << r.x << " " << r.z << " " << r.y);
        EXPECT_EQ(s.AddXYZRounded(r.x, r.z, r.y), -1);
    }
    EXPECT_EQ(s.Count(), 1);
    EXPECT_FALSE(s.SetZValue(0, kNaN));
    EXPECT_FALSE(s.SetZValue(0, kInf));
    EXPECT_FALSE(s.SetZValue(5, 1.0));
    EXPECT_EQ(s.ZValue(0), 2.0);
    EXPECT_TRUE(s.SetZValue(0, 2.5));
    EXPECT_EQ(s.ZValue(0), 2.5);
    EXPECT_FALSE(s.SetDepthSize(kNaN));
    EXPECT_FALSE(s.SetDepthSize(-1));
    EXPECT_EQ(s.DepthSize(), 4.0);

    // Rounded to the nearest whole number, halves to even, as the callers round.
    struct Round { double in; double out; };
    for (const Round& r : {Round{2.5, 2}, Round{3.5, 4}, Round{-2.5, -2}, Round{0.49, 0}, Round{-7.6, -8}}) {
        const int i = s.AddXYZRounded(r.in, r.in, 1.0);
        ASSERT_GE(i, 0);
        EXPECT_EQ(s.XValue(i), r.out) << r.in;
        EXPECT_EQ(s.ZValue(i), r.out) << r.in;
    }
}

TEST(Point3DSeries, ProjectsKnownPointsForAKnownView) {
    TChart c;
    plain3D(c, false);
    c.SetRotation(315);   // turned by 45 degrees
    c.SetElevation(330);  // tilted by 30 degrees
    auto* s = addSeries(c, kRed, "s");
    s->AddXYZ(50, 100, 5);  // box point (0.5, 0.5, 1)
    s->AddXYZ(0, 0, 0);     // the origin
    const TChartDrawContext ctx = c.LayoutFor(kRect);
    ASSERT_TRUE(ctx.Is3D());
    const double W = ctx.boxWidth, H = ctx.boxHeight, D = ctx.boxDepth;
    ASSERT_GT(W, 100);
    EXPECT_NEAR(D / W, 0.5, 1e-9);  // depth 50 percent of the width
    // Turned by 45 about the vertical, then tilted by 30:
    //   bottom axis (1,0,0): right cos45 = 0.70711, down sin45 * sin30 = 0.35355
    //   left axis   (0,1,0): up cos30 = 0.86603
    //   depth axis  (0,0,1): right sin45 = 0.70711, up cos45 * sin30 = 0.35355
    EXPECT_NEAR(ctx.eu.x(), 0.70711 * W, 1e-3 * W);
    EXPECT_NEAR(ctx.eu.y(), 0.35355 * W, 1e-3 * W);
    EXPECT_NEAR(ctx.ev.x(), 0.0, 1e-9);
    EXPECT_NEAR(ctx.ev.y(), -0.86603 * H, 1e-3 * H);
    EXPECT_NEAR(ctx.ew.x(), 0.70711 * D, 1e-3 * D);
    EXPECT_NEAR(ctx.ew.y(), -0.35355 * D, 1e-3 * D);
    // Distance from the eye: the bottom axis comes nearer (-sin45 cos30 = -0.61237), height
    // comes nearer (-sin30 = -0.5), depth goes away (cos45 cos30 = 0.61237).
    EXPECT_NEAR(ctx.depthU, -0.61237 * W, 1e-3 * W);
    EXPECT_NEAR(ctx.depthV, -0.5 * H, 1e-3 * H);
    EXPECT_NEAR(ctx.depthW, 0.61237 * D, 1e-3 * D);

    // Point 0 at (0.5, 0.5, 1): origin + eu/2 + ev/2 + ew; its pointer reaches DepthSize 4 of
    // the 10 units of the vertical axis further: 0.4 H of depth, that is 0.4 H / D of the box.
    const TPoint3DSeries::Place p0 = s->PlaceOf(ctx, 0);
    ASSERT_TRUE(p0.ok);
    const QPointF want = ctx.origin + 0.5 * ctx.eu + 0.5 * ctx.ev + ctx.ew;
    EXPECT_NEAR(p0.screen.x(), want.x(), 1e-6);
    EXPECT_NEAR(p0.screen.y(), want.y(), 1e-6);
    EXPECT_NEAR(p0.u, 0.5, 1e-12);
    EXPECT_NEAR(p0.v, 0.5, 1e-12);
    EXPECT_NEAR(p0.w0, 1.0, 1e-12);
    EXPECT_NEAR(p0.w1, 1.0 + 0.4 * H / D, 1e-9);
    const TPoint3DSeries::Place p1 = s->PlaceOf(ctx, 1);
    EXPECT_NEAR(p1.screen.x(), ctx.origin.x(), 1e-6);
    EXPECT_NEAR(p1.screen.y(), ctx.origin.y(), 1e-6);
    // The chart's own projection agrees.
    const QPointF q = ctx.Pos3D(50, 5, 100);
    EXPECT_NEAR(q.x(), want.x(), 1e-6);
    EXPECT_NEAR(q.y(), want.y(), 1e-6);

    // The oblique view: depth drawn up and to the right at 45 degrees, and it alone puts one
    // thing behind another.
    c.View3DOptions().orthogonal = true;
    const TChartDrawContext ob = c.LayoutFor(kRect);
    EXPECT_NEAR(ob.ew.x(), -ob.ew.y(), 1e-9);
    EXPECT_NEAR(std::hypot(ob.ew.x(), ob.ew.y()), ob.boxDepth, 1e-9);
    EXPECT_EQ(ob.depthU, 0.0);
    EXPECT_EQ(ob.depthV, 0.0);
    EXPECT_NEAR(ob.depthW, ob.boxDepth, 1e-9);
    // 2-D: the point is where a plain series would put it.
    c.SetView3D(false);
    const TChartDrawContext flat = c.LayoutFor(kRect);
    const TPoint3DSeries::Place f0 = s->PlaceOf(flat, 0);
    EXPECT_NEAR(f0.screen.x(), flat.XPos(50), 1e-9);
    EXPECT_NEAR(f0.screen.y(), flat.YPos(5), 1e-9);
}

// Nearer pieces are painted over farther ones whatever the order of series and points.
TEST(Point3DSeries, DrawsBackToFront) {
    for (bool orthogonal : {true, false}) {
        SCOPED_TRACE(orthogonal);
        TChart c;
        plain3D(c, orthogonal);
        c.SetRotation(345);
        c.SetElevation(345);
        // Within one series: the near point first, the far one second, big enough to overlap.
        auto* one = addSeries(c, kRed, "one");
        one->LinePen().visible = false;
        one->Pointer().style = TPointerStyle::Circle;
        one->Pointer().horizSize = one->Pointer().vertSize = 30;
        one->AddXYZ(50, 0, 5, QString(), 0xFF0000);  // near, blue
        one->AddXYZ(50, 30, 5);                      // far, red
        // Across series: the near series first, the far series added after it.
        auto* nearS = addSeries(c, kBlue, "near");
        auto* farS = addSeries(c, kRed, "far");
        for (auto* s : {nearS, farS}) {
            s->LinePen().visible = false;
            s->Pointer().horizSize = s->Pointer().vertSize = 12;
        }
        nearS->AddXYZ(10, 0, 8);
        farS->AddXYZ(10, 10, 8);

        const TChartDrawContext ctx = c.LayoutFor(kRect);
        const QImage img = c.RenderImage(kSize);
        auto overlap = [&](const TPoint3DSeries* a, int ia, const TPoint3DSeries* b, int ib) {
            const QPointF pa = a->PlaceOf(ctx, ia).screen, pb = b->PlaceOf(ctx, ib).screen;
            // They do overlap there: closer than the pointers' half size.
            EXPECT_LT(std::hypot(pa.x() - pb.x(), pa.y() - pb.y()), a->Pointer().horizSize);
            return (pa + pb) / 2;
        };
        const QPointF m1 = overlap(one, 0, one, 1);
        EXPECT_GT(hits(img, m1, kBlue), 5);
        EXPECT_EQ(hits(img, m1, kRed), 0);
        // The near rectangle's front face covers the far one's.
        const QPointF m2 = overlap(nearS, 0, farS, 0);
        EXPECT_GT(hits(img, m2, kBlue), 5);
        EXPECT_EQ(hits(img, m2, kRed), 0);
    }
}

TEST(Point3DSeries, LinesJoinPointsInInsertionOrder) {
    TChart c;
    plain3D(c, true);
    auto* s = addSeries(c, kRed, "s");
    s->Pointer().visible = false;
    s->LinePen().width = 3;
    // One point: nothing but its pointer, no line.
    s->AddXYZ(10, 50, 2);
    EXPECT_EQ(hitsAnywhere(c.RenderImage(kSize), kRed), 0);
    s->Pointer().visible = true;
    EXPECT_GT(hitsAnywhere(c.RenderImage(kSize), kRed), 20);
    s->Pointer().visible = false;
    // Then X decreasing: joined 0-1 and 1-2, never 0-2.
    s->AddXYZ(90, 50, 2);
    s->AddXYZ(50, 50, 8);
    const TChartDrawContext ctx = c.LayoutFor(kRect);
    const QImage img = c.RenderImage(kSize);
    auto mid = [&](int a, int b) { return (s->PlaceOf(ctx, a).screen + s->PlaceOf(ctx, b).screen) / 2; };
    EXPECT_GT(hits(img, mid(0, 1), kRed), 2);
    EXPECT_GT(hits(img, mid(1, 2), kRed), 2);
    EXPECT_EQ(hits(img, mid(0, 2), kRed), 0);
    // A point with a non-finite Y is left out and breaks the line.
    s->Clear();
    s->AddXYZ(10, 50, 2);
    s->AddXYZ(50, 50, kNaN);
    s->AddXYZ(90, 50, 2);
    const QImage broken = c.RenderImage(kSize);
    EXPECT_EQ(hits(broken, mid(0, 2), kRed), 0);
}

TEST(Point3DSeries, ClickFindsTheLowestIndexUnderThePointer) {
    TChart c;
    plain3D(c, false);
    auto* s = addSeries(c, kRed, "s");
    s->AddXYZ(20, 50, 5);
    s->AddXYZ(21, 50, 5);  // overlaps point 0
    s->AddXYZ(80, 10, 2);
    std::vector<std::array<int, 3>> raised;
    s->OnClickPointer = [&](TPoint3DSeries* sender, int i, int x, int y) {
        EXPECT_EQ(sender, s);
        raised.push_back({i, x, y});
    };
    const TChartDrawContext ctx = c.LayoutFor(kRect);
    const QPointF p0 = s->PlaceOf(ctx, 0).screen, p1 = s->PlaceOf(ctx, 1).screen, p2 = s->PlaceOf(ctx, 2).screen;
    EXPECT_EQ(s->Clicked(ctx, (p0 + p1) / 2), 0);
    EXPECT_EQ(s->Clicked(ctx, p2 + QPointF(3, -3)), 2);  // inside the 4 x 4 half size
    EXPECT_EQ(s->Clicked(ctx, p2 + QPointF(4, 0)), -1);  // on the edge is outside
    ASSERT_EQ(raised.size(), 2u);
    EXPECT_EQ(raised[0][0], 0);
    EXPECT_EQ(raised[1][0], 2);
    EXPECT_EQ(raised[1][1], int(std::lround(p2.x() + 3)));
    EXPECT_EQ(raised[1][2], int(std::lround(p2.y() - 3)));
    s->Pointer().visible = false;
    EXPECT_EQ(s->Clicked(ctx, p2), -1);
}

TEST(Point3DSeries, CopiesItsDepthAndTakesDataOnlyFrom3DSeries) {
    TPoint3DSeries a;
    a.SetDepthSize(2.5);
    a.SetTimesZOrder(5);
    a.Pointer().style = TPointerStyle::Circle;
    a.LinePen().width = 2;
    a.AddXYZ(1, 9, 3);
    a.AddXYZ(0, 4, 2);
    std::unique_ptr<TChartSeries> copy(a.Clone());
    auto* b = dynamic_cast<TPoint3DSeries*>(copy.get());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->ZValues().values, a.ZValues().values);
    EXPECT_EQ(b->XValues().values, a.XValues().values);
    EXPECT_EQ(b->DepthSize(), 2.5);
    EXPECT_EQ(b->TimesZOrder(), 5);
    EXPECT_EQ(b->Pointer(), a.Pointer());
    EXPECT_EQ(b->LinePen(), a.LinePen());
    // From a plain series: Z all 0, in step with the copied points.
    TLineSeries line;
    line.AddXY(1, 1);
    line.AddXY(2, 2);
    line.AddXY(3, 3);
    b->Assign(line);
    EXPECT_EQ(b->ZValues().values, (std::vector<double>{0, 0, 0}));
    EXPECT_TRUE(a.IsValidSourceOf(*copy));
    EXPECT_FALSE(a.IsValidSourceOf(line));

    a.AddSampleValues(50);
    EXPECT_EQ(a.Count(), 52);
    for (int i = 2; i < a.Count(); ++i) {
        for (double v : {a.XValue(i), a.YValue(i), a.ZValue(i)}) {
            EXPECT_GE(v, 0);
            EXPECT_LE(v, 99);
            EXPECT_EQ(v, std::floor(v));
        }
    }
}

namespace {
// A 4 x 4 grid of measured heights with a bump in the middle, one series per row along the depth.
void bumpChart(TChart& c) {
    c.SetTitleText("Mapa płaskości");
    c.SetView3D(true);
    c.View3DOptions().orthogonal = false;
    c.View3DOptions().chart3DPercent = 60;
    c.SetRotation(333);
    c.SetElevation(346);
    c.BottomAxis().SetTitle("X [cm]");
    c.LeftAxis().SetTitle("Błąd [ µm ]");
    c.DepthAxis().SetVisible(true);
    c.DepthAxis().SetTitle("Z [cm]");
    c.DepthAxis().SetMinMax(0, 60);
    const uint32_t colours[4] = {0x0000FF, 0x008000, 0xFF0000, 0x800080};
    for (int row = 0; row < 4; ++row) {
        auto* s = c.AddNewSeries<TPoint3DSeries>(QString("SeriesOs%1").arg(row + 1), QString("Linia %1").arg(row + 1));
        s->SetSeriesColorWin(colours[row]);
        s->SetDepthSize(0.5);
        for (int col = 0; col < 4; ++col) {
            const double dx = col - 1.5, dz = row - 1.5;
            s->AddXYZ(col * 60, row * 20, 1.0 + 6.0 * std::exp(-(dx * dx + dz * dz) / 1.2));
        }
    }
}
}  // namespace

// The picture, saved for a look by eye, and the same chart through the print path.
TEST(Point3DSeries, PointCloudPictureAndPrintPath) {
    TChart c;
    bumpChart(c);
    const QImage img = c.RenderImage(QSize(640, 440));
    EXPECT_TRUE(img.save(QDir::temp().filePath("vkm30_point3d.png")));
    const QColor blue(0, 0, 255), purple(128, 0, 128);
    EXPECT_GT(hitsAnywhere(img, blue), 50);
    EXPECT_GT(hitsAnywhere(img, purple), 50);
    // The bump stands out: the inner points of the middle rows are higher on the screen.
    const TChartDrawContext ctx = c.LayoutFor(QRectF(0, 0, 640, 440));
    auto* row1 = static_cast<TPoint3DSeries*>(c.Series(1));
    EXPECT_LT(row1->PlaceOf(ctx, 1).screen.y() + 40, row1->PlaceOf(ctx, 0).screen.y());

    // Circles, as the cosine-error view draws them, are flat at the points' own depth.
    for (int i = 0; i < c.SeriesCount(); ++i) static_cast<TPoint3DSeries*>(c.Series(i))->Pointer().style = TPointerStyle::Circle;
    EXPECT_TRUE(c.RenderImage(QSize(640, 440)).save(QDir::temp().filePath("vkm30_point3d_circles.png")));
    for (int i = 0; i < c.SeriesCount(); ++i) static_cast<TPoint3DSeries*>(c.Series(i))->Pointer().style = TPointerStyle::Rectangle;

    // Printing: a copy scaled for three times the resolution draws the same picture, bigger.
    TChart print;
    print.Assign(c);
    ASSERT_EQ(print.SeriesCount(), 4);
    auto* copy = dynamic_cast<TPoint3DSeries*>(print.Series(1));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ZValues().values, row1->ZValues().values);
    print.ScaleForPrint(3.0);
    EXPECT_EQ(copy->Pointer().horizSize, 12);
    const QImage big = print.RenderImage(QSize(1920, 1320));
    EXPECT_GT(hitsAnywhere(big, blue), 9 * 50);
    EXPECT_TRUE(big.save(QDir::temp().filePath("vkm30_point3d_print.png")));
    const QString pdf = QDir::temp().filePath("vkm30_point3d.pdf");
    {
        QPdfWriter w(pdf);
        w.setResolution(288);
        QPainter p(&w);
        print.paint(p, QRectF(0, 0, 1920, 1320));
    }
    EXPECT_GT(QFileInfo(pdf).size(), 2000);
}
