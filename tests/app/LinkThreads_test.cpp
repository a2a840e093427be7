// The owner of the link's threads: it makes every kind, one thread of a kind at a time; its
// shutdown asks each kind to end and waits for them while the user-interface thread keeps
// handling the hand-offs they make, before the events go; once it stops, no kind starts again.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "app/LinkThreads.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/ThreadHandOff.h"
#include "platform/Sync.h"
#include "support/InstrumentSinkDoubles.h"

namespace {

using namespace std::chrono_literals;

// The card path of the reading thread: each read waits until the test lets it go or the quit
// event comes, then hands one last thing to the user-interface thread and fails, which ends the
// thread.
class HeldLink : public testsupport::ReadingLinkDouble {
public:
    std::optional<uint8_t> ReadDataByte() override {
        const int now = ++inside;
        int most = mostAtOnce.load();
        while (now > most && !mostAtOnce.compare_exchange_weak(most, now)) {
        }
        platform::waitAny({&release, ReadQuitEvent}, std::chrono::milliseconds(10000));
        instrument::RunOnUiThread([] {});
        eventsAtEnd = SampleEvent != nullptr && ReadQuitEvent != nullptr;
        --inside;
        return std::nullopt;
    }
    instrument::StopCheckInput StopInputs() override { return {}; }

    platform::ManualResetEvent release;
    std::atomic<int> inside{0}, mostAtOnce{0};
    std::atomic<bool> eventsAtEnd{false};
};

class EndedReadings : public testsupport::ReadingSinkDouble {
public:
    void ReadingEnded(uint64_t generation) override { ended.push_back(generation); }
    std::vector<uint64_t> ended;
};

class QuietMeteo : public testsupport::MeteoThreadSinkDouble {
public:
    void UpdateMeteoDisplays(const instrument::MeteoWords&) override {}
    void ComputeEdlenFactor() override {}
};

class SamplingSource : public testsupport::SignalSourceDouble {
public:
    int SampleSignalLevel() override {
        std::this_thread::sleep_for(2ms);  // one sampling period
        return 0;
    }
    bool HeadReady() override { return false; }
};

class QuietMonitorSink : public ISignalMonitorSink {
public:
    MonitoredPage ShownPage() const override { return MonitoredPage::Other; }
    int SignalThreshold() const override { return 0; }
    IWarmUpView* ShownPageWarmUp() override { return nullptr; }
    void RunShownPageStart() override {}
    ILinkStatusView* LinkStatusWindow() override { return nullptr; }
    void AppendSignalLine(const QString&) override {}
};

class Wiring : public LinkThreadWiring {
public:
    instrument::ReadingSink& ReadingOutputs() override { return reading; }
    instrument::ReadingLink& ReadingPort() override { return link; }
    instrument::MeteoThreadSink& MeteoOutputs() override { return meteo; }
    instrument::MeteoThreadSettings& MeteoChoices() override { return meteoSettings; }
    instrument::TOdczytMeteo::CardExchange MeteoCardExchange() override {
        return [](uint8_t) { return std::optional<int32_t>(); };
    }
    instrument::LoadProgramSink& LoaderOutputs() override { return loader; }
    instrument::LoaderTimings LoaderPauses() override { return {}; }
    instrument::BiosTextSink& BiosTextOutputs() override { return bios; }

    EndedReadings reading;
    HeldLink link;
    QuietMeteo meteo;
    instrument::MeteoThreadSettings meteoSettings;
    testsupport::LoadProgramSinkDouble loader;
    testsupport::BiosTextSinkDouble bios;
    QuietMonitorSink monitor;
    testsupport::CheckComSinkDouble search;
};

// No link chosen: the reading thread takes the card path, the environment thread waits for
// its events; the monitor runs its page logic only while the window waits for the laser.
class LinkThreadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedGlobals();
        instrument::ResetLink();
        WaitingForLaser = false;
    }
    void TearDown() override {
        ResetSharedGlobals();
        instrument::ResetLink();
    }
};

}  // namespace

// The threads have only just started: the environment thread, which clears old quit signals as
// it starts, still ends.
TEST_F(LinkThreadsTest, ShutdownEndsEveryKindBeforeTheEventsGoAndThenStartsNone) {
    Wiring w;
    {
        LinkThreads threads(w);
        for (platform::ManualResetEvent* e :
             {MeteoDataEvent, MeteoQuitEvent, ComCheckEvent, SampleEvent, ReadQuitEvent, ProgramLoadEvent})
            ASSERT_NE(e, nullptr);
        EXPECT_EQ(ReadWaitHandles[0], SampleEvent);
        threads.MakeCardSemaphore();
        ASSERT_NE(CardSemaphore, nullptr);

        ReadingStopped = MeteoStopped = false;
        ASSERT_TRUE(threads.StartReading(7));
        ASSERT_TRUE(threads.StartMeteo());
        ASSERT_TRUE(threads.StartSignalMonitor(std::make_shared<SamplingSource>(), w.monitor));
        EXPECT_TRUE(threads.ReadingRunning());
        EXPECT_TRUE(threads.MeteoRunning());
        EXPECT_TRUE(threads.SignalMonitorRunning());

        EXPECT_TRUE(threads.Stop(5000));
        EXPECT_TRUE(threads.Stopping());
        EXPECT_FALSE(threads.ReadingRunning());
        EXPECT_FALSE(threads.MeteoRunning());
        EXPECT_FALSE(threads.SignalMonitorRunning());
        EXPECT_TRUE(w.link.eventsAtEnd.load());  // its last hand-off ran, the events were still there
        EXPECT_TRUE(ReadingStopped.load());
        EXPECT_TRUE(MeteoStopped.load());
        EXPECT_TRUE(SignalMonitorStopped.load());
        ASSERT_TRUE(instrument::WaitProcessingEvents([&] { return !w.reading.ended.empty(); }, 5000ms));
        EXPECT_EQ(w.reading.ended, std::vector<uint64_t>{7});

        // An ending thread's handler or a late command starts nothing of any kind.
        EXPECT_FALSE(threads.StartReading(8));
        EXPECT_FALSE(threads.StartMeteo());
        EXPECT_FALSE(threads.StartLoader({}));
        EXPECT_FALSE(threads.StartBiosText());
        EXPECT_FALSE(threads.StartSignalMonitor(std::make_shared<SamplingSource>(), w.monitor));
        EXPECT_FALSE(threads.StartPortSearch(w.search, {}, {}));
        EXPECT_FALSE(threads.ReadingRunning() || threads.MeteoRunning() || threads.LoaderRunning() ||
                     threads.BiosTextRunning() || threads.SignalMonitorRunning() || threads.PortSearchRunning());
        EXPECT_EQ(threads.Loader(), nullptr);
        EXPECT_EQ(threads.Reading().Generation(), 7u);
    }
    EXPECT_EQ(SampleEvent, nullptr);
    EXPECT_EQ(ReadQuitEvent, nullptr);
    EXPECT_EQ(CardSemaphore, nullptr);
    EXPECT_EQ(ReadWaitHandles[0], nullptr);
}

// The owner keeps one reading thread: a second start waits, processing events, until the first
// has ended, and the new thread runs under the generation its starter took.
TEST_F(LinkThreadsTest, ASecondReadingStartWaitsForTheFirstToEnd) {
    Wiring w;
    LinkThreads threads(w);
    ReadingStopped = false;
    ASSERT_TRUE(threads.StartReading(1));
    ASSERT_TRUE(instrument::WaitProcessingEvents([&] { return w.link.inside.load() == 1; }, 5000ms));
    // Let go only from inside the second start's wait.
    QTimer::singleShot(0, [&] { w.link.release.set(); });
    ASSERT_TRUE(threads.StartReading(2));
    EXPECT_EQ(threads.Reading().Generation(), 2u);
    ASSERT_TRUE(instrument::WaitProcessingEvents([&] { return w.reading.ended.size() == 2; }, 5000ms));
    EXPECT_EQ(w.reading.ended, (std::vector<uint64_t>{1, 2}));
    EXPECT_EQ(w.link.mostAtOnce.load(), 1);
    EXPECT_TRUE(threads.Stop(5000));
}
