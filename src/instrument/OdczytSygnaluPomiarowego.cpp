#include "instrument/OdczytSygnaluPomiarowego.h"

#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/SerialFrameParser.h"
#include "platform/Sync.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <thread>

std::atomic<bool> HeadWasOff{false};
std::atomic<int32_t> SignalLevel{0};

namespace {

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::atomic<uint64_t> g_generation{0};
std::atomic<int> g_running{0};
// Hand-offs of a monitor being run on the user-interface thread right now.
int g_handoffDepth = 0;
// Lives on the user-interface thread for the program's life: a monitor may still post to it
// while the program ends.
QObject* g_context = nullptr;

bool alive(uint64_t gen) { return !SignalMonitorStopped.load() && g_generation.load() == gen; }

void handOff(const std::function<void()>& fn) {
    QMetaObject::invokeMethod(
        g_context,
        [&fn] {
            ++g_handoffDepth;
            fn();
            --g_handoffDepth;
        },
        Qt::BlockingQueuedConnection);
}

void execute(uint64_t gen, std::shared_ptr<ISignalSource> source, ISignalMonitorSink* sink) {
    source->BeginMonitoring();
    while (alive(gen)) {
        const int level = source->SampleSignalLevel();
        if (!alive(gen)) break;
        const bool ready = source->HeadReady();
        handOff([&] {
            if (!alive(gen)) return;
            OdczytSygPomiarowego::ProcessSignal(*sink, level, ready);
            if (source->FollowsReadiness())
                if (ILinkStatusView* k = sink->LinkStatusWindow()) k->SetMeasureEnabled(ready);
        });
    }
    handOff([&] {
        if (g_generation.load() != gen) return;  // a newer monitor owns the button now
        if (ILinkStatusView* k = sink->LinkStatusWindow()) k->SetMeasureEnabled(true);
    });
}

}  // namespace

SerialSignalSource::SerialSignalSource(ICommandLink& link, std::function<int()> storedLevel,
                                       std::function<bool()> headReady,
                                       std::function<void()> startReceiving)
    : link_(link), level_(std::move(storedLevel)), headReady_(std::move(headReady)),
      startReceiving_(std::move(startReceiving)) {}

void SerialSignalSource::BeginMonitoring() {
    if (startReceiving_) startReceiving_();
    link_.SendCommandByte('S');
}

int SerialSignalSource::SampleSignalLevel() {
    sleepMs(30);
    return level_();
}

CardSignalSource::CardSignalSource(ICommandLink& link, std::function<uint8_t()> readLevelPort,
                                   std::function<bool()> headReady)
    : link_(link), readPort_(std::move(readLevelPort)), headReady_(std::move(headReady)) {}

int CardSignalSource::SampleSignalLevel() {
    platform::BinarySemaphore* sem = CardSemaphore;
    if (sem) sem->acquire();
    link_.SendCommandByte(0x8F);
    sleepMs(5);
    const int level = readPort_();
    if (sem) sem->release();
    return level;
}

std::shared_ptr<ISignalSource> MakeLinkSignalSource() {
    auto ready = [] { return ::HeadReady(); };
    if (instrument::SerialLinkChosen())
        return std::make_shared<SerialSignalSource>(
            RealCommandLink(), [] { return int(instrument::LinkState().SerialSignalLevel.load()); }, ready,
            [] { instrument::LinkState().ReceiveState = 1; });
    return std::make_shared<CardSignalSource>(RealCommandLink(), [] { return InPort(0x303); }, ready);
}

void OdczytSygPomiarowego::ShowWarmUpState(IWarmUpView& view, int level, int threshold) {
    view.SetStartShown(false);
    view.SetLabelShown(true);
    // A level exactly at the threshold counts as warming up.
    view.SetLabelText(Msg(level >= threshold ? "stWygrzewanie" : "stGlowWyl"));
}

void OdczytSygPomiarowego::ProcessSignal(ISignalMonitorSink& sink, int level, bool headReady) {
    SignalLevel = level;
    const int threshold = sink.SignalThreshold();
    if (WaitingForLaser.load()) {
        const MonitoredPage page = sink.ShownPage();
        const bool waitingPage = page == MonitoredPage::Readout || page == MonitoredPage::Measurement;
        if (page == MonitoredPage::Service) sink.AppendSignalLine("*" + QString::number(level));
        if (!headReady) {
            IWarmUpView* v = waitingPage ? sink.ShownPageWarmUp() : nullptr;
            if (v && page == MonitoredPage::Readout) {
                if (level < threshold) {
                    v->SetGaugeShown(false);
                    v->SetLabelText(Msg("stGlowWyl"));
                } else {
                    v->SetLabelText(Msg("stWygrzewanie"));
                    v->SetGaugeShown(true);
                    v->ShowGaugeLevel(level);
                }
            } else if (v) {
                v->SetGaugeShown(false);
                v->SetPanelShown(false);
                ShowWarmUpState(*v, level, threshold);
            }
        } else {
            if (page == MonitoredPage::Readout)
                if (IWarmUpView* v = sink.ShownPageWarmUp()) v->EnableZeroing();
            if (waitingPage) sink.RunShownPageStart();
            WaitingForLaser = false;
            SignalMonitorStopped = true;
        }
    }
    ILinkStatusView* k = sink.LinkStatusWindow();
    if (k && k->Shown()) k->UpdateKomunikatySignal(level, threshold);
}

void OdczytSygPomiarowego::Start(std::shared_ptr<ISignalSource> source, ISignalMonitorSink* sink) {
    if (!g_context) g_context = new QObject;
    ++g_generation;  // the running monitor, if any, stops at its next check
    // Inside an old monitor's own hand-off it cannot end before we return; its generation
    // already keeps it from changing anything.
    if (g_handoffDepth == 0) WaitForEnd();
    SignalMonitorStopped = false;
    const uint64_t gen = g_generation.load();
    ++g_running;
    std::thread([gen, source = std::move(source), sink] {
        execute(gen, source, sink);
        --g_running;
    }).detach();
}

bool OdczytSygPomiarowego::Running() { return g_running.load() > 0; }

bool OdczytSygPomiarowego::WaitForEnd(int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (Running()) {
        if (timeoutMs >= 0 && t.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        sleepMs(1);
    }
    return true;
}
