// Positioning results of the main window: the run evaluated into the chart and the results
// list of the standard chosen in ComboBoxNorma, against the machine's limits.
#include <algorithm>

#include <QAction>
#include <QHeaderView>
#include <QComboBox>
#include <QPainter>

#include "app/CoRysowac.h"
#include "app/PositioningPage.h"
#include "app/PointStoreWidgets.h"
#include "app/UDataModule.h"
#include "app/Unit_glowny.h"
#include "evaluation/PointStore.h"
#include "evaluation/PositioningStats.h"
#include "evaluation/ResultsByStandard.h"
#include "foundations/HeadList.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "platform/Chart.h"

namespace {

// How one characteristic of the positioning chart is drawn.
struct CharacteristicLook {
    const char* name;
    uint32_t colour;  // Windows value 0x00BBGGRR
    Qt::PenStyle style;
};

// Forward blue, backward red, both directions green, reversal black, VDI lines olive, purple
// and teal; the ±3s bands dashed in the colour of their mean.
constexpr CharacteristicLook kLooks[] = {
    {"SredniaWPrzod", 0xFF0000, Qt::SolidLine},   {"SredniaPp3Sigma", 0xFF0000, Qt::DashLine},
    {"SredniaPm3Sigma", 0xFF0000, Qt::DashLine},  {"SredniaWTyl", 0x0000FF, Qt::SolidLine},
    {"SredniaTp3Sigma", 0x0000FF, Qt::DashLine},  {"SredniaTm3Sigma", 0x0000FF, Qt::DashLine},
    {"SredniaDwukier", 0x008000, Qt::SolidLine},  {"SredniaDp3Sigma", 0x008000, Qt::DashLine},
    {"SredniaDm3Sigma", 0x008000, Qt::DashLine},  {"LuzZwrotny", 0x000000, Qt::SolidLine},
    {"SredniaVDI", 0x008080, Qt::SolidLine},      {"SredniaVDIpA", 0x800080, Qt::DashLine},
    {"SredniaVDImA", 0x800080, Qt::DashLine},     {"SredniaVDIpU", 0x808000, Qt::DotLine},
    {"SredniaVDImU", 0x808000, Qt::DotLine},
};

// Legend text of a characteristic.
QString CharacteristicTitle(const QString& name) {
    const QString up = Msg("stWProzd"), down = Msg("stWTyl"), both = Msg("stDwukierunkowa");
    const QString mean = Msg("stSrednia");
    if (name == "SredniaWPrzod") return mean + u' ' + up;
    if (name == "SredniaPp3Sigma") return QStringLiteral("+3s ") + up;
    if (name == "SredniaPm3Sigma") return QStringLiteral("-3s ") + up;
    if (name == "SredniaWTyl") return mean + u' ' + down;
    if (name == "SredniaTp3Sigma") return QStringLiteral("+3s ") + down;
    if (name == "SredniaTm3Sigma") return QStringLiteral("-3s ") + down;
    if (name == "SredniaDwukier") return mean + u' ' + both;
    if (name == "SredniaDp3Sigma") return QStringLiteral("+3s ") + both;
    if (name == "SredniaDm3Sigma") return QStringLiteral("-3s ") + both;
    if (name == "LuzZwrotny") {
        QString t = Msg("stLuz");
        if (t.endsWith(u':')) t.chop(1);
        return t.trimmed();
    }
    if (name == "SredniaVDI") return mean + QStringLiteral(" VDI");
    if (name == "SredniaVDIpA") return QStringLiteral("X+A");
    if (name == "SredniaVDImA") return QStringLiteral("X-A");
    if (name == "SredniaVDIpU") return QStringLiteral("X+U");
    if (name == "SredniaVDImU") return QStringLiteral("X-U");
    return name;
}

platform::TChart* asChart(QWidget* w) { return qobject_cast<platform::TChart*>(w); }

// The limits of the machine named in CBMaszyna (none when the table has no such name); a
// disabled combo box leaves the table's current record.
std::optional<evaluation::MachineLimits> ChosenMachineLimits(const QComboBox* machine) {
    if (!machine || machine->isEnabled()) {
        if (!machine) return std::nullopt;
        if (const auto record = LookupMachine(machine->currentText())) return MachineLimitsOf(*record);
        return std::nullopt;
    }
    if (DataModule1 && DataModule1->TableMachines)
        if (const MachineRecord* record = DataModule1->TableMachines->Current()) return MachineLimitsOf(*record);
    return std::nullopt;
}

// Whether any series that the evaluation draws is switched on (the characteristics and the
// raw readings; the run's own cycle lines do not count).
bool AnyCharacteristicShown(QWidget* chart) {
    const platform::TChart* c = asChart(chart);
    if (!c) return false;
    for (const QString& name : evaluation::PositioningSeriesNames())
        if (const platform::TChartSeries* s = c->SeriesByName(name); s && s->Active()) return true;
    return false;
}

}  // namespace

void TMainForm::ChooseCharacteristics() {
    if (platform::TChart* c = asChart(Positioning().Chart())) TFCoRysowac::SetChecks(*c, this);
}

void TMainForm::ConnectResults() {
    // The characteristics are lines of their own on the positioning chart, off until a
    // standard switches them on.
    if (platform::TChart* c = asChart(Positioning().Chart())) {
        for (const CharacteristicLook& look : kLooks) {
            const QString name = QString::fromLatin1(look.name);
            if (c->SeriesByName(name)) continue;
            auto* s = c->AddNewSeries<platform::TLineSeries>(name, CharacteristicTitle(name));
            s->SetSeriesColorWin(look.colour);
            s->LinePen().width = look.style == Qt::SolidLine ? 2 : 1;
            s->LinePen().style = look.style;
            s->Pointer().visible = look.style == Qt::SolidLine;
            s->Pointer().horizSize = s->Pointer().vertSize = 2;
            s->SetActive(false);
        }
    }

    if (Positioning().ResultsList()) {
        Positioning().ResultsList()->SetDelimChar(u'*');
        Positioning().ResultsList()->SetSectionText(1, QStringLiteral("War. dop."));
        Positioning().ResultsList()->SetLBStyle(THLBStyle::hlbOwnerDraw);
        Positioning().ResultsList()->SetOnDrawCell([this](THeaderListbox*, int index, int col, QPainter* p, const QRect& r,
                                            QStyle::State state) {
            ListboxWynikiDrawCell(index, col, p, r, state & QStyle::State_Selected);
        });
        // The header keeps the height of one line; the rows get the rest.
        Positioning().ResultsList()->header()->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        Positioning().ResultsList()->header()->setFixedHeight(Positioning().ResultsList()->header()->sizeHint().height());
        // A row fits the list's font.
        Positioning().ResultsList()->SetItemHeight(QFontMetrics(Positioning().ResultsList()->listBox()->font()).height() + 4);
    }
}

void TMainForm::FillPositioningResults() {
    if (!Positioning().StandardChoice() || !Positioning().ResultsList()) return;
    const auto results = evaluation::FillPositioningResults(Positioning().StandardChoice()->currentIndex(), *PositioningCycles,
                                                            *ForwardStats, *BackwardStats, ChosenMachineLimits(Positioning().MachineChoice()));
    if (!results) return;  // nothing evaluated: the list keeps what it shows
    evaluation::FillResultsList(*Positioning().ResultsList(), *results);
    Positioning().FitResultsColumns();
    if (platform::TChart* c = asChart(Positioning().Chart())) {
        for (const evaluation::SeriesSwitch& s : results->series)
            if (platform::TChartSeries* series = c->SeriesByName(s.name)) series->SetActive(s.active);
    }
}

void TMainForm::EvaluatePositioning(bool recompute) {
    if (recompute) {
        const evaluation::PositioningReadings readings(*PositioningCycles);
        evaluation::ComputePointMeans(readings, *ForwardStats);
        evaluation::ComputePointSigmas(readings, *BackwardStats);
        FillPositioningResults();
    }
    evaluation::PointStore& store = Points();
    // A redraw (another x axis) keeps the chart's title; the reset below would empty it.
    const QStringList keptTitle = !recompute && asChart(Positioning().Chart()) ? asChart(Positioning().Chart())->Title().text : QStringList();
    store.ResetChartAndGrid(store.Plots().wykres);
    if (!keptTitle.isEmpty()) asChart(Positioning().Chart())->SetTitleText(keptTitle);
    // The legend (shown only with the results) names what the evaluation draws, not the
    // emptied lines of the single cycle.
    if (platform::TChart* c = asChart(Positioning().Chart())) {
        const auto& drawn = evaluation::PositioningSeriesNames();
        for (int i = 0; i < c->SeriesCount(); ++i)
            if (platform::TChartSeries* s = c->Series(i);
                std::find(drawn.begin(), drawn.end(), s->objectName()) == drawn.end())
                s->SetShowInLegend(false);
    }

    if (!AnyCharacteristicShown(Positioning().Chart())) {
        const int answer = MessageDlg(evaluation::AllCharacteristicsOffText(), TMsgDlgType::mtWarning, mbYes | mbNo);
        if (answer == mrYes) ChooseCharacteristics();
    }

    platform::TChart* c = asChart(Positioning().Chart());
    if (!c) return;
    const bool byNumber = Numerpunktu1 && Numerpunktu1->isChecked();
    // Copied again: the question above lets events run.
    evaluation::PositioningChartSeries(evaluation::PositioningReadings(*PositioningCycles), *ForwardStats,
                                       *BackwardStats, byNumber, LengthUnit, PositioningSeriesBuffers);
    for (const evaluation::SeriesValues& values : PositioningSeriesBuffers) {
        platform::TChartSeries* s = c->SeriesByName(values.name);
        if (!s) continue;
        s->AddXYs(values.points);
    }
    // A one-way run has no backward lines: the legend does not name them.
    for (const CharacteristicLook& look : kLooks)
        if (platform::TChartSeries* s = c->SeriesByName(QString::fromLatin1(look.name)))
            s->SetShowInLegend(s->Count() > 0);
}

void TMainForm::ListboxWynikiDrawCell(int index, int col, QPainter* p, const QRect& rect, bool selected) {
    if (!Positioning().ResultsList() || !p) return;
    const QString t = Positioning().ResultsList()->Item(index);
    const int first = t.indexOf(u'*');
    QString text;
    if (first < 0) {
        text = col == 0 ? t : QString();
    } else if (col == 0) {
        text = t.left(first);
    } else {
        const int second = t.indexOf(u'*', first + 1);
        if (col == 1) text = second < 0 ? QString() : t.mid(first + 1, second - first - 1);
        else if (col == 2) text = second < 0 ? t.mid(first + 1) : t.mid(second + 1);
    }
    QColor colour = selected ? QColor(Qt::white) : QColor(Qt::black);
    if (col == 2 && Positioning().ResultsList()->ItemFlag(index) != 0) colour = Qt::red;
    p->setPen(colour);
    p->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text.trimmed());
}
