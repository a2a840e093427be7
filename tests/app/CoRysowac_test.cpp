// The choice of plotted characteristics: its boxes over the series of a chart, and the window
// opened from the results page when every characteristic is off.
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QStackedWidget>
#include <QPushButton>
#include <set>

#include "MainWindowFixture.h"
#include "app/CoRysowac.h"
#include "app/DialogParts.h"
#include "evaluation/PositioningStats.h"
#include "platform/Chart.h"
#include "platform/ChartSeries.h"
#include "support/HelpProbe.h"
#include "support/ModalDialog.h"

using testsupport::whenModalShown;

namespace {

// Every series the boxes name, on a chart of their own.
void addCharacteristicSeries(platform::TChart& chart) {
    for (const CharacteristicCheck& c : CharacteristicChecks())
        for (const char* name : {c.series, c.paired})
            if (*name) chart.AddNewSeries<platform::TLineSeries>(QString::fromLatin1(name));
}

std::set<QString> activeSeries(const platform::TChart& chart) {
    std::set<QString> on;
    for (int i = 0; i < chart.SeriesCount(); ++i)
        if (chart.Series(i)->Active()) on.insert(chart.Series(i)->objectName());
    return on;
}

}  // namespace

TEST(CoRysowac, BoxesFollowTheChartAndSwitchItsSeries) {
    platform::TChart chart;
    addCharacteristicSeries(chart);
    ASSERT_EQ(chart.SeriesCount(), 17);
    for (int i = 0; i < chart.SeriesCount(); ++i) chart.Series(i)->SetActive(false);
    chart.SeriesByName("SredniaWTyl")->SetActive(true);
    chart.SeriesByName("SredniaPp3Sigma")->SetActive(true);   // the first of its pair
    chart.SeriesByName("SredniaVDImU")->SetActive(true);      // only the second of its pair

    TFCoRysowac d;
    EXPECT_EQ(d.objectName(), "FCoRysowac");
    EXPECT_EQ(d.windowTitle(), "Parametry");
    const auto& checks = CharacteristicChecks();
    ASSERT_EQ(checks.size(), 12u);
    for (const CharacteristicCheck& c : checks) {
        QCheckBox* box = d.findChild<QCheckBox*>(QString::fromLatin1(c.box));
        ASSERT_NE(box, nullptr) << c.box;
        EXPECT_EQ(box->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(qobject_cast<QGroupBox*>(box->parentWidget())->title(), QString::fromUtf8(c.group));
    }
    d.ReadChart(chart);
    std::set<QString> ticked;
    for (const CharacteristicCheck& c : checks)
        if (d.Box(c.box)->isChecked()) ticked.insert(QString::fromLatin1(c.box));
    EXPECT_EQ(ticked, (std::set<QString>{"CBXr", "CBSga"}));

    // Both lines of a band follow their one box.
    d.cbXpmU->setChecked(true);
    d.CBXr->setChecked(false);
    d.ApplyToChart(chart);
    EXPECT_EQ(activeSeries(chart),
              (std::set<QString>{"SredniaPp3Sigma", "SredniaPm3Sigma", "SredniaVDIpU", "SredniaVDImU"}));

    d.Button1Click(d.Button1);
    d.ApplyToChart(chart);
    EXPECT_EQ(activeSeries(chart).size(), 17u);
}

TEST(CoRysowac, SwitchAllOffThenOkHidesEveryCharacteristic) {
    platform::TChart chart;
    addCharacteristicSeries(chart);
    QString help;
    whenModalShown<TFCoRysowac>([&help](TFCoRysowac& d) {
        EXPECT_TRUE(d.CBXa->isChecked() && d.cbXpmA->isChecked());
        d.ButtonPomoc->click();
        help = testsupport::TakeHelpPage();
        d.Button2->click();
        for (QCheckBox* b : d.findChildren<QCheckBox*>()) EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
        d.BitBtn1->click();
    });
    EXPECT_TRUE(TFCoRysowac::SetChecks(chart));
    EXPECT_TRUE(activeSeries(chart).empty());
    EXPECT_EQ(help, "parametry_wykresu.html");

    // Cancel leaves the chart as it was.
    whenModalShown<TFCoRysowac>([](TFCoRysowac& d) {
        d.Button1->click();
        d.BitBtn2->click();
    });
    EXPECT_FALSE(TFCoRysowac::SetChecks(chart));
    EXPECT_TRUE(activeSeries(chart).empty());
}

// On the results page, with every characteristic off, "Yes" to the question opens the window
// and what it ticks is drawn.
TEST_F(MainWindowTest, ResultsPageOffersTheChoiceWhenAllCharacteristicsAreOff) {
    start();
    TMainForm* f = form();
    auto* chart = qobject_cast<platform::TChart*>(Control<platform::TChart>(f, "wykres"));
    ASSERT_NE(chart, nullptr);
    f->MeasurementMode = 0;
    LengthUnit = 0;
    f->NotebookMainForm->setCurrentIndex(3);
    f->PositioningCycles->Clear();
    for (int c = 0; c < 2; ++c) {
        TPunkt& p = f->PositioningCycles->Add().Punkt;
        for (int k = 0; k < 6; ++k) {
            TPunktItem& it = p.Add();
            it.Dystans = 100.0 * k;
            it.Xa = k + c;
            it.Xr = k - c;
        }
    }
    ASSERT_TRUE(f->ShowPositioningResults());
    for (const QString& name : evaluation::PositioningSeriesNames()) chart->SeriesByName(name)->SetActive(false);

    setMessageDlgHook([this](const MessageDlgRequest& r) {
        messages.push_back(r);
        return int(r.text == evaluation::AllCharacteristicsOffText() ? mrYes : mrOk);
    });
    bool shown = false;
    whenModalShown<TFCoRysowac>([&](TFCoRysowac& d) {
        shown = true;
        EXPECT_EQ(d.parentWidget(), f);
        for (QCheckBox* b : d.findChildren<QCheckBox*>()) EXPECT_FALSE(b->isChecked());
        d.CBXa->click();
        d.CBSgar->click();
        if (!qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS"))
            d.grab().save(QDir(qEnvironmentVariable("VKM30_SCREENSHOTS")).filePath("FCoRysowac.png"));
        d.BitBtn1->click();
    });
    f->EvaluatePositioning(false);
    ASSERT_TRUE(shown);
    EXPECT_EQ(activeSeries(*chart).count("SredniaWPrzod"), 1u);
    EXPECT_EQ(activeSeries(*chart).count("SredniaDp3Sigma"), 1u);
    EXPECT_EQ(activeSeries(*chart).count("SredniaDm3Sigma"), 1u);
    EXPECT_EQ(activeSeries(*chart).count("SredniaWTyl"), 0u);
    // The chosen lines are drawn with the run's six points.
    EXPECT_EQ(chart->SeriesByName("SredniaWPrzod")->Count(), 6);
    EXPECT_EQ(chart->SeriesByName("SredniaDp3Sigma")->Count(), 6);
}
