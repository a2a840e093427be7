// Parameter summary of the main window: the parameters of the next run in the status bars, the
// zero line, the flatness line commands and the start point.
#include <QAction>
#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>

#include <cmath>

#include "app/ParameterSummary.h"
#include "app/PositioningPage.h"
#include "app/RunCommands.h"
#include "app/StraightnessRun.h"
#include "app/UProstopa.h"
#include "app/LiveReadoutPage.h"
#include "app/AngularPage.h"
#include "app/Unit_glowny.h"
#include "evaluation/PointStore.h"
#include "foundations/MessageDlg.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "foundations/MeasurementModes.h"

namespace {

// The zero line is the axis's helper, not data: it never widens the chart's range, so a range
// that no longer includes 0 loses the line at the next drawing.
class ZeroLineSeries : public platform::TLineSeries {
public:
    double MinXValue() const override { return std::nan(""); }
    double MaxXValue() const override { return std::nan(""); }
    double MinYValue() const override { return std::nan(""); }
    double MaxYValue() const override { return std::nan(""); }

protected:
    platform::TChartSeries* NewInstance() const override { return new ZeroLineSeries; }
};

// Runs the start point handlers on focus and on being shown.
class StartPointWatch : public QObject {
public:
    StartPointWatch(TMainForm& f, TRealSpinEdit* edit) : QObject(edit), f_(f), edit_(edit) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == edit_) {
            switch (e->type()) {
            case QEvent::FocusIn: f_.PunktStartowyEnter(edit_); break;
            case QEvent::FocusOut: f_.PunktStartowyExit(edit_); break;
            // A page that comes up shows the start point as it is stored now.
            case QEvent::Show:
                if (!edit_->hasFocus()) f_.ShowStartPoint(edit_);
                break;
            default: break;
            }
        }
        return QObject::eventFilter(watched, e);
    }

private:
    TMainForm& f_;
    TRealSpinEdit* edit_;
};

// The layout (at any depth under `root`) that holds `w` directly, with w's index in it.
QBoxLayout* layoutHolding(QLayout* root, QWidget* w, int& index) {
    if (!root) return nullptr;
    for (int i = 0; i < root->count(); ++i) {
        QLayoutItem* item = root->itemAt(i);
        if (item->widget() == w) {
            index = i;
            return qobject_cast<QBoxLayout*>(root);
        }
        if (QBoxLayout* inner = layoutHolding(item->layout(), w, index)) return inner;
    }
    return nullptr;
}

// Puts `w` just before `anchor` in the layout that holds the anchor (or at the end of the
// anchor's parent's layout).
void placeBefore(QWidget* anchor, QWidget* w) {
    if (!anchor || !anchor->parentWidget()) return;
    QWidget* parent = anchor->parentWidget();
    int index = -1;
    if (QBoxLayout* l = layoutHolding(parent->layout(), anchor, index)) {
        l->insertWidget(index, w);
    } else {
        w->setParent(parent);
        if (parent->layout()) parent->layout()->addWidget(w);
    }
}

QString lengthUnitLabel() { return LengthUnit == 1 ? QStringLiteral("[in]") : QStringLiteral("[mm]"); }

// The earlier cycles' series of wykres, forward and backward, on or off.
void showEarlierCycles(TMainForm& f, bool on) {
    const evaluation::PointStorePlots& plots = f.Points().Plots();
    for (evaluation::IPlotSeries* s : {plots.PoprzednieWPrzod, plots.PoprzednieWTyl})
        if (s) s->SetActive(on);
}

}  // namespace

void TMainForm::RefreshParameterSummary() {
    // The angular page has its own summary, on StatusBar2.
    if (MeasurementMode == kModeAngular) {
        Angular().ShowAngularParameters();
        return;
    }
    ShowMeasurementParameters();
    // The earlier cycles follow "Wszyskie cykle" from the page's first drawing on.
    if (MeasurementMode == kModePositioning) {
        const QAction* all = MenuCommand(QStringLiteral("WszyskieCykle1"));
        showEarlierCycles(*this, all ? all->isChecked() : AllCycles);
    }
}

void TMainForm::ConnectParameterSummary() {
    // The zero line, under the measured series.
    LiniaZera = new ZeroLineSeries;
    LiniaZera->setObjectName(QStringLiteral("LiniaZera"));
    LiniaZera->SetShowInLegend(false);
    LiniaZera->SetSeriesColor(Qt::black);
    LiniaZera->LinePen().width = 1;
    LiniaZera->Pointer().visible = false;
    Positioning().Chart()->AddSeries(LiniaZera);
    connect(Positioning().Chart(), &platform::TChart::beforeDrawAxes, this, &TMainForm::wykresBeforeDrawAxes);

    if (QAction* a = MenuCommand(QStringLiteral("WszyskieCykle1"))) {
        // The command decides its tick itself: the automatic toggle is undone first.
        connect(a, &QAction::triggered, this, [this, a](bool checked) {
            a->setChecked(!checked);
            WszyskieCykle1Click();
        });
    }
    if (QAction* a = MenuCommand(QStringLiteral("Prostopadlosc")))
        connect(a, &QAction::triggered, this, &TMainForm::ProstopadloscClick);

    // The three start point edits, each in a row "Punkt startowy:" [value] [unit].
    auto startRow = [this](const char* name, const char* unitName, QLabel*& unit, QWidget* before) {
        auto* row = new QWidget;
        row->setObjectName(QString::fromLatin1(name) + QStringLiteral("Panel"));
        auto* l = new QHBoxLayout(row);
        l->setContentsMargins(0, 0, 0, 0);
        auto* caption = new QLabel(QStringLiteral("Punkt startowy:"), row);
        caption->setObjectName(QStringLiteral("Lab") + QString::fromLatin1(name));
        auto* edit = new TRealSpinEdit(row);
        edit->setObjectName(QString::fromLatin1(name));
        edit->SetPrecision(summary::StartPointDecimals(LengthUnit));
        edit->setMinimumWidth(100);
        unit = new QLabel(QString::fromLatin1(unitName) == QLatin1String("Label88") ? QStringLiteral("[deg]")
                                                                                   : lengthUnitLabel(),
                          row);
        unit->setObjectName(QString::fromLatin1(unitName));
        l->addWidget(caption);
        l->addWidget(edit, 1);
        l->addWidget(unit);
        placeBefore(before, row);
        edit->installEventFilter(new StartPointWatch(*this, edit));
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { PunktStartowyChange(edit); });
        return edit;
    };
    PunktStartowy = startRow("PunktStartowy", "Label68", Label68, Positioning().ResolutionButton());
    PunktStartowyPK = startRow("PunktStartowyPK", "Label88", Label88, Angular().StartPointAnchor());
    PunktStartowyWysw = startRow("PunktStartowyWysw", "Label89", Label89, Readout().StartPointAnchor());
}

void TMainForm::ShowMeasurementParameters() {
    summary::SummaryInput in;
    in.measurementMode = MeasurementMode;
    auto command = [this](const char* name, bool& checked, QString& caption) {
        if (QAction* a = MenuCommand(QString::fromLatin1(name))) {
            checked = a->isChecked();
            caption = a->text();
        }
    };
    command("ReczneZaliczeniePunktu", in.handAccept, in.handAcceptCaption);
    command("PunktyZListy", in.pointsFromList, in.pointsFromListCaption);
    command("StopPoKazdymCyklu1", in.stopAfterCycle, in.stopAfterCycleCaption);
    if (TargetPoints && TargetPoints->Count() > 0) in.lastTarget = (*TargetPoints)[TargetPoints->Count() - 1].Dystans;
    in.positioningMethod = PositioningMethod;
    in.cycleCount = CycleCount;
    in.uniDirectional = UniDirectional;
    in.straightnessMethod = StraightnessMethod;
    in.baseLength = BaseLength;
    in.straightnessPointCount = StraightnessPointCount;
    in.statisticsMethod = StatisticsMethod;
    in.statisticsMethodNames = StatisticsMethodNames;
    in.decimalSeparator = foundations::systemDecimalSeparator();

    const std::array<QString, 5> texts = summary::MeasurementParameterTexts(in);
    if (Positioning().StatusBar()) {
        for (int i = 0; i < 5; ++i)
            if (QLabel* panel = Positioning().StatusBar()->Panel(i))
                panel->setText(texts[size_t(i)]);
    }
    if (MeasurementMode != kModePositioning && Positioning().StraightnessUnitLabel()) Positioning().StraightnessUnitLabel()->setText(summary::StraightnessUnitCaption(StraightnessMethod));
}

void TMainForm::wykresBeforeDrawAxes() {
    if (!LiniaZera || !Positioning().Chart()) return;
    LiniaZera->Clear();
    if (!summary::ZeroLineShown(Positioning().Chart()->LeftAxis().Minimum(), Positioning().Chart()->LeftAxis().Maximum())) return;
    LiniaZera->AddXY(Positioning().Chart()->BottomAxis().Minimum(), 0.0);
    LiniaZera->AddXY(Positioning().Chart()->BottomAxis().Maximum(), 0.0);
}

void TMainForm::WszyskieCykle1Click() {
    QAction* a = MenuCommand(QStringLiteral("WszyskieCykle1"));
    if (!a) return;
    a->setChecked(!a->isChecked());
    AllCycles = a->isChecked();
    showEarlierCycles(*this, AllCycles);
}

void TMainForm::PunktStartowyEnter(TRealSpinEdit* edit) {
    // After the click that gave the focus has placed the cursor.
    if (edit) QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
}

void TMainForm::PunktStartowyExit(TRealSpinEdit* edit) {
    if (edit) edit->SetValue(edit->Value());
}

void TMainForm::PunktStartowyChange(TRealSpinEdit* edit) {
    if (!edit) return;
    double* stored = edit == PunktStartowy ? &StartPoint : edit == PunktStartowyPK ? &StartPointPK
                   : edit == PunktStartowyWysw ? &StartPointDisp : nullptr;
    if (!stored) return;
    // The angular start point is an angle: degrees in every length unit.
    const int unit = edit == PunktStartowyPK ? 0 : LengthUnit;
    *stored = summary::StartPointFromEdit(*stored, edit->text(), edit->Precision(), unit,
                                          foundations::systemDecimalSeparator());
}

void TMainForm::ShowStartPoint(TRealSpinEdit* edit) {
    const double stored = edit == PunktStartowy ? StartPoint : edit == PunktStartowyPK ? StartPointPK
                        : edit == PunktStartowyWysw ? StartPointDisp : std::nan("");
    if (!edit || !std::isfinite(stored)) return;
    const QSignalBlocker quiet(edit);
    const bool angle = edit == PunktStartowyPK;  // degrees in every length unit
    const int lengthUnit = angle ? 0 : LengthUnit;
    edit->SetPrecision(summary::StartPointDecimals(lengthUnit));
    edit->SetValue(summary::StartPointShown(stored, lengthUnit));
    QLabel* unit = edit == PunktStartowy ? Label68 : angle ? Label88 : Label89;
    if (unit) unit->setText(angle ? QStringLiteral("[deg]") : lengthUnitLabel());
}

void TMainForm::ProstopadloscClick() { ShowPerpendicularityForm(StraightnessDir, ModeFilters[kModeStraightness], this); }
