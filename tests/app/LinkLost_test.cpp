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

#include "HeadWindowFixture.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "evaluation/MeasurementFiles.h"
#include "foundations/Display.h"
#include "foundations/ProgramMessages.h"
#include "instrument/PointAcceptance.h"
#include "instrument/RawConversion.h"
#include "instrument/UOdczyt.h"
#include "instrument/Unit_Komunikaty.h"

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
