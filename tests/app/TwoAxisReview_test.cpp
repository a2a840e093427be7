// The two-axis review of a positioning run through the real window: the second-axis cycles on
// the straightness charts, the cycle buttons, the mean, the way back, and the zero line.
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "app/PositioningRun.h"
#include "app/TwoAxisReview.h"
#include "platform/Chart.h"

namespace {

class TwoAxisReviewTest : public MainWindowTest {
protected:
    // Three positioning cycles over 0, 10, 20 mm with their second-axis cycles: point j of
    // cycle c has Xa {1, 2, 6}[c] + j and Xr -{1, 2, 6}[c].
    void fillRun() {
        TMainForm& f = *form();
        f.PositioningCycles->Clear();
        f.CyclesY->Clear();
        const double xa[3] = {1, 2, 6};
        for (int c = 0; c < 3; ++c) {
            TPunkt& p = f.PositioningCycles->Add().Punkt;
            TPunkt& y = f.CyclesY->Add().Punkt;
            for (int j = 0; j < 3; ++j) {
                TPunktItem& it = p.Add();
                it.Dystans = 10.0 * j;
                it.Xa = 0.5 * c;
                it.Xr = -0.5 * c;
                TPunktItem& iy = y.Add();
                iy.Dystans = 1.0 * j + (c == 0 ? 0.0 : 100.0);  // only cycle 1's distance is kept
                iy.Xa = xa[c] + j;
                iy.Xr = -xa[c];
            }
        }
        f.PositioningControl().CurrentCycle() = 1;
        Control<QStackedWidget>(&f, "NotebookButton")->setCurrentIndex(1);
    }
    static int count(platform::TChart* chart, const char* series) {
        const platform::TChartSeries* s = chart->SeriesByName(QString::fromLatin1(series));
        return s ? s->Count() : -1;
    }
};

TEST_F(TwoAxisReviewTest, CycleButtonsMeanAndWayBack) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    f.resize(1100, 760);
    fillRun();

    f.BPomiaryXY->click();
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 4);
    EXPECT_FALSE(Control<platform::TChart>(&f, "WykresOsY")->isHidden());
    EXPECT_EQ(f.lOpisXY->text(), "Cykl 1");
    // Both planes are drawn: the horizontal on wykres, the vertical on WykresOsY.
    EXPECT_EQ(count(Control<platform::TChart>(&f, "wykres"), "DoPrzodu"), 3);
    EXPECT_EQ(count(Control<platform::TChart>(&f, "WykresOsY"), "ProstoOsY"), 3);
    EXPECT_EQ(f.ChartAxisTitle(Control<platform::TChart>(&f, "wykres"), TMainForm::ChartAxis::Bottom), QString::fromUtf8("Odległość [ mm ]"));  // the run's targets, in mm

    f.sbXYPoprzedni->click();  // on the first: nothing
    EXPECT_EQ(f.lOpisXY->text(), "Cykl 1");
    f.sbXYNastepny->click();
    EXPECT_EQ(f.lOpisXY->text(), "Cykl 2");
    f.sbXYLast->click();
    EXPECT_EQ(f.lOpisXY->text(), "Cykl 3");
    f.sbXYNastepny->click();  // on the last: nothing
    EXPECT_EQ(f.lOpisXY->text(), "Cykl 3");
    f.show();
    QCoreApplication::processEvents();
    f.grab().save(QStringLiteral("/tmp/shots/two_axis_review.png"));
    f.sbXYFirst->click();
    EXPECT_EQ(f.lOpisXY->text(), "Cykl 1");

    // The mean of 1, 2 and 6 is 3; the distances are cycle 1's.
    f.bRaoprtXY->click();
    EXPECT_EQ(f.lOpisXY->text(), QString::fromUtf8("Średnia"));
    ASSERT_EQ(f.StraightnessPoints->Count(), 3);
    EXPECT_DOUBLE_EQ((*f.StraightnessPoints)[0].Xa, 3.0);
    EXPECT_DOUBLE_EQ((*f.StraightnessPoints)[2].Xa, 5.0);
    EXPECT_DOUBLE_EQ((*f.StraightnessPoints)[1].Xr, -3.0);
    EXPECT_DOUBLE_EQ((*f.StraightnessPoints)[2].Dystans, 2.0);

    // Back to positioning with the point numbers on the axis, whatever the unit.
    LengthUnit = 1;
    f.Numerpunktu1->setChecked(true);
    f.BPowrotDoPoz->click();
    EXPECT_TRUE(Control<platform::TChart>(&f, "WykresOsY")->isHidden());
    EXPECT_EQ(f.ChartAxisTitle(Control<platform::TChart>(&f, "wykres"), TMainForm::ChartAxis::Bottom), "Numer punktu");
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 1);
    LengthUnit = 0;

    // The positioning review's first and last cycle.
    f.sbLastCycle->click();
    EXPECT_EQ(f.PositioningControl().CurrentCycle(), 3);
    f.sbFirstCycle->click();
    EXPECT_EQ(f.PositioningControl().CurrentCycle(), 1);
}

TEST_F(TwoAxisReviewTest, WithoutSecondAxisCyclesNothingHappens) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    fillRun();
    f.CyclesY->Clear();
    f.BPomiaryXY->click();
    f.BProst2->click();
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 1);
    EXPECT_TRUE(Control<platform::TChart>(&f, "WykresOsY")->isHidden());
}

TEST_F(TwoAxisReviewTest, ZeroLineOnlyWhenTheValueAxisCrossesZero) {
    start();
    TMainForm& f = *form();
    platform::TChart& y = *Control<platform::TChart>(&f, "WykresOsY");
    y.BottomAxis().SetMinMax(0, 30);
    y.BottomAxis().SetAutomatic(false);
    y.LeftAxis().SetAutomatic(false);
    y.LeftAxis().SetMinMax(0, 5);
    f.WykresOsYBeforeDrawAxes();
    EXPECT_EQ(f.LiniaZeraOsy->Count(), 0);
    y.LeftAxis().SetMinMax(-2, 5);
    f.WykresOsYBeforeDrawAxes();
    f.WykresOsYBeforeDrawAxes();  // drawn again: still one line
    ASSERT_EQ(f.LiniaZeraOsy->Count(), 2);
    EXPECT_EQ(f.LiniaZeraOsy->XValue(1), 30.0);
    EXPECT_EQ(f.LiniaZeraOsy->YValue(0), 0.0);
}

TEST(TwoAxisReviewRules, SteppedCycle) {
    const struct {
        int current, count;
        CycleStep step;
        int expected;
    } cases[] = {
        {2, 5, CycleStep::First, 1}, {2, 5, CycleStep::Last, 5},     {1, 5, CycleStep::Previous, 1},
        {3, 5, CycleStep::Previous, 2}, {5, 5, CycleStep::Next, 5},  {4, 5, CycleStep::Next, 5},
        {300, 400, CycleStep::Next, 301},  // cycles above 255 step on
    };
    for (const auto& c : cases) EXPECT_EQ(SteppedCycle(c.current, c.count, c.step), c.expected) << c.current;
}

}  // namespace
