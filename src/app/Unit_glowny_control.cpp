// Run control of the main window: the start command, point acceptance and its timers, the
// straightness page entry and the start of each flatness line, the chart switches, the 3-D view
// and the service switches. The decisions are plain rules (app/AskSave.h, app/RunCommands.h);
// the handlers apply them to the controls.
#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>

#include "app/AskSave.h"
#include "app/PositioningPage.h"
#include "app/EnvironmentPanel.h"
#include "app/InfoForm.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PointStoreWidgets.h"
#include "app/PunktyPoz.h"
#include "app/RunCommands.h"
#include "app/Stol.h"
#include "app/StraightnessRun.h"
#include "app/Unit_DaneMaszyny.h"
#include "app/AngularPage.h"
#include "app/ServicePage.h"
#include "app/Unit_glowny.h"
#include "evaluation/PointStore.h"
#include "evaluation/StraightnessEval.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "instrument/ComDrv32.h"
#include "instrument/CommandLink.h"
#include "instrument/LinkPort.h"
#include "instrument/PointAcceptance.h"
#include "platform/AppPaths.h"
#include "platform/Chart.h"
#include "platform/Registry.h"
#include "foundations/MeasurementModes.h"

namespace {

constexpr int kPageStraightness = 3;

void showIf(QWidget* w, bool on) {
    if (w) w->setVisible(on);
}


// The window's command path as a link, for the service panel's table of buttons.
class WindowLink : public ICommandLink {
public:
    explicit WindowLink(TMainForm& f) : f_(f) {}
    void SendCommandByte(uint8_t b) override { f_.SendHeadCommand(b); }

private:
    TMainForm& f_;
};

}  // namespace

int TMainForm::AskSaveChanges() {
    return AskSaveChangesRule(MeasurementMode, SavedFlags{DataSaved, VelocityDataSaved, FlatnessDataSaved},
                              [this](const QString& caption, const QString& line1, const QString& line2) {
                                  return ShowInfoForm(line1, line2, caption, this);
                              });
}

bool TMainForm::SaveOrDiscardChanges(int mode) {
    const int answer = TypeCalls().AskSaveChanges();
    if (answer == mrCancel) return false;
    if (answer == mrYes) return TypeCalls().SaveMeasurement(mode);
    if (mode == kModeVelocity)
        VelocityDataSaved = true;
    else if (mode == kModeFlatness)
        FlatnessDataSaved = true;
    else
        DataSaved = true;
    return true;
}

void TMainForm::ConnectRunControl() {
    // Commands that decide their tick themselves: the automatic toggle is undone first.
    auto ownTick = [this](const char* name, void (TMainForm::*handler)()) {
        if (QAction* a = MenuCommand(QString::fromLatin1(name)))
            connect(a, &QAction::triggered, this, [this, a, handler](bool checked) {
                a->setChecked(!checked);
                (this->*handler)();
            });
    };
    ownTick("ReczneZaliczeniePunktu", &TMainForm::ReczneZaliczeniePunktuClick);
    ownTick("Automatyczny1", &TMainForm::Automatyczny1Click);
    if (QAction* a = MenuCommand(QStringLiteral("PunktyPozycjonowania1")))
        connect(a, &QAction::triggered, this, &TMainForm::PunktyPozycjonowania1Click);
    if (QAction* a = MenuCommand(QStringLiteral("Danemaszyny1")))
        connect(a, &QAction::triggered, this, &TMainForm::Danemaszyny1Click);
    connect(Numerpunktu1, &QAction::triggered, this, [this] { Positioning().Numerpunktu1Click(); });
    connect(Dystans1, &QAction::triggered, this, [this] { Positioning().Dystans1Click(); });

    connect(ScrollBar13, &QScrollBar::valueChanged, this, &TMainForm::ScrollBar13Change);
    connect(ScrollBar12, &QScrollBar::valueChanged, this, &TMainForm::ScrollBar12Change);
    connect(ScrollBar10, &QScrollBar::valueChanged, this, &TMainForm::ScrollBar10Change);
    connect(ScrollBar11, &QScrollBar::valueChanged, this, &TMainForm::ScrollBar11Change);
    ScrollBar13Change();
    ScrollBar12Change();
    Label131->setText(QString::number(ScrollBar10->value()));
    Label132->setText(QString::number(ScrollBar11->value()));

    connect(Button18, &QPushButton::clicked, this, &TMainForm::Button18Click);
    connect(Button19, &QPushButton::clicked, this, &TMainForm::Button19Click);
    connect(Button22, &QPushButton::clicked, this, &TMainForm::Button22Click);
    connect(PSButton39, &QPushButton::clicked, this, &TMainForm::PSButton39Click);
    connect(ResetSprzetowy, &QPushButton::clicked, this, &TMainForm::ResetSprzetowyClick);
    connect(ResetProgramu, &QPushButton::clicked, this, &TMainForm::ResetProgramuClick);
    for (const auto& [name, w] : Service().CommandButtons())
        connect(w, &QPushButton::clicked, this, [this, name = name] {
            WindowLink link(*this);
            runcontrol::PressServiceButton(name, link);
        });

}

// --- start and point acceptance ---

void TMainForm::PunktyPozycjonowania1Click() {
    if (MeasurementRunning) {
        ShowMessage(Msg("stTrwaPomiar"));
        return;
    }
    if (MeasurementMode == kModePositioning) {
        EditPositioningTargetPoints();
    } else if (MeasurementMode == kModeAngular) {
        // The angular start point is kept like the others and shown in the display unit.
        double start = LengthUnit == 1 ? StartPointPK * 0.03937007874015748 : StartPointPK;
        if (!EditTargetPoints(*AngularTargetPoints, start, 0, LengthUnit, PositioningMethod, PointListDir, this))
            return;
        StartPointPK = LengthUnit == 1 ? start * 25.4 : start;
        if (TRealSpinEdit* edit = PunktStartowyPK) edit->SetValue(start);
        Angular().ShowAngularParameters();  // the status bar names the last target angle
    } else {
        return;
    }
    TypeCalls().RefreshParameterSummary();
}

void TMainForm::Danemaszyny1Click() {
    TMeasurementHeader& header = MeasurementHeader();
    if (!TFormDaneMaszyny::FillHeader(header, TemperatureUnit, PressureUnit, this)) return;
    // Operator, company and feed are remembered for the next runs.
    HeaderOperator = header.Operator;
    HeaderCompany = header.Company;
    HeaderFeed = header.Feed;
}

void TMainForm::ReczneZaliczeniePunktuClick() {
    if (MeasurementRunning) {
        ShowMessage(Msg("stTrwaPomiar"));
        return;
    }
    QAction* a = MenuCommand(QStringLiteral("ReczneZaliczeniePunktu"));
    if (!a) return;
    a->setChecked(!a->isChecked());
    HandControl = a->isChecked();
    showIf(Positioning().AcceptPointButton(), a->isChecked());
    TypeCalls().RefreshParameterSummary();
}

void TMainForm::Automatyczny1Click() {
    if (MeasurementRunning) return;
    QAction* a = MenuCommand(QStringLiteral("Automatyczny1"));
    if (!a) return;
    a->setChecked(!a->isChecked());
    Automatic = a->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Positioning().WaitProgress(), Positioning().WaitTimeBar(), Positioning().WaitTimeLabel()}) showIf(w, Automatic);
    showIf(Positioning().AcceptPointButton(), !Automatic);
}

// --- the straightness page and the flatness lines ---

void TMainForm::BitBtnProstolinowoscClick() {
    MeasurementMode = kModeStraightness;
    TypeCalls().HidePositioningPanels();
    showIf(Positioning().ResultsPanel(), false);
    TypeCalls().RefreshParameterSummary();
    Positioning().StartButton()->setText(QStringLiteral("&Start"));

    // Emptied first: emptying takes the titles too.
    Points().ResetChartAndGrid(Points().Plots().wykres);
    if (auto* second = qobject_cast<platform::TChart*>(Positioning().YChart())) {
        second->ClearAllSeries();
        second->SetTitleText(QString());
    }
    const QString deviation = Msg("stBladProsto") + QStringLiteral(" [ µm ]");
    const QString distance =
        Msg("stOdleglosc") + (LengthUnit == 1 ? QStringLiteral(" [ in ]") : QStringLiteral(" [ cm ]"));
    for (QWidget* chart : {static_cast<QWidget*>(Positioning().Chart()), static_cast<QWidget*>(Positioning().YChart())}) {
        SetChartAxisTitle(chart, ChartAxis::Left, deviation);
        SetChartAxisTitle(chart, ChartAxis::Bottom, distance);
    }
    SetChartLegendVisible(Positioning().Chart(), false);
    Positioning().ButtonPages()->setCurrentIndex(0);
    if (QAction* a = MenuCommand(QStringLiteral("TabelaPomiarow"))) a->setEnabled(false);
    showIf(Positioning().BacklashLabel(), false);
    showIf(Positioning().StraightnessYErrorLabel(), false);
    Positioning().StraightnessUnitLabel()->setText(StraightnessMethod == 0 ? QStringLiteral("sek") : QStringLiteral("µm"));
    // With the two-axis detector the reading is the position along the axis, in mm.
    Positioning().StraightnessUnitLabel()->setVisible(StraightnessMethod != 2);
    Positioning().ScrollBar16Change();

    SetChartTitle(Positioning().YChart(), Msg("stPomiarProsto") + QStringLiteral(" - ") + Msg("stOsPionowa") + QStringLiteral(" |"));
    SetChartTitle(Positioning().Chart(), StraightnessMethod == 2
                              ? Msg("stPomiarProsto") + QStringLiteral(" - ") + Msg("stOsPozioma") + QStringLiteral(" <-->")
                              : Msg("stPomiarProsto") + QStringLiteral(" - ") +
                                    QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    SetChartBackground(Positioning().Chart(), QString());

    setWindowTitle(ModeCaptions[kModeStraightness]);
    ShowMenuItemsByTag(TagSet({13, 15, 21, 23, 26, 37, 44}), true);
    ShowMenuItemsByTag(TagSet({9, 10, 27, 28, 32, 38, 41}), false);
    TypeCalls().ShowRecentFiles(kModeStraightness);

    if (InterfaceError) {
        for (QWidget* w : std::initializer_list<QWidget*>{Positioning().StraightnessGauge(), Positioning().StraightnessPanel(), Positioning().StraightnessYPanel(), Positioning().PositionPanel()})
            showIf(w, false);
        DisableLinearStart();
    } else {
        StartPageReading(false);
    }

    NotebookMainForm->setCurrentIndex(kPageStraightness);
    // The two charts share PanelWykresyProsto equally: shown, the vertical plane takes half.
    Positioning().YChart()->setVisible(StraightnessMethod == 2);
}

// --- scroll bars and the chart's x axis ---

void TMainForm::ScrollBar13Change() {
    PsLabel02->setText(runcontrol::MoveDetectCaption(ScrollBar13->value()));
    // A run under way takes the new threshold at once (the run parts exist only once a run
    // or its page has been prepared).
    if (RunPartsHolder) Acceptance().settings.moveThreshold = ScrollBar13->value();
}

void TMainForm::ScrollBar12Change() {
    Label133->setText(runcontrol::AveragingCaption(ScrollBar12->value()));
    ApplyMeteoChoices();  // the environment thread reads the threshold every round
}

void TMainForm::ScrollBar10Change() {
    SignalGaugeMax = uint8_t(ScrollBar10->value());
    Label131->setText(QString::number(ScrollBar10->value()));
    SetGaugeLimits();
}

void TMainForm::ScrollBar11Change() {
    SignalGaugeMin = uint8_t(ScrollBar11->value());
    Label132->setText(QString::number(ScrollBar11->value()));
    SetGaugeLimits();
}

// --- service panel ---

void TMainForm::Button18Click() {
    if (const QString e = SaveStoredSettings(); !e.isEmpty())
        MessageDlg(SettingsNotSavedMessage(platform::appRegistry().filePath(), e), TMsgDlgType::mtError, mbOK);
}
void TMainForm::Button19Click() { LoadStoredSettings(); }

void TMainForm::Button22Click() {
    NotebookUstawienia->setCurrentIndex((NotebookUstawienia->currentIndex() + 1) % 3);
}

void TMainForm::PSButton39Click() { MeteoStopped = true; }

void TMainForm::ResetSprzetowyClick() {
    runcontrol::HardwareReset({
        [this](bool on) { CommPortDriver1->ToggleDTR(on); },
        [this] { PSListBox2->clear(); },
        [](int ms) { QThread::msleep(ulong(ms)); },
    });
}

void TMainForm::ResetProgramuClick() {
    PSListBox2->clear();
    PSListBox2->addItem(QStringLiteral("Reset"));
    SendHeadCommand(HeadCommand::ProgramReset);
}

// --- the measurement header ---

void TMainForm::FillHeaderEnvironment() {
    evaluation::EnvironmentEntry e = evaluation::EnvironmentFromGlobals();
    Environment().TakeHeaderEntries(e);
    evaluation::FillHeaderEnvironment(MeasurementHeader(), e, QDate::currentDate());
}
