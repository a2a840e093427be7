#pragma once
// Worker threads and their hand-off to the user-interface thread. A hand-off is a blocking
// queued call: the worker waits until the UI thread has run it. The UI thread never blocks on a
// worker that may be inside a hand-off: it waits for a worker's end while processing events.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class QObject;

namespace instrument {

// Runs f on the UI thread and waits for it. Called on the UI thread (or without an
// application), f runs at once.
void RunOnUiThread(const std::function<void()>& f);
// Queues f to the UI thread without waiting (end handlers, widget changes of a worker).
void PostToUiThread(std::function<void()> f);
// Waits until done() holds while the calling (UI) thread keeps processing events; false when
// the time-out passed first. A negative time-out waits for ever.
bool WaitProcessingEvents(const std::function<bool()>& done,
                          std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));

// One worker thread of a kind: a start waits for the previous thread to end, and every start
// gets a new generation, so that a late end handler of an old thread can tell it is old.
class WorkerThread {
public:
    WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // Asks the thread to terminate and waits for its end (processing events).
    ~WorkerThread();

    // Starts body(generation) on a new thread once the previous one has ended.
    uint64_t start(std::function<void(uint64_t)> body);
    // The same with a generation the caller has taken (it becomes this object's generation).
    uint64_t start(std::function<void(uint64_t)> body, uint64_t generation);
    bool running() const { return running_.load(); }
    uint64_t generation() const { return generation_.load(); }
    // The thread's own "terminated" flag, checked by its loop.
    void requestTerminate() { terminate_ = true; }
    bool terminateRequested() const { return terminate_.load(); }
    // Waits for the end of the running thread while processing events; false on time-out.
    bool waitForEnd(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));
    // Queues f to the UI thread; dropped when this object is gone before it runs.
    void postToUi(std::function<void()> f);

private:
    std::unique_ptr<QObject> context_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> terminate_{false};
    std::atomic<uint64_t> generation_{0};
};

}  // namespace instrument
