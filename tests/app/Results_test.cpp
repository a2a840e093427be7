// The results page of the real main window: a positioning run with known figures evaluated
// through the results command, the list of each standard, the machine's limits and the
// characteristics on the chart.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QStackedWidget>
#include <algorithm>
#include <cmath>

#include "MainWindowFixture.h"
#include "app/UDataModule.h"
#include "evaluation/PositioningStats.h"
#include "foundations/HeadList.h"
#include "platform/Chart.h"

namespace {

// Two cycles of six points, 100 mm apart. Forward readings k and k + 2, backward k - 1 and
// k + 1: forward mean k + 1, backward mean k, both deviations sqrt(2), pooled sqrt(5/3), reversal
// 1 at every point. Hence A↑ = A↓ = 5 + 6√2 = 13.49, A↕ = P = 6 + 6√2 = 14.49, R↑ = R↓ = Ps =
// Rpmax = 6√2 = 8.49, R↕ = Ps+U = 6√2 + 1 = 9.49, A = 5 + 6√(5/3) = 12.75, R = 7.75, Pa = D = 5,
// every cycle spans 5, J = 6.
void FillKnownRun(TCykl& cycles) {
    cycles.Clear();
    for (int c = 0; c < 2; ++c) {
        TPunkt& p = cycles.Add().Punkt;
        for (int k = 0; k < 6; ++k) {
            TPunktItem& it = p.Add();
            it.Dystans = 100.0 * k;
            it.Xa = k + 2.0 * c;
            it.Xr = k - 1.0 + 2.0 * c;
        }
    }
}

class ResultsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        start();
        f = form();
        chart = qobject_cast<platform::TChart*>(Control<platform::TChart>(f, "wykres"));
        ASSERT_NE(chart, nullptr);
        f->Numerpunktu1->setChecked(false);
        LengthUnit = 0;
        f->MeasurementMode = 0;
        f->NotebookMainForm->setCurrentIndex(3);
        FillKnownRun(*f->PositioningCycles);
    }
    QStringList rows() const { return Control<THeaderListbox>(f, "ListboxWyniki")->Items(); }
    bool active(const char* series) const { return chart->SeriesByName(series)->Active(); }

    TMainForm* f = nullptr;
    platform::TChart* chart = nullptr;
};

// Every standard lists its own rows from the run's figures (no machine: no limits, "--").
TEST_F(ResultsTest, EachStandardListsItsRows) {
    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(1);
    ASSERT_TRUE(f->ShowPositioningResults());
    EXPECT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 2);
    EXPECT_TRUE(Control<QFrame>(f, "PanelWyniki")->isVisibleTo(f));

    const QString none = QStringLiteral(" * -- * ");
    auto row = [&](const char* name, const char* value) { return QString::fromUtf8(name) + none + value + " µm"; };
    const QStringList iso{"Dokładność:",          row("w przód", "13,5"),   row("w tył", "13,5"),
                          row("całkowita A", "14,5"), "",                   "Powtarzalność:",
                          row("w przód R", "8,5"),  row("w tył R", "8,5"),  row("dwukierunkowa R", "9,5"),
                          "",                       "Błąd powrotu:",        row("średni B", "1,0"),
                          row("maksymalny", "1,0")};
    EXPECT_EQ(rows(), iso);
    for (int i = 0; i < Control<THeaderListbox>(f, "ListboxWyniki")->Count(); ++i) EXPECT_EQ(Control<THeaderListbox>(f, "ListboxWyniki")->ItemFlag(i), 0) << i;

    struct Case {
        int standard;
        int count;
        int index;
        QString text;
    };
    const Case cases[] = {
        {0, 13, 3, row("dwukierunkowa", "12,7")},  // A from the pooled deviation
        {0, 13, 6, row("w przód", "4,2")},         // NMTBA repeatability is 3s
        {0, 13, 8, row("dwukierunkowa", "3,9")},
        {2, 15, 3, row("Pa", "5,0")},
        {2, 15, 4, row("P", "14,5")},
        {2, 15, 10, row("Ps+U", "9,5")},
        {3, 14, 4, row("D", "5,0")},
        {3, 14, 9, row("RB", "9,5")},
        {4, 8, 1, row("Mar", "14,5")},
        {4, 8, 4, row("Rpmax", "8,5")},
        {4, 8, 7, row("Nmax", "1,0")},
        {5, 9, 1, row("w przód", "5,0")},  // span of a cycle
        {5, 9, 5, row("maksymalny", "6,0")},  // J
        {1, 13, 3, row("całkowita A", "14,5")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.standard);
        Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(c.standard);
        ASSERT_EQ(Control<THeaderListbox>(f, "ListboxWyniki")->Count(), c.count) << rows().join('|').toStdString();
        EXPECT_EQ(Control<THeaderListbox>(f, "ListboxWyniki")->Item(c.index), c.text);
    }
}

// Choosing a standard switches its characteristics; the evaluation drew them at the targets.
TEST_F(ResultsTest, StandardSwitchesItsCharacteristics) {
    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(1);
    ASSERT_TRUE(f->ShowPositioningResults());
    const platform::TChartSeries* mean = chart->SeriesByName("SredniaWPrzod");
    ASSERT_EQ(mean->Count(), 6);
    for (int k = 0; k < 6; ++k) {
        EXPECT_DOUBLE_EQ(mean->XValue(k), 100.0 * k);
        EXPECT_DOUBLE_EQ(mean->YValue(k), k + 1.0);
    }
    EXPECT_NEAR(chart->SeriesByName("SredniaTm3Sigma")->YValue(2), 2.0 - 3 * std::sqrt(2.0), 1e-9);
    EXPECT_DOUBLE_EQ(chart->SeriesByName("LuzZwrotny")->YValue(5), 1.0);
    EXPECT_EQ(chart->SeriesByName("PomiaryWPrzod")->Count(), 12);
    EXPECT_EQ(chart->SeriesByName("SredniaVDIpU")->Count(), 6);

    struct Case {
        int standard;
        bool forward, backward, luz, both, vdi;
    };
    for (const Case& c : {Case{0, false, false, false, true, false}, Case{1, true, true, true, false, false},
                          Case{2, false, false, false, false, true}, Case{3, true, true, true, false, false},
                          Case{4, true, true, true, false, false}, Case{5, true, true, false, false, false}}) {
        SCOPED_TRACE(c.standard);
        Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(c.standard);
        EXPECT_EQ(active("SredniaWPrzod"), c.forward);
        EXPECT_EQ(active("SredniaWTyl"), c.backward);
        EXPECT_EQ(active("SredniaTp3Sigma"), c.forward && c.standard != 5);
        EXPECT_EQ(active("LuzZwrotny"), c.luz);
        EXPECT_EQ(active("SredniaDwukier"), c.both);
        EXPECT_EQ(active("SredniaDm3Sigma"), c.both);
        EXPECT_EQ(active("SredniaVDImA"), c.vdi);
    }
}

// The limits of the machine chosen in CBMaszyna: a value over its limit is marked and drawn
// red; a value equal to it is not; a name not in the table gives no limits at all.
TEST_F(ResultsTest, MachineLimitsMarkValuesOverThem) {
    TMachineTable* t = DataModule1->TableMachines;
    ASSERT_TRUE(t->Active());
    ASSERT_TRUE(t->Insert());
    t->SetFieldValue("Machine_name", "Frezarka FU-1");
    t->SetFieldValue("Iso_dok_p", 13.0);  // 13.49 is over it
    t->SetFieldValue("Iso_pow_p", 9.0);   // 8.49 is within it
    t->SetFieldValue("Iso_lzs", 0.96);    // 1.0 is over it, although both read "1,0"
    t->SetFieldValue("Iso_lzm", 1.0);     // equal: not over
    ASSERT_TRUE(t->Post());
    f->FillMachineCombo();
    Control<QComboBox>(f, "CBMaszyna")->setCurrentText("Frezarka FU-1");
    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(1);

    f->resize(1280, 800);
    f->show();
    ASSERT_TRUE(f->ShowPositioningResults());
    QCoreApplication::processEvents();
    THeaderListbox* list = Control<THeaderListbox>(f, "ListboxWyniki");
    EXPECT_EQ(list->Item(1), QString::fromUtf8("w przód * 13,0 * 13,5 µm"));
    EXPECT_EQ(list->Item(6), QString::fromUtf8("w przód R * 9,0 * 8,5 µm"));
    EXPECT_EQ(list->Item(2), QString::fromUtf8("w tył * -- * 13,5 µm"));
    const std::vector<int> expectedFlags{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    ASSERT_EQ(list->Count(), int(expectedFlags.size()));
    for (int i = 0; i < list->Count(); ++i) EXPECT_EQ(list->ItemFlag(i), expectedFlags[i]) << i;

    // Red is drawn only in the value column of a marked row.
    auto redIn = [&](int row, int col) {
        list->listBox()->scrollToItem(list->listBox()->item(row));
        const QImage img = list->listBox()->viewport()->grab().toImage();
        const QRect r = list->listBox()->visualItemRect(list->listBox()->item(row));
        const int left = list->SectionLeft(col), right = left + list->SectionWidth(col);
        int n = 0;
        for (int y = std::max(0, r.top()); y <= r.bottom() && y < img.height(); ++y)
            for (int x = left; x < right && x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        return n;
    };
    EXPECT_GT(redIn(1, 2), 0);
    EXPECT_EQ(redIn(1, 0), 0);
    EXPECT_EQ(redIn(1, 1), 0);
    EXPECT_EQ(redIn(6, 2), 0);
    EXPECT_GT(redIn(11, 2), 0);
    if (!qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS"))
        f->grab().save(QDir(qEnvironmentVariable("VKM30_SCREENSHOTS")).filePath("results_page.png"));

    Control<QComboBox>(f, "CBMaszyna")->setCurrentText("Tokarka nieznana");
    EXPECT_EQ(list->Item(1), QString::fromUtf8("w przód * -- * 13,5 µm"));
    for (int i = 0; i < list->Count(); ++i) EXPECT_EQ(list->ItemFlag(i), 0) << i;
}

// A one-way run: only the forward rows and lines, and the legend names no backward line.
TEST_F(ResultsTest, UnidirectionalRunShowsForwardFiguresOnly) {
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < 6; ++k) (*f->PositioningCycles)[c].Punkt[k].Xr = 0.0;
    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(1);
    ASSERT_TRUE(f->ShowPositioningResults());
    EXPECT_EQ(rows(), (QStringList{"Dokładność:", QString::fromUtf8("w przód * -- * 13,5 µm"), "", "Powtarzalność:",
                                   QString::fromUtf8("w przód R * -- * 8,5 µm")}));
    EXPECT_EQ(chart->SeriesByName("SredniaWPrzod")->Count(), 6);
    EXPECT_TRUE(chart->SeriesByName("SredniaWPrzod")->ShowInLegend());
    for (const char* name : {"SredniaWTyl", "SredniaTp3Sigma", "LuzZwrotny", "PomiaryWTyl"}) {
        EXPECT_EQ(chart->SeriesByName(name)->Count(), 0) << name;
        EXPECT_FALSE(chart->SeriesByName(name)->ShowInLegend()) << name;
    }
}

// Switching the x axis from the chart's menu redraws the results under the same title, with
// whole-number ticks while the axis counts points.
TEST_F(ResultsTest, XAxisSwitchKeepsTheTitleAndCountsPointsInWholeNumbers) {
    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(1);
    f->SetChartTitle(Control<platform::TChart>(f, "wykres"), QStringLiteral("Pomiar pozycjonowania - 2026-12-11"));
    ASSERT_TRUE(f->ShowPositioningResults());
    const QStringList title = chart->Title().text;
    ASSERT_FALSE(title.isEmpty());
    f->Dystans1->trigger();
    EXPECT_EQ(chart->Title().text, title);
    EXPECT_EQ(chart->SeriesByName("SredniaWPrzod")->Count(), 6);
    f->Numerpunktu1->trigger();
    EXPECT_EQ(chart->Title().text, title);
    // Six points on a wide axis: every tick a whole point number.
    for (double v : chart->BottomAxis().TickValues(900, 20)) EXPECT_EQ(v, std::round(v)) << v;
    f->Dystans1->trigger();
    EXPECT_FALSE(chart->BottomAxis().WholeNumberTicks());
}

// Before any evaluation a standard change leaves the list alone; with every characteristic off
// a redraw asks whether to switch them on.
TEST_F(ResultsTest, NothingBeforeEvaluationAndAQuestionWhenAllIsOff) {
    Control<THeaderListbox>(f, "ListboxWyniki")->AddItem("poprzednie");
    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(2);
    EXPECT_EQ(rows(), QStringList{"poprzednie"});

    ASSERT_TRUE(f->ShowPositioningResults());
    EXPECT_EQ(messageCount(evaluation::AllCharacteristicsOffText()), 0);
    for (const QString& name : evaluation::PositioningSeriesNames()) chart->SeriesByName(name)->SetActive(false);
    f->EvaluatePositioning(false);
    EXPECT_EQ(messageCount(evaluation::AllCharacteristicsOffText()), 1);
    EXPECT_EQ(chart->SeriesByName("SredniaWPrzod")->Count(), 6);  // still drawn, only hidden
}

}  // namespace
