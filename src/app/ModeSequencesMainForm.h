#pragma once
// The main window as the host of the mode sequences and as the signal monitor's sink, and as
// the link status window's sink. What these need of the rest of the window (threads, timers,
// pages) they call through ModeHostCalls and LinkStatusCalls, which the window implements
// (TMainForm::ShellCalls) and tests replace.
#include "app/ModeSequences.h"
#include "app/WarmUpControls.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "app/dialogs/Unit_Komunikaty.h"

#include <memory>

class QProgressBar;
class TMainForm;

// A signal gauge at this value (kept in its range), coloured by its percentage: red, orange or
// lime (SignalGaugeColour).
void ShowSignalGauge(QProgressBar* gauge, int value);

class ModeHostCalls {
public:
    virtual ~ModeHostCalls() = default;
    virtual void CreateReadingThread(uint64_t generation) = 0;  // TOdczyt::Start(generation)
    virtual void RestartMeteoReading() = 0;
    virtual void SetLinkWatchdogEnabled(bool on) = 0;            // PSTimer2
    virtual void ShowSetupPicture() = 0;
    // A signal monitor over the link's signal source, with this sink (made by the owner of the
    // link's threads).
    virtual void StartSignalMonitor(ISignalMonitorSink& sink) = 0;
};

class LinkStatusCalls {
public:
    virtual ~LinkStatusCalls() = default;
    // The rest of "&Pomiar" for modes 0 (controls after the run, chart picture), 2 and 3
    // (EndMeasurementRun) and 5 (close the FFT form), after the common steps.
    virtual void RestartMeasurementPage(uint8_t mode) = 0;
    // "&Główne Menu" for modes 0, 2, 3, 4 (ExitMeasurementMode) and 5 (FFT form, FFTGMenuClick).
    virtual void ReturnToMainMenu(uint8_t mode) = 0;
    virtual void AddRecordingErrorRow() = 0;
    virtual bool MotorRunning() const = 0;
    virtual void ClearMotorRunning() = 0;
    virtual void EnterServicePanel() = 0;
    virtual void StartLinkWatchdog() = 0;  // PSTimer2
    // The serial port opened again after its line hung up (true when open or not failed).
    virtual bool ReopenFailedLink() = 0;
    // The signal level on the current measurement type's gauge.
    virtual void ShowTypeGaugeLevel(int level) = 0;
    virtual QString CommandLineParameter() const = 0;
    virtual void OpenCommandLineFile(int mode, const QString& path) = 0;
};

class MainFormModeHost final : public modes::IModeHost, public ISignalMonitorSink {
public:
    MainFormModeHost(TMainForm& form, ModeHostCalls& calls);

    // --- mode sequences ---
    uint8_t& MeasurementModeField() override;
    modes::PrecisionTable& DisplayPrecisionField() override;
    uint8_t& DisplayLengthUnitField() override;
    uint8_t& DisplayVelocityUnitField() override;
    uint8_t& MeasuredAxisField() override { return measuredAxis_; }
    bool ResolutionButtonVisible() const override;
    bool Resolution10() const override;
    int StraightnessMethod() const override;
    QWidget* MainWindowWidget() const override;
    QObject* Control(modes::ModeControl c) const override;
    int MainPage() const override;
    void CreateReadingThread(uint64_t generation) override;
    // A monitor over the window's signal source, with this window as its sink.
    void StartSignalMonitor() override;
    void RestartMeteoReading() override;
    void ClearFifo() override;
    void SetLinkWatchdogEnabled(bool on) override;
    void EnableMenuItemsByTag(const std::vector<int>& tags, bool on) override;
    void ShowSetupPicture() override;

    // --- signal monitor ---
    int SignalThreshold() const override;   // ScrollBar4
    MonitoredPage ShownPage() const override;
    IWarmUpView* ShownPageWarmUp() override;
    void RunShownPageStart() override;
    ILinkStatusView* LinkStatusWindow() override;
    void AppendSignalLine(const QString& line) override;
    // The gauge's value, coloured by its percentage (SignalGaugeColour).
    void ShowSignalLevel(QProgressBar* gauge, int level);

private:
    TMainForm& f_;
    ModeHostCalls& calls_;
    uint8_t measuredAxis_ = 0;
    WarmUpControlsView warmUp_;  // the page ShownPageWarmUp was last asked for
};

// The main window as the link status window's sink.
class MainFormKomunikatySink final : public IKomunikatySink {
public:
    MainFormKomunikatySink(TMainForm& form, MainFormModeHost& host, LinkStatusCalls& calls);

    uint8_t MeasurementMode() const override;
    bool ResolutionOffered() const override;
    void StartSignalMonitor() override;
    void CreateReadingThread(uint64_t generation) override;
    void RestartCounting() override;
    void AddRecordingErrorRow() override;
    bool MotorRunning() const override;
    void ClearMotorRunning() override;
    void RestartMeasurementPage(uint8_t mode) override;
    void ReturnToMainMenu(uint8_t mode) override;
    void ShowWaitingForLaser() override;
    void StartLinkWatchdog() override;
    bool ReopenFailedLink() override;
    void EnterServicePanel() override;
    void SetMainWindowEnabled(bool on) override;
    void ShowTypeGaugeLevel(int level) override;
    void SetStatusText(const QString& text) override;
    void ShowErrorMessage(const QString& text) override;
    void AppendServiceLog(const QString& text) override;
    int MainPage() const override;
    void ShowMainPage(int page) override;
    QString CommandLineParameter() const override;
    void OpenCommandLineFile(int mode, const QString& path) override;

private:
    TMainForm& f_;
    MainFormModeHost& host_;
    LinkStatusCalls& calls_;
};
