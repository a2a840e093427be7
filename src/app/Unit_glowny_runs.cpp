// The runs of the positioning page (positioning, straightness and flatness lines): the shared
// start button, the end-of-run and review pages, the acceptance engine's run hooks, and the ways
// back from the measuring pages. The logic is PositioningRun and StraightnessRun; this file
// binds their views to the window's controls.
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>

#include "app/LinearyzujWykres.h"
#include "app/PositioningPage.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PointStoreSink.h"
#include "app/PointStoreWidgets.h"
#include "app/PositioningRun.h"
#include "app/StraightnessRun.h"
#include "app/LiveReadoutPage.h"
#include "app/AngularPage.h"
#include "app/FlatnessPage.h"
#include "app/Unit_glowny.h"
#include "app/VelocityPage.h"
#include "app/ZrWsDlg.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/PointStore.h"
#include "evaluation/PositioningStats.h"
#include "foundations/Display.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/FR_Utils.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/MotorDrive.h"
#include "instrument/PointAcceptance.h"
#include "platform/Chart.h"
#include "foundations/MeasurementModes.h"

namespace {

constexpr double kMmToInch = 0.03937007874015748;

TTagSet TagsOf(const std::vector<int>& tags) {
    TTagSet s;
    for (int t : tags)
        if (t >= 0 && t < 256) s.set(static_cast<size_t>(t));
    return s;
}

void showIf(QWidget* w, bool on) {
    if (w) w->setVisible(on);
}
void enableIf(QWidget* w, bool on) {
    if (w) w->setEnabled(on);
}
void enableIf(QAction* a, bool on) {
    if (a) a->setEnabled(on);
}

// A menu command by its name.
void enableCommand(TMainForm& f, const char* name, bool on) {
    if (QAction* a = f.MenuCommand(QString::fromLatin1(name))) a->setEnabled(on);
}

bool commandChecked(TMainForm& f, const char* name) {
    if (QAction* a = f.MenuCommand(QString::fromLatin1(name))) return a->isChecked();
    return false;
}

void showPrompt(QLabel* l, const QString& text) {
    if (!l) return;
    l->setText(text);
    l->show();
}

// The open dialog's filter from a "description|pattern|..." list with the extension filled in.
QString DialogFilter(QString filter, const QString& extension) {
    filter.replace(QStringLiteral("%s"), extension);
    const QStringList parts = filter.split(u'|', Qt::SkipEmptyParts);
    QStringList descriptions;
    for (int i = 0; i < parts.size(); i += 2) descriptions << parts[i];
    return descriptions.join(QStringLiteral(";;"));
}

}  // namespace

struct TMainForm::RunParts {
    // The acceptance engine's calls into the window.
    class Sink : public PointStoreAcceptanceSink {
    public:
        Sink(TMainForm& f, evaluation::PointStore& store) : PointStoreAcceptanceSink(store), f_(f) {}
        void MessageBeep() override { QApplication::beep(); }
        void ShowInWindow(bool on) override { showIf(f_.Positioning().InWindowLabel(), on); }
        void ShowAccepted(bool on) override { showIf(f_.Positioning().AcceptedLabel(), on); }
        void ShowTarget(double mm) override {
            if (f_.Positioning().TargetDisplay()) f_.Positioning().TargetDisplay()->SetValue(LengthUnit == 1 ? mm * kMmToInch : mm);
        }
        void SpeedButtonZnakClick() override { f_.Readout().SpeedButtonZnakClick(); }
        void TurnBack(int cyclePointIndex, int gridRows) override {
            store_.TurnBack(cyclePointIndex, f_.Acceptance().state.currentCycle, gridRows);
            if (f_.LiniaZera && f_.LiniaZera->Count() > 0) f_.LiniaZera->Delete(f_.LiniaZera->Count() - 1);
        }
        int PositioningCycleCount() override { return f_.PositioningCycles->Count(); }
        void SaveBackupCopy() override { f_.SaveBackupCopy(); }
        void ShowReturnToStart(double startMm) override {
            f_.Positioning().ShowUpperPrompt(ReturnToStartPrompt(startMm, LengthUnit));
        }
        void HideReturnToStart() override { showIf(f_.Positioning().UpperPrompt(), false); }
        void StartPositioningCycle() override { f_.StartPositioningCycle(); }
        void FinishPositioningMeasurement() override { f_.FinishPositioningMeasurement(); }
        void EndMeasurementRun() override { f_.EndMeasurementRun(); }
        void RestartCounting() override { modes::RestartCounting(f_.Runs().host); }
        bool MotorToTarget(int direction, double target, double v) override {
            return instrument::MotorToTarget(uint8_t(direction), target, v);
        }
        void ShowAngularInfo(const QString& text) override { f_.Angular().ShowAngularInfo(text); }
        void FinishAngularMeasurement() override { f_.Angular().FinishAngularMeasurement(); }
        void ShowStraightnessInfo(const QString& text) override {
            showPrompt(f_.Positioning().UpperPrompt(), text);
            showIf(f_.Positioning().LowerPrompt(), false);
        }
        // A point was accepted: whatever accepted it, the wait for the next point starts only
        // when the prompt to move on has been shown, so a running wait is ended here.
        void StartStraightnessTimer() override { f_.Positioning().StartMoveHint(); }

    private:
        TMainForm& f_;
    };

    class PositioningViewImpl : public PositioningRunView {
    public:
        explicit PositioningViewImpl(TMainForm& f) : f_(f) {}
        void ResetChartAndGrid() override { f_.Points().ResetChartAndGrid(f_.Points().Plots().wykres); }
        void SetChartTitle(const QString& t) override { f_.SetChartTitle(f_.Positioning().Chart(), t); }
        void PlotPositioningCycles() override { f_.Points().PlotPositioningCycles(); }
        void ShowPositioningCycle(int n) override { f_.Points().ShowPositioningCycle(n); }
        void ClearChartBackground() override { SetChartBackground(f_.Positioning().Chart(), QString()); }
        void PrepareNewRunChart() override {
            f_.SetChartTitle(f_.Positioning().Chart(), Msg("stWykresPoz") + QStringLiteral(" - ") +
                                            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
            f_.ShowPositioningBackground();
        }
        void HideBacklash() override {
            showIf(f_.Positioning().BacklashLabel(), false);
            // The second axis's straightness figure of a two-axis review belongs to that review.
            showIf(f_.Positioning().StraightnessYErrorLabel(), false);
        }
        void ShowBacklash() override {
            if (!f_.Positioning().BacklashLabel()) return;
            const auto caption = evaluation::BacklashCaption(*f_.PositioningCycles,
                                                             f_.Acceptance().state.currentCycle);
            if (caption && f_.ShowBacklash) {
                f_.Positioning().BacklashLabel()->setText(*caption);
                f_.Positioning().BacklashLabel()->show();
            } else {
                f_.Positioning().BacklashLabel()->hide();
            }
        }
        void RestartCounting() override {
            modes::RestartCounting(f_.Runs().host);
            RawCount = 0;
        }
        void ResetHeadFlags() override { modes::ResetHeadFlags(f_.Runs().host); }
        void SetSetupControlsEnabled(bool on) override {
            enableIf(f_.MenuOsX, on);
            enableIf(f_.PunktStartowy, on);
        }
        void ShowButtonPage(int p) override {
            if (f_.Positioning().ButtonPages()) f_.Positioning().ButtonPages()->setCurrentIndex(p);
        }
        void SetTableEnabled(bool on) override { enableCommand(f_, "TabelaPomiarow", on); }
        void EnableMenuItemsByTag(const std::vector<int>& tags, bool on) override {
            f_.EnableMenuItemsByTag(TagsOf(tags), on);
        }
        void SetStopEnabled(bool on) override { enableCommand(f_, "Stop1", on); }
        void SetStart1Enabled(bool on) override { enableCommand(f_, "Start1", on); }
        void SetAcceptButtonEnabled(bool on) override { enableIf(f_.Positioning().AcceptPointButton(), on); }
        void HideAcceptLabels() override {
            showIf(f_.Positioning().AcceptedLabel(), false);
            showIf(f_.Positioning().InWindowLabel(), false);
            // A stop while the run waited for the axis at the start ends that wait too.
            showIf(f_.Positioning().UpperPrompt(), false);
        }
        void SetStartCaption(const QString& c) override {
            if (f_.Positioning().StartButton()) f_.Positioning().StartButton()->setText(c);
        }
        bool StartButtonEnabled() override { return f_.Positioning().StartButton() && f_.Positioning().StartButton()->isEnabled(); }
        void ShowPositioningPanels() override {
            f_.TypeCalls().ShowPositioningPanels();
        }
        void HidePositioningPanels() override {
            f_.TypeCalls().HidePositioningPanels();
        }
        void ShowPositioningOnEnd() override {
            f_.ShowPositioningOnEnd();
            if (f_.MeasurementMode < f_.ModeCaptions.size())
                f_.setWindowTitle(f_.ModeCaptions[f_.MeasurementMode]);
        }
        void ShowResults() override { f_.ShowPositioningResults(); }
        void ReturnToReviewControls() override {
            enableCommand(f_, "Parametry1", false);
            SetChartLegendVisible(f_.Positioning().Chart(), false);
            showIf(f_.Positioning().BacklashLabel(), true);
            showIf(f_.Positioning().ResultsPanel(), false);
        }
        void ReportError(const QString& m) override { MessageDlg(m, TMsgDlgType::mtError, mbOK); }
        bool ConfirmDeleteCycle(int cycle) override {
            return MessageDlgCaption(Msg("stPotwierdz"),
                                     Msg("stUsunac") + QStringLiteral(" ") + QString::number(cycle) +
                                         QStringLiteral(" ?"),
                                     TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes;
        }
        int AskSaveChanges() override {
            return f_.TypeCalls().AskSaveChanges();
        }
        bool SaveWithDialog() override {
            return f_.TypeCalls().SaveMeasurement(f_.MeasurementMode);
        }
        int AskInsertSource() override {
            return f_.Runs().askInsertSource ? f_.Runs().askInsertSource() : TZrWsDlg::Execute(&f_);
        }
        void ShowLargeErrorAdvice() override { ShowLargeErrorWarning(&f_); }
        TMeasurementHeader MeasurementHeader() override { return f_.MeasurementHeader(); }
        QString ChooseInsertFile() override {
            if (f_.Runs().chooseInsertFile) return f_.Runs().chooseInsertFile();
            return QFileDialog::getOpenFileName(&f_, QString(), f_.PositioningDir,
                                                DialogFilter(f_.ModeFilters[kModePositioning], MeasurementFileExtension(kModePositioning)));
        }

    private:
        TMainForm& f_;
    };

    class StraightnessViewImpl : public StraightnessRunView {
    public:
        explicit StraightnessViewImpl(TMainForm& f) : f_(f) {}
        void SendCommandByte(uint8_t b) override { f_.SendHeadCommand(b); }
        void HideValueLabels() override {
            showIf(f_.Positioning().BacklashLabel(), false);
            showIf(f_.Positioning().StraightnessYErrorLabel(), false);
        }
        void ClearChartBackground() override { SetChartBackground(f_.Positioning().Chart(), QString()); }
        int AskSaveChanges() override {
            return f_.TypeCalls().AskSaveChanges();
        }
        bool SaveMeasurement() override {
            return f_.TypeCalls().SaveMeasurement(f_.MeasurementMode);
        }
        bool DataErrorActive() override { return ::DataErrorActive(); }
        void ResetCharts() override {
            f_.Points().ResetChartAndGrid(f_.Points().Plots().wykres);
            if (auto* second = qobject_cast<platform::TChart*>(f_.Positioning().YChart())) {
                second->ClearAllSeries();
                second->SetTitleText(QString());
            }
        }
        void FillHeaderEnvironment() override {
            f_.TypeCalls().FillHeaderEnvironment();
        }
        bool AutomaticAccept() override { return commandChecked(f_, "Automatyczny1"); }
        int WaitingTime() override { return f_.Positioning().WaitTimeBar() ? f_.Positioning().WaitTimeBar()->value() : 70; }
        void SetProgress(int lo, int hi, int pos) override {
            if (!f_.Positioning().WaitProgress()) return;
            f_.Positioning().WaitProgress()->setRange(lo, hi);
            f_.Positioning().WaitProgress()->setValue(pos);
        }
        void ShowAcceptButton() override { showIf(f_.Positioning().AcceptPointButton(), true); }
        void SetAcceptButtonEnabled(bool on) override { enableIf(f_.Positioning().AcceptPointButton(), on); }
        void ShowAcceptPrompt(const QString& text) override {
            showPrompt(f_.Positioning().UpperPrompt(), text);
        }
        void HidePrompts() override {
            showIf(f_.Positioning().UpperPrompt(), false);
            showIf(f_.Positioning().LowerPrompt(), false);
        }
        void SetChartTitles(const QStringList& lines, const QString& second) override {
            f_.SetChartTitle(f_.Positioning().Chart(), lines.join(u'\n'));
            f_.SetChartTitle(f_.Positioning().YChart(), second);
        }
        void RestartCounting() override {
            modes::RestartCounting(f_.Runs().host);
            RawCount = 0;
        }
        void SetMenuOsXEnabled(bool on) override { enableIf(f_.MenuOsX, on); }
        void SetStartPointEnabled(bool on) override { enableIf(f_.PunktStartowy, on); }
        void SetAcceptTimerEnabled(bool on) override { f_.Positioning().SetAcceptTimerEnabled(on); }
        void SetMoveTimerEnabled(bool on) override { f_.Positioning().SetMoveTimerEnabled(on); }
        void SetStart1Enabled(bool on) override { enableCommand(f_, "Start1", on); }
        void SetStop1Enabled(bool on) override { enableCommand(f_, "Stop1", on); }
        void SetBaseLengthEnabled(bool on) override { enableCommand(f_, "Dlugoscpodstawki", on); }
        void SetStartCaption(const QString& c) override {
            if (f_.Positioning().StartButton()) f_.Positioning().StartButton()->setText(c);
        }
        bool ConfirmEndRun() override {
            return MessageDlg(Msg("stKoniecPomiaru"), TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes;
        }
        void PlotStraightness() override { f_.PlotStraightnessPoints(); }
        TMeasurementHeader MeasurementHeader() override { return f_.MeasurementHeader(); }
        void BuildFlatnessMap() override { f_.Flatness().BuildFlatnessMap(); }
        void EnableNewMap() override { f_.Flatness().EnableNewMap(true); }
        void EnableMenuItemsByTag(const std::vector<int>& tags, bool on) override {
            f_.EnableMenuItemsByTag(TagsOf(tags), on);
        }
        void ShowMenuItemsByTag(const std::vector<int>& tags, bool on) override {
            f_.ShowMenuItemsByTag(TagsOf(tags), on);
        }
        void ReportError(const QString& m) override { MessageDlg(m, TMsgDlgType::mtError, mbOK); }
        void ShowMessage(const QString& m) override { ::ShowMessage(m); }
        void SetLinkWatchdogEnabled(bool on) override { f_.SetLinkWatchdogEnabled(on); }
        void StopReading() override { modes::StopReading(f_.Runs().host); }
        void ShowMainPage(int p) override {
            if (f_.NotebookMainForm) f_.NotebookMainForm->setCurrentIndex(p);
        }
        void UpdateCaption() override { modes::UpdateCaption(f_.Runs().host); }
        void ShowModeCaption() override {
            if (f_.MeasurementMode < f_.ModeCaptions.size())
                f_.setWindowTitle(f_.ModeCaptions[f_.MeasurementMode]);
        }
        void UpdateRecentFlatnessMenu() override {
            f_.TypeCalls().ShowRecentFiles(kModeFlatness);
        }
        void HideStraightnessMenuItem() override {
            if (QAction* a = f_.MenuCommand(QStringLiteral("PomiarProstoliniowosc"))) a->setVisible(false);
        }
        void SetBackButtonCaption(const QString& c) override {
            if (f_.Positioning().MainMenuButton()) f_.Positioning().MainMenuButton()->setText(c);
        }

    private:
        TMainForm& f_;
    };

    explicit RunParts(TMainForm& f)
        : host(f, f.ModeCalls()), sink(f, f.Points()),
          engine(sink, *f.TargetPoints, *f.AngularTargetPoints, *f.AngularPoints, HeadAcceptRequest),
          positioningView(f), straightnessView(f),
          positioning(*f.PositioningCycles, *f.CyclesY, *f.TargetPoints, engine, f, positioningView),
          straightness(positioning, *f.StraightnessPoints, *f.FlatnessLines, engine, f, f.MeasurementMode,
                       f.Points().StraightnessSampleCount, straightnessView) {}

    // Counting, reading stop and caption through the mode sequences.
    MainFormModeHost host;
    Sink sink;
    instrument::PointAcceptance engine;
    PositioningViewImpl positioningView;
    StraightnessViewImpl straightnessView;
    PositioningRun positioning;
    StraightnessRun straightness;
    // Test hooks in place of the insert question and the open dialog.
    std::function<int()> askInsertSource;
    std::function<QString()> chooseInsertFile;
};

TMainForm::RunParts& TMainForm::Runs() {
    if (!RunPartsHolder) RunPartsHolder = std::make_shared<RunParts>(*this);
    return *RunPartsHolder;
}

instrument::PointAcceptance& TMainForm::Acceptance() { return Runs().engine; }
MainFormModeHost& TMainForm::ModeHost() { return Runs().host; }
PositioningRun& TMainForm::PositioningControl() { return Runs().positioning; }
StraightnessRun& TMainForm::StraightnessControl() { return Runs().straightness; }

namespace {
// The end page's and review page's buttons follow the run's state.
void SyncRunButtons(TMainForm& f) {
    if (f.RunPartsHolder) f.Positioning().ShowRunButtons(f.PositioningControl());
}
}  // namespace

void TMainForm::ApplyAcceptanceSettings() {
    instrument::AcceptanceSettings& a = Acceptance().settings;
    a.errorWindow = ErrorWindow;
    a.vibration = Vibration;
    a.pointNumber = static_cast<uint32_t>(std::max<int32_t>(1, PointNumber));
    a.pointDistance = PointDistance;
    a.cycleCount = CycleCount;
    a.errorWindowPK = ErrorWindowPK;
    a.vibrationPK = VibrationPK;
    a.pointNumberPK = static_cast<uint32_t>(std::max<int32_t>(1, PointNumberPK));
    a.uniDirectional = UniDirectional;
    a.straightnessPointCount = StraightnessPointCount;
    a.pointsFromList = PointsFromList;
    a.manualAccept = commandChecked(*this, "ReczneZaliczeniePunktu");
    a.manualAcceptPK = commandChecked(*this, "ReczneZaliczeniePunktuPK");
    a.stopAfterEachCycle = commandChecked(*this, "StopPoKazdymCyklu1");
    a.autoEndLine = commandChecked(*this, "Automatyczny1");
    a.moveThreshold = ScrollBar13 ? ScrollBar13->value() : MoveDetectThreshold;
    a.rotationDirection = RotationDirection;
    a.startPoint = StartPoint;
}

void TMainForm::ConnectRunPages() {
    if (QAction* a = MenuCommand(QStringLiteral("Start1")))
        connect(a, &QAction::triggered, this, &TMainForm::Start1Click);
}

void TMainForm::Start1Click() {
    modes::ResetHeadFlags(Runs().host);
    if (MeasurementMode == kModeVelocity) {
        Velocity().ButtonStartVClick();
        return;
    }
    if (MeasurementMode == kModeAngular) {
        Angular().BStartPKClick();
        return;
    }
    if (!MeasurementRunning) ApplyAcceptanceSettings();
    StraightnessControl().StartStraightnessRun();
    SyncRunButtons(*this);
}

void TMainForm::RestartPositioningRun() {
    ApplyAcceptanceSettings();
    PositioningControl().RestartPositioningRun();
    SyncRunButtons(*this);
}

void TMainForm::StartPositioningCycle() {
    ApplyAcceptanceSettings();
    PositioningControl().StartPositioningCycle();
    SyncRunButtons(*this);
}

void TMainForm::SaveBackupCopy() {
    PositioningControl().SaveBackupCopy();
    SyncRunButtons(*this);
}

void TMainForm::FinishPositioningMeasurement() {
    PositioningControl().FinishPositioningMeasurement();
    SyncRunButtons(*this);
}

void TMainForm::EnableControlsAfterMeasurement() {
    PositioningControl().EnableControlsAfterMeasurement();
    SyncRunButtons(*this);
}

void TMainForm::EndMeasurementRun() {
    StraightnessControl().EndMeasurementRun();
    SyncRunButtons(*this);
}

void TMainForm::StoreFlatnessLine() { StraightnessControl().StoreFlatnessLine(); }

void TMainForm::SetChartAxesAutomatic() {
    if (auto* chart = qobject_cast<platform::TChart*>(Positioning().Chart())) {
        chart->LeftAxis().SetAutomatic(true);
        chart->BottomAxis().SetAutomatic(true);
    }
}
