#pragma once
// The main window as the host of the mode sequences and as the signal monitor's sink. What the
// window does not hold itself comes in through the seams; an empty seam does nothing.
#include "app/ModeSequences.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "instrument/Unit_Komunikaty.h"

#include <functional>

class TMainForm;

struct ModeHostSeams {
    std::function<void(uint64_t generation)> CreateReadingThread;  // TOdczyt::Start(generation)
    std::function<void()> RestartMeteoReading;
    std::function<void(bool on)> SetLinkWatchdogEnabled;            // PSTimer2
    std::function<void()> ShowSetupPicture;
    // The monitor's source; empty: the source of the current link.
    std::function<std::shared_ptr<ISignalSource>()> SignalSource;
};

class MainFormModeHost final : public modes::IModeHost, public ISignalMonitorSink {
public:
    explicit MainFormModeHost(TMainForm& form);
    ModeHostSeams Seams;

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
    int MainPage() const override;
    void CreateReadingThread(uint64_t generation) override;
    // A monitor over the seam's (or the link's) source, with this window as its sink.
    void StartSignalMonitor() override;
    void RestartMeteoReading() override;
    void ClearFifo() override;
    void SetLinkWatchdogEnabled(bool on) override;
    void EnableMenuItemsByTag(const std::vector<int>& tags, bool on) override;
    void ShowSetupPicture() override;

    // --- signal monitor ---
    int SignalThreshold() const override;   // ScrollBar4
    QWidget* MainWindow() override;
    void RunPageStart(int page) override;

private:
    TMainForm& f_;
    uint8_t measuredAxis_ = 0;
};

// What the link status window's sink cannot do by itself; an empty seam does nothing.
struct KomunikatySeams {
    // The rest of "&Pomiar" for modes 0 (controls after the run, chart picture), 2 and 3
    // (EndMeasurementRun) and 5 (close the FFT form), after the common steps.
    std::function<void(uint8_t mode)> RestartMeasurementPage;
    // "&Główne Menu" for modes 0, 2, 3, 4 (ExitMeasurementMode) and 5 (FFT form, FFTGMenuClick).
    std::function<void(uint8_t mode)> ReturnToMainMenu;
    std::function<void()> AddRecordingErrorRow;
    std::function<bool()> MotorRunning;
    std::function<void()> ClearMotorRunning;
    std::function<void()> EnterServicePanel;
    std::function<void()> StartLinkWatchdog;                  // PSTimer2
    std::function<void(int level)> ShowTypeGaugeLevel;
    std::function<QString()> CommandLineParameter;
    std::function<void(int mode, const QString& path)> OpenCommandLineFile;
};

// The main window as the link status window's sink.
class MainFormKomunikatySink final : public IKomunikatySink {
public:
    MainFormKomunikatySink(TMainForm& form, MainFormModeHost& host);
    KomunikatySeams Seams;

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
};
