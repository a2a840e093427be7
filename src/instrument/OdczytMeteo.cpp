#include "instrument/OdczytMeteo.h"
#include "instrument/LinkPort.h"

#include <mutex>

#include "foundations/SharedGlobals.h"
#include "platform/Sync.h"

namespace instrument {

namespace {
std::mutex& rawLock() {
    static std::mutex m;
    return m;
}
MeteoWords& rawWords() {
    static MeteoWords w{};
    return w;
}
}  // namespace

void StoreMeteoRaw(const MeteoWords& words) {
    std::lock_guard<std::mutex> g(rawLock());
    rawWords() = words;
}

MeteoWords LoadMeteoRaw() {
    std::lock_guard<std::mutex> g(rawLock());
    return rawWords();
}

TOdczytMeteo::TOdczytMeteo(MeteoThreadSink& sink, MeteoThreadSettings& settings, CardExchange cardExchange)
    : sink_(sink), settings_(settings), cardExchange_(std::move(cardExchange)) {}

TOdczytMeteo::~TOdczytMeteo() {
    worker_.requestTerminate();
    if (worker_.running() && MeteoQuitEvent) MeteoQuitEvent->set();
    worker_.waitForEnd();
}

void TOdczytMeteo::Terminate() {
    worker_.requestTerminate();
    if (MeteoQuitEvent) MeteoQuitEvent->set();
}

uint64_t TOdczytMeteo::Start() {
    return worker_.start([this](uint64_t gen) { Execute(gen); });
}

MeteoWords TOdczytMeteo::MeteoCounts() const {
    std::lock_guard<std::mutex> g(countsLock_);
    return counts_;
}

void TOdczytMeteo::SetCounts(const MeteoWords& raw) {
    std::lock_guard<std::mutex> g(countsLock_);
    counts_ = raw;
}

void TOdczytMeteo::Average(MeteoWords& raw) {
    if (settings_.averagingOn.load()) sharedMeteoAverager().average(raw, settings_.changeThreshold.load());
}

void TOdczytMeteo::Execute(uint64_t generation) {
    if (MeteoQuitEvent) MeteoQuitEvent->reset();
    MeteoWords raw = MeteoCounts();
    for (;;) {
        if (worker_.terminateRequested()) break;
        if (ChosenLink() == LinkKind::Card) {
            bool roundComplete = true;
            for (int c = 0; c < kMeteoChannels; ++c) {
                if (MeteoStopped.load()) {
                    roundComplete = false;
                    break;
                }
                // The 200 ms pause; a quit signal only cuts it short.
                if (MeteoQuitEvent)
                    MeteoQuitEvent->wait(std::chrono::milliseconds(200));
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(200));
                if (CardSemaphore && CardSemaphore->acquire()) {
                    std::optional<int32_t> value;
                    try {
                        if (cardExchange_) value = cardExchange_(kMeteoCommandBytes[c]);
                    } catch (...) {
                        value.reset();
                    }
                    CardSemaphore->release();
                    if (value) raw[c] = *value;
                }
                SetCounts(raw);
                const int32_t shown = raw[c];
                RunOnUiThread([&] { sink_.ShowServiceChannel(c, shown); });
            }
            if (roundComplete && !MeteoStopped.load()) {
                Average(raw);
                SetCounts(raw);
                if (worker_.terminateRequested()) break;
                RunOnUiThread([&] {
                    sink_.UpdateMeteoDisplays(raw);
                    sink_.ComputeEdlenFactor();
                });
            }
        } else {
            if (!MeteoDataEvent || !MeteoQuitEvent) break;
            const int which = platform::waitAny({MeteoDataEvent, MeteoQuitEvent});
            if (which != 0) {
                MeteoQuitEvent->reset();
                break;
            }
            MeteoDataEvent->reset();
            raw = LoadMeteoRaw();
            SetCounts(raw);
            RunOnUiThread([&] { sink_.ShowServiceRawValues(raw); });
            Average(raw);
            SetCounts(raw);
            if (!MeteoStopped.load()) RunOnUiThread([&] { sink_.UpdateMeteoDisplays(raw); });
            if (!MeteoStopped.load()) RunOnUiThread([&] { sink_.ComputeEdlenFactor(); });
        }
        if (MeteoStopped.load()) break;
    }
    worker_.postToUi([this, generation] { sink_.MeteoThreadEnded(generation); });
}

}  // namespace instrument
