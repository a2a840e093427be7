#pragma once
// The search for the serial port of the head: COM1 to COM10 in turn, each at the main and the
// alternative speed, the head reset with a DTR pulse and its load invitation awaited. The
// thread drives the link's port component; reception stays on the user-interface thread, where
// the frame parser sets ComCheckEvent on the invitation.
#include <atomic>
#include <chrono>
#include <cstdint>

#include "instrument/LadowanieProgramu.h"
#include "instrument/ThreadHandOff.h"

namespace instrument {

// Pauses of one try; tests shorten them.
struct CheckComTimings {
    int settleMs = 500;       // after the port opened
    int rtsMs = 100;          // RTS up, before the reset pulse
    int dtrPulseMs = 50;
    int answerWaitMs = 2000;  // for the load invitation
};

enum class CheckComOutcome { Running, Found, NotFound, Cancelled };

// The owning dialog. Called on the user-interface thread.
class CheckComSink {
public:
    virtual ~CheckComSink();
    // Ports tried so far (1..10), after each try.
    virtual void UpdateProgress(int32_t attempt) = 0;
    // The thread has ended (queued; not called once the TCheckCom is gone).
    virtual void SearchEnded(CheckComOutcome outcome, uint8_t portIndex) = 0;
};

class TCheckCom {
public:
    static constexpr int kPortCount = 10;  // COM1 .. COM10

    // Created suspended: Resume starts the search. Speeds are TMainForm.BaudRateIndex and
    // AltBaudRateIndex.
    TCheckCom(CheckComSink& owner, LoaderSpeeds speeds, CheckComTimings timings = {});
    // Asks the search to end and waits for it while processing events.
    ~TCheckCom();

    void Resume();
    // Sets the terminated flag: the search ends at its next check (after the try under way).
    void Terminate() { worker_.requestTerminate(); }
    bool Terminated() const { return worker_.terminateRequested(); }
    bool Running() const { return worker_.running(); }
    bool WaitForEnd(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1)) {
        return worker_.waitForEnd(timeout);
    }

    CheckComOutcome Outcome() const { return outcome_.load(); }
    // Port index (0 for COM1) and speed index that answered; valid when Found.
    uint8_t PortFound() const { return port_.load(); }
    uint8_t SpeedFound() const { return speed_.load(); }
    int32_t Attempt() const { return attempt_.load(); }

    // The thread body (public so that a test may run it on a thread of its own).
    void Execute();

private:
    // Hand-off: the dialog's ProgressBar1 shows the attempt counter.
    void UpdateProgress();
    bool tryPort(uint8_t port, uint8_t speed);

    CheckComSink& owner_;
    LoaderSpeeds speeds_;
    CheckComTimings timings_;
    std::atomic<int32_t> attempt_{0};
    std::atomic<CheckComOutcome> outcome_{CheckComOutcome::Running};
    std::atomic<uint8_t> port_{0};
    std::atomic<uint8_t> speed_{0};
    WorkerThread worker_;  // last: ends before the fields above go
};

// Who makes the search thread for a dialog: the program's owner of the link's threads, which
// also ends a search still under way at shutdown. The calls name the dialog whose search is
// meant; a search of another dialog is left alone.
class PortSearchThreads {
public:
    virtual ~PortSearchThreads();
    // A search for this dialog, started (after a previous search has ended and gone); false
    // when none may start (the program is ending).
    virtual bool StartPortSearch(CheckComSink& owner, LoaderSpeeds speeds, CheckComTimings timings) = 0;
    // The dialog's search ends at its next check (after the try under way).
    virtual void AskPortSearchToEnd(CheckComSink& owner) = 0;
    // The dialog goes: its search is ended (waiting while events are processed) and freed; its
    // end report no longer comes.
    virtual void EndPortSearch(CheckComSink& owner) = 0;
};

}  // namespace instrument
