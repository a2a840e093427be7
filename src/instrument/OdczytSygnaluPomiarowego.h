#pragma once
// The signal monitor: while a measurement page waits for the laser, samples the head's signal
// level about every 30 ms, shows it and the warm-up state, and once the head reports ready runs
// the page's start routine on the user-interface thread. One monitor at a time; every start
// takes a new generation, so the hand-offs of an older monitor change nothing.
#include "instrument/CommandLink.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

// The level fell below the threshold while the link status window was shown.
extern std::atomic<bool> HeadWasOff;
// The level being shown.
extern std::atomic<int32_t> SignalLevel;

// Where the monitor gets the level from (worker thread).
class ISignalSource {
public:
    virtual ~ISignalSource() = default;
    // Once at the start of a monitor.
    virtual void BeginMonitoring() = 0;
    // One sample; takes about one sampling period.
    virtual int SampleSignalLevel() = 0;
    virtual bool HeadReady() = 0;
    // Serial link: the link status window's "&Pomiar" follows the head's readiness.
    virtual bool FollowsReadiness() const = 0;
};

// Serial link: ReceiveState := 1 and 'S' at the start (frames then carry the level), then the
// level the frame parser stored, every 30 ms.
class SerialSignalSource : public ISignalSource {
public:
    SerialSignalSource(ICommandLink& link, std::function<int()> storedLevel,
                       std::function<bool()> headReady, std::function<void()> startReceiving);
    void BeginMonitoring() override;
    int SampleSignalLevel() override;
    bool HeadReady() override { return headReady_(); }
    bool FollowsReadiness() const override { return true; }

private:
    ICommandLink& link_;
    std::function<int()> level_;
    std::function<bool()> headReady_;
    std::function<void()> startReceiving_;
};

// Measuring card: 0x8F, 5 ms, then the level from port 0x303, as one exchange under
// CardSemaphore (the environment thread reads the same port).
class CardSignalSource : public ISignalSource {
public:
    CardSignalSource(ICommandLink& link, std::function<uint8_t()> readLevelPort,
                     std::function<bool()> headReady);
    // The card is asked for the level at every sample: nothing to start.
    void BeginMonitoring() override {}
    int SampleSignalLevel() override;
    bool HeadReady() override { return headReady_(); }
    // The link status window's "&Pomiar" stays as it is on the card.
    bool FollowsReadiness() const override { return false; }

private:
    ICommandLink& link_;
    std::function<uint8_t()> readPort_;
    std::function<bool()> headReady_;
};

// The source for the current link (InterfaceMode): serial or card, over the command and
// status layer and the frame parser's stored level.
std::shared_ptr<ISignalSource> MakeLinkSignalSource();

// A waiting page's warm-up display as the monitor's samples change it (user-interface thread).
// What a page does not have (a gauge, a panel, a start button) it leaves as it is.
class IWarmUpView {
public:
    virtual ~IWarmUpView() = default;
    virtual void SetGaugeShown(bool on) = 0;          // the page's signal gauge
    virtual void ShowGaugeLevel(int level) = 0;       // its value, coloured by its percentage
    virtual void SetPanelShown(bool on) = 0;          // a panel hidden while warming up
    virtual void SetStartShown(bool on) = 0;          // the start button, hidden until ready
    virtual void SetLabelShown(bool on) = 0;          // the warm-up or head-off text
    virtual void SetLabelText(const QString& text) = 0;
    virtual void EnableZeroing() = 0;                 // display page: zeroing, once ready
};

// The link status window as the monitor feeds it.
class ILinkStatusView {
public:
    virtual ~ILinkStatusView() = default;
    virtual bool Shown() const = 0;
    virtual void UpdateKomunikatySignal(int level, int threshold) = 0;
    virtual void SetMeasureEnabled(bool on) = 0;
};

// The page the main window shows, as far as the monitor is concerned.
enum class MonitoredPage {
    Other,        // no waiting page: only the link status window is fed
    Service,      // the service panel: a line per sample
    Readout,      // the live readout: its gauge shows the level while warming up
    Measurement,  // linear, velocity, angular or vibration: the start waits for the head
};

// What the monitor needs from the main window (user-interface thread only).
class ISignalMonitorSink {
public:
    virtual ~ISignalMonitorSink() = default;
    virtual MonitoredPage ShownPage() const = 0;
    virtual int SignalThreshold() const = 0;  // ScrollBar4 position
    // The warm-up display of the page shown; null when it is no waiting page.
    virtual IWarmUpView* ShownPageWarmUp() = 0;
    // The start routine of the waiting page shown.
    virtual void RunShownPageStart() = 0;
    // Null until the window exists.
    virtual ILinkStatusView* LinkStatusWindow() = 0;
    // Service page: "*" + level into PSListBox3, at most 23 lines.
    virtual void AppendSignalLine(const QString& line) = 0;
};

class OdczytSygPomiarowego {
public:
    // Starts a monitor (user-interface thread). A previous one is told to end and waited for,
    // with events processed meanwhile so that a hand-off it is inside can finish.
    static void Start(std::shared_ptr<ISignalSource> source, ISignalMonitorSink* sink);
    static bool Running();
    // Waits until no monitor runs, processing events; false on time-out (negative: no limit).
    static bool WaitForEnd(int timeoutMs = -1);
    // The page logic of one sample (user-interface thread).
    static void ProcessSignal(ISignalMonitorSink& sink, int level, bool headReady);
    // Hides the start control, shows the label with the warm-up or head-off text.
    static void ShowWarmUpState(IWarmUpView& view, int level, int threshold);
};
