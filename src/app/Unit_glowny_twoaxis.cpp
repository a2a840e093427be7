// The two-axis review of a positioning run with the two-axis detector: the second-axis cycles
// on the straightness charts, stepped through or averaged, the way back to positioning, the
// first/last cycle buttons of the positioning review and the 3-D view of the straightness points.
#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>

#include "app/ModeSequences.h"
#include "app/PositioningPage.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PageControls.h"
#include "app/PositioningRun.h"
#include "app/StraightnessRun.h"
#include "app/TwoAxisReview.h"
#include "app/UKorCos.h"
#include "app/Unit_glowny.h"
#include "evaluation/PointStore.h"
#include "evaluation/PositioningStats.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "platform/Chart.h"

using namespace pagecontrols;

namespace {

constexpr int kTwoAxisButtonPage = 4;

QToolButton* cycleButton(QWidget* parent, const char* name, const char* hint, const char* text) {
    auto* b = named(new QToolButton(parent), name);
    b->setText(QString::fromUtf8(text));
    b->setToolTip(QString::fromUtf8(hint));
    return b;
}

void addTo(QWidget* page, QWidget* w) {
    if (auto* l = qobject_cast<QBoxLayout*>(page ? page->layout() : nullptr)) l->insertWidget(l->count() - 1, w);
}

}  // namespace

void TMainForm::ConnectTwoAxisReview() {
    // On the review page: the way to the second axis and the first/last cycle buttons; on the
    // end-of-run page the second axis too.
    QWidget* review = Positioning().ButtonPages()->widget(1);
    sbFirstCycle = cycleButton(review, "sbFirstCycle", "Pierwszy cykl", "|◀");
    sbLastCycle = cycleButton(review, "sbLastCycle", "Ostatni cykl", "▶|");
    BPomiaryXY = button(review, "BPomiaryXY", QStringLiteral("Prostoliniowość"));
    for (QWidget* w : std::initializer_list<QWidget*>{sbFirstCycle, sbLastCycle, BPomiaryXY}) addTo(review, w);
    BProst2 = button(Positioning().ButtonPages()->widget(3), "BProst2", QStringLiteral("Prostoliniowość"));
    addTo(Positioning().ButtonPages()->widget(3), BProst2);

    // The two-axis button page.
    auto* page = named(new QWidget(Positioning().ButtonPages()), "PomiaryXY");
    auto* l = new QHBoxLayout(page);
    l->setContentsMargins(0, 0, 0, 0);
    sbXYFirst = cycleButton(page, "sbXYFirst", "Pierwszy cykl", "|◀");
    sbXYPoprzedni = cycleButton(page, "sbXYPoprzedni", "Poprzedni cykl", "◀");
    lOpisXY = label(page, "lOpisXY", QString());
    lOpisXY->setMinimumWidth(90);
    lOpisXY->setAlignment(Qt::AlignCenter);
    sbXYNastepny = cycleButton(page, "sbXYNastepny", "Następny cykl", "▶");
    sbXYLast = cycleButton(page, "sbXYLast", "Ostatni cykl", "▶|");
    bRaoprtXY = button(page, "bRaoprtXY", QStringLiteral("Średnia"));
    BPowrotDoPoz = button(page, "BPowrotDoPoz", QStringLiteral("Pozycjonowanie"));
    Button4 = button(page, "Button4", QStringLiteral("Menu Główne"));
    for (QWidget* w : std::initializer_list<QWidget*>{sbXYFirst, sbXYPoprzedni, lOpisXY, sbXYNastepny, sbXYLast,
                                                      bRaoprtXY, BPowrotDoPoz})
        l->addWidget(w);
    l->addStretch(1);
    l->addWidget(Button4);
    while (Positioning().ButtonPages()->count() < kTwoAxisButtonPage) Positioning().ButtonPages()->addWidget(new QWidget(Positioning().ButtonPages()));
    Positioning().ButtonPages()->insertWidget(kTwoAxisButtonPage, page);

    connect(BPomiaryXY, &QPushButton::clicked, this, &TMainForm::BPomiaryXYClick);
    connect(BProst2, &QPushButton::clicked, this, &TMainForm::BPomiaryXYClick);
    connect(sbFirstCycle, &QToolButton::clicked, this, &TMainForm::sbFirstCycleClick);
    connect(sbLastCycle, &QToolButton::clicked, this, &TMainForm::sbLastCycleClick);
    connect(sbXYFirst, &QToolButton::clicked, this, &TMainForm::sbXYFirstClick);
    connect(sbXYPoprzedni, &QToolButton::clicked, this, &TMainForm::sbXYPoprzedniClick);
    connect(sbXYNastepny, &QToolButton::clicked, this, &TMainForm::sbXYNastepnyClick);
    connect(sbXYLast, &QToolButton::clicked, this, &TMainForm::sbXYLastClick);
    connect(bRaoprtXY, &QPushButton::clicked, this, &TMainForm::bRaoprtXYClick);
    connect(BPowrotDoPoz, &QPushButton::clicked, this, &TMainForm::BPowrotDoPozClick);
    connect(Button4, &QPushButton::clicked, this, &TMainForm::Button4Click);

    // The zero line of the vertical plane's chart.
    LiniaZeraOsy = Positioning().YChart()->AddNewSeries<platform::TLineSeries>(QStringLiteral("LiniaZeraOsy"));
    LiniaZeraOsy->SetShowInLegend(false);
    LiniaZeraOsy->SetSeriesColor(Qt::black);
    LiniaZeraOsy->LinePen().width = 1;
    LiniaZeraOsy->Pointer().visible = false;
    connect(Positioning().YChart(), &platform::TChart::beforeDrawAxes, this, &TMainForm::WykresOsYBeforeDrawAxes);
}

void TMainForm::ShowXYCycle(int cycle) {
    if (CyclesY->Count() == 0) return;
    cycle = std::clamp(cycle, 1, CyclesY->Count());
    PositioningControl().CurrentCycle() = cycle;
    PlotStraightnessOf((*CyclesY)[cycle - 1].Punkt, true, true);
    Points().FitXYCycleLine();
    lOpisXY->setText(TranslateString(QStringLiteral("stCykl"), QStringLiteral("Cykl")) + u' ' + QString::number(cycle));
}

void TMainForm::BPomiaryXYClick() {
    if (CyclesY->Count() == 0) return;
    modes::HidePositioningPanels(ModeHost());
    Positioning().StraightnessYPanel()->hide();
    Positioning().PositionPanel()->hide();
    SetChartAxesAutomatic();
    const QString left = TranslateString(QStringLiteral("stBladProsto"), QStringLiteral("Odchyłka Prostoliniowości")) +
                         QStringLiteral(" [ µm ]");
    // The second-axis cycles are at the run's targets, in mm.
    const QString bottom = TranslateString(QStringLiteral("stOdleglosc"), QStringLiteral("Odległość")) +
                           QStringLiteral(" [ mm ]");
    for (QWidget* chart : {static_cast<QWidget*>(Positioning().Chart()), static_cast<QWidget*>(Positioning().YChart())}) {
        SetChartAxisTitle(chart, ChartAxis::Left, left);
        SetChartAxisTitle(chart, ChartAxis::Bottom, bottom);
    }
    // The two planes share the chart panel, one above the other.
    Positioning().YChart()->setMaximumHeight(QWIDGETSIZE_MAX);
    Positioning().YChart()->setMinimumHeight(Positioning().ChartsPanel()->height() / 2 > 0 ? Positioning().ChartsPanel()->height() / 2 - 4 : 0);
    Positioning().YChart()->show();
    ShowXYCycle(PositioningControl().CurrentCycle());
    Positioning().ButtonPages()->setCurrentIndex(kTwoAxisButtonPage);
}

void TMainForm::sbXYFirstClick() {
    ShowXYCycle(SteppedCycle(PositioningControl().CurrentCycle(), CyclesY->Count(), CycleStep::First));
}
void TMainForm::sbXYPoprzedniClick() {
    const int now = PositioningControl().CurrentCycle();
    const int next = SteppedCycle(now, CyclesY->Count(), CycleStep::Previous);
    if (next != now) ShowXYCycle(next);
}
void TMainForm::sbXYNastepnyClick() {
    const int now = PositioningControl().CurrentCycle();
    const int next = SteppedCycle(now, CyclesY->Count(), CycleStep::Next);
    if (next != now) ShowXYCycle(next);
}
void TMainForm::sbXYLastClick() {
    ShowXYCycle(SteppedCycle(PositioningControl().CurrentCycle(), CyclesY->Count(), CycleStep::Last));
}

void TMainForm::bRaoprtXYClick() {
    AverageXYCycles();
    PlotStraightnessOf(*StraightnessPoints, true, true);
    Points().FitXYCycleLine();
    lOpisXY->setText(TranslateString(QStringLiteral("stSrednia"), QString::fromUtf8("Średnia")));
}

void TMainForm::BPowrotDoPozClick() {
    Positioning().YChart()->hide();
    Positioning().YChart()->setMinimumHeight(0);
    // The straightness figures were the review's; the positioning view shows its reversal line.
    Positioning().StraightnessYErrorLabel()->hide();
    Positioning().BacklashLabel()->hide();
    SetChartAxisTitle(Positioning().Chart(), ChartAxis::Left, TranslateString(QStringLiteral("stBlad"), QString::fromUtf8("Błąd")) +
                                                   QStringLiteral(" [ µm ]"));
    const QString distance = TranslateString(QStringLiteral("stOdleglosc"), QString::fromUtf8("Odległość"));
    if (Numerpunktu1->isChecked())
        SetChartAxisTitle(Positioning().Chart(), ChartAxis::Bottom, TranslateString(QStringLiteral("stNrPunktu"), QStringLiteral("Numer punktu")));
    else if (LengthUnit == 0)
        SetChartAxisTitle(Positioning().Chart(), ChartAxis::Bottom, distance + QStringLiteral(" [ mm ]"));
    else if (LengthUnit == 1)
        SetChartAxisTitle(Positioning().Chart(), ChartAxis::Bottom, distance + QStringLiteral(" [ in ]"));
    PositioningControl().ZakonczeniePozPrzegladajClick();
}

void TMainForm::Button4Click() { StraightnessControl().LeaveMeasurementPage(); }

void TMainForm::showPositioningCycleWithBacklash(int cycle) {
    if (PositioningCycles->Count() == 0) return;
    PositioningControl().CurrentCycle() = cycle;
    Points().ShowPositioningCycle(cycle);
    const auto backlash = evaluation::BacklashCaption(*PositioningCycles, cycle);
    if (Positioning().BacklashLabel()) {
        Positioning().BacklashLabel()->setText(backlash.value_or(QString()));
        Positioning().BacklashLabel()->setVisible(backlash && ShowBacklash);
    }
}

void TMainForm::sbFirstCycleClick() { showPositioningCycleWithBacklash(1); }
void TMainForm::sbLastCycleClick() { showPositioningCycleWithBacklash(PositioningCycles->Count()); }

void TMainForm::WykresOsYBeforeDrawAxes() {
    // Emptied first, so the line never grows from one drawing to the next.
    LiniaZeraOsy->Clear();
    const platform::TChartAxis& y = Positioning().YChart()->LeftAxis();
    if (!(y.Maximum() > 0.0 && y.Minimum() < 0.0)) return;
    LiniaZeraOsy->AddXY(Positioning().YChart()->BottomAxis().Minimum(), 0.0);
    LiniaZeraOsy->AddXY(Positioning().YChart()->BottomAxis().Maximum(), 0.0);
}
