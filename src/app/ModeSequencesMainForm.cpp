#include "app/ModeSequencesMainForm.h"
#include "app/PositioningPage.h"

#include "app/AngularPage.h"
#include "app/LiveReadoutPage.h"
#include "app/VelocityPage.h"
#include "app/VibrationPage.h"
#include "app/Unit_glowny.h"
#include "foundations/MessageDlg.h"
#include "foundations/SharedGlobals.h"
#include "instrument/MemoryFifo.h"
#include "instrument/RawConversion.h"
#include "foundations/MeasurementModes.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QColor>
#include <QPalette>
#include <QProgressBar>
#include <algorithm>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QScrollBar>
#include <QStackedWidget>

MainFormModeHost::MainFormModeHost(TMainForm& form, ModeHostCalls& calls) : f_(form), calls_(calls) {}

uint8_t& MainFormModeHost::MeasurementModeField() { return f_.MeasurementMode; }
modes::PrecisionTable& MainFormModeHost::DisplayPrecisionField() { return f_.DisplayPrecision; }
uint8_t& MainFormModeHost::DisplayLengthUnitField() { return f_.DisplayLengthUnit; }
uint8_t& MainFormModeHost::DisplayVelocityUnitField() { return f_.DisplayVelocityUnit; }

bool MainFormModeHost::ResolutionButtonVisible() const {
    return f_.Positioning().ResolutionButton() && !f_.Positioning().ResolutionButton()->isHidden();
}

bool MainFormModeHost::Resolution10() const { return f_.Resolution10; }
int MainFormModeHost::StraightnessMethod() const { return f_.StraightnessMethod; }
QWidget* MainFormModeHost::MainWindowWidget() const { return &f_; }

QObject* MainFormModeHost::Control(modes::ModeControl c) const {
    using C = modes::ModeControl;
    switch (c) {
    case C::NotebookMainForm: return f_.NotebookMainForm;
    // menu commands: the menu's own table
    case C::MenuItemWartosczadana: return f_.MenuCommand(QStringLiteral("MenuItemWartosczadana"));
    case C::MenuItemTabelkaOdchylek: return f_.MenuCommand(QStringLiteral("MenuItemTabelkaOdchylek"));
    case C::MenuItemKatCalkowity: return f_.MenuCommand(QStringLiteral("MenuItemKatCalkowity"));
    case C::Start1: return f_.MenuCommand(QStringLiteral("Start1"));
    case C::ReczneZaliczeniePunktu: return f_.MenuCommand(QStringLiteral("ReczneZaliczeniePunktu"));
    case C::Automatyczny1: return f_.MenuCommand(QStringLiteral("Automatyczny1"));
    default: break;
    }
    for (QObject* o : {f_.Readout().ModeControlOf(c), f_.Positioning().ModeControlOf(c), f_.Velocity().ModeControlOf(c), f_.Angular().ModeControlOf(c),
                       f_.FftAnalysis().ModeControlOf(c)})
        if (o) return o;
    return nullptr;
}

int MainFormModeHost::MainPage() const {
    return f_.NotebookMainForm ? f_.NotebookMainForm->currentIndex() : 0;
}

void MainFormModeHost::CreateReadingThread(uint64_t generation) {
    calls_.CreateReadingThread(generation);
}

void MainFormModeHost::StartSignalMonitor() {
    calls_.StartSignalMonitor(*this);
}

void MainFormModeHost::RestartMeteoReading() {
    calls_.RestartMeteoReading();
}

void MainFormModeHost::ClearFifo() {
    if (f_.Fifo) f_.Fifo->Clear();
}

void MainFormModeHost::SetLinkWatchdogEnabled(bool on) {
    calls_.SetLinkWatchdogEnabled(on);
}

void MainFormModeHost::EnableMenuItemsByTag(const std::vector<int>& tags, bool on) {
    TTagSet set;
    for (int t : tags)
        if (t >= 0 && t < int(set.size())) set.set(size_t(t));
    f_.EnableMenuItemsByTag(set, on);
}

void MainFormModeHost::ShowSetupPicture() {
    calls_.ShowSetupPicture();
}

int MainFormModeHost::SignalThreshold() const { return f_.ScrollBar4 ? f_.ScrollBar4->value() : 0; }
MonitoredPage MainFormModeHost::ShownPage() const { return MonitoredPageOf(MainPage()); }

IWarmUpView* MainFormModeHost::ShownPageWarmUp() {
    switch (MainPage()) {
    case 2: warmUp_ = WarmUpControlsView(f_.Readout().SignalWarmUpControls()); break;
    case 3: warmUp_ = WarmUpControlsView(f_.Positioning().SignalWarmUpControls()); break;
    case 4: warmUp_ = WarmUpControlsView(f_.Velocity().SignalWarmUpControls()); break;
    case 5: warmUp_ = WarmUpControlsView(f_.Angular().SignalWarmUpControls()); break;
    case 9: warmUp_ = WarmUpControlsView(f_.FftAnalysis().SignalWarmUpControls()); break;
    default: return nullptr;
    }
    return &warmUp_;
}

void MainFormModeHost::RunShownPageStart() {
    modes::RunStartRoutine(*this, modes::StartRoutineForPage(MainPage()));
}

ILinkStatusView* MainFormModeHost::LinkStatusWindow() { return Komunikaty; }

void MainFormModeHost::ShowSignalLevel(QProgressBar* gauge, int level) { ShowSignalGauge(gauge, level); }

void MainFormModeHost::AppendSignalLine(const QString& line) {
    QListWidget* list = f_.PSListBox3;
    if (!list) return;
    list->addItem(line);
    while (list->count() > 23) delete list->takeItem(0);
}

void ShowSignalGauge(QProgressBar* g, int value) {
    if (!g) return;
    // A progress bar ignores a value outside its range: a weak signal would leave the bar
    // standing at the last strong level.
    g->setValue(std::clamp(value, g->minimum(), g->maximum()));
    const int span = g->maximum() - g->minimum();
    const int percent = span > 0 ? (g->value() - g->minimum()) * 100 / span : 0;
    const uint32_t c = instrument::SignalGaugeColour(percent);  // 0x00BBGGRR
    QPalette p = g->palette();
    p.setColor(QPalette::Highlight, QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    g->setPalette(p);
}

namespace {

void enableCommand(TMainForm& f, const char* name, bool on) {
    if (QAction* a = f.MenuCommand(QString::fromLatin1(name))) a->setEnabled(on);
}

void velocityRunOff(TMainForm& f) {
    VelocityRunning = false;
    f.Velocity().ShowRunStopped();
    f.Readout().ShowRunPanel(false);
}

}  // namespace

MainFormKomunikatySink::MainFormKomunikatySink(TMainForm& form, MainFormModeHost& host, LinkStatusCalls& calls)
    : f_(form), host_(host), calls_(calls) {}

uint8_t MainFormKomunikatySink::MeasurementMode() const { return f_.MeasurementMode; }

bool MainFormKomunikatySink::ResolutionOffered() const {
    return host_.ResolutionButtonVisible() && host_.Resolution10();
}

void MainFormKomunikatySink::StartSignalMonitor() { host_.StartSignalMonitor(); }
void MainFormKomunikatySink::CreateReadingThread(uint64_t g) { host_.CreateReadingThread(g); }
void MainFormKomunikatySink::RestartCounting() { modes::RestartCounting(host_); }

void MainFormKomunikatySink::AddRecordingErrorRow() {
    calls_.AddRecordingErrorRow();
}

bool MainFormKomunikatySink::MotorRunning() const { return calls_.MotorRunning(); }

void MainFormKomunikatySink::ClearMotorRunning() {
    calls_.ClearMotorRunning();
}

void MainFormKomunikatySink::RestartMeasurementPage(uint8_t mode) {
    switch (mode) {
    case 0:
        if (f_.Positioning().EndNextButton()) f_.Positioning().EndNextButton()->setEnabled(false);
        break;
    case 1:
        velocityRunOff(f_);
        break;
    case 2:
    case 3:
        MeasurementRunning = false;
        if (f_.Positioning().StartButton()) f_.Positioning().StartButton()->setText("&Start");
        break;
    case 4:
        MeasurementRunning = false;
        f_.Angular().ShowRunStopped();
        break;
    case 5:
        MeasurementRunning = false;
        break;
    default:
        if (mode >= 6 && mode <= 9) host_.ClearFifo();
        return;
    }
    if (mode != 1) calls_.RestartMeasurementPage(mode);
}

void MainFormKomunikatySink::ReturnToMainMenu(uint8_t mode) {
    if (mode == kModeVelocity) {
        enableCommand(f_, "Start1", true);
        enableCommand(f_, "Stop1", false);
        velocityRunOff(f_);
        modes::ReturnToMainMenuFromVelocity(host_);
    } else if (mode >= 6 && mode <= 9) {
        modes::ReturnToMainMenu(host_);
    } else {
        calls_.ReturnToMainMenu(mode);
    }
}

void MainFormKomunikatySink::ShowWaitingForLaser() {
    f_.Velocity().DisableStartButton();
    host_.ShowReadoutPage(1);
}

void MainFormKomunikatySink::StartLinkWatchdog() {
    calls_.StartLinkWatchdog();
}

bool MainFormKomunikatySink::ReopenFailedLink() { return calls_.ReopenFailedLink(); }

void MainFormKomunikatySink::EnterServicePanel() {
    calls_.EnterServicePanel();
}

void MainFormKomunikatySink::SetMainWindowEnabled(bool on) {
    // Not the window itself: the link status window may be its child and would go grey too.
    if (QWidget* c = f_.centralWidget()) c->setEnabled(on);
    if (QMenuBar* m = f_.menuBar()) m->setEnabled(on);
}

void MainFormKomunikatySink::ShowTypeGaugeLevel(int level) {
    calls_.ShowTypeGaugeLevel(level);
}

void MainFormKomunikatySink::SetStatusText(const QString& text) {
    QStatusBar* bar = f_.Positioning().StatusBar() ? f_.Positioning().StatusBar() : f_.statusBar();
    if (bar) bar->showMessage(text);
}

void MainFormKomunikatySink::ShowErrorMessage(const QString& text) {
    MessageDlg(text, TMsgDlgType::mtError, mbOK);
}

void MainFormKomunikatySink::AppendServiceLog(const QString& text) {
    if (f_.PSListBox2) f_.PSListBox2->addItem(text);
}

int MainFormKomunikatySink::MainPage() const { return host_.MainPage(); }
void MainFormKomunikatySink::ShowMainPage(int page) { host_.ShowMainPage(page); }

QString MainFormKomunikatySink::CommandLineParameter() const {
    return calls_.CommandLineParameter();
}

void MainFormKomunikatySink::OpenCommandLineFile(int mode, const QString& path) {
    calls_.OpenCommandLineFile(mode, path);
}
