// The window's side of the mode host and of the link status window: the reading and
// environment threads, the link watchdog, the setup picture, and what "&Pomiar" and
// "&Główne Menu" do on each page after a stop.
#include <QProgressBar>

#include "app/ModeSequencesMainForm.h"
#include "app/PositioningPage.h"
#include "app/PointStoreWidgets.h"
#include "app/StraightnessRun.h"
#include "app/Unit_glowny.h"
#include "app/rejstracja.h"
#include "app/VibrationPage.h"
#include "app/Unit_glowny_types.h"
#include "foundations/SharedGlobals.h"
#include "instrument/MotorDrive.h"
#include "instrument/UOdczytSample.h"
#include "app/dialogs/UPomiarFFT.h"

class TMainForm::ShellCalls final : public ModeHostCalls, public LinkStatusCalls {
public:
    explicit ShellCalls(TMainForm& f) : f_(f) {}

    // --- mode host ---
    void CreateReadingThread(uint64_t generation) override { f_.StartReadingThread(generation); }
    void RestartMeteoReading() override { f_.RestartMeteoReading(); }
    void SetLinkWatchdogEnabled(bool on) override { f_.SetLinkWatchdogEnabled(on); }
    void ShowSetupPicture() override { f_.ShowSetupPicture(); }
    void StartSignalMonitor(ISignalMonitorSink& sink) override {
        f_.Threads().StartSignalMonitor(MakeLinkSignalSource(), sink);
    }

    // --- link status window ---
    void RestartMeasurementPage(uint8_t mode) override {
        switch (mode) {
        case 0:
            f_.EnableControlsAfterMeasurement();
            f_.ShowPositioningBackground();
            break;
        case 2:
        case 3: f_.EndMeasurementRun(); break;
        case 5:
            if (FPomiarFFT) FPomiarFFT->close();
            break;
        default: break;
        }
    }
    void ReturnToMainMenu(uint8_t mode) override {
        switch (mode) {
        case 0:
        case 2:
        case 3:
        case 4: f_.StraightnessControl().ExitMeasurementMode(); break;
        case 5:
            if (FPomiarFFT) FPomiarFFT->close();
            f_.FftAnalysis().FFTGMenuClick();
            break;
        default: break;
        }
    }
    void AddRecordingErrorRow() override {
        if (FRejestracja) FRejestracja->AddErrorRow();
    }
    bool MotorRunning() const override { return ::MotorRunning.load(); }
    void ClearMotorRunning() override { ::MotorRunning = false; }
    void EnterServicePanel() override { f_.EnterServicePanel(); }
    void StartLinkWatchdog() override { f_.SetLinkWatchdogEnabled(true); }
    bool ReopenFailedLink() override { return f_.ReopenFailedLink(); }
    void ShowTypeGaugeLevel(int level) override {
        const QString name = instrument::SignalGaugeForMode(f_.MeasurementMode);
        for (QProgressBar* g : f_.SignalGauges())
            if (g && !name.isEmpty() && g->objectName() == name) f_.ModeHost().ShowSignalLevel(g, level);
    }
    QString CommandLineParameter() const override { return f_.CommandLineFile; }
    void OpenCommandLineFile(int mode, const QString& path) override { f_.OpenCommandLineFile(mode, path); }

private:
    TMainForm& f_;
};

TMainForm::ShellCalls& TMainForm::Shell() {
    if (!ShellCallsHolder) ShellCallsHolder = std::make_shared<ShellCalls>(*this);
    return *ShellCallsHolder;
}
ModeHostCalls& TMainForm::ModeCalls() { return Shell(); }
LinkStatusCalls& TMainForm::LinkCalls() { return Shell(); }

