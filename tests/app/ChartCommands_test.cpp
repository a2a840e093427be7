// The chart commands of the main window: copying a chart to the clipboard, the axis clicks, and
// the velocity chart's mean after a drawing.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>

#include "MainWindowFixture.h"
#include "app/SkalowanieOsi.h"
#include "app/VelocityPage.h"
#include "evaluation/PointStore.h"
#include "foundations/Display.h"
#include "foundations/MeasurementModes.h"
#include "platform/Chart.h"
#include "support/ModalDialog.h"

namespace {

class ChartCommandsTest : public MainWindowTest {
protected:
    // The axis name the scaling dialog shows when `act` runs, "" when none was shown.
    QString axisDialogOf(const std::function<void()>& act) {
        QString shown;
        QPointer<QTimer> poll = testsupport::whenModalShown<TFSkalowanieOsi>([&](TFSkalowanieOsi& d) {
            shown = d.Os->text();
            d.reject();
        });
        act();
        QCoreApplication::processEvents();
        delete poll.data();  // no dialog came: the poll must not outlive `shown`
        return shown;
    }
};

TEST_F(ChartCommandsTest, CopyPutsPngAndSvgOnTheClipboardAndKeepsTheScreenColours) {
    start();
    TMainForm& f = *form();
    platform::TChart& chart = *f.Velocity().Chart();
    const QColor face = QApplication::palette().color(QPalette::Button);
    chart.SetColor(face);
    chart.Title().color = face;
    chart.resize(400, 260);
    for (int i = 0; i < 20; ++i) f.VelocitySamples->Add().Value = i % 5;
    f.Points().PlotVelocity();
    QApplication::clipboard()->clear();

    f.MeasurementMode = kModeVelocity;
    f.Kopiujdoschowka1->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat("image/png"));
    ASSERT_TRUE(data->hasFormat("image/svg+xml"));
    const QImage png = QImage::fromData(data->data("image/png"), "PNG");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(400, 260));
    EXPECT_EQ(png.pixelColor(1, 1), QColor(Qt::white));  // the copy is on white
    EXPECT_TRUE(data->data("image/svg+xml").contains("<svg"));
    // On the screen the colours are as they were.
    EXPECT_EQ(chart.Color(), face);
    EXPECT_EQ(chart.Title().color, face);

    // The command is in the pop-ups of the three charts; other modes copy nothing.
    for (QMenu* m : {f.PopupMenuWykres, f.PopupMenuPK, f.PopupMenuPredkosc})
        EXPECT_TRUE(m->actions().contains(f.Kopiujdoschowka1));
    QApplication::clipboard()->clear();
    f.MeasurementMode = kModeFlatness;
    f.Kopiujdoschowka1->trigger();
    const QMimeData* none = QApplication::clipboard()->mimeData();
    EXPECT_TRUE(!none || !none->hasFormat("image/png"));
}

TEST_F(ChartCommandsTest, AxisClicksOpenTheScaleOfTheirAxis) {
    start();
    TMainForm& f = *form();
    platform::TChart& v = *f.Velocity().Chart();
    EXPECT_EQ(axisDialogOf([&] { emit Control<platform::TChart>(&f, "wykres")->axisClicked(&Control<platform::TChart>(&f, "wykres")->LeftAxis(), Qt::LeftButton); }), "y");
    EXPECT_EQ(axisDialogOf([&] { emit Control<platform::TChart>(&f, "wykres")->axisClicked(&Control<platform::TChart>(&f, "wykres")->BottomAxis(), Qt::LeftButton); }), "");
    EXPECT_EQ(axisDialogOf([&] { emit v.axisClicked(&v.LeftAxis(), Qt::LeftButton); }), QString::fromUtf8("Prędkości"));
    EXPECT_EQ(axisDialogOf([&] { emit v.axisClicked(&v.BottomAxis(), Qt::LeftButton); }), "Czasu");
}

TEST_F(ChartCommandsTest, VelocityMeanFollowsTheDrawingOutsideARun) {
    start();
    TMainForm& f = *form();
    platform::TChart& chart = *f.Velocity().Chart();
    for (double value : {1.0, 2.0, 3.0, 6.0}) f.VelocitySamples->Add().Value = value;
    f.Points().PlotVelocity();
    f.Velocity().ShowMeanVelocity(0.0);

    VelocityRunning = true;
    emit chart.afterDraw();
    EXPECT_EQ(f.Velocity().MeanVelocity(), 0.0);  // a run shows its own mean

    VelocityRunning = false;
    emit chart.afterDraw();
    const platform::TChartSeries* plotted = chart.SeriesByName("Series2");
    ASSERT_NE(plotted, nullptr);
    ASSERT_EQ(plotted->Count(), 4);
    double sum = 0;
    for (int i = 0; i < 4; ++i) sum += plotted->YValue(i);
    EXPECT_NEAR(f.Velocity().MeanVelocity(), TDisplay::RoundValue(sum / 4, f.Velocity().MeanVelocityPrecision()), 1e-9);
    EXPECT_NE(f.Velocity().MeanVelocity(), 0.0);
    // The mean's own line redraws the chart: that drawing does not start it again.
    f.Velocity().ShowMeanVelocity(0.0);
    emit chart.afterDraw();
    EXPECT_EQ(f.Velocity().MeanVelocity(), 0.0);
}

}  // namespace
