#include "instrument/UOdczyt.h"
#include "instrument/LinkPort.h"

#include "foundations/SharedGlobals.h"
#include "platform/Sync.h"

namespace instrument {

namespace {
constexpr std::chrono::milliseconds kSampleWait{200};
}

TOdczyt::TOdczyt(ReadingSink& sink, ReadingLink& link) : sink_(sink), link_(link) {}

TOdczyt::~TOdczyt() {
    worker_.requestTerminate();
    if (worker_.running() && ReadQuitEvent) ReadQuitEvent->set();
    worker_.waitForEnd();
}

uint64_t TOdczyt::Start() {
    return worker_.start([this](uint64_t gen) { Execute(gen); });
}

uint64_t TOdczyt::Start(uint64_t generation) {
    return worker_.start([this](uint64_t gen) { Execute(gen); }, generation);
}

void TOdczyt::RunStopCheck() {
    StopCheckInput in = link_.StopInputs();
    in.stopReason = StopReason.load();
    if (StopCheckIdle(in.mode, in.measurementRunning, in.velocityRunning)) {
        link_.ResetHeadFlags();
        if (CheckStopConditions(in).stopReading) ReadingStopped = true;
        return;
    }
    in.takeRemoteEvent = link_.TakeRemoteEvent();
    const StopDecision d = CheckStopConditions(in);
    if (d.stopReason != in.stopReason) StopReason = d.stopReason;
    if (d.headAcceptRequest) HeadAcceptRequest = true;
    if (d.stopReading) ReadingStopped = true;
}

void TOdczyt::Execute(uint64_t generation) {
    const bool serial = SerialLinkChosen();
    if (serial) {
        // Old signals go before the queue is prepared: a frame that arrives while the UI thread
        // prepares it then still wakes this thread.
        if (ReadQuitEvent) ReadQuitEvent->reset();
        if (SampleEvent) SampleEvent->reset();
        RunOnUiThread([&] { sink_.PrepareSerialReading(); });
    }
    // A lost link reported while the thread was getting going still ends it with its reason.
    int32_t previous = StopReason.load();
    if (previous != kStopLinkLost) StopReason.compare_exchange_strong(previous, 0);

    CardFrameReader reader(StatusByteEnabled.load());
    while (!worker_.terminateRequested()) {
        if (!serial) {
            reader.setStatusByteEnabled(StatusByteEnabled.load());
            std::optional<CardFrameReader::Frame> frame;
            bool failed = false;
            while (!frame) {
                const std::optional<uint8_t> b = link_.ReadDataByte();
                if (!b) {
                    failed = true;
                    break;
                }
                frame = reader.feed(*b);
            }
            if (failed) break;
            link_.SetHeadStatus(frame->status, frame->flags);
            if (frame->countValid) {
                RawCount = frame->count;
                const int32_t count = frame->count;
                RunOnUiThread([&] { sink_.ProcessSample(count); });
            }
            if (frame->hasSignal) {
                const uint8_t level = frame->signal;
                RunOnUiThread([&] { sink_.ShowStatus(level); });
            }
            RunStopCheck();
        } else {
            if (!SampleEvent || !ReadQuitEvent) break;
            // Never without a time-out: a stop that comes without the quit event (a lost link,
            // a missed wake-up) is still seen.
            const int which = platform::waitAny({SampleEvent, ReadQuitEvent}, kSampleWait);
            if (which == platform::kWaitTimeout) {
                if (ReadingStopped.load()) break;
                continue;
            }
            if (which != 0) {
                ReadQuitEvent->reset();
                break;
            }
            SampleEvent->reset();
            if (!ReadingStopped.load()) RunOnUiThread([&] { sink_.DrainFifo(); });
            const uint8_t level = link_.SerialSignalLevel();
            if (ReadingStopped.load()) break;
            RunOnUiThread([&] { sink_.ShowStatus(level); });
            if (ReadingStopped.load()) break;
            RunStopCheck();
        }
        if (ReadingStopped.load()) break;
    }
    worker_.postToUi([this, generation] { sink_.ReadingEnded(generation); });
}

}  // namespace instrument
