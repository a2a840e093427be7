#pragma once
// The measurement reading thread: reads card frames itself, or waits for the serial parser's
// samples, hands every sample to the user-interface thread and checks the stop conditions
// after each frame. Conversion, acceptance and displays all run on the UI thread.
#include <cstdint>
#include <optional>

#include "instrument/RawConversion.h"
#include "instrument/ThreadHandOff.h"

namespace instrument {

// What the thread needs of the link, called on the reading thread (the command and status
// layer is safe to call from workers).
class ReadingLink {
public:
    virtual ~ReadingLink() = default;
    // Card: the next byte from port 0x300; nullopt when the card did not deliver one in time.
    virtual std::optional<uint8_t> ReadDataByte() = 0;
    // Card: the frame's two flag bytes (HeadStatus, HeadFlags).
    virtual void SetHeadStatus(uint8_t status, uint8_t flags) = 0;
    // Serial: the signal level of the last frame.
    virtual uint8_t SerialSignalLevel() = 0;
    // The flags and the mode for the stop check (takeRemoteEvent and stopReason are filled in
    // by the thread).
    virtual StopCheckInput StopInputs() = 0;
    // Head key pressed (acknowledges it); only asked while a run is in progress.
    virtual bool TakeRemoteEvent() = 0;
    // The idle sequence while no run is in progress.
    virtual void ResetHeadFlags() = 0;
};

// The main window's side, called on the UI thread through the hand-off.
class ReadingSink {
public:
    virtual ~ReadingSink() = default;
    // Serial start: ReceiveState := 1 and the FIFO emptied.
    virtual void PrepareSerialReading() = 0;
    // Card: one good count. The main window checks ZeemanTestON (the count only goes to the
    // service list) and otherwise runs its ProcessSample.
    virtual void ProcessSample(int32_t rawCount) = 0;
    // Serial: every count of the FIFO through ProcessSample.
    virtual void DrainFifo() = 0;
    // The signal gauges for the level byte.
    virtual void ShowStatus(uint8_t signalLevel) = 0;
    // The thread of this generation has ended (KoniecPrzerwaniaOdczyt); a stale generation
    // must change nothing.
    virtual void ReadingEnded(uint64_t generation) = 0;
};

// TOdczyt: one reading thread at a time. The starter clears ReadingStopped first.
class TOdczyt {
public:
    TOdczyt(ReadingSink& sink, ReadingLink& link);
    // Asks the thread to end, wakes it and waits for its end (processing events).
    ~TOdczyt();

    uint64_t Start();
    // With the generation the mode start has taken (ReadingThreadGeneration).
    uint64_t Start(uint64_t generation);
    bool Running() const { return worker_.running(); }
    uint64_t Generation() const { return worker_.generation(); }
    bool WaitForEnd(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1)) {
        return worker_.waitForEnd(timeout);
    }

private:
    void Execute(uint64_t generation);
    void RunStopCheck();

    ReadingSink& sink_;
    ReadingLink& link_;
    WorkerThread worker_;  // last: it ends before the members it uses go
};

}  // namespace instrument
