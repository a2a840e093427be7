#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <thread>

#include "instrument/ComDrv32.h"
#include "support/SimClock.h"
#include "support/SimHead.h"
#include "support/SimSerialLine.h"

using testsupport::SimClock;
using testsupport::SimSerialLine;

namespace {

struct Driver {
    Driver() {
        auto l = std::make_unique<SimSerialLine>();
        line = l.get();
        port = std::make_unique<TCommPortDriver>(nullptr, std::move(l));
        port->SetClock(clock.link());
        line->setTickSource([c = clock] { return c.now(); });
    }
    SimClock clock;
    SimSerialLine* line;
    std::unique_ptr<TCommPortDriver> port;
};

}  // namespace

TEST(CommPortDriver, Defaults) {
    Driver d;
    TCommPortDriver& p = *d.port;
    EXPECT_FALSE(p.Connected());
    EXPECT_EQ(p.ComPort(), pnCOM1);
    EXPECT_EQ(p.ComPortSpeed(), br9600);
    EXPECT_EQ(p.ComPortDataBits(), db8BITS);
    EXPECT_EQ(p.ComPortStopBits(), sb1BITS);
    EXPECT_EQ(p.ComPortParity(), ptNONE);
    EXPECT_EQ(p.ComPortHwHandshaking(), hhNONE);
    EXPECT_EQ(p.ComPortSwHandshaking(), shNONE);
    EXPECT_EQ(p.ComPortInBufSize(), 2048);
    EXPECT_EQ(p.ComPortOutBufSize(), 2048);
    EXPECT_EQ(p.ComPortPollingDelay(), 50);
    EXPECT_TRUE(p.EnableDTROnOpen());
    EXPECT_EQ(p.OutputTimeout(), 4000);
    EXPECT_EQ(p.OutFreeSpace(), -1);
    EXPECT_EQ(ComPortBaudTable, (std::array<int, 13>{110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400,
                                                     56000, 57600, 115200}));
}

TEST(CommPortDriver, DeviceOfEachPort) {
    unsetenv("VKM30_COM1");
    unsetenv("VKM30_COM10");
    EXPECT_EQ(platform::comPortDevice(1), "/dev/ttyS0");
    EXPECT_EQ(platform::comPortDevice(10), "/dev/ttyS9");
    setenv("VKM30_COM10", "/dev/ttyUSB3", 1);
    Driver d;
    d.port->SetComPort(pnCOM10);
    EXPECT_TRUE(d.port->Connect());
    EXPECT_EQ(d.line->opened(), std::vector<std::string>{"/dev/ttyUSB3"});
    unsetenv("VKM30_COM10");
    setenv("VKM30_COM10", "", 1);  // empty: the standard device
    EXPECT_EQ(platform::comPortDevice(10), "/dev/ttyS9");
    unsetenv("VKM30_COM10");
}

TEST(CommPortDriver, ConnectAppliesTheSettingsOnce) {
    Driver d;
    d.port->SetComPortSpeed(br57600);
    d.port->SetComPortParity(ptEVEN);
    d.port->SetComPortDataBits(db7BITS);
    d.port->SetComPortStopBits(sb2BITS);
    d.port->SetComPortSwHandshaking(shXONXOFF);
    d.port->SetComPortInBufSize(4096);
    d.port->SetEnableDTROnOpen(false);
    EXPECT_TRUE(d.line->applied().empty());  // nothing reaches a closed line
    ASSERT_TRUE(d.port->Connect());
    EXPECT_TRUE(d.port->Connected());
    EXPECT_TRUE(d.port->PollingActive());
    ASSERT_EQ(d.line->applied().size(), 1u);
    const platform::SerialLineSettings s = d.line->applied()[0];
    EXPECT_EQ(s.baud, 57600);
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_EQ(s.stopBits, 2);
    EXPECT_EQ(s.parity, 2);
    EXPECT_FALSE(s.rtsCts);
    EXPECT_TRUE(s.xonXoff);
    EXPECT_EQ(s.xonLimit, 1024);
    EXPECT_EQ(d.line->purges(), (std::vector<std::pair<bool, bool>>{{true, true}}));
    // DTR follows EnableDTROnOpen; RTS stays low without the handshake.
    const auto modem = d.line->modemCalls();
    ASSERT_EQ(modem.size(), 2u);
    EXPECT_EQ(modem[0].line, 'D');
    EXPECT_FALSE(modem[0].on);
    EXPECT_EQ(modem[1].line, 'R');
    EXPECT_FALSE(modem[1].on);

    // Connect on an open port changes nothing.
    EXPECT_TRUE(d.port->Connect());
    EXPECT_EQ(d.line->opened().size(), 1u);
    EXPECT_EQ(d.line->applied().size(), 1u);

    d.port->Disconnect();
    EXPECT_FALSE(d.port->Connected());
    EXPECT_FALSE(d.port->PollingActive());
}

TEST(CommPortDriver, OpenFailureReportsFalse) {
    Driver d;
    d.line->setOpenFails(true);
    EXPECT_FALSE(d.port->Connect());
    EXPECT_FALSE(d.port->Connected());
    EXPECT_FALSE(d.port->PollingActive());
    EXPECT_FALSE(d.port->LastError().empty());
}

TEST(CommPortDriver, ChangesOnAnOpenPort) {
    Driver d;
    ASSERT_TRUE(d.port->Connect());
    d.port->SetComPortSpeed(br115200);
    ASSERT_EQ(d.line->applied().size(), 2u);
    EXPECT_EQ(d.line->applied()[1].baud, 115200);
    EXPECT_EQ(d.line->purges().size(), 2u);
    d.port->SetComPortHwHandshaking(hhRTSCTS);
    EXPECT_TRUE(d.line->applied().back().rtsCts);

    d.port->SetComPort(pnCOM3);
    EXPECT_EQ(d.port->ComPort(), pnCOM1);
    d.port->SetComPortInBufSize(16);
    EXPECT_EQ(d.port->ComPortInBufSize(), 2048);
    d.port->SetComPortPollingDelay(20);
    EXPECT_EQ(d.port->ComPortPollingDelay(), 20);
    EXPECT_TRUE(d.port->PollingActive());

    d.port->Disconnect();
    d.port->SetComPort(pnCOM3);
    EXPECT_EQ(d.port->ComPort(), pnCOM3);
}

TEST(CommPortDriver, PollDeliversWhatArrivedUpToTheBufferSize) {
    Driver d;
    d.port->SetComPortInBufSize(4);
    std::vector<std::vector<uint8_t>> got;
    d.port->SetOnReceiveData([&](TCommPortDriver* sender, const uint8_t* p, int32_t n) {
        EXPECT_EQ(sender, d.port.get());
        got.emplace_back(p, p + n);
    });
    d.port->Poll();  // closed: nothing read
    EXPECT_EQ(d.line->reads(), 0);
    ASSERT_TRUE(d.port->Connect());
    d.port->Poll();
    EXPECT_TRUE(got.empty());  // no bytes, no call
    d.line->queueIncoming({1, 2, 3, 4, 5, 6});
    d.port->Poll();
    d.port->Poll();
    EXPECT_EQ(got, (std::vector<std::vector<uint8_t>>{{1, 2, 3, 4}, {5, 6}}));
}

// SendData: every way out, with a clock that moves only while the sender waits.
TEST(CommPortDriver, SendDataResults) {
    const std::vector<uint8_t> data(10, 0x41);
    {
        Driver d;  // closed
        EXPECT_EQ(d.port->SendData(data.data(), 10), 0);
        ASSERT_TRUE(d.port->Connect());
        EXPECT_EQ(d.port->SendData(data.data(), 0), 0);
        EXPECT_EQ(d.port->SendData(data.data(), -3), 0);
        EXPECT_EQ(d.port->SendData(data.data(), 10), 10);
        EXPECT_TRUE(d.port->SendString("xyz"));
        EXPECT_EQ(d.line->written().size(), 13u);
    }
    {
        Driver d;  // the queue stays full: minus what went out, after the time-out
        ASSERT_TRUE(d.port->Connect());
        d.line->setWriteLimit(3);
        d.line->setOnWrite([](SimSerialLine& l, int) { l.setWriteLimit(0); });
        const uint32_t start = d.clock.now();
        EXPECT_EQ(d.port->SendData(data.data(), 10), -3);
        EXPECT_GT(d.clock.now() - start, 4000u);
        EXPECT_LE(d.clock.now() - start, 4002u);
        EXPECT_FALSE(d.port->SendString("ab"));
    }
    {
        Driver d;  // one byte every 3 s: each write restarts the time-out, so all go out
        ASSERT_TRUE(d.port->Connect());
        d.line->setWriteLimit(1);
        d.line->setOnWrite([&d](SimSerialLine& l, int) {
            l.setWriteLimit(0);
            d.clock.advance(3000);
            l.setWriteLimit(1);
        });
        EXPECT_EQ(d.port->SendData(data.data(), 10), 10);
    }
    {
        Driver d;  // free space just over the limit of the queue: only what fits each time
        ASSERT_TRUE(d.port->Connect());
        d.port->SetComPortOutBufSize(4);
        EXPECT_EQ(d.port->OutFreeSpace(), 4);
        EXPECT_EQ(d.port->SendData(data.data(), 10), 10);
    }
    struct AtOnce {
        const char* what;
        std::function<void(SimSerialLine&)> script;
    };
    const AtOnce atOnce[] = {
        {"free space below zero", [](SimSerialLine& l) { l.setOutputQueued(5000); }},
        {"queue cannot be told", [](SimSerialLine& l) { l.setOutputQueued(-1); }},
        {"write fails", [](SimSerialLine& l) { l.setWriteLimit(-1); }},
        {"port closes meanwhile", [](SimSerialLine& l) {
             l.setWriteLimit(2);
             l.setOnWrite([](SimSerialLine& x, int) { x.close(); });
         }},
    };
    for (const AtOnce& c : atOnce) {
        SCOPED_TRACE(c.what);
        Driver d;
        ASSERT_TRUE(d.port->Connect());
        c.script(*d.line);
        const int32_t r = d.port->SendData(data.data(), 10);
        EXPECT_LE(r, 0);
        EXPECT_EQ(-r, static_cast<int32_t>(d.line->written().size()));
        EXPECT_EQ(d.clock.slept(), 0u);  // no waiting
    }
}

// Several threads send at once; every byte goes out exactly once.
TEST(CommPortDriver, SendDataFromWorkers) {
    Driver d;
    ASSERT_TRUE(d.port->Connect());
    d.line->setWriteLimit(7);
    std::vector<std::thread> t;
    for (int k = 0; k < 4; ++k)
        t.emplace_back([&d, k] {
            const std::vector<uint8_t> buf(1000, static_cast<uint8_t>('a' + k));
            for (int i = 0; i < 20; ++i) EXPECT_EQ(d.port->SendData(buf.data(), 1000), 1000);
        });
    for (auto& x : t) x.join();
    const auto w = d.line->written();
    ASSERT_EQ(w.size(), 80000u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(std::count(w.begin(), w.end(), 'a' + k), 20000);
}

TEST(CommPortDriver, ModemLinesRecordedAndRefusalsHarmless) {
    Driver d;
    EXPECT_FALSE(d.port->ToggleDTR(true));  // closed
    ASSERT_TRUE(d.port->Connect());
    EXPECT_TRUE(d.port->ToggleDTR(true));
    d.clock.advance(50);
    EXPECT_TRUE(d.port->ToggleDTR(false));
    EXPECT_TRUE(d.port->ToggleRTS(true));
    auto m = d.line->modemCalls();
    ASSERT_EQ(m.size(), 5u);  // two from the settings
    EXPECT_EQ(m[2].line, 'D');
    EXPECT_TRUE(m[2].on);
    EXPECT_EQ(m[3].tick - m[2].tick, 50u);
    EXPECT_FALSE(m[3].on);
    EXPECT_EQ(m[4].line, 'R');

    d.line->setModemLinesWork(false);
    EXPECT_FALSE(d.port->ToggleRTS(false));
    EXPECT_NE(d.port->LastError().find("RTS"), std::string::npos);
    d.port->SetComPortSpeed(br19200);  // settings still apply
    EXPECT_TRUE(d.port->Connected());
    EXPECT_EQ(d.line->applied().back().baud, 19200);
}

// ---- The real tty backend over a pseudo-terminal ----

TEST(CommPortDriverTty, EverySpeedReachesTheLine) {
    testsupport::SimHead head;
    ASSERT_TRUE(head.ok());
    head.attachAsCom(7);
    TCommPortDriver port;
    port.SetComPort(pnCOM7);
    ASSERT_TRUE(port.Connect()) << port.LastError();
    for (int i = 0; i <= br115200; ++i) {
        port.SetComPortSpeed(static_cast<TComPortBaudRate>(i));
        EXPECT_EQ(head.lineSpeed(), ComPortBaudTable[i]) << i;
    }
    // A pseudo-terminal has no modem lines: refused, reported, harmless.
    EXPECT_FALSE(port.ToggleDTR(true));
    EXPECT_FALSE(port.LastError().empty());
    EXPECT_TRUE(port.Connected());
}

TEST(CommPortDriverTty, OpenIsExclusiveAndMissingDevicesFail) {
    testsupport::SimHead head;
    ASSERT_TRUE(head.ok());
    head.attachAsCom(8);
    TCommPortDriver first, second;
    first.SetComPort(pnCOM8);
    second.SetComPort(pnCOM8);
    ASSERT_TRUE(first.Connect());
    if (geteuid() != 0) {  // root may open an exclusive line anyway
        EXPECT_FALSE(second.Connect());
    }
    first.Disconnect();
    EXPECT_TRUE(second.Connect());
    second.Disconnect();

    setenv("VKM30_COM9", "/nonexistent/tty", 1);
    TCommPortDriver missing;
    missing.SetComPort(pnCOM9);
    EXPECT_FALSE(missing.Connect());
    EXPECT_FALSE(missing.Connected());
    setenv("VKM30_COM9", "/dev/null", 1);  // exists, but no serial line
    EXPECT_FALSE(missing.Connect());
    unsetenv("VKM30_COM9");
}

TEST(CommPortDriverTty, BytesBothWaysAndTheTimerPolls) {
    testsupport::SimHead head;
    ASSERT_TRUE(head.ok());
    head.attachAsCom(6);
    TCommPortDriver port;
    port.SetComPort(pnCOM6);
    std::vector<uint8_t> got;
    port.SetOnReceiveData([&](TCommPortDriver*, const uint8_t* p, int32_t n) { got.insert(got.end(), p, p + n); });
    ASSERT_TRUE(port.Connect());
    EXPECT_GT(port.OutFreeSpace(), 0);
    const std::vector<uint8_t> out = {0x00, 0x0A, 0x0D, 0x11, 0x13, 0x7F, 0x80, 0xFF};  // no translation
    EXPECT_EQ(port.SendData(out.data(), 8), 8);
    ASSERT_TRUE(head.waitForCommands(8));
    EXPECT_EQ(head.receivedCommands(), out);
    head.send(out);
    QElapsedTimer t;
    t.start();
    while (got.size() < 8 && t.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(got, out);
}

// Port detection reopens the port from its own thread: the polling timer still starts and
// stops on the user-interface thread.
TEST(CommPortDriver, ConnectFromAWorkerStartsPollingOnTheUiThread) {
    Driver d;
    std::thread([&d] { EXPECT_TRUE(d.port->Connect()); }).join();
    EXPECT_TRUE(d.port->Connected());
    QCoreApplication::processEvents();
    EXPECT_TRUE(d.port->PollingActive());
    std::thread([&d] { d.port->Disconnect(); }).join();
    QCoreApplication::processEvents();
    EXPECT_FALSE(d.port->PollingActive());
}
