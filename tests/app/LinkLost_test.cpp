// A head that vanishes (the line hangs up) or falls silent (the watchdog) ends the reading
// through the link status window, on the real window with the simulated head.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <optional>

#include "HeadWindowFixture.h"
#include "app/LinkThreads.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "evaluation/MeasurementFiles.h"
#include "foundations/Display.h"
#include "foundations/ProgramMessages.h"
#include "instrument/PointAcceptance.h"
#include "instrument/RawConversion.h"
#include "instrument/UOdczyt.h"
#include "app/dialogs/Unit_Komunikaty.h"

namespace {

using testsupport::FrameSpec;

class LinkLostTest : public HeadWindowTest {
protected:
    void startReadout() {
        startWithHead();
        head.startStreaming(FrameSpec::ready(1000), std::chrono::milliseconds(10));
        modes::StartDisplayReading(form()->ModeHost());
        ASSERT_TRUE(form()->ReadingThread().Running());
        // The reading thread has taken the head's counts.
        ASSERT_TRUE(pumpUntil([&] { return RawCount == 1000; }));
    }
    bool statusWindowShowsLinkLost() {
        return Komunikaty && Komunikaty->isVisible() &&
               Komunikaty->Label1->text() == Msg("stConnectionError");
    }
    // The window shown and its start-up over (the head's program answers), then the readout
    // entered from the main menu with the head streaming.
    void startShownReadout() {
        head.setAutoReply([](uint8_t c) { return c == 0x88 ? testsupport::Bytes{0x14, 0x1E} : testsupport::Bytes{}; });
        startWithHead();
        TMainForm* f = form();
        f->ProgramLoadTimings.serialSettleMs = 10;
        f->ProgramLoadTimings.programTestWaitMs = 3000;  // ends at the answer; slack for a loaded machine
        f->resize(1024, 768);
        f->show();
        ASSERT_TRUE(pumpUntil([&] {
            return f->Threads().Loader() && !f->Threads().Loader()->Running() && f->NotebookMainForm->currentIndex() == 1;
        }));
        messages.clear();  // the creation's own (no calibration file here)
        head.startStreaming(FrameSpec::ready(1000), std::chrono::milliseconds(10));
        Control<QPushButton>(f, "BitBtnWyswietlacz")->click();
        ASSERT_TRUE(pumpUntil([&] { return f->ReadingThread().Running() && RawCount == 1000; }));
    }
    // The head plugged back in: a new terminal under the same COM name, streaming this count.
    void bringHeadBack(int32_t count) {
        back.emplace();
        ASSERT_TRUE(back->ok());
        back->attachAsCom(1);
        back->startStreaming(FrameSpec::ready(count), std::chrono::milliseconds(10));
    }
    void hangUp() {
        head.vanish();
        ASSERT_TRUE(pumpUntil([&] { return statusWindowShowsLinkLost(); }));
        ASSERT_TRUE(pumpUntil([&] { return !form()->ReadingThread().Running(); }));
    }
    // The reading goes on from the head that came back, past the watchdog's three ticks.
    void expectReadingFromHeadBack(int32_t count) {
        ASSERT_TRUE(pumpUntil([&] { return RawCount == count; }));
        const int frames = back->framesStreamed();
        ASSERT_TRUE(pumpUntil([&] { return back->framesStreamed() > frames + 80; }));
        EXPECT_FALSE(Komunikaty->isVisible());
        EXPECT_EQ(StopReason.load(), 0);
        EXPECT_TRUE(form()->ReadingThread().Running());
        EXPECT_TRUE(form()->CommPortDriver1->Connected());
        EXPECT_FALSE(form()->CommPortDriver1->LineFailed());
        EXPECT_TRUE(form()->SerialLinkOpen());
    }
    void TearDown() override {
        if (back) back->stopStreaming();
        HeadWindowTest::TearDown();
    }
    std::optional<testsupport::SimHead> back;

    static double mmPerCount() { return 0.25 * kDefaultLaserWavelength * 1000.0; }
    static int32_t countOf(double mm) { return int32_t(std::lround(mm / mmPerCount())); }
};

TEST_F(LinkLostTest, VanishedHeadEndsTheDisplayReading) {
    startReadout();
    head.vanish();
    ASSERT_TRUE(pumpUntil([&] { return statusWindowShowsLinkLost(); }));
    EXPECT_TRUE(ReadingStopped.load());
    EXPECT_EQ(StopReason.load(), instrument::kStopLinkLost);
    EXPECT_TRUE(pumpUntil([&] { return !form()->ReadingThread().Running(); }));
    EXPECT_TRUE(form()->CommPortDriver1->LineFailed());
    EXPECT_FALSE(form()->PSTimer2->isActive());
    // The dead line is closed, so that a connect opens it anew.
    EXPECT_FALSE(form()->CommPortDriver1->Connected());
}

// "&Pomiar" of the status window opens the port again and measures on with the head that is
// back.
TEST_F(LinkLostTest, MeasureAgainReconnectsToTheHeadThatIsBack) {
    startShownReadout();
    hangUp();
    bringHeadBack(2000);
    Komunikaty->Button1->click();
    expectReadingFromHeadBack(2000);
    const testsupport::Bytes got = back->receivedCommands();
    ASSERT_GE(got.size(), 4u);
    EXPECT_EQ(testsupport::Bytes(got.begin(), got.begin() + 4), (testsupport::Bytes{'F', '?', '=', 'A'}));
}

// While the head is still away "&Pomiar" says the port cannot be opened and the status window
// stays; a later try works once the head is back.
TEST_F(LinkLostTest, MeasureAgainWithoutTheHeadSaysSoAndStays) {
    startShownReadout();
    hangUp();
    Komunikaty->Button1->click();
    EXPECT_EQ(messageCount(Msg("stNieMoznaOtworzyc")), 1);
    EXPECT_TRUE(statusWindowShowsLinkLost());
    EXPECT_FALSE(form()->ReadingThread().Running());
    EXPECT_FALSE(form()->CommPortDriver1->Connected());
    bringHeadBack(2500);
    Komunikaty->Button1->click();
    expectReadingFromHeadBack(2500);
}

// Back on the main menu, entering the readout again opens the port again.
TEST_F(LinkLostTest, EnteringAPageReconnects) {
    startShownReadout();
    hangUp();
    Komunikaty->Button2->click();
    ASSERT_EQ(form()->NotebookMainForm->currentIndex(), 1);
    bringHeadBack(3000);
    Control<QPushButton>(form(), "BitBtnWyswietlacz")->click();
    expectReadingFromHeadBack(3000);
}

// The service page's connect button opens the port that hung up.
TEST_F(LinkLostTest, ServicePageConnectReopensThePort) {
    startShownReadout();
    hangUp();
    Komunikaty->Button2->click();
    bringHeadBack(3500);
    Control<QPushButton>(form(), "RSButton_Polacz")->click();
    EXPECT_TRUE(form()->CommPortDriver1->Connected());
    EXPECT_TRUE(form()->SerialLinkOpen());
    back->clearReceived();
    form()->SendHeadCommand('R');
    ASSERT_TRUE(back->waitForCommands(1));
    EXPECT_EQ(back->receivedCommands(), testsupport::Bytes{'R'});
}

TEST_F(LinkLostTest, VanishedHeadEndsThePositioningRunAndKeepsItsBackup) {
    startWithHead();
    TMainForm* f = form();
    const QString data = dir.filePath("poz");
    ASSERT_TRUE(QDir().mkpath(data));
    f->PositioningDir = data;
    f->PositioningMethod = 0;
    LengthUnit = 0;
    // The backup of the cycles accepted so far (written at each cycle's end).
    const QString backup = BackupFileName(data, 0);
    {
        QFile b(backup);
        ASSERT_TRUE(b.open(QIODevice::WriteOnly));
        b.write("cycles accepted so far");
    }
    const qint64 backupSize = QFileInfo(backup).size();
    head.startStreaming(FrameSpec::ready(countOf(-5.0)), std::chrono::milliseconds(10));
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    ASSERT_EQ(f->MeasurementMode, 0);
    Control<QToolButton>(f, "SpeedButtonZnak")->setText("-");
    StartPoint = 0.0;
    f->PointsFromList = true;
    f->MenuCommand("PunktyZListy")->setChecked(true);
    f->TargetPoints->Clear();
    for (int k = 0; k < 6; ++k) f->TargetPoints->Add().Dystans = 10.0 * k;
    f->CycleCount = 2;
    f->PointNumber = 3;
    f->ErrorWindow = 20;
    f->Vibration = 2;
    f->PointDistance = 1000;
    ASSERT_TRUE(pumpUntil([&] {
        return Control<QPushButton>(f, "ButtonPozStart")->isEnabled() && std::abs(Control<TDisplay>(f, "DispWarMierzona")->Value() + 5.0) < 1e-3;
    }));
    Control<QPushButton>(f, "ButtonPozStart")->click();
    ASSERT_TRUE(MeasurementRunning.load());
    ASSERT_TRUE(f->PSTimer2->isActive());
    const instrument::AcceptanceState& st = f->Acceptance().state;
    head.setStreamCount(countOf(0.0));
    ASSERT_TRUE(pumpUntil([&] { return st.pointIndex == 1; }));
    head.setStreamCount(countOf(10.0));
    ASSERT_TRUE(pumpUntil([&] { return st.pointIndex == 2; }));
    head.vanish();
    ASSERT_TRUE(pumpUntil([&] { return statusWindowShowsLinkLost(); }));
    EXPECT_TRUE(ReadingStopped.load());
    EXPECT_EQ(StopReason.load(), instrument::kStopLinkLost);
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_EQ(st.pointIndex, 2);
    EXPECT_TRUE(QFileInfo::exists(backup));
    EXPECT_EQ(QFileInfo(backup).size(), backupSize);
}

// Driven tick by tick. Frames reach the parser only through the port's timer on this thread,
// so none can come between ticks made in a row.
TEST_F(LinkLostTest, WatchdogReportsOnceAfterThreeTicksWithoutAFrame) {
    startReadout();
    TMainForm* f = form();
    f->SetLinkWatchdogEnabled(true);
    ASSERT_TRUE(f->PSTimer2->isActive());
    f->PSTimer2Timer();
    f->PSTimer2Timer();
    EXPECT_EQ(StopReason.load(), 0);
    // A frame between ticks starts the count over.
    ASSERT_TRUE(pumpUntil([&] { return LinkWatchdogTicks == 0; }));
    f->PSTimer2Timer();
    f->PSTimer2Timer();
    EXPECT_FALSE(ReadingStopped.load());
    EXPECT_EQ(StopReason.load(), 0);
    f->PSTimer2Timer();
    EXPECT_FALSE(f->PSTimer2->isActive());
    EXPECT_EQ(StopReason.load(), instrument::kStopLinkLost);
    ASSERT_TRUE(pumpUntil([&] { return statusWindowShowsLinkLost(); }));
    EXPECT_TRUE(ReadingStopped.load());
    EXPECT_TRUE(pumpUntil([&] { return !f->ReadingThread().Running(); }));
}

// On its own 200 ms timer: a head that stops sending while the readout runs is reported.
TEST_F(LinkLostTest, WatchdogOnItsTimerNoticesASilentHead) {
    startReadout();
    TMainForm* f = form();
    f->SetLinkWatchdogEnabled(true);
    head.stopStreaming();
    ASSERT_TRUE(pumpUntil([&] { return statusWindowShowsLinkLost(); }));
    EXPECT_EQ(StopReason.load(), instrument::kStopLinkLost);
    EXPECT_FALSE(f->PSTimer2->isActive());
}

}  // namespace
