#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <deque>
#include <mutex>
#include <vector>

#include "foundations/SharedGlobals.h"
#include "instrument/OdczytMeteo.h"
#include "instrument/UOdczyt.h"
#include "platform/Sync.h"
#include "instrument/LinkPort.h"
#include "support/InstrumentSinkDoubles.h"

using namespace instrument;
using namespace std::chrono_literals;

namespace {

bool onUi() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

// Events and semaphore as the main window makes them, for the length of one test.
struct SharedEvents {
    platform::ManualResetEvent meteoData, meteoQuit, sample, readQuit;
    platform::BinarySemaphore card;
    SharedEvents() {
        ResetSharedGlobals();
        MeteoDataEvent = &meteoData;
        MeteoQuitEvent = &meteoQuit;
        SampleEvent = &sample;
        ReadQuitEvent = &readQuit;
        CardSemaphore = &card;
    }
    ~SharedEvents() {
        MeteoDataEvent = MeteoQuitEvent = SampleEvent = ReadQuitEvent = nullptr;
        CardSemaphore = nullptr;
        ResetSharedGlobals();
        instrument::ResetLink();
    }
};

class MeteoRecorder : public testsupport::MeteoThreadSinkDouble {
public:
    std::vector<std::pair<int, int32_t>> channels;
    std::vector<MeteoWords> displays, service;
    std::vector<std::string> order;
    std::vector<uint64_t> ended;
    bool allOnUi = true;
    bool stopAfterDisplay = false;

    void ShowServiceChannel(int c, int32_t raw) override {
        allOnUi = allOnUi && onUi();
        channels.push_back({c, raw});
    }
    void ShowServiceRawValues(const MeteoWords& w) override { service.push_back(w); }
    void UpdateMeteoDisplays(const MeteoWords& w) override {
        allOnUi = allOnUi && onUi();
        displays.push_back(w);
        order.push_back("display");
        if (stopAfterDisplay) MeteoStopped = true;
    }
    void ComputeEdlenFactor() override {
        allOnUi = allOnUi && onUi();
        order.push_back("edlen");
    }
    void MeteoThreadEnded(uint64_t g) override { ended.push_back(g); }
};

}  // namespace

TEST(ReadingThreads, MeteoSerialBlocksGoThroughTheHandOff) {
    SharedEvents ev;
    InterfaceMode = 1;
    instrument::SetLink({});  // the link chosen by the setting
    MeteoRecorder rec;
    MeteoThreadSettings settings;
    settings.averagingOn = false;
    TOdczytMeteo meteo(rec, settings, nullptr);
    EXPECT_EQ(meteo.Start(), 1u);

    StoreMeteoRaw({101, 202, 303, 404, 505, 606});
    MeteoDataEvent->set();
    ASSERT_TRUE(WaitProcessingEvents([&] { return rec.order.size() == 2; }, 5s));
    StoreMeteoRaw({111, 222, 333, 444, 555, 666});
    MeteoDataEvent->set();
    ASSERT_TRUE(WaitProcessingEvents([&] { return rec.order.size() == 4; }, 5s));
    EXPECT_EQ(rec.order, (std::vector<std::string>{"display", "edlen", "display", "edlen"}));
    EXPECT_EQ(rec.displays[1], (MeteoWords{111, 222, 333, 444, 555, 666}));
    EXPECT_EQ(rec.service.size(), 2u);
    EXPECT_TRUE(rec.allOnUi);

    // The quit event alone ends the serial thread, which takes the event back.
    MeteoQuitEvent->set();
    ASSERT_TRUE(meteo.WaitForEnd(5s));
    ASSERT_TRUE(WaitProcessingEvents([&] { return !rec.ended.empty(); }, 5s));
    EXPECT_EQ(rec.ended, (std::vector<uint64_t>{1}));
    EXPECT_FALSE(MeteoQuitEvent->isSet());
}

TEST(ReadingThreads, MeteoCardRoundReadsChannelsInOrderUnderTheSemaphore) {
    SharedEvents ev;
    InterfaceMode = 0;
    instrument::SetLink({});  // the link chosen by the setting
    MeteoRecorder rec;
    rec.stopAfterDisplay = true;
    MeteoThreadSettings settings;
    settings.averagingOn = false;
    std::vector<uint8_t> commands;
    bool semaphoreFree = true;
    TOdczytMeteo meteo(rec, settings, [&](uint8_t cmd) -> std::optional<int32_t> {
        commands.push_back(cmd);
        semaphoreFree = semaphoreFree && !ev.card.acquire(0ms);  // held by the thread
        if (cmd == 0x86) return std::nullopt;                     // this channel fails: keeps its value
        return 1000 + cmd;
    });
    meteo.Start();
    ASSERT_TRUE(meteo.WaitForEnd(10s));
    EXPECT_EQ(commands, (std::vector<uint8_t>{0x84, 0x85, 0x86, 0x87, 0x82, 0x83}));
    EXPECT_TRUE(semaphoreFree);
    ASSERT_EQ(rec.displays.size(), 1u);
    EXPECT_EQ(rec.displays[0], (MeteoWords{1132, 1133, 0, 1135, 1130, 1131}));
    ASSERT_EQ(rec.channels.size(), 6u);
    EXPECT_EQ(rec.channels[4], (std::pair<int, int32_t>{4, 1130}));
    EXPECT_EQ(rec.order, (std::vector<std::string>{"display", "edlen"}));
    EXPECT_TRUE(rec.allOnUi);
    EXPECT_TRUE(ev.card.acquire(0ms));  // released after every exchange
}

namespace {

class ReadingRecorder : public testsupport::ReadingSinkDouble {
public:
    std::vector<int32_t> samples;
    std::vector<int> levels;
    std::vector<uint64_t> ended;
    int drains = 0, prepares = 0;
    bool allOnUi = true;
    void PrepareSerialReading() override { ++prepares; }
    void ProcessSample(int32_t raw) override {
        allOnUi = allOnUi && onUi();
        samples.push_back(raw);
    }
    void DrainFifo() override {
        allOnUi = allOnUi && onUi();
        ++drains;
    }
    void ShowStatus(uint8_t level) override { levels.push_back(level); }
    void ReadingEnded(uint64_t g) override { ended.push_back(g); }
};

class ScriptedLink : public testsupport::ReadingLinkDouble {
public:
    std::mutex m;
    std::deque<uint8_t> bytes;
    StopCheckInput inputs;
    int resets = 0, remoteAsks = 0;
    bool remote = false;
    std::optional<uint8_t> ReadDataByte() override {
        std::lock_guard<std::mutex> g(m);
        if (bytes.empty()) return std::nullopt;
        const uint8_t b = bytes.front();
        bytes.pop_front();
        return b;
    }
    StopCheckInput StopInputs() override { return inputs; }
    bool TakeRemoteEvent() override {
        ++remoteAsks;
        return remote;
    }
    void ResetHeadFlags() override { ++resets; }
    uint8_t SerialSignalLevel() override { return 77; }
};

const std::vector<uint8_t> kFrames = {
    0xAA, 0x33, 0x00, 0x00, 0x00, 0x00, 0x05, 0xFB, 0x40, 0xC0,  // count 5, level 0x40
    0xAA, 0x33, 0x00, 0x00, 0x00, 0x00, 0x06, 0x00, 0x41, 0xBF,  // bad count checksum, level 0x41
    0xAA, 0x33, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x42, 0x00,  // count -1, bad level checksum
};

}  // namespace

TEST(ReadingThreads, CardFramesHandOffSamplesAndGauges) {
    struct Case {
        const char* name;
        StopCheckInput inputs;
        size_t samples;
        int32_t reason;
        bool stopped;
        int resets;
    };
    StopCheckInput readout;
    readout.mode = kModeDistanceReadout;
    StopCheckInput beam = readout;
    beam.measureLevelLost = true;
    StopCheckInput idle;
    idle.mode = kModePositioning;
    idle.dataErrorActive = true;
    const Case cases[] = {
        {"readout: runs until the card stops answering", readout, 2, 0, false, 0},
        {"beam lost: ends after the first frame", beam, 1, 2, true, 0},
        {"idle positioning: idle sequence after each frame", idle, 2, 0, false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SharedEvents ev;
        InterfaceMode = 0;
        instrument::SetLink({});  // the link chosen by the setting
        StatusByteEnabled = true;
        ReadingRecorder rec;
        ScriptedLink link;
        link.bytes.assign(kFrames.begin(), kFrames.end());
        link.inputs = c.inputs;
        TOdczyt reading(rec, link);
        const uint64_t gen = reading.Start();
        ASSERT_TRUE(reading.WaitForEnd(5s));
        ASSERT_TRUE(WaitProcessingEvents([&] { return !rec.ended.empty(); }, 5s));
        EXPECT_EQ(rec.ended, (std::vector<uint64_t>{gen}));
        ASSERT_EQ(rec.samples.size(), c.samples);
        EXPECT_EQ(rec.samples[0], 5);
        if (c.samples > 1) {
            EXPECT_EQ(rec.samples[1], -1);
            EXPECT_EQ(rec.levels, (std::vector<int>{0x40, 0x41}));
        }
        EXPECT_EQ(StopReason.load(), c.reason);
        EXPECT_EQ(ReadingStopped.load(), c.stopped);
        EXPECT_EQ(link.resets, c.resets);
        EXPECT_EQ(link.remoteAsks, c.resets ? 0 : static_cast<int>(c.samples == 1 ? 1 : 3));
        EXPECT_TRUE(rec.allOnUi);
    }
}

TEST(ReadingThreads, SerialDrainsOnSampleEventAndGenerationsAdvance) {
    SharedEvents ev;
    InterfaceMode = 1;
    instrument::SetLink({});  // the link chosen by the setting
    ReadingRecorder rec;
    ScriptedLink link;
    link.inputs.mode = kModePositioning;
    link.inputs.measurementRunning = true;
    link.remote = true;
    TOdczyt reading(rec, link);
    EXPECT_EQ(reading.Start(), 1u);
    ASSERT_TRUE(WaitProcessingEvents([&] { return rec.prepares == 1; }, 5s));
    SampleEvent->set();
    ASSERT_TRUE(WaitProcessingEvents([&] { return rec.levels.size() == 1; }, 5s));
    EXPECT_EQ(rec.drains, 1);
    EXPECT_EQ(rec.levels[0], 77);
    ASSERT_TRUE(WaitProcessingEvents([&] { return HeadAcceptRequest.load(); }, 5s));  // the head's key

    // A new start waits for the old thread, which the quit event ends.
    ReadQuitEvent->set();
    EXPECT_EQ(reading.Start(), 2u);
    ASSERT_TRUE(WaitProcessingEvents([&] { return rec.prepares == 2; }, 5s));
    ASSERT_TRUE(WaitProcessingEvents([&] { return rec.ended.size() == 1; }, 5s));
    EXPECT_EQ(rec.ended[0], 1u);

    ReadingStopped = true;  // a stop request ends it on its next wake-up
    SampleEvent->set();
    ASSERT_TRUE(reading.WaitForEnd(5s));
    ASSERT_TRUE(WaitProcessingEvents([&] { return rec.ended.size() == 2; }, 5s));
    EXPECT_EQ(rec.ended[1], 2u);
    EXPECT_EQ(rec.drains, 1);  // nothing drained once stopping
    EXPECT_TRUE(rec.allOnUi);
}

// A stop that comes without any event (the link lost, a missed wake-up) still ends the serial
// reading: its wait for a sample has a time-out.
TEST(ReadingThreads, SerialWaitForASampleHasATimeOut) {
    SharedEvents ev;
    InterfaceMode = 1;
    instrument::SetLink({});  // the link chosen by the setting
    ReadingRecorder rec;
    ScriptedLink link;
    link.inputs.mode = kModeDistanceReadout;
    TOdczyt reading(rec, link);
    reading.Start();
    ASSERT_TRUE(WaitProcessingEvents([&] { return rec.prepares == 1; }, 5s));
    ReadingStopped = true;
    ASSERT_TRUE(reading.WaitForEnd(5s));
    ASSERT_TRUE(WaitProcessingEvents([&] { return rec.ended.size() == 1; }, 5s));
}
