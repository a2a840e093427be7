#include "instrument/ThreadHandOff.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace instrument {

namespace {
bool onUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}
}  // namespace

void RunOnUiThread(const std::function<void()>& f) {
    if (onUiThread()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&f] { f(); }, Qt::BlockingQueuedConnection);
}

void PostToUiThread(std::function<void()> f) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        f();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(f), Qt::QueuedConnection);
}

bool WaitProcessingEvents(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (timeout.count() >= 0 && std::chrono::steady_clock::now() >= until) return false;
        if (QCoreApplication::instance() && onUiThread())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

WorkerThread::WorkerThread() : context_(std::make_unique<QObject>()) {}

void WorkerThread::postToUi(std::function<void()> f) {
    if (!QCoreApplication::instance()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(context_.get(), std::move(f), Qt::QueuedConnection);
}

WorkerThread::~WorkerThread() {
    terminate_ = true;
    waitForEnd();
    if (thread_.joinable()) thread_.join();
}

uint64_t WorkerThread::start(std::function<void(uint64_t)> body) {
    return start(std::move(body), generation_.load() + 1);
}

uint64_t WorkerThread::start(std::function<void(uint64_t)> body, uint64_t gen) {
    waitForEnd();
    if (thread_.joinable()) thread_.join();
    terminate_ = false;
    generation_ = gen;
    running_ = true;
    thread_ = std::thread([this, gen, body = std::move(body)] {
        body(gen);
        running_ = false;
    });
    return gen;
}

bool WorkerThread::waitForEnd(std::chrono::milliseconds timeout) {
    return WaitProcessingEvents([this] { return !running_.load(); }, timeout);
}

}  // namespace instrument
