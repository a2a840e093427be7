// The vibration acquisition: its counters and end against a recording host, the form "Pomiar",
// and the whole transfer with the simulated head sending its FFT blocks over a pseudo-terminal.
#include "instrument/FftAcquisition.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "HeadOnPort.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "app/dialogs/UPomiarFFT.h"

using instrument::FftAcquisition;
using testsupport::Bytes;
using testsupport::FrameSpec;
using testsupport::SimHead;

namespace {

// Records bytes as characters and every other step by name.
struct RecordingHost : instrument::FftAcquisitionHost {
    QStringList log;
    void SendCommandByte(uint8_t b) override { log << QString(QChar(b)); }
    void Sleep(int ms) override { log << QStringLiteral("sleep %1").arg(ms); }
    void PurgeSerialInput() override { log << "purge"; }
    void SetMainWindowEnabled(bool on) override { log << (on ? "window on" : "window off"); }
    void ShowConnectionError() override { log << "connection error"; }
};

const QStringList kStartLog{"R", "sleep 50", "purge", "|"};
const QStringList kEndLog{"}", "sleep 200", "window on", "S", "purge"};

class FftGlobals : public LinkGlobalsFixture {
protected:
    void SetUp() override {
        LinkGlobalsFixture::SetUp();
        MeasurementRunning = true;
        DataSaved = true;
    }
    void TearDown() override {
        setMessageDlgHook({});
        delete FPomiarFFT;
        LinkGlobalsFixture::TearDown();
    }
    RecordingHost host;
};

}  // namespace

TEST_F(FftGlobals, TransferStartsWhenTheStoredCounterIsFull) {
    FftAcquisition a(host);
    instrument::LinkState().ReceiveState = 9;
    instrument::LinkState().FftByteCount = 77;
    for (int i = 0; i < 249; ++i) EXPECT_FALSE(a.SampleStored());
    EXPECT_EQ(a.Stored(), 249);
    EXPECT_TRUE(host.log.isEmpty());
    EXPECT_FALSE(FftTransfer.load());

    EXPECT_TRUE(a.SampleStored());
    EXPECT_EQ(host.log, kStartLog);
    EXPECT_TRUE(FftTransfer.load());
    EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 1);
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 0);
    // Further samples while the head sends keep the counter full and start nothing.
    EXPECT_FALSE(a.SampleStored());
    EXPECT_EQ(a.Stored(), FftAcquisition::kStoredMax);
    EXPECT_EQ(host.log, kStartLog);
}

TEST_F(FftGlobals, StallTicksAndTransferredCounter) {
    FftAcquisition a(host);
    EXPECT_TRUE(a.StallTick());  // nothing arrived in the first tick
    a.SetTransferred(7);
    EXPECT_FALSE(a.StallTick());
    EXPECT_TRUE(a.StallTick());
    a.SetTransferred(15);
    EXPECT_FALSE(a.StallTick());
    a.SetTransferred(-3);
    EXPECT_EQ(a.Transferred(), 0);
    a.SetTransferred(9000);
    EXPECT_EQ(a.Transferred(), FftAcquisition::kTransferredMax);
}

// Ending before the transfer, during it or after it sends the same; only the first end acts.
TEST_F(FftGlobals, FinishEndsOnce) {
    for (int stored : {0, 250}) {
        host.log.clear();
        MeasurementRunning = true;
        FftAcquisition a(host);
        for (int i = 0; i < stored; ++i) a.SampleStored();
        instrument::LinkState().ReceiveState = 6;  // inside a block
        host.log.clear();
        a.Finish();
        EXPECT_EQ(host.log, kEndLog) << stored;
        EXPECT_FALSE(MeasurementRunning.load());
        EXPECT_FALSE(FftTransfer.load());
        EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 1);
        a.Finish();
        EXPECT_FALSE(a.SampleStored());
        EXPECT_EQ(host.log, kEndLog);
    }
}

TEST_F(FftGlobals, FormShowsCountersAndAnulujEndsLikeATransfer) {
    auto* f = new TFPomiarFFT(&host);
    EXPECT_EQ(FPomiarFFT, f);
    EXPECT_EQ(f->windowTitle(), "Pomiar");
    EXPECT_EQ(f->findChild<QLabel*>("Label1")->text(), QString::fromUtf8("Zapamiętane próbki:"));
    EXPECT_EQ(f->findChild<QLabel*>("Label2")->text(), QString::fromUtf8("Przesłane próbki:"));
    EXPECT_EQ(f->findChild<QProgressBar*>("Gauge1")->maximum(), 250);
    EXPECT_EQ(f->findChild<QProgressBar*>("Gauge2")->maximum(), 8191);
    EXPECT_EQ(f->findChild<QPushButton*>("BitBtn1")->text(), "Anuluj");
    f->show();
    for (int i = 0; i < 100; ++i) f->AddStoredSample();
    EXPECT_EQ(f->Gauge1->value(), 100);
    EXPECT_FALSE(f->Timer1.isActive());
    for (int i = 0; i < 150; ++i) f->AddStoredSample();
    EXPECT_EQ(f->Gauge1->value(), 250);
    EXPECT_TRUE(f->Timer1.isActive());
    EXPECT_EQ(f->Timer1.interval(), 500);
    f->SetTransferredSamples(4095);
    EXPECT_EQ(f->Gauge2->value(), 4095);

    QPointer<TFPomiarFFT> alive(f);
    host.log.clear();
    f->BitBtn1->click();
    EXPECT_EQ(FPomiarFFT, nullptr);
    EXPECT_EQ(host.log, kEndLog);
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_FALSE(FftTransfer.load());
    ASSERT_TRUE(pumpUntil([&] { return alive.isNull(); }));  // the form frees itself
    EXPECT_EQ(host.log, kEndLog);
}

// No new sample within a tick: the message, then the same end; the samples so far stay.
TEST_F(FftGlobals, StalledTransferShowsTheConnectionError) {
    QStringList messages;
    auto* f = new TFPomiarFFT;  // the program's host: the message goes through MessageDlg
    setMessageDlgHook([&](const MessageDlgRequest& r) {
        messages << r.text;
        return int(mrOk);
    });
    QPointer<TFPomiarFFT> alive(f);
    f->SetTransferredSamples(80);
    f->Timer1Timer();
    ASSERT_FALSE(alive.isNull());
    EXPECT_TRUE(messages.isEmpty());
    f->Timer1Timer();
    EXPECT_EQ(messages, QStringList{Msg("stConnectionError")});
    EXPECT_EQ(FPomiarFFT, nullptr);
    EXPECT_FALSE(MeasurementRunning.load());
    ASSERT_TRUE(pumpUntil([&] { return alive.isNull(); }));
}

// Closing by the window's own close, or freeing the form outright, ends the acquisition too.
TEST_F(FftGlobals, EveryWayOutEndsTheAcquisition) {
    auto* f = new TFPomiarFFT(&host);
    f->show();
    f->close();
    EXPECT_EQ(host.log, kEndLog);
    EXPECT_EQ(FPomiarFFT, nullptr);

    host.log.clear();
    MeasurementRunning = true;
    delete new TFPomiarFFT(&host);
    EXPECT_EQ(host.log, kEndLog);
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_EQ(FPomiarFFT, nullptr);
}

TEST_F(FftGlobals, Screenshot) {
    auto* f = new TFPomiarFFT(&host);
    f->show();
    for (int i = 0; i < 250; ++i) f->AddStoredSample();
    f->SetTransferredSamples(3071);
    QCoreApplication::processEvents();
    const QPixmap shot = f->grab();
    EXPECT_FALSE(shot.isNull());
    if (const QByteArray dir = qgetenv("VKM30_SCREENSHOT_DIR"); !dir.isEmpty())
        shot.save(QString::fromLocal8Bit(dir) + "/PomiarFFT.png");
    f->Timer1.stop();
}

namespace {

// The window's part of the transfer: the parser's gauge and end go to the form, the samples
// into the buffer.
struct FftWindowSink : RecordingSink {
    int32_t maxGauge = -1;
    int completions = 0;
    void SetFftGauge(int32_t c) override {
        maxGauge = std::max(maxGauge, c);
        if (FPomiarFFT) FPomiarFFT->SetTransferredSamples(c);
    }
    void FftTransferComplete() override {
        ++completions;
        if (FPomiarFFT) FPomiarFFT->close();
    }
};

// Blocks whose samples are their position in the transfer (wrapped to 16 bits).
Bytes fftBlocks(int first, int count) {
    Bytes out;
    for (int b = first; b < first + count; ++b) {
        std::array<int16_t, 8> s{};
        for (int k = 0; k < 8; ++k) s[k] = static_cast<int16_t>(b * 8 + k - 4000);
        const Bytes block = testsupport::encodeFftBlock(s);
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

class FftOverHead : public HeadOnPort {
protected:
    void SetUp() override {
        HeadOnPort::SetUp();
        // A box the test did not ask for (the stall timer on a loaded machine) is answered, not
        // left waiting for a click offscreen; tests that expect one set their own hook.
        setMessageDlgHook([](const MessageDlgRequest&) { return int(mrOk); });
        parser.SetSink(&windowSink);
        fifo.SetSize(255);
        MeasurementRunning = true;
        DataSaved = true;
    }
    void TearDown() override {
        setMessageDlgHook({});
        delete FPomiarFFT;
        HeadOnPort::TearDown();
    }
    // The head sends `blocks` FFT blocks when asked for them, and stops its count stream on 'R'.
    void headSendsOnRequest(int blocks) {
        head.setAutoReply([this, blocks](uint8_t c) {
            if (c == 'R') head.stopStreaming();
            return c == '|' ? fftBlocks(0, blocks) : Bytes{};
        });
    }
    // Counts of the streaming head feed the form as the reading thread does, until the
    // transfer starts.
    void storeSamplesFromTheStream(TFPomiarFFT* f) {
        head.startStreaming(FrameSpec::ready(100), std::chrono::milliseconds(3));
        ASSERT_TRUE(pumpUntil([&] {
            for (size_t n = drain(fifo).size(); n > 0 && FPomiarFFT; --n) f->AddStoredSample();
            return FftTransfer.load();
        }, 10000));
        EXPECT_EQ(f->Gauge1->value(), 250);
    }
    FftWindowSink windowSink;
};

}  // namespace

TEST_F(FftOverHead, CompleteTransferFillsTheSamplesAndEnds) {
    headSendsOnRequest(1024);
    auto* f = new TFPomiarFFT;
    f->show();
    storeSamplesFromTheStream(f);
    ASSERT_TRUE(pumpUntil([&] { return FPomiarFFT == nullptr; }, 10000));
    EXPECT_EQ(windowSink.completions, 1);
    EXPECT_EQ(windowSink.maxGauge, 8191);
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 8192);
    EXPECT_EQ(windowSink.fftSamples[0], -4000);
    EXPECT_EQ(windowSink.fftSamples[8191], 8191 - 4000);
    EXPECT_FALSE(FftTransfer.load());
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_FALSE(DataSaved);
    ASSERT_TRUE(head.waitForCommands(4));
    EXPECT_EQ(received(), "R|}S");
}

// Cancelled in the middle of the transfer: the same end; blocks still on their way are not
// taken as samples.
TEST_F(FftOverHead, AnulujMidTransferEndsCleanly) {
    headSendsOnRequest(100);
    auto* f = new TFPomiarFFT;
    f->show();
    storeSamplesFromTheStream(f);
    ASSERT_TRUE(pumpUntil([&] { return instrument::LinkState().FftByteCount.load() >= 800; }));
    f->BitBtn1->click();
    EXPECT_EQ(FPomiarFFT, nullptr);
    head.send(fftBlocks(100, 20));
    QElapsedTimer t;
    t.start();
    pumpUntil([&] { return t.elapsed() > 300; });
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 800);
    EXPECT_EQ(windowSink.completions, 0);
    EXPECT_FALSE(FftTransfer.load());
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_TRUE(DataSaved);
    ASSERT_TRUE(head.waitForCommands(4));
    EXPECT_EQ(received(), "R|}S");
}

// The head goes quiet after a few blocks: the stall timer ends the measurement with the message.
TEST_F(FftOverHead, StalledHeadEndsWithTheConnectionError) {
    QStringList messages;
    setMessageDlgHook([&](const MessageDlgRequest& r) {
        messages << r.text;
        return int(mrOk);
    });
    headSendsOnRequest(10);
    auto* f = new TFPomiarFFT;
    f->show();
    storeSamplesFromTheStream(f);
    ASSERT_TRUE(pumpUntil([&] { return FPomiarFFT == nullptr; }, 5000));
    EXPECT_EQ(messages, QStringList{Msg("stConnectionError")});
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 80);  // what arrived stays
    EXPECT_EQ(windowSink.fftSamples[79], 79 - 4000);
    EXPECT_EQ(windowSink.completions, 0);
    EXPECT_FALSE(MeasurementRunning.load());
    ASSERT_TRUE(head.waitForCommands(4));
    EXPECT_EQ(received(), "R|}S");
}
