// The whole serial path: the simulated head on a pseudo-terminal, the real port component with
// its timer, the frame parser, the FIFO and the events; commands back through SendCommandByte.
#include "HeadOnPort.h"
#include "instrument/OdczytMeteo.h"

#include <algorithm>
#include <atomic>
#include <thread>

using testsupport::FrameSpec;
using testsupport::SimHead;

class SimHeadLink : public HeadOnPort {};

TEST_F(SimHeadLink, FramesArriveInTheFifoAndCommandsAtTheHead) {
    std::vector<uint32_t> got;
    head.sendFrame(FrameSpec::ready(1000));
    head.sendFrame(FrameSpec::ready(-1000).withMeteo({1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(pumpUntil([&] {
        for (uint32_t v : drain(fifo)) got.push_back(v);
        return got.size() >= 2 && meteo.isSet();
    }));
    EXPECT_EQ(got, (std::vector<uint32_t>{1000, static_cast<uint32_t>(-1000)}));
    EXPECT_TRUE(sample.isSet());
    EXPECT_EQ(instrument::LoadMeteoRaw(), (instrument::MeteoWords{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(HeadReady());
    EXPECT_FALSE(DataErrorActive());

    for (uint8_t b : {uint8_t('R'), uint8_t(0x89), uint8_t('S')}) SendCommandByte(b);
    ASSERT_TRUE(head.waitForCommands(3));
    EXPECT_EQ(head.receivedCommands(), (std::vector<uint8_t>{'R', 0x89, 'S'}));
}

// The head answers commands (the program test) and streams frames of a moving axis.
TEST_F(SimHeadLink, AutoReplyAndStreaming) {
    head.setAutoReply([](uint8_t c) { return c == 0x88 ? testsupport::Bytes{0x14, 0x1E} : testsupport::Bytes{}; });
    ReadingStopped = true;
    SignalMonitorStopped = true;
    PendingReply = 3;
    SendCommandByte(0x88);
    ASSERT_TRUE(pumpUntil([&] { return programLoad.isSet(); }));
    EXPECT_EQ(sink.status, QStringList{"Program OK."});

    ReadingStopped = false;
    fifo.SetSize(255);  // a slow tick on a loaded machine must not overflow it
    head.setStreamStep(25);
    head.startStreaming(FrameSpec::ready(0), std::chrono::milliseconds(10));
    std::vector<uint32_t> got;
    ASSERT_TRUE(pumpUntil([&] {
        for (uint32_t v : drain(fifo)) got.push_back(v);
        return got.size() >= 10;
    }));
    head.stopStreaming();
    // Counts climb by the step; the first may have been cut by the switch from replies.
    for (size_t i = 1; i < got.size(); ++i) EXPECT_EQ(static_cast<int32_t>(got[i] - got[i - 1]), 25) << i;

    // The head drops READY: frames still wake the reader, which sees the head not ready.
    head.setStreamStatus(testsupport::kStLevelOk | testsupport::kStNoDataError);
    head.startStreaming(head.streamFrame(), std::chrono::milliseconds(10));
    ASSERT_TRUE(pumpUntil([&] { return !HeadReady(); }));
    sample.reset();
    ASSERT_TRUE(pumpUntil([&] { return sample.isSet(); }));
    head.stopStreaming();
}

// A head set to answer at one speed only hears the program at that speed.
TEST_F(SimHeadLink, HeadAnswersAtItsSpeedOnly) {
    head.setRequiredSpeed(57600);
    port.SetComPortSpeed(br9600);
    SendCommandByte('T');
    EXPECT_FALSE(head.waitForCommands(1, std::chrono::milliseconds(200)));
    port.SetComPortSpeed(br57600);
    SendCommandByte('U');
    ASSERT_TRUE(head.waitForCommands(1));
    EXPECT_EQ(head.receivedCommands(), std::vector<uint8_t>{'U'});
}

// While frames stream and another thread sends its single bytes, each command of several bytes
// sent under the link's send lock reaches the head whole and in order.
TEST_F(SimHeadLink, CommandSequencesArriveWholeWhileAnotherThreadSends) {
    fifo.SetSize(255);
    head.startStreaming(FrameSpec::ready(0), std::chrono::milliseconds(10));
    std::atomic<bool> quit{false};
    std::atomic<int> singles{0};
    std::thread perFrame([&] {
        while (!quit) {
            SendCommandByte('A');
            ++singles;
        }
    });
    ASSERT_TRUE(pumpUntil([&] { return singles.load() >= 2; }));
    const std::string sequence = "F=?1S";
    constexpr int kSequences = 6;
    for (int i = 0; i < kSequences; ++i) {
        const instrument::CommandSequence whole;
        for (char c : sequence) SendCommandByte(static_cast<uint8_t>(c));
    }
    const int before = singles.load();
    ASSERT_TRUE(pumpUntil([&] { return singles.load() >= before + 2; }));
    quit = true;
    perFrame.join();
    const size_t total = static_cast<size_t>(singles.load()) + kSequences * sequence.size();
    ASSERT_TRUE(head.waitForCommands(total));

    // Every sequence starts with the only 'F' and must run on unbroken; every single byte is
    // there once.
    const std::string got = received();
    int found = 0;
    for (size_t at = got.find('F'); at != std::string::npos; at = got.find('F', at + 1)) {
        EXPECT_EQ(got.substr(at, sequence.size()), sequence) << got;
        ++found;
    }
    EXPECT_EQ(found, kSequences) << got;
    EXPECT_EQ(std::count(got.begin(), got.end(), 'A'), singles.load()) << got;
}

// The head vanishing hangs the line up: the port's poll reports it once, stops polling, says
// why and closes the dead line, so that a later Connect reaches a head plugged back in.
TEST_F(SimHeadLink, HungUpLineIsReportedOnceClosedAndOpensAgain) {
    int failures = 0;
    port.SetOnLineFailure([&](TCommPortDriver*) { ++failures; });
    head.sendFrame(FrameSpec::ready(5));
    ASSERT_TRUE(pumpUntil([&] { return sample.isSet(); }));
    EXPECT_FALSE(port.LineFailed());
    head.vanish();
    ASSERT_TRUE(pumpUntil([&] { return failures > 0; }));
    for (int i = 0; i < 5; ++i) port.Poll();
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(port.LineFailed());
    EXPECT_FALSE(port.Connected());
    EXPECT_FALSE(port.PollingActive());
    EXPECT_FALSE(port.LastError().empty());
    EXPECT_EQ(port.SendData("R", 1), 0);

    // Back again (a new terminal under the same COM name).
    SimHead back;
    ASSERT_TRUE(back.ok());
    back.attachAsCom(5);
    ASSERT_TRUE(port.Connect()) << port.LastError();
    EXPECT_FALSE(port.LineFailed());
    EXPECT_TRUE(port.PollingActive());
    sample.reset();
    back.sendFrame(FrameSpec::ready(6));
    ASSERT_TRUE(pumpUntil([&] { return sample.isSet(); }));
    SendCommandByte('R');
    ASSERT_TRUE(back.waitForCommands(1));
    EXPECT_EQ(back.receivedCommands(), testsupport::Bytes{'R'});
}
