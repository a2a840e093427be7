// Angular division runs of the main window: the rotary table measured point by point. The
// acceptance engine decides the points and drives the reflector; this file enters the page,
// starts, stops and ends a run and binds the page's commands.
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>

#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PointStoreWidgets.h"
#include "app/Unit_glowny.h"
#include "foundations/LocaleTable.h"
#include "evaluation/PointStore.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/MotorDrive.h"
#include "instrument/PointAcceptance.h"
#include "instrument/UUstawSilnik.h"
#include "platform/Chart.h"

namespace {

constexpr int kPageAngular = 5;

template <class T = QWidget>
T* named(const QObject* root, const char* name) {
    return root->findChild<T*>(QString::fromLatin1(name));
}

void showIf(QWidget* w, bool on) {
    if (w) w->setVisible(on);
}
void enableIf(QAction* a, bool on) {
    if (a) a->setEnabled(on);
}
bool isChecked(QAction* a) { return a && a->isChecked(); }

// Calls back when the watched chart changes its size.
class ResizeWatcher : public QObject {
public:
    ResizeWatcher(QObject* parent, std::function<void()> onResize) : QObject(parent), onResize_(std::move(onResize)) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize) onResize_();
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> onResize_;
};

// The angle the bottom axis shows, by the pop-up menu's choice.
QString BottomAxisTitle(const TMainForm& f) {
    return isChecked(f.Numerpunktu2) ? Msg("stNrPunktu") : Msg("stKat") + QStringLiteral(" [deg]");
}

// Half the first step in arc seconds: the reflector's set-up turn before the first point.
double AngularRotationStartValue(const TPunkt& targets) {
    if (targets.Count() < 2) return 0.0;
    return (targets[1].Dystans - targets[0].Dystans) * 3600 * 0.5;
}

}  // namespace

void TMainForm::ConnectAngularRuns() {
    TypeSeams.BStartPKClick = [this] { BStartPKClick(); };

    if (BitBtnPodzKatowe)
        connect(BitBtnPodzKatowe, &QPushButton::clicked, this, &TMainForm::BitBtnPodzKatoweClick);
    if (BStartPK) connect(BStartPK, &QPushButton::clicked, this, &TMainForm::BStartPKClick);
    if (auto* b = named<QPushButton>(this, "ButtonZaliczeniePK"))
        connect(b, &QPushButton::clicked, this, &TMainForm::ButtonZaliczeniePKClick);
    auto onTrigger = [this](const char* name, void (TMainForm::*handler)()) {
        if (QAction* a = MenuCommand(QString::fromLatin1(name))) connect(a, &QAction::triggered, this, handler);
    };
    onTrigger("ReczneZaliczeniePunktuPK", &TMainForm::ReczneZaliczeniePunktuPKClick);
    onTrigger("UstawSilnik1", &TMainForm::UstawSilnik1Click);
    onTrigger("MenuItemKatCalkowity", &TMainForm::MenuItemKatCalkowityClick);
    onTrigger("MenuItemTabelkaOdchylekPK", &TMainForm::MenuItemTabelkaOdchylekPKClick);
    if (Numerpunktu2) connect(Numerpunktu2, &QAction::triggered, this, &TMainForm::Numerpunktu2Click);
    if (Kat1) connect(Kat1, &QAction::triggered, this, &TMainForm::Kat1Click);
    if (WykresPK) WykresPK->installEventFilter(new ResizeWatcher(WykresPK, [this] { WykresPKResize(); }));
}

void TMainForm::BitBtnPodzKatoweClick() {
    MeasurementMode = 4;
    modes::HideAngularPanels(ModeHost());
    if (BStartPK) BStartPK->setText(QStringLiteral("&Start"));
    setWindowTitle(ModeCaptions[4]);
    showIf(named(this, "ButtonZaliczeniePK"), isChecked(MenuCommand(QStringLiteral("ReczneZaliczeniePunktuPK"))));

    SetChartAxisTitle(WykresPK, ChartAxis::Left, Msg("stBlad") + QStringLiteral(" [ sec ]"));
    SetChartAxisTitle(WykresPK, ChartAxis::Bottom, BottomAxisTitle(*this));
    SetPointNumberAxis(WykresPK, isChecked(Numerpunktu2));

    ShowMenuItemsByTag(TagSet({10, 11, 15, 23, 26, 27, 38, 39, 40, 41}), true);
    ShowMenuItemsByTag(TagSet({6, 9, 13, 17, 18, 19, 20, 21, 28, 29, 30, 31, 37, 43, 44}), false);
    enableIf(MenuCommand(QStringLiteral("PunktyPozycjonowania1")), true);
    // Emptied first: the reset clears the title too.
    Points().ResetChartAndGrid(Points().Plots().WykresPK);
    SetChartTitle(WykresPK, Msg("stWykresPozPK"));
    ShowAngularParameters();
    if (TypeSeams.ShowRecentFiles) TypeSeams.ShowRecentFiles(4);
    DeviationGridWidth = 0;

    if (InterfaceError) {
        if (BStartPK) BStartPK->setEnabled(false);
        enableIf(MenuCommand(QStringLiteral("Start1")), false);
    } else {
        SendHeadCommand('s');  // motor power on
        if (TypeSeams.HeadReady && TypeSeams.HeadReady()) {
            modes::StartAngularReading(ModeHost());
        } else {
            // The signal monitor starts the page's reading once the head is ready.
            if (BStartPK) BStartPK->setEnabled(false);
            enableIf(MenuCommand(QStringLiteral("Start1")), false);
            if (TypeSeams.StartSignalMonitor) TypeSeams.StartSignalMonitor();
        }
        if (TypeSeams.RestartMeteoReading) TypeSeams.RestartMeteoReading();
    }
    NotebookMainForm->setCurrentIndex(kPageAngular);
}

void TMainForm::BStartPKClick() {
    if (!BStartPK) return;
    instrument::AcceptanceState& st = Acceptance().state;
    auto* accept = named<QPushButton>(this, "ButtonZaliczeniePK");
    auto* info = named<QLabel>(this, "LabelInfoPK");

    if (BStartPK->property("Tag").toInt() == 1) {
        // A new run after a finished one: the finished one is saved or given up first.
        if (!SaveOrDiscardChanges(MeasurementMode)) return;
        BStartPK->setText(QStringLiteral("&Start"));
        BStartPK->setProperty("Tag", 0);
        AngularPoints->Clear();
        st.angleBase = 0.0;
        modes::RestartCounting(ModeHost());
        Points().ResetChartAndGrid(Points().Plots().WykresPK);
        modes::ShowAngularPanels(ModeHost());
        return;
    }

    if (MeasurementRunning) {
        if (MessageDlg(Msg("stKoniecPomiaru"), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes) return;
        enableIf(MenuCommand(QStringLiteral("Start1")), true);
        enableIf(MenuCommand(QStringLiteral("Stop1")), false);
        if (accept) accept->setEnabled(false);
        BStartPK->setText(QStringLiteral("&Start"));
        MeasurementRunning = false;
        showIf(info, false);
        // A reflector still turning is stopped with the run.
        if (MotorRunning) {
            SendHeadCommand('x');
            MotorRunning = false;
        }
        return;
    }

    // The set-up turns by half the first step: without two targets there is no step.
    if (AngularTargetPoints->Count() < 2) {
        MessageDlg(Msg("stZaMaloPunktow"), TMsgDlgType::mtError, mbOK);
        return;
    }
    ApplyAcceptanceSettings();
    ShowAngularParameters();
    enableIf(MenuCommand(QStringLiteral("Start1")), false);
    enableIf(MenuCommand(QStringLiteral("Stop1")), true);
    if (accept) accept->setEnabled(true);
    modes::ResetHeadFlags(ModeHost());

    AngularPoints->Clear();
    Points().ResetChartAndGrid(Points().Plots().WykresPK);
    SetChartTitle(WykresPK, Msg("stWykresPozPK"));
    BStartPK->setText(QStringLiteral("&Stop"));
    st.angleBase = 0.0;
    st.pointIndex = 0;
    st.stableCount = 0;
    st.lastValue = 0.0;
    st.manualAcceptRequest = false;
    if (TypeSeams.FillHeaderEnvironment) TypeSeams.FillHeaderEnvironment();

    ShowAngularInfo(Msg("stWUstawSilnik"));

    st.rotationStartValue = AngularRotationStartValue(*AngularTargetPoints);
    st.awaitingRotation = true;

    modes::RestartCounting(ModeHost());
    MeasurementRunning = true;
}

void TMainForm::ButtonZaliczeniePKClick() { Acceptance().state.manualAcceptRequest = true; }

void TMainForm::ReczneZaliczeniePunktuPKClick() {
    QAction* a = MenuCommand(QStringLiteral("ReczneZaliczeniePunktuPK"));
    if (!a) return;
    if (MeasurementRunning) {
        a->setChecked(!a->isChecked());  // undo the menu's own toggle
        ShowMessage(Msg("stTrwaPomiar"));
        return;
    }
    showIf(named(this, "ButtonZaliczeniePK"), a->isChecked());
    Acceptance().settings.manualAcceptPK = a->isChecked();
    ShowAngularParameters();
}

void TMainForm::UstawSilnik1Click() {
    TFUstawSilnik dialog(nullptr, this);
    dialog.exec();
}

void TMainForm::MenuItemKatCalkowityClick() {
    showIf(named(this, "PanelWZadanaPK"), isChecked(MenuCommand(QStringLiteral("MenuItemKatCalkowity"))));
}

void TMainForm::MenuItemTabelkaOdchylekPKClick() {
    showIf(GridOdchylkaPK, isChecked(MenuCommand(QStringLiteral("MenuItemTabelkaOdchylekPK"))));
}

void TMainForm::Numerpunktu2Click() {
    Numerpunktu2->setChecked(true);
    if (Kat1) Kat1->setChecked(false);
    RedrawAngularChart();
}

void TMainForm::Kat1Click() {
    Kat1->setChecked(true);
    if (Numerpunktu2) Numerpunktu2->setChecked(false);
    RedrawAngularChart();
}

void TMainForm::RedrawAngularChart() {
    if (MeasurementRunning) return;
    SetChartAxisTitle(WykresPK, ChartAxis::Bottom, BottomAxisTitle(*this));
    SetPointNumberAxis(WykresPK, isChecked(Numerpunktu2));
    Points().PlotPositionPK();
}

void TMainForm::WykresPKResize() {
    auto* info = named<QLabel>(this, "LabelInfoPK");
    if (!info || !WykresPK) return;
    info->setGeometry(0, WykresPK->height() / 2 - info->height(), WykresPK->width(), info->sizeHint().height());
}

void TMainForm::ShowAngularInfo(const QString& text) {
    auto* info = named<QLabel>(this, "LabelInfoPK");
    if (!info) return;
    info->setText(text);
    info->adjustSize();
    WykresPKResize();
    info->setVisible(!text.isEmpty());
    info->raise();
}

void TMainForm::ShowAngularParameters() {
    if (!StatusBar2) return;
    auto panelText = [this](int i, const QString& text) {
        if (auto* l = StatusBar2->findChild<QLabel*>(QStringLiteral("StatusBar2Panel") + QString::number(i)))
            l->setText(text);
    };
    const QString direction =
        RotationDirection < RotationDirectionNames.size() ? RotationDirectionNames[RotationDirection] : QString();
    panelText(0, Msg("stKierunekObrotu") + QStringLiteral(" - ") + direction);
    const double last = AngularTargetPoints->Count() > 0
                            ? (*AngularTargetPoints)[AngularTargetPoints->Count() - 1].Dystans
                            : 0.0;
    panelText(1, Msg("stKat") + QStringLiteral(" - ") + foundations::systemLocale().toString(last, 'f', 1) + QStringLiteral(" °"));
    QAction* manual = MenuCommand(QStringLiteral("ReczneZaliczeniePunktuPK"));
    panelText(2, isChecked(manual) ? manual->text().remove(u'&') : Msg("stZalAuto"));
    // The parameter summary of the page adds its own panels.
    if (AngularSummarySeam) AngularSummarySeam();
}

void TMainForm::FinishAngularMeasurement() {
    DataSaved = false;
    if (BStartPK) {
        BStartPK->setText(QStringLiteral("&Pomiar"));
        BStartPK->setProperty("Tag", 1);
    }
    enableIf(MenuCommand(QStringLiteral("Start1")), true);
    enableIf(MenuCommand(QStringLiteral("Stop1")), false);
    MeasurementRunning = false;
    showIf(named(this, "LabelInfoPK"), false);
    modes::HideAngularPanels(ModeHost());
    EnableMenuItemsByTag(TagSet({2, 3, 4, 5, 28, 42}), true);
}
