// Building the pages of the main window's notebook and the controls on them.
#include <QTimer>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AlignmentPage.h"
#include "app/AngularPage.h"
#include "app/EnvironmentPanel.h"
#include "app/FlatnessPage.h"
#include "app/LiveReadoutPage.h"
#include "app/MainMenuPage.h"
#include "app/PositioningPage.h"
#include "app/PositioningRun.h"
#include "app/StraightnessRun.h"
#include "evaluation/PointStore.h"
#include "instrument/PointAcceptance.h"
#include "app/StartPage.h"
#include "app/VelocityPage.h"
#include "app/VibrationPage.h"
#include "app/PageControls.h"
#include "app/RunCommands.h"
#include "app/Unit_glowny.h"
#include "foundations/Display.h"
#include "platform/Chart.h"
#include "foundations/HeadList.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/MeasurementModes.h"

using namespace pagecontrols;

std::array<QProgressBar*, 7> TMainForm::SignalGauges() const {
    return {ReadoutPage->ReadoutGauge(), PositioningView->PositioningGauge(), PositioningView->StraightnessGauge(), ReadoutPage->MonitorGauge(), VelocityView->SignalGauge(), AngularView->SignalGauge(), VibrationView->SignalGauge()};
}

void TMainForm::SetChartTitle(QWidget* w, const QString& title) {
    if (auto* chart = qobject_cast<platform::TChart*>(w)) chart->SetTitleText(title);
}

void TMainForm::SetChartAxisTitle(QWidget* w, ChartAxis axis, const QString& title) {
    auto* chart = qobject_cast<platform::TChart*>(w);
    if (!chart) return;
    (axis == ChartAxis::Left ? chart->LeftAxis() : chart->BottomAxis()).SetTitle(title);
}

void TMainForm::SetPointNumberAxis(QWidget* w, bool byNumber) {
    if (auto* chart = qobject_cast<platform::TChart*>(w)) chart->BottomAxis().SetWholeNumberTicks(byNumber);
}

QString TMainForm::ChartTitle(const QWidget* w) {
    const auto* chart = qobject_cast<const platform::TChart*>(w);
    return chart ? chart->Title().text.join(u'\n') : QString();
}

QString TMainForm::ChartAxisTitle(const QWidget* w, ChartAxis axis) {
    const auto* chart = qobject_cast<const platform::TChart*>(w);
    if (!chart) return QString();
    return (axis == ChartAxis::Left ? chart->LeftAxis() : chart->BottomAxis()).Title();
}

// The main menu page's buttons go to the entries of the pages and to the window's commands.
class TMainForm::MenuPageCalls final : public MainMenuCalls {
public:
    explicit MenuPageCalls(TMainForm& w) : w_(w) {}
    // Each entry first opens a serial port whose line hung up; the page opens either way (a
    // file can be looked at without the head), and a port that stays shut has said so.
    void EnterReadout() override { w_.ReopenFailedLink(); w_.Readout().BitBtnWyswietlaczClick(); }
    void EnterPositioning() override { w_.ReopenFailedLink(); w_.BitBtnpozycjonowanieClick(); }
    void EnterVelocity() override { w_.ReopenFailedLink(); w_.Velocity().BitBtnpredkoscClick(); }
    void EnterAngular() override { w_.ReopenFailedLink(); w_.Angular().BitBtnPodzKatoweClick(); }
    void EnterStraightness() override { w_.ReopenFailedLink(); w_.BitBtnProstolinowoscClick(); }
    void EnterFlatness() override { w_.ReopenFailedLink(); w_.Flatness().BitBtnMapaPlaskosciClick(); }
    void EnterVibration() override { w_.ReopenFailedLink(); w_.FftAnalysis().BitBtnFFTClick(); }
    void OpenConfiguration() override { w_.BitBtnKonfiguracjaClick(true); }
    void DisconnectAndClose() override { w_.DisconnectAndClose(); }
    app::LinkStateInput LinkState() override { return w_.CurrentLinkState(); }

private:
    TMainForm& w_;
};

// The environment panel's hand entries are shown in the window's units.
class TMainForm::EnvironmentCalls final : public EnvironmentPanelCalls {
public:
    explicit EnvironmentCalls(const TMainForm& w) : w_(w) {}
    uint8_t EntryTemperatureUnit() const override { return w_.TemperatureUnit; }
    uint8_t EntryPressureUnit() const override { return w_.PressureUnit; }

private:
    const TMainForm& w_;
};

// What the positioning page asks of the window.
class TMainForm::PositioningCalls final : public PositioningPageCalls {
public:
    explicit PositioningCalls(TMainForm& w) : w_(w) {}
    void ChartMenuRequested(const QPoint& globalPos) override {
        // Its commands switch the positioning x axis: a straightness line does not offer them.
        if (w_.MeasurementMode == kModeStraightness || w_.MeasurementMode == kModeFlatness) return;
        w_.PopupMenuWykres->popup(globalPos);
    }
    PositioningRun& Run() override { return w_.PositioningControl(); }
    void StartOrStop() override { w_.Start1Click(); }
    void LeaveMeasurementPage() override { w_.StraightnessControl().LeaveMeasurementPage(); }
    void AcceptPoint() override { w_.Acceptance().state.manualAcceptRequest = true; }
    void ShowResults() override { w_.ShowPositioningResults(); }
    void ChooseCharacteristics() override { w_.Parametry1Click(); }
    void ToggleResolution() override { w_.BRozdzielClick(); }
    void FillResults() override { w_.FillPositioningResults(); }
    void TickXAxisChoice(bool byDistance) override {
        w_.Numerpunktu1->setChecked(!byDistance);
        w_.Dystans1->setChecked(byDistance);
    }
    void RedrawResults() override { w_.TypeCalls().RedrawPositioningResults(); }
    void RedrawCurrentCycle() override { w_.Points().ShowPositioningCycle(w_.Acceptance().state.currentCycle); }
    int CycleCount() override { return w_.PositioningCycles->Count(); }
    bool AutomaticAccept() override {
        const QAction* a = w_.MenuCommand(QStringLiteral("Automatyczny1"));
        return a && a->isChecked();
    }
    int AcceptedPointCount() override { return w_.Acceptance().state.acceptedPointCount; }

private:
    TMainForm& w_;
};

void TMainForm::BuildPages() {
    MenuCallsHolder = std::make_shared<MenuPageCalls>(*this);
    MenuView = new MainMenuPage(this, *MenuCallsHolder);
    PositioningCallsHolder = std::make_shared<PositioningCalls>(*this);
    PositioningView = new PositioningPage(this, *PositioningCallsHolder);
    auto* central = new QWidget(this);
    central->setObjectName("CentralPanel");
    auto* lay = new QHBoxLayout(central);
    lay->setContentsMargins(6, 6, 6, 6);
    NotebookMainForm = named(new QStackedWidget(central), "NotebookMainForm");
    lay->addWidget(NotebookMainForm, 1);
    EnvironmentCallsHolder = std::make_shared<EnvironmentCalls>(*this);
    EnvironmentView = new EnvironmentPanel(this, *EnvironmentCallsHolder);
    QFrame* meteo = EnvironmentView->Build();
    meteo->setParent(central);
    lay->addWidget(meteo);
    setCentralWidget(central);

    NotebookMainForm->addWidget(StartView->Build());      // 0
    NotebookMainForm->addWidget(MenuView->Build());       // 1
    NotebookMainForm->addWidget(ReadoutPage->Build());    // 2
    NotebookMainForm->addWidget(PositioningView->Build());  // 3
    NotebookMainForm->addWidget(VelocityView->Build());    // 4
    NotebookMainForm->addWidget(AngularView->Build());    // 5
    NotebookMainForm->addWidget(BuildServicePage());      // 6
    NotebookMainForm->addWidget(TableView->Build());      // 7
    NotebookMainForm->addWidget(FlatnessView->Build());   // 8
    NotebookMainForm->addWidget(VibrationView->Build());  // 9
    NotebookMainForm->addWidget(AlignmentView->Build());  // 10

    // The environment panel belongs to the measurement pages, not to the start and menu pages.
    connect(NotebookMainForm, &QStackedWidget::currentChanged, EnvironmentView, &EnvironmentPanel::FollowPage);
    EnvironmentView->FollowPage(NotebookMainForm->currentIndex());
}

