#include "instrument/UCheckCom.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include "LinkFixture.h"
#include "foundations/MessageDlg.h"
#include "app/dialogs/UWykCom.h"
#include "support/SimClock.h"
#include "support/SimHead.h"
#include "support/SimSerialLine.h"
#include "support/InstrumentSinkDoubles.h"

using namespace instrument;
using testsupport::Bytes;

namespace {

const Bytes kRestartWithInvitation = [] {
    std::string t = "VKM30 head\r\nBIOS 2.1\r\n";
    t.resize(226, '.');  // the start-up text is 226 characters
    Bytes b(t.begin(), t.end());
    b.push_back('M');
    b.push_back(0xB1);
    return b;
}();

// Short pauses. The head restarts well after the queues were purged (40 ms after the speed
// change, more on a loaded machine), and a try the head answers waits far longer than that: the
// wait ends with the invitation, so only unanswered tries cost their whole wait.
constexpr auto kHeadRestartDelay = std::chrono::milliseconds(500);
CheckComTimings quick(int answerWaitMs = 3000) { return {20, 10, 10, answerWaitMs}; }

bool pumpUntil(const std::function<bool()>& cond, int ms = 10000) {
    return WaitProcessingEvents(cond, std::chrono::milliseconds(ms));
}

class RecordingCheckSink : public testsupport::CheckComSinkDouble {
public:
    std::vector<int32_t> progress;
    std::vector<std::pair<CheckComOutcome, uint8_t>> ends;
    void UpdateProgress(int32_t a) override { progress.push_back(a); }
    void SearchEnded(CheckComOutcome o, uint8_t p) override { ends.push_back({o, p}); }
};

// Every COMn of the test names a missing device until a head is attached, so no test reaches
// a real port; the real tty backend is under the link's port component, wired to the parser.
class CheckComFixture : public LinkGlobalsFixture {
protected:
    void SetUp() override {
        LinkGlobalsFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        for (int n = 1; n <= TCheckCom::kPortCount; ++n) {
            const std::string name = "VKM30_COM" + std::to_string(n);
            const std::string missing = dir.filePath(QString("missing-com%1").arg(n)).toStdString();
            setenv(name.c_str(), missing.c_str(), 1);
        }
        useBackend(nullptr);
    }
    void TearDown() override {
        SetLink({});
        comm.reset();
        for (int n = 1; n <= TCheckCom::kPortCount; ++n) unsetenv(("VKM30_COM" + std::to_string(n)).c_str());
        LinkGlobalsFixture::TearDown();
    }
    void useBackend(std::unique_ptr<platform::SerialBackend> backend, LinkClock clock = LinkClock::system()) {
        SetLink({});
        comm = std::make_unique<TCommPortDriver>(nullptr, std::move(backend));
        comm->SetOnReceiveData([this](TCommPortDriver*, const uint8_t* d, int32_t n) { parser.feed(d, n); });
        SetLink({comm.get(), nullptr, nullptr, clock});
    }
    // A head on COM3 that restarts and invites only when the line comes up at its speed.
    void headOnCom3(int baud) {
        ASSERT_TRUE(head.ok());
        head.attachAsCom(3);
        head.setRequiredSpeed(baud);
        head.setRestartOnSpeed(baud, kRestartWithInvitation, kHeadRestartDelay);
    }

    QTemporaryDir dir;
    testsupport::SimHead head;
    std::unique_ptr<TCommPortDriver> comm;
    RecordingSink parserSink;
    SerialFrameParser parser{nullptr, &parserSink};
    testsupport::PortSearchThreadsDouble searches;
    RecordingCheckSink sink;
};

// ---- the search -------------------------------------------------------------------------

struct FoundCase {
    int headBaud;
    uint8_t speedFound;
    std::vector<int32_t> progress;  // one entry per unanswered try
};

TEST_F(CheckComFixture, HeadOnCom3IsFoundAtTheSpeedItAnswersAndStaysOpen) {
    const FoundCase cases[] = {
        {9600, 6, {1, 1, 2, 2}},       // (p 2, t 1)
        {57600, 11, {1, 1, 2, 2, 3}},  // (p 2, t 2): after five unanswered tries
    };
    for (const FoundCase& c : cases) {
        SCOPED_TRACE(c.headBaud);
        testsupport::SimHead h;
        ASSERT_TRUE(h.ok());
        h.attachAsCom(3);
        h.setRequiredSpeed(c.headBaud);
        h.setRestartOnSpeed(c.headBaud, kRestartWithInvitation, kHeadRestartDelay);
        RecordingCheckSink s;
        {
            TCheckCom search(s, {6, 11}, quick());
            search.Resume();
            ASSERT_TRUE(search.WaitForEnd(std::chrono::milliseconds(10000)));
            EXPECT_EQ(search.Outcome(), CheckComOutcome::Found);
            EXPECT_EQ(search.PortFound(), 2);
            EXPECT_EQ(search.SpeedFound(), c.speedFound);
            ASSERT_TRUE(pumpUntil([&] { return !s.ends.empty(); }));
        }
        EXPECT_EQ(s.progress, c.progress);
        ASSERT_EQ(s.ends.size(), 1u);
        EXPECT_EQ(s.ends[0], std::make_pair(CheckComOutcome::Found, uint8_t{2}));
        EXPECT_EQ(h.restarts(), 1);
        EXPECT_TRUE(comm->Connected());
        EXPECT_EQ(comm->ComPort(), pnCOM3);
        EXPECT_EQ(comm->ComPortSpeed(), c.speedFound);
        EXPECT_EQ(h.lineSpeed(), c.headBaud);
        EXPECT_FALSE(ComCheckEvent->isSet());
        EXPECT_TRUE(parserSink.lists[LinkList::PSListBox2].contains(QStringLiteral("VKM30 head")));
        comm->Disconnect();
        parserSink.lists.clear();
    }
}

TEST_F(CheckComFixture, NoHeadAnywhereEndsAtOnceWithNothingOpen) {
    // Real pauses: missing devices must cost none of them.
    QElapsedTimer clock;
    clock.start();
    TCheckCom search(sink, {6, 11});
    search.Resume();
    ASSERT_TRUE(search.WaitForEnd(std::chrono::milliseconds(10000)));
    EXPECT_LT(clock.elapsed(), 5000);  // twenty tries with their pauses would take over 10 s
    EXPECT_EQ(search.Outcome(), CheckComOutcome::NotFound);
    ASSERT_TRUE(pumpUntil([&] { return !sink.ends.empty(); }));
    EXPECT_EQ(sink.ends[0].first, CheckComOutcome::NotFound);
    EXPECT_EQ(sink.progress, (std::vector<int32_t>{1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10}));
    EXPECT_FALSE(comm->Connected());
}

TEST_F(CheckComFixture, SilentPortWaitsAtBothSpeedsAndIsClosedAfterwards) {
    ASSERT_TRUE(head.ok());
    head.attachAsCom(10);  // the last port tried: it must not stay open as if it answered
    QElapsedTimer clock;
    clock.start();
    TCheckCom search(sink, {6, 11}, quick(300));
    search.Resume();
    ASSERT_TRUE(search.WaitForEnd(std::chrono::milliseconds(5000)));
    EXPECT_GE(clock.elapsed(), 600);
    EXPECT_EQ(search.Outcome(), CheckComOutcome::NotFound);
    EXPECT_EQ(head.lineSpeed(), 57600);
    EXPECT_FALSE(comm->Connected());
}

TEST_F(CheckComFixture, TerminatedDuringTheWaitEndsAfterThatTry) {
    ASSERT_TRUE(head.ok());
    head.attachAsCom(2);
    // The wait is long enough for the test to stop the search within it on a loaded machine.
    TCheckCom search(sink, {6, 11}, quick(1500));
    search.Resume();
    ASSERT_TRUE(pumpUntil([&] { return comm->Connected() && comm->ComPort() == pnCOM2; }));
    search.Terminate();
    ASSERT_TRUE(search.WaitForEnd(std::chrono::milliseconds(5000)));
    EXPECT_EQ(search.Outcome(), CheckComOutcome::Cancelled);
    EXPECT_EQ(comm->ComPort(), pnCOM2);  // nothing tried after it
    EXPECT_EQ(head.lineSpeed(), 9600);
    EXPECT_EQ(sink.progress, (std::vector<int32_t>{1, 1}));
}

// The reset on a line that has modem lines, with each call in the order it reached the line.
class OrderedLine : public testsupport::SimSerialLine {
public:
    std::vector<std::string> log;
    bool open(const std::string& d) override {
        log.push_back("open " + d.substr(d.rfind('-') + 1));
        return SimSerialLine::open(d);
    }
    bool purge(bool i, bool o) override {
        log.push_back(i && o ? "purge" : "purge some");
        return SimSerialLine::purge(i, o);
    }
    bool setDtr(bool on) override {
        log.push_back(on ? "DTR on" : "DTR off");
        return SimSerialLine::setDtr(on);
    }
    bool setRts(bool on) override {
        log.push_back(on ? "RTS on" : "RTS off");
        return SimSerialLine::setRts(on);
    }
};

TEST_F(CheckComFixture, EachTryRaisesRtsThenPulsesDtrAroundThePurge) {
    testsupport::SimClock clock;
    auto owned = std::make_unique<OrderedLine>();
    OrderedLine* line = owned.get();
    line->setTickSource([clock] { return clock.now(); });
    useBackend(std::move(owned), clock.link());
    // The line never answers; the default pauses pass on the fake clock.
    CheckComTimings t;
    t.answerWaitMs = 1;
    TCheckCom search(sink, {6, 11}, t);
    search.Resume();
    ASSERT_TRUE(search.WaitForEnd(std::chrono::milliseconds(5000)));
    EXPECT_EQ(search.Outcome(), CheckComOutcome::NotFound);

    // The first try: the open's own settings (DTR on open, RTS low, purge), then the reset.
    const std::vector<std::string> firstTry = {"open com1", "DTR on", "RTS off", "purge", "RTS on",
                                               "DTR on",    "purge",  "DTR off", "open com1"};
    ASSERT_GE(line->log.size(), firstTry.size());
    EXPECT_EQ(std::vector<std::string>(line->log.begin(), line->log.begin() + firstTry.size()), firstTry);
    const auto m = line->modemCalls();
    ASSERT_GE(m.size(), 5u);
    EXPECT_EQ(m[2].tick - m[1].tick, 500u);  // settle, then RTS up
    EXPECT_EQ(m[3].tick - m[2].tick, 100u);  // RTS up to DTR up
    EXPECT_EQ(m[4].tick - m[3].tick, 50u);   // the pulse
    // COM1 .. COM10, each at the main then the alternative speed.
    const auto opened = line->opened();
    ASSERT_EQ(opened.size(), 20u);
    EXPECT_NE(opened[0].find("missing-com1"), std::string::npos);
    EXPECT_NE(opened[19].find("missing-com10"), std::string::npos);
    const auto applied = line->applied();
    ASSERT_EQ(applied.size(), 20u);
    EXPECT_EQ(applied[0].baud, 9600);
    EXPECT_EQ(applied[1].baud, 57600);
    // The parser was ready for the start-up text and the invitation.
    EXPECT_TRUE(TextLineMode);
    EXPECT_EQ(PendingReply, 1);
    EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 0);
    EXPECT_TRUE(ReadingStopped.load());
    EXPECT_TRUE(SignalMonitorStopped.load());
}

// ---- the dialog -------------------------------------------------------------------------

TEST_F(CheckComFixture, DialogClosesWithThePortFound) {
    headOnCom3(9600);
    TfWykCom dlg(searches, nullptr, {6, 11}, quick());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Wykrywanie portu szeregowego"));
    EXPECT_EQ(dlg.Notebook1->currentWidget()->objectName(), QStringLiteral("wykrywanie"));
    EXPECT_TRUE(dlg.Searching());
    QTimer::singleShot(15000, &dlg, [&] { dlg.reject(); });  // a hang fails, it does not block
    EXPECT_EQ(dlg.exec(), mrOk);
    EXPECT_EQ(dlg.PortIndex(), 2);
    EXPECT_EQ(dlg.ProgressBar1->value(), 2);
    EXPECT_FALSE(dlg.Searching());
    EXPECT_TRUE(comm->Connected());
}

TEST_F(CheckComFixture, DialogWithoutAHeadClosesWithAbort) {
    TfWykCom dlg(searches, nullptr, {6, 11});
    QTimer::singleShot(15000, &dlg, [&] { dlg.reject(); });
    EXPECT_EQ(dlg.exec(), TfWykCom::kNoPortAnswered);
    EXPECT_EQ(dlg.ProgressBar1->value(), 10);
}

TEST_F(CheckComFixture, ClosingTheDialogMidSearchEndsTheSearchFirst) {
    ASSERT_TRUE(head.ok());
    head.attachAsCom(4);
    TfWykCom dlg(searches, nullptr, {6, 11}, quick(1500));
    dlg.show();
    ASSERT_TRUE(pumpUntil([&] { return comm->Connected() && comm->ComPort() == pnCOM4; }));
    dlg.reject();  // as the window's close box does
    // Still open while the try under way ends; the button cannot be pressed twice.
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.BitBtn1->isEnabled());
    ASSERT_TRUE(pumpUntil([&] { return !dlg.isVisible(); }, 6000));
    EXPECT_EQ(dlg.result(), mrCancel);
    EXPECT_FALSE(dlg.Searching());
    EXPECT_EQ(comm->ComPort(), pnCOM4);
}

TEST_F(CheckComFixture, DestroyingTheDialogMidSearchEndsTheThread) {
    ASSERT_TRUE(head.ok());
    head.attachAsCom(2);
    QElapsedTimer clock;
    {
        TfWykCom dlg(searches, nullptr, {6, 11}, quick(400));
        dlg.show();
        ASSERT_TRUE(pumpUntil([&] { return comm->Connected() && comm->ComPort() == pnCOM2; }));
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_EQ(comm->ComPort(), pnCOM2);
}

TEST_F(CheckComFixture, InstructionPagesCountDownBeforeTheSearch) {
    TfWykCom dlg(searches, nullptr, {6, 11});
    ASSERT_TRUE(pumpUntil([&] { return !dlg.Searching(); }));
    dlg.BitBtn3Click();
    EXPECT_EQ(dlg.Notebook1->currentWidget()->objectName(), QStringLiteral("str2"));
    EXPECT_TRUE(dlg.Timer1.isActive());
    EXPECT_FALSE(dlg.BitBtn5->isEnabled());
    for (int i = 0; i < 19; ++i) dlg.Timer1Timer();
    EXPECT_EQ(dlg.ProgressBar2->value(), 19);
    EXPECT_FALSE(dlg.Label5->isVisibleTo(&dlg));
    dlg.Timer1Timer();
    EXPECT_EQ(dlg.ProgressBar2->value(), 20);
    EXPECT_FALSE(dlg.Timer1.isActive());
    EXPECT_TRUE(dlg.BitBtn5->isEnabled());
    EXPECT_TRUE(dlg.Label4->isVisibleTo(&dlg));
    EXPECT_TRUE(dlg.Label5->isVisibleTo(&dlg));
}

}  // namespace
