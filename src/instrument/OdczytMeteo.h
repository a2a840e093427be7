#pragma once
// The environment thread: reads the six environment channels over and over (from the card
// channel by channel, or from the serial link's environment blocks), averages them, and hands
// each round to the user-interface thread for the displays and the air correction.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "instrument/MeteoConversion.h"
#include "instrument/ThreadHandOff.h"

namespace instrument {

// The six words of the last serial environment block. The frame parser stores them, the
// environment thread copies them; a lock keeps the six together.
void StoreMeteoRaw(const MeteoWords& words);
MeteoWords LoadMeteoRaw();

// Choices of the main window that the thread reads: averaging on (RadioGroupUsrednianieMeteo
// item 0) and the change threshold (ScrollBar12, raw units). The UI thread writes them.
struct MeteoThreadSettings {
    std::atomic<bool> averagingOn{true};
    std::atomic<int> changeThreshold{10};
};

// The main window's side, always called on the UI thread.
class MeteoThreadSink {
public:
    virtual ~MeteoThreadSink() = default;
    // Card: channel (0-5) has just been read. On the service page its raw value is shown and
    // the next channel's name label is highlighted.
    virtual void ShowServiceChannel(int channel, int32_t raw) = 0;
    // Serial: the six raw values of a block, for the service page.
    virtual void ShowServiceRawValues(const MeteoWords&) = 0;
    // The display update of a round: with the calibration form open the raw values go there;
    // otherwise the labels and the environment values (ComputeMeteoReadout, StoreMeteoReadout).
    virtual void UpdateMeteoDisplays(const MeteoWords& values) = 0;
    // Runs right after the display update of the same round.
    virtual void ComputeEdlenFactor() = 0;
    // The thread of this generation has ended.
    virtual void MeteoThreadEnded(uint64_t generation) = 0;
};

// TOdczytMeteo: one environment thread at a time. The card exchange of one channel (command
// byte, 5 ms, the two port reads) is supplied by the card layer; the thread holds CardSemaphore
// around it. It returns nullopt when the card could not be read.
class TOdczytMeteo {
public:
    using CardExchange = std::function<std::optional<int32_t>(uint8_t command)>;
    TOdczytMeteo(MeteoThreadSink& sink, MeteoThreadSettings& settings, CardExchange cardExchange);
    // Asks the thread to terminate, wakes it and waits for its end (processing events).
    ~TOdczytMeteo();

    // Starts a thread (after the previous one has ended); the caller clears MeteoStopped first.
    uint64_t Start();
    bool Running() const { return worker_.running(); }
    uint64_t Generation() const { return worker_.generation(); }
    bool WaitForEnd(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1)) {
        return worker_.waitForEnd(timeout);
    }
    // Asks the thread to end (shutdown) and wakes it. The flag comes first: a thread just
    // starting clears old quit signals, and then sees the flag instead.
    void Terminate();
    // The raw values (window means once averaged) of the last round; kept between threads.
    MeteoWords MeteoCounts() const;

private:
    void Execute(uint64_t generation);
    void Average(MeteoWords& raw);
    void SetCounts(const MeteoWords& raw);

    MeteoThreadSink& sink_;
    MeteoThreadSettings& settings_;
    CardExchange cardExchange_;
    mutable std::mutex countsLock_;
    MeteoWords counts_{};
    WorkerThread worker_;  // last: it ends before the members it uses go
};

}  // namespace instrument
