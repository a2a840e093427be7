#include "instrument/UCheckCom.h"

#include <algorithm>

#include "foundations/SharedGlobals.h"
#include "instrument/HeadReset.h"
#include "instrument/LinkPort.h"
#include "platform/Sync.h"

namespace instrument {

CheckComSink::~CheckComSink() = default;
PortSearchThreads::~PortSearchThreads() = default;

TCheckCom::TCheckCom(CheckComSink& owner, LoaderSpeeds speeds, CheckComTimings timings)
    : owner_(owner), speeds_(speeds), timings_(timings) {}

TCheckCom::~TCheckCom() {
    worker_.requestTerminate();
    worker_.waitForEnd();
}

void TCheckCom::Resume() {
    worker_.waitForEnd();
    attempt_ = 0;
    outcome_ = CheckComOutcome::Running;
    worker_.start([this](uint64_t) {
        Execute();
        const CheckComOutcome outcome = outcome_.load();
        const uint8_t port = port_.load();
        worker_.postToUi([this, outcome, port] { owner_.SearchEnded(outcome, port); });
    });
}

void TCheckCom::UpdateProgress() {
    const int32_t attempt = attempt_.load();
    RunOnUiThread([this, attempt] { owner_.UpdateProgress(attempt); });
}

bool TCheckCom::tryPort(uint8_t port, uint8_t speed) {
    const auto link = Link();
    TCommPortDriver* comm = link->comm;
    if (!comm) return false;
    comm->Disconnect();
    comm->SetComPortSpeed(TComPortBaudRate(std::min<int>(speed, br115200)));
    comm->SetComPort(TComPortNumber(port));
    // A port that is missing or taken costs no waiting.
    if (!comm->Connect()) return false;
    if (ComCheckEvent) ComCheckEvent->reset();
    auto sleep = [&](int ms) {
        if (ms > 0) link->clock.sleepMs(ms);
    };
    sleep(timings_.settleMs);
    comm->ToggleRTS(true);
    sleep(timings_.rtsMs);
    // Ready for the start-up text before DTR falls: the head may answer at once.
    ExpectStartupText();
    PulseDtrReset(*comm, timings_.dtrPulseMs, true);
    if (!ComCheckEvent || !ComCheckEvent->wait(std::chrono::milliseconds(timings_.answerWaitMs))) return false;
    ComCheckEvent->reset();
    return true;
}

void TCheckCom::Execute() {
    outcome_ = CheckComOutcome::Running;
    TCommPortDriver* comm = Link()->comm;
    for (uint8_t p = 0; p < kPortCount && !worker_.terminateRequested(); ++p) {
        for (int t = 1; t <= 2; ++t) {
            if (worker_.terminateRequested()) break;
            const uint8_t speed = t == 1 ? speeds_.main : speeds_.alt;
            if (tryPort(p, speed)) {
                // The port that answered stays open at the speed that worked.
                port_ = p;
                speed_ = speed;
                outcome_ = CheckComOutcome::Found;
                return;
            }
            attempt_ = p + 1;
            if (worker_.terminateRequested()) break;
            UpdateProgress();
        }
    }
    // A port that did not answer is not left open as if it were the head's.
    if (comm) comm->Disconnect();
    outcome_ = worker_.terminateRequested() ? CheckComOutcome::Cancelled : CheckComOutcome::NotFound;
}

}  // namespace instrument
