#include <QCoreApplication>
#include <QThread>
#include <thread>

#include "LinkFixture.h"
#include "support/SimCard.h"
#include "support/SimClock.h"
#include "support/SimSerialLine.h"
#include "support/InstrumentSinkDoubles.h"

using testsupport::SimCard;
using testsupport::SimClock;
using testsupport::SimSerialLine;

namespace {

class RecordingLinkSink : public testsupport::LinkSinkDouble {
public:
    std::vector<uint32_t> colours;
    int watchdogStops = 0;
    QStringList status, messages;
    bool allOnUi = true;
    void SetCommandReadyColour(uint32_t c) override { note(); colours.push_back(c); }
    void StopLinkWatchdog() override { note(); ++watchdogStops; }
    void SetStatusText(const QString& t) override { note(); status.append(t); }
    void ShowMessage(const QString& t) override { note(); messages.append(t); }

private:
    void note() { allOnUi = allOnUi && QThread::currentThread() == QCoreApplication::instance()->thread(); }
};

class LinkLayer : public LinkGlobalsFixture {
protected:
    void SetUp() override {
        LinkGlobalsFixture::SetUp();
        auto l = std::make_unique<SimSerialLine>();
        line = l.get();
        comm = std::make_unique<TCommPortDriver>(nullptr, std::move(l));
        comm->SetClock(clock.link());
        ASSERT_TRUE(comm->Connect());
        instrument::SetLink({comm.get(), &card, &sink, clock.link()});
    }
    // The link chosen as the program chooses it from the interface setting.
    void choose(uint8_t mode) {
        InterfaceMode = mode;
        instrument::SetLink({comm.get(), &card, &sink, clock.link()});
    }

    SimClock clock;
    SimCard card;
    RecordingLinkSink sink;
    SimSerialLine* line = nullptr;
    std::unique_ptr<TCommPortDriver> comm;
};

}  // namespace

// Each status bit with its polarity, on the card (port 0x301) and on the serial link
// (HeadStatus), and nothing in any other mode.
TEST_F(LinkLayer, StatusPredicates) {
    struct Case {
        uint8_t mode, status;
        bool ready, levelLost, dataError, fifoEmpty, commandReady;
    };
    const Case cases[] = {
        // card: bit 1 ready, bit 5 level good, bit 4 low = data error, bit 0 low = empty, bit 7 free
        {0, 0x00, false, true, true, true, false},
        {0, 0xFF, true, false, false, false, true},
        {0, 0x02, true, true, true, true, false},
        {0, 0x20, false, false, true, true, false},
        {0, 0x10, false, true, false, true, false},
        {0, 0x80, false, true, true, true, true},
        // serial: bit 0 ready, bit 3 level good, bit 4 low = data error
        {1, 0x00, false, true, true, true, false},
        {1, 0x01, true, true, true, true, false},
        {1, 0x08, false, false, true, true, false},
        {1, 0x10, false, true, false, true, false},
        {1, 0x19, true, false, false, true, false},
        {1, 0x22, false, true, true, true, false},  // bit 1 and 5 mean nothing here
        {2, 0xFF, false, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << " status " << int(c.status));
        choose(c.mode);
        card.setStatus(c.status & 0xFE);
        if (c.status & 0x01) card.queueData({0x00});
        instrument::LinkState().HeadStatus = c.status;
        EXPECT_EQ(HeadReady(), c.ready);
        EXPECT_EQ(MeasureLevelLost(), c.levelLost);
        EXPECT_EQ(DataErrorActive(), c.dataError);
        if (c.mode == 0) {
            EXPECT_EQ(ReadInterfaceStatus(), c.status);
            EXPECT_EQ(CardFifoEmpty(), c.fifoEmpty);
            EXPECT_EQ(CardCommandReady(), c.commandReady);
        } else {
            EXPECT_EQ(ReadInterfaceStatus(), c.mode == 1 ? c.status : 0);
        }
        while (card.queued()) ReadCardData();
    }
}

// On the card the status byte comes from the port even though the reading thread also stores
// the frame's flag byte in HeadStatus; the flag predicates read HeadFlags on both links.
TEST_F(LinkLayer, CardReadsItsPortAndFlagsComeFromHeadFlags) {
    choose(0);
    card.setStatus(0x00);
    instrument::LinkState().HeadStatus = 0xFF;
    EXPECT_FALSE(HeadReady());
    EXPECT_EQ(ReadInterfaceStatus(), 0x00);
    for (uint8_t mode : {uint8_t(0), uint8_t(1)}) {
        choose(mode);
        instrument::LinkState().HeadFlags = 0x05;
        EXPECT_TRUE(SerialFlagBit0());
        EXPECT_TRUE(SerialFlagBit2());
        instrument::LinkState().IgnoreVelocityTooHigh = true;
        EXPECT_FALSE(SerialFlagBit0());
        instrument::LinkState().IgnoreVelocityTooHigh = false;
        instrument::LinkState().HeadFlags = 0x02;
        EXPECT_FALSE(SerialFlagBit0());
        EXPECT_FALSE(SerialFlagBit2());
    }
}

TEST_F(LinkLayer, CommandReadyColoursTheLabelOnChange) {
    choose(0);
    card.setStatus(0x80);
    CardCommandReady();
    CardCommandReady();
    card.setStatus(0x00);
    CardCommandReady();
    EXPECT_EQ(sink.colours, (std::vector<uint32_t>{0x008000, 0x0000FF}));
}

// Remote accept requests: every request is acknowledged with '@' and its bit cleared; only one
// more than 200 ms after the previous request counts.
TEST_F(LinkLayer, TakeRemoteEventTiming) {
    choose(1);
    struct Step {
        uint32_t gap;  // ms since the previous step
        bool request;
        bool result;
    };
    const Step steps[] = {
        {1000, true, true}, {100, true, false}, {200, true, false},  // 200 is not more than 200
        {201, true, true},  {500, false, false}, {150, true, true},   // the tick moves only on requests
        {0, true, false},
    };
    size_t acks = 0;
    for (const Step& s : steps) {
        clock.advance(s.gap);
        instrument::LinkState().HeadFlags = s.request ? 0x0B : 0x09;
        EXPECT_EQ(TakeRemoteEvent(), s.result) << clock.now();
        EXPECT_EQ(instrument::LinkState().HeadFlags.load(), 0x09);
        if (s.request) ++acks;
        EXPECT_EQ(line->written(), std::vector<uint8_t>(acks, '@'));
        // the acknowledge cost 10 ms of the simulated clock; take it back out of the gaps
        if (s.request) clock.advance(static_cast<uint32_t>(-10));
    }
}

TEST_F(LinkLayer, SerialCommandGoesOutRawAndTakesTenMs) {
    choose(1);
    const uint64_t before = clock.slept();
    for (uint8_t b : {uint8_t('S'), uint8_t(0x80), uint8_t(0x8F), uint8_t(0xFF), uint8_t(0x00)}) SendCommandByte(b);
    EXPECT_EQ(line->written(), (std::vector<uint8_t>{'S', 0x80, 0x8F, 0xFF, 0x00}));
    EXPECT_EQ(clock.slept() - before, 50u);
    // A closed port: nothing goes out, nothing is reported, the pause stays.
    comm->Disconnect();
    SendCommandByte('R');
    EXPECT_EQ(line->written().size(), 5u);
    EXPECT_EQ(clock.slept() - before, 60u);
    EXPECT_TRUE(card.commands().empty());
}

TEST_F(LinkLayer, CardCommandWaitsForTheCommandPort) {
    choose(0);
    struct Case {
        int busyReads;
        uint64_t sleptMs;
        bool busyMessage;
    };
    // Ready at the first test after one 10 ms pause; busy for 4 tests; never ready (3000 tries).
    for (const Case c : {Case{0, 10, false}, Case{4, 50, false}, Case{100000, 30000, true}}) {
        SCOPED_TRACE(c.busyReads);
        SimCard fresh;
        RecordingLinkSink s;
        SimClock clk;
        instrument::SetLink({nullptr, &fresh, &s, clk.link()});
        fresh.setBusyReadsAfterCommand(c.busyReads);
        fresh.outPort(platform::kCardCommandPort, 0x00);  // a previous command keeps the port busy
        SendCommandByte(0x53);
        EXPECT_EQ(fresh.commands(), (std::vector<uint8_t>{0x00, 0x53}));  // written in any case
        EXPECT_EQ(clk.slept(), c.sleptMs);
        EXPECT_EQ(s.messages, c.busyMessage ? QStringList{"Port zajety"} : QStringList{});
        EXPECT_FALSE(InterfaceError.load());
    }
}

// Without card ports the interface-error path is taken at once, with no 30 s wait.
TEST_F(LinkLayer, NoCardFailsAtOnce) {
    choose(0);
    instrument::SetLink({comm.get(), nullptr, &sink, clock.link()});
    SendCommandByte(0x53);
    EXPECT_TRUE(InterfaceError.load());
    EXPECT_EQ(clock.slept(), 0u);
    uint8_t b = 7;
    EXPECT_FALSE(ReadDataByte(b));
    EXPECT_EQ(ReadInterfaceStatus(), 0);
    EXPECT_TRUE(CardFifoEmpty());
    EXPECT_FALSE(HeadReady());
    EXPECT_TRUE(line->written().empty());
}

TEST_F(LinkLayer, ReadDataByte) {
    choose(0);
    card.queueData({0xAA, 0x42});
    uint8_t b = 0;
    ASSERT_TRUE(ReadDataByte(b));
    EXPECT_EQ(b, 0xAA);
    ASSERT_TRUE(ReadDataByte(b));
    EXPECT_EQ(b, 0x42);
    EXPECT_EQ(sink.watchdogStops, 2);
    const int readsBefore = card.statusReads();
    EXPECT_FALSE(ReadDataByte(b));
    EXPECT_EQ(card.statusReads() - readsBefore, 1000000);
    EXPECT_EQ(sink.status, QStringList{QString::fromUtf8("Odczyt trwa za długo")});
}

TEST_F(LinkLayer, PortsReadAndWrite) {
    card.setAnswer(0x8F, 0, 87);
    OutPort(platform::kCardCommandPort, 0x8F);
    EXPECT_EQ(InPort(platform::kCardCommandPort), 87);
    OutPort(platform::kCardCommandPort, 0x88);
    EXPECT_EQ(InPort(platform::kCardHighPort), 30);
    EXPECT_EQ(InPort(platform::kCardCommandPort), 20);
    OutPort(platform::kCardHighPort, 0x3A);
    EXPECT_EQ(card.dataWritten(), std::vector<uint8_t>{0x3A});
}

// From a worker, the sink's calls are queued to the user-interface thread and do not block.
TEST_F(LinkLayer, WorkerSinkCallsRunOnTheUiThread) {
    choose(0);
    card.queueData({1});
    card.setStatus(0x00);
    std::thread worker([] {
        uint8_t b;
        ReadDataByte(b);
        ReadDataByte(b);  // times out
        CardCommandReady();
        SendCommandByte(0x41);  // never ready: "Port zajety"
    });
    worker.join();
    EXPECT_TRUE(sink.status.isEmpty());  // nothing ran on the worker
    QCoreApplication::processEvents();
    EXPECT_EQ(sink.watchdogStops, 1);
    EXPECT_EQ(sink.status.size(), 1);
    EXPECT_EQ(sink.messages, QStringList{"Port zajety"});
    EXPECT_EQ(sink.colours, std::vector<uint32_t>{0x0000FF});
    EXPECT_TRUE(sink.allOnUi);
}

// The simulated card's frames as the reading thread reads them, byte by byte from port 0x300.
TEST_F(LinkLayer, SimulatedCardFrames) {
    choose(0);
    card.queueFrame(0x19, 0x02, -2, uint8_t(77));
    card.queueFrame(0x19, 0x00, 0x01020304, std::nullopt, true);
    std::vector<uint8_t> got;
    uint8_t b;
    while (!CardFifoEmpty() && ReadDataByte(b)) got.push_back(b);
    EXPECT_EQ(got, (std::vector<uint8_t>{0xAA, 0x19, 0x02, 0xFF, 0xFF, 0xFF, 0xFE, 0x05, 77, 0xB3,  //
                                         0xAA, 0x19, 0x00, 0x01, 0x02, 0x03, 0x04, 0xF7}));
}

// The link is chosen when it is installed: a later change of the setting alone changes nothing
// until the link is installed again, and with no link nothing is read or sent.
// Taking the link away clears its state.
TEST_F(LinkLayer, LinkIsChosenOnceWhenInstalled) {
    InterfaceMode = 0;
    instrument::SetLink({comm.get(), &card, &sink, clock.link(), instrument::LinkKind::Serial});
    InterfaceMode = 0;
    EXPECT_TRUE(instrument::SerialLinkChosen());
    instrument::LinkState().HeadStatus = 0x01;
    card.setStatus(0x00);
    EXPECT_TRUE(HeadReady());
    SendCommandByte('S');
    EXPECT_EQ(line->written(), std::vector<uint8_t>{'S'});
    EXPECT_TRUE(card.commands().empty());

    instrument::LinkState().ReceiveState = 9;
    instrument::ResetLink();
    EXPECT_EQ(instrument::ChosenLink(), instrument::LinkKind::None);
    EXPECT_FALSE(HeadReady());
    // What the old link heard goes with it: a new link starts from a clean state.
    EXPECT_EQ(instrument::LinkState().HeadStatus.load(), 0);
    EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 1);
    SendCommandByte('T');
    EXPECT_EQ(line->written(), std::vector<uint8_t>{'S'});
    EXPECT_FALSE(InterfaceError.load());
}
