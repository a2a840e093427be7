#include "instrument/LinkPort.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <mutex>
#include <string>

#include "foundations/SharedGlobals.h"
#include "platform/CardPorts.h"

namespace instrument {

HeadLinkState& LinkState() {
    static HeadLinkState state;
    return state;
}

void HeadLinkState::Reset() {
    HeadStatus = 0;
    HeadFlags = 0;
    ReceiveState = 1;
    SkipSamples = false;
    SkippedSamples = 0;
    SerialSignalLevel = 0;
    AlignX = 0;
    AlignY = 0;
    DetectorPowerX = 0;
    DetectorPowerY = 0;
    ProbeAnswered = false;
    FftByteCount = 0;
}

LinkSink::~LinkSink() = default;

namespace {

std::mutex setupMutex;
std::shared_ptr<const LinkSetup> currentSetup = std::make_shared<LinkSetup>(LinkSetup{{}, {}, {}, LinkClock::system(), LinkKind::None});
std::shared_ptr<HeadLink> currentHead;  // made by SetLink, or on first use from the start setup

// Last colour shown on PSLabel13, so that the busy wait does not queue a repaint per poll.
std::atomic<uint32_t> shownReadyColour{0xFFFFFFFFu};
// A watchdog stop is already queued to the user-interface thread.
std::atomic<bool> watchdogStopQueued{false};

// The link's send lock (CommandSequence, SendCommandByte).
std::recursive_mutex& sendLock() {
    static std::recursive_mutex m;
    return m;
}

constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kRed = 0x0000FF;

}  // namespace

HeadLink::~HeadLink() = default;

std::shared_ptr<HeadLink> makeHeadLink(const LinkSetup& setup);

void SetLink(LinkSetup setup) {
    if (!setup.kind) setup.kind = InterfaceMode.load() <= 1 ? LinkKind(InterfaceMode.load()) : LinkKind::None;
    auto next = std::make_shared<const LinkSetup>(std::move(setup));
    auto head = makeHeadLink(*next);
    std::lock_guard<std::mutex> lock(setupMutex);
    currentSetup = std::move(next);
    currentHead = std::move(head);
    shownReadyColour = 0xFFFFFFFFu;
    watchdogStopQueued = false;
}

std::shared_ptr<const LinkSetup> Link() {
    std::lock_guard<std::mutex> lock(setupMutex);
    return currentSetup;
}

std::shared_ptr<HeadLink> headLinkNow() {
    std::lock_guard<std::mutex> lock(setupMutex);
    if (!currentHead) currentHead = makeHeadLink(*currentSetup);
    return currentHead;
}

void ResetLink() {
    SetLink(LinkSetup{{}, {}, {}, LinkClock::system(), LinkKind::None});
    LinkState().Reset();
}

LinkKind ChosenLink() { return headLinkNow()->Kind(); }
bool SerialLinkChosen() { return ChosenLink() == LinkKind::Serial; }

CommandSequence::CommandSequence() : lock_(sendLock()) {}
CommandSequence::~CommandSequence() = default;

// Sink calls run on the user-interface thread: at once when already there (or without an
// application), else queued without waiting.
static void toUiThread(std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

}  // namespace instrument

using instrument::Link;

namespace {

uint8_t cardStatus(const instrument::LinkSetup& link) {
    return link.card ? link.card->inPort(platform::kCardStatusPort) : 0;
}

void toSink(const instrument::LinkSetup& link, std::function<void(instrument::LinkSink&)> call) {
    if (!link.sink) return;
    instrument::LinkSink* sink = link.sink;
    instrument::toUiThread([sink, call = std::move(call)] { call(*sink); });
}

}  // namespace

void OutPort(uint16_t port, uint8_t value) {
    auto link = Link();
    if (link->card) link->card->outPort(port, value);
}

uint8_t InPort(uint16_t port) {
    auto link = Link();
    return link->card ? link->card->inPort(port) : 0;
}

uint8_t ReadInterfaceStatus() { return instrument::headLinkNow()->InterfaceStatus(); }

uint8_t ReadCardData() { return InPort(platform::kCardDataPort); }

bool CardCommandReady() {
    auto link = Link();
    const bool ready = (cardStatus(*link) & 0x80) != 0;
    const uint32_t colour = ready ? instrument::kGreen : instrument::kRed;
    if (instrument::shownReadyColour.exchange(colour) != colour)
        toSink(*link, [colour](instrument::LinkSink& s) { s.SetCommandReadyColour(colour); });
    return ready;
}

bool CardFifoEmpty() { return (cardStatus(*Link()) & 0x01) == 0; }

bool SerialFlagBit0() {
    const auto& state = instrument::LinkState();
    return !state.IgnoreVelocityTooHigh.load() && (state.HeadFlags.load() & 0x01) != 0;
}

bool SerialFlagBit2() { return (instrument::LinkState().HeadFlags.load() & 0x04) != 0; }

bool TakeRemoteEvent() {
    auto& state = instrument::LinkState();
    if ((state.HeadFlags.load() & 0x02) == 0) return false;
    state.HeadFlags.fetch_and(static_cast<uint8_t>(~0x02));
    const uint32_t now = Link()->clock.tick();
    SendCommandByte(HeadCommand::Acknowledge);
    const uint32_t previous = state.RemoteEventTick.exchange(now);
    return now - previous > 200;
}

bool MeasureLevelLost() { return instrument::headLinkNow()->MeasureLevelLost(); }

bool HeadReady() { return instrument::headLinkNow()->HeadReady(); }

bool DataErrorActive() { return instrument::headLinkNow()->DataErrorActive(); }

bool ReadDataByte(uint8_t& out) {
    auto link = Link();
    if (link->card) {
        platform::CardPorts& card = *link->card;
        for (int i = 0; i < 1000000; ++i) {
            if ((card.inPort(platform::kCardStatusPort) & 0x01) == 0) continue;
            if (!instrument::watchdogStopQueued.exchange(true)) {
                instrument::LinkSink* sink = link->sink;
                instrument::toUiThread([sink] {
                    instrument::watchdogStopQueued = false;
                    if (sink) sink->StopLinkWatchdog();
                });
            }
            out = card.inPort(platform::kCardDataPort);
            return true;
        }
    } else {
        InterfaceError = true;
    }
    toSink(*link, [](instrument::LinkSink& s) {
        s.SetStatusText(QString::fromUtf8("Odczyt trwa za długo"));
    });
    return false;
}

void SendCommandByte(uint8_t byte) {
    const instrument::CommandSequence one;
    instrument::headLinkNow()->SendCommandByte(byte);
}

namespace instrument {

namespace {

// The measuring card: status from port 0x301, commands to port 0x302 once it is free.
class CardHeadLink final : public HeadLink {
public:
    explicit CardHeadLink(const LinkSetup& setup) : setup_(setup) {}
    LinkKind Kind() const override { return LinkKind::Card; }
    uint8_t InterfaceStatus() override { return cardStatus(setup_); }
    bool MeasureLevelLost() override { return (cardStatus(setup_) & 0x20) == 0; }
    bool HeadReady() override { return (cardStatus(setup_) & 0x02) != 0; }
    bool DataErrorActive() override { return (cardStatus(setup_) & 0x10) == 0; }
    void SendCommandByte(uint8_t byte) override {
        if (!setup_.card) {
            // No card ports: waiting 30 s for a command port that is not there helps nobody.
            InterfaceError = true;
            return;
        }
        bool ready = false;
        for (int i = 0; i < 3000 && !ready; ++i) {
            setup_.clock.sleepMs(10);
            ready = CardCommandReady();
        }
        setup_.card->outPort(platform::kCardCommandPort, byte);
        if (!ready) toSink(setup_, [](LinkSink& s) { s.ShowMessage(QStringLiteral("Port zajety")); });
    }

private:
    LinkSetup setup_;
};

// The serial link: status from the last good frame, commands as single bytes on the port.
class SerialHeadLink final : public HeadLink {
public:
    explicit SerialHeadLink(const LinkSetup& setup) : setup_(setup) {}
    LinkKind Kind() const override { return LinkKind::Serial; }
    uint8_t InterfaceStatus() override { return LinkState().HeadStatus.load(); }
    bool MeasureLevelLost() override { return (LinkState().HeadStatus.load() & 0x08) == 0; }
    bool HeadReady() override { return (LinkState().HeadStatus.load() & 0x01) != 0; }
    bool DataErrorActive() override { return (LinkState().HeadStatus.load() & 0x10) == 0; }
    void SendCommandByte(uint8_t byte) override {
        // The byte goes out as it is (0x80 and above included); the result is not checked.
        if (setup_.comm) setup_.comm->SendString(std::string(1, static_cast<char>(byte)));
        setup_.clock.sleepMs(10);
    }

private:
    LinkSetup setup_;
};

// No link chosen: nothing to read, nothing sent.
class NoHeadLink final : public HeadLink {
public:
    LinkKind Kind() const override { return LinkKind::None; }
    uint8_t InterfaceStatus() override { return 0; }
    bool MeasureLevelLost() override { return false; }
    bool HeadReady() override { return false; }
    bool DataErrorActive() override { return false; }
    void SendCommandByte(uint8_t) override {}
};

}  // namespace

std::shared_ptr<HeadLink> makeHeadLink(const LinkSetup& setup) {
    switch (setup.kind.value_or(LinkKind::None)) {
    case LinkKind::Card: return std::make_shared<CardHeadLink>(setup);
    case LinkKind::Serial: return std::make_shared<SerialHeadLink>(setup);
    case LinkKind::None: break;
    }
    return std::make_shared<NoHeadLink>();
}

}  // namespace instrument
