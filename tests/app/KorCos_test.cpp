// The 3-D view of a straightness run: what the form draws for each statistics method, its
// hidden end-error readout, its view controls and its modal entry.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/UKorCos.h"
#include "evaluation/StraightnessPoints.h"
#include "foundations/Display.h"
#include "platform/Chart.h"
#include "platform/Chart3DSeries.h"

namespace {

TPunkt run(std::initializer_list<Pt> pts) { return points(pts); }

struct Xyz {
    double x, y, z;
};

void expectSeries(const platform::TPoint3DSeries& s, std::initializer_list<Xyz> expected) {
    ASSERT_EQ(s.Count(), int(expected.size()));
    int i = 0;
    for (const Xyz& e : expected) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s.XValue(i), e.x);
        EXPECT_NEAR(s.YValue(i), e.y, 1e-12);
        EXPECT_EQ(s.ZValue(i), e.z);
        ++i;
    }
}

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST(KorCosForm, SeriesTakesPositionsAndResidualsByStatisticsMethod) {
    struct Case {
        const char* what;
        TPunkt points;
        int method;
        std::initializer_list<Xyz> drawn;  // X position, Y vertical residual, Z horizontal
    };
    const Case cases[] = {
        // No line removed: positions and Xa rounded to whole numbers, halves to even; Xr kept.
        {"raw", run({{12.5, 2.5, 1.25}, {13.5, -3.5, -0.75}, {14.49, 0.5, 7}}), 2,
         {{12, 1.25, 2}, {14, -0.75, -4}, {14, 7, 0}}},
        {"unknown method draws raw", run({{0, 1.6, 0.1}, {1, 2.4, 0.2}}), 9, {{0, 0.1, 2}, {1, 0.2, 2}}},
        // End-point line: Xa 0, 15, 20 less 1·x gives 0, 5, 0; Xr 0, −1.5, 0 stays.
        {"end points", run({{0, 0, 0}, {10, 15, -1.5}, {20, 20, 0}}), 0, {{0, 0, 0}, {10, -1.5, 5}, {20, 0, 0}}},
        // Least squares: Xa 0, 3, 0 has the line 1 µm: residuals −1, 2, −1; Xr 0, 0, 0.6 has
        // 0.03·x − 0.1: residuals 0.1, −0.2, 0.1.
        {"least squares", run({{0, 0, 0}, {10, 3, 0}, {20, 0, 0.6}}), 1,
         {{0, 0.1, -1}, {10, -0.2, 2}, {20, 0.1, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFKorCos f;
        f.Fill(c.points, c.method);
        expectSeries(*f.Series1, c.drawn);
        EXPECT_EQ(f.Series2->Count(), 0);
        EXPECT_EQ(f.Series3->Count(), 0);
    }
}

TEST(KorCosForm, ReadoutHoldsTheEndErrorHidden) {
    struct Case {
        const char* what;
        TPunkt points;
        int method;
        QString shown;
    };
    const Case cases[] = {
        // 0..2 cm with slopes 15000 and 30000 µm/cm: D − L = 70000 − 20000 µm, whatever is drawn.
        {"tilted, raw drawn", run({{0, 0, 0}, {1, 15000, 30000}, {2, 30000, 60000}}), 2, "50000,000"},
        {"tilted, end points drawn", run({{0, 0, 0}, {1, 15000, 30000}, {2, 30000, 60000}}), 0, "50000,000"},
        {"level", run({{0, 4, 4}, {10, 4, 4}}), 1, "0,000"},
        {"no point", TPunkt{}, 0, "0,000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFKorCos f;
        f.Fill(c.points, c.method);
        EXPECT_EQ(f.Display1->DisplayText(), c.shown);
        EXPECT_FALSE(f.Display1->isVisibleTo(&f));
        EXPECT_FALSE(f.Label1->isVisibleTo(&f));
        EXPECT_EQ(f.Label1->text(), QString::fromUtf8("Błąd na końcu = "));
        EXPECT_FALSE(f.Chart1->RenderImage(QSize(200, 150)).isNull());  // an empty run paints too
    }
}

TEST(KorCosForm, NonFinitePointsNeverReachTheChart) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TFKorCos f;
    f.Fill(run({{0, 0, 0}, {1, nan, 1}, {2, 1, inf}, {3, 2, 0}}), 2);
    expectSeries(*f.Series1, {{0, 0, 0}, {3, 0, 2}});
    EXPECT_EQ(f.Display1->DisplayText(), "0,000");
    // A non-finite last point makes the end-point line, and so every residual, non-finite.
    TFKorCos g;
    g.Fill(run({{0, 0, 0}, {1, 1, 1}, {2, nan, 2}}), 0);
    EXPECT_EQ(g.Series1->Count(), 0);
}

TEST(KorCosForm, LayoutAsDesigned) {
    TFKorCos f;
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Prostoliniowość widok 3D"));
    for (const char* name : {"Chart1", "ScrollBarRotation", "ScrollBarElevation", "Label1", "Display1", "BitBtn1"})
        EXPECT_NE(f.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    const platform::TChart& c = *f.Chart1;
    EXPECT_TRUE(c.View3D());
    EXPECT_FALSE(c.Legend().visible);
    EXPECT_FALSE(c.Title().visible);
    EXPECT_FALSE(c.AllowZoom());
    EXPECT_EQ(c.View3DOptions().rotation, 335);
    EXPECT_EQ(c.View3DOptions().elevation, 348);
    EXPECT_EQ(c.View3DOptions().chart3DPercent, 75);
    EXPECT_EQ(c.View3DOptions().zoom, 84);
    EXPECT_FALSE(c.View3DOptions().orthogonal);
    EXPECT_EQ(c.BottomAxis().Title(), "Dystans [cm]");
    EXPECT_EQ(c.LeftAxis().Title(), QString::fromUtf8("Oś pionowa"));
    EXPECT_EQ(c.DepthAxis().Title(), QString::fromUtf8("Oś pozioma"));
    EXPECT_TRUE(c.DepthAxis().Visible());
    EXPECT_EQ(c.DepthAxis().Increment(), 10.0);
    EXPECT_EQ(f.Series1->SeriesColor(), QColor(Qt::red));
    EXPECT_EQ(f.Series1->Pointer().style, platform::TPointerStyle::Circle);
    EXPECT_EQ(f.Series1->DepthSize(), 4.0);
    EXPECT_EQ(f.Series2->SeriesColor(), QColor(Qt::green));
    EXPECT_FALSE(f.Series3->Pointer().visible);
    EXPECT_EQ(f.Series3->LinePen().width, 2);
    EXPECT_EQ(f.ScrollBarRotation->orientation(), Qt::Horizontal);
    EXPECT_EQ(f.ScrollBarElevation->orientation(), Qt::Vertical);
    for (QScrollBar* b : {f.ScrollBarRotation, f.ScrollBarElevation}) {
        EXPECT_EQ(b->minimum(), 270);
        EXPECT_EQ(b->maximum(), 360);
    }
    EXPECT_EQ(f.ScrollBarRotation->value(), 333);
    EXPECT_EQ(f.ScrollBarElevation->value(), 346);
}

TEST(KorCosForm, ScrollBarsTurnTheView) {
    TFKorCos f;
    f.Fill(run({{0, 0, 0}, {10, 20, 5}, {20, -10, 0}, {30, 5, -5}}), 2);
    const QImage before = f.Chart1->RenderImage(QSize(400, 300));
    f.ScrollBarRotation->setValue(290);
    EXPECT_EQ(f.Chart1->View3DOptions().rotation, 290);
    const QImage turned = f.Chart1->RenderImage(QSize(400, 300));
    EXPECT_NE(turned, before);
    f.ScrollBarElevation->setValue(300);
    EXPECT_EQ(f.Chart1->View3DOptions().elevation, 300);
    EXPECT_NE(f.Chart1->RenderImage(QSize(400, 300)), turned);
}

TEST(KorCosForm, DraggingTurnsTheViewWithinTheScrollBars) {
    TFKorCos f;
    f.resize(800, 600);
    QWidget* chart = f.Chart1;
    // Right by 41 px and up by 15 px: rotation + 20, elevation + 7 (halves truncated).
    mouse(chart, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    mouse(chart, QEvent::MouseMove, {141, 85}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(f.Chart1->View3DOptions().rotation, 355);
    EXPECT_EQ(f.Chart1->View3DOptions().elevation, 355);
    EXPECT_EQ(f.ScrollBarRotation->value(), 355);
    EXPECT_EQ(f.ScrollBarElevation->value(), 355);
    // Far to the right and down: rotation stops at 360, elevation drops to 355 − 150 → 270.
    mouse(chart, QEvent::MouseMove, {541, 385}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(f.Chart1->View3DOptions().rotation, 360);
    EXPECT_EQ(f.ScrollBarRotation->value(), 360);
    EXPECT_EQ(f.Chart1->View3DOptions().elevation, 270);
    EXPECT_EQ(f.ScrollBarElevation->value(), 270);
    // The position became the stored one: back left by 40 px turns by −20 from 360.
    mouse(chart, QEvent::MouseMove, {501, 385}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(f.Chart1->View3DOptions().rotation, 340);
    // Moving without the left button changes nothing.
    mouse(chart, QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(f.Chart1->View3DOptions().rotation, 340);
    EXPECT_EQ(f.Chart1->View3DOptions().elevation, 270);
    // A right-button press does not move the drag's start.
    mouse(chart, QEvent::MouseButtonPress, {0, 0}, Qt::RightButton, Qt::RightButton);
    mouse(chart, QEvent::MouseMove, {521, 385}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(f.Chart1->View3DOptions().rotation, 350);
}

TEST(KorCosForm, ShowStraightness3DShowsTheFilledFormModallyAndLeavesThePoints) {
    const TPunkt points = run({{0, 0, 0}, {1, 15000, 30000}, {2, 30000, 60000}});
    int calls = 0;
    TFKorCos::setExecuteHook([&](TFKorCos& f) {
        ++calls;
        EXPECT_EQ(FKorCos, &f);
        EXPECT_TRUE(f.windowState() & Qt::WindowMaximized);
        EXPECT_EQ(f.Series1->Count(), 3);
        EXPECT_EQ(f.Display1->DisplayText(), "50000,000");
        return int(QDialog::Accepted);
    });
    ShowStraightness3D(points, 1);
    TFKorCos::setExecuteHook({});
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(FKorCos, nullptr);
    ASSERT_EQ(points.Count(), 3);
    EXPECT_EQ(points[1].Xa, 15000);
    EXPECT_EQ(points[2].Xr, 60000);
}

}  // namespace
