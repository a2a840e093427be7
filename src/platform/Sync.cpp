#include "platform/Sync.h"

namespace platform {

// All events share one mutex and condition so that a wait on several events needs no polling.
class SignalHub {
public:
    std::mutex m;
    std::condition_variable cv;
    static std::shared_ptr<SignalHub> instance() {
        static std::shared_ptr<SignalHub> hub = std::make_shared<SignalHub>();
        return hub;
    }
};

ManualResetEvent::ManualResetEvent() : hub_(SignalHub::instance()) {}

void ManualResetEvent::set() {
    {
        std::lock_guard<std::mutex> lock(hub_->m);
        state_ = true;
    }
    hub_->cv.notify_all();
}

void ManualResetEvent::reset() {
    std::lock_guard<std::mutex> lock(hub_->m);
    state_ = false;
}

bool ManualResetEvent::isSet() const {
    std::lock_guard<std::mutex> lock(hub_->m);
    return state_;
}

bool ManualResetEvent::wait(std::chrono::milliseconds timeout) const {
    return waitAny({this}, timeout) == 0;
}

int waitAny(const std::vector<const ManualResetEvent*>& events, std::chrono::milliseconds timeout) {
    auto hub = SignalHub::instance();
    std::unique_lock<std::mutex> lock(hub->m);
    auto firstSet = [&]() -> int {
        for (size_t i = 0; i < events.size(); ++i)
            if (events[i] && events[i]->state_) return static_cast<int>(i);
        return kWaitTimeout;
    };
    int idx = firstSet();
    if (idx != kWaitTimeout) return idx;
    if (timeout.count() < 0) {
        hub->cv.wait(lock, [&] { return (idx = firstSet()) != kWaitTimeout; });
        return idx;
    }
    hub->cv.wait_for(lock, timeout, [&] { return (idx = firstSet()) != kWaitTimeout; });
    return idx;
}

bool BinarySemaphore::acquire(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_);
    if (timeout.count() < 0) {
        cv_.wait(lock, [&] { return free_; });
    } else if (!cv_.wait_for(lock, timeout, [&] { return free_; })) {
        return false;
    }
    free_ = false;
    return true;
}

void BinarySemaphore::release() {
    {
        std::lock_guard<std::mutex> lock(m_);
        free_ = true;
    }
    cv_.notify_one();
}

uint32_t tickCount() {
    using namespace std::chrono;
    static const auto start = steady_clock::now();
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

}  // namespace platform
