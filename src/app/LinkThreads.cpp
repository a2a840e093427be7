#include "app/LinkThreads.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "foundations/SharedGlobals.h"
#include "platform/Sync.h"

LinkThreads::LinkThreads() {
    MeteoDataEvent = new platform::ManualResetEvent;
    MeteoQuitEvent = new platform::ManualResetEvent;
    MeteoWaitHandles = {MeteoDataEvent, MeteoQuitEvent};
    ComCheckEvent = new platform::ManualResetEvent;
    SampleEvent = new platform::ManualResetEvent;
    ReadQuitEvent = new platform::ManualResetEvent;
    ReadWaitHandles = {SampleEvent, ReadQuitEvent};
    ProgramLoadEvent = new platform::ManualResetEvent;
}

LinkThreads::~LinkThreads() {
    Stop(5000);
    delete CardSemaphore;
    CardSemaphore = nullptr;
    MeteoWaitHandles = {nullptr, nullptr};
    ReadWaitHandles = {nullptr, nullptr};
    for (platform::ManualResetEvent** e :
         {&MeteoDataEvent, &MeteoQuitEvent, &ComCheckEvent, &SampleEvent, &ReadQuitEvent, &ProgramLoadEvent}) {
        delete *e;
        *e = nullptr;
    }
}

void LinkThreads::MakeCardSemaphore() {
    if (!CardSemaphore) CardSemaphore = new platform::BinarySemaphore;
}

void LinkThreads::Watch(LinkThreadKind kind, std::function<bool()> running, std::function<void()> stop) {
    if (running) watched_.push_back({kind, std::move(running), std::move(stop)});
}

bool LinkThreads::Stop(int timeoutMs) {
    for (const Watched& w : watched_)
        if (w.stop) w.stop();
    ReadingStopped = true;
    MeteoStopped = true;
    SignalMonitorStopped = true;
    if (ReadQuitEvent) ReadQuitEvent->set();
    if (MeteoQuitEvent) MeteoQuitEvent->set();
    auto anyRunning = [this] {
        for (const Watched& w : watched_)
            if (w.running()) return true;
        return false;
    };
    QElapsedTimer t;
    t.start();
    while (anyRunning()) {
        if (t.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}
