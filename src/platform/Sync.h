#pragma once
// Synchronisation objects in place of the Windows events and semaphore the threads share.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

class SignalHub;

// Manual-reset event: stays set until reset; every waiter sees it.
class ManualResetEvent {
public:
    ManualResetEvent();
    void set();
    void reset();
    bool isSet() const;
    // Waits until set; false on time-out. A negative time-out waits for ever.
    bool wait(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1)) const;

private:
    friend int waitAny(const std::vector<const ManualResetEvent*>&, std::chrono::milliseconds);
    std::shared_ptr<SignalHub> hub_;
    bool state_ = false;  // guarded by hub_->m
};

constexpr int kWaitTimeout = -1;
// Waits until any of the events is set and returns its index (the lowest set index wins),
// or kWaitTimeout. All events must have been made by the same process; they share one hub.
int waitAny(const std::vector<const ManualResetEvent*>& events,
            std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));

// Binary semaphore (count 1) serialising exchanges on the card's ports.
class BinarySemaphore {
public:
    bool acquire(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));
    void release();

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool free_ = true;
};

// Milliseconds since an arbitrary start, like GetTickCount.
uint32_t tickCount();

}  // namespace platform
