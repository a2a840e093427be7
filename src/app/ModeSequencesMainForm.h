#pragma once
// The main window as the host of the mode sequences and as the signal monitor's sink. What the
// window does not hold itself comes in through the seams; an empty seam does nothing.
#include "app/ModeSequences.h"
#include "instrument/OdczytSygnaluPomiarowego.h"

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
