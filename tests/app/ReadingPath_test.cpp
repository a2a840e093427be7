// The live reading end to end: a simulated head on a pseudo-terminal streams frames to the real
// main window, the reading thread hands them to the window, the displays show the converted
// values and a stop of the head reaches the link status window.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QStackedWidget>
#include <algorithm>
#include <QLabel>
#include <QThread>
#include <QToolButton>

#include "HeadWindowFixture.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "evaluation/MeasurementFiles.h"
#include "foundations/Display.h"
#include "instrument/PointAcceptance.h"
#include "foundations/ProgramMessages.h"
#include "instrument/AirCorrection.h"
#include "instrument/ComDrv32.h"
#include "instrument/UOdczyt.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "app/Settings.h"
#include "platform/Registry.h"
#include "support/SimHead.h"

namespace {

using testsupport::FrameSpec;
using testsupport::SimHead;

// Millimetres of one raw count at the default wavelength, no air or thermal correction.
double mmOf(int32_t count) { return count * 0.25 * kDefaultLaserWavelength * 1000.0; }

// The display shows v at its own precision.
bool shows(const TDisplay* d, double v) { return std::abs(d->Value() - TDisplay::RoundValue(v, d->Precision())) < 1e-9; }

class ReadingPathTest : public HeadWindowTest {};

// The distance readout: counts streamed by the head appear converted on DisplayWys (with the
// display's start offset, negated while the sign button reads "+", as it does at start). A data
// error ends the reading with its reason and the slow-transmission steps, without the window;
// a head that is not ready ends the next reading with the link status window's message.
TEST_F(ReadingPathTest, ReadoutShowsCountsAndHeadStopsEndTheReading) {
    startWithHead();
    TMainForm* f = form();
    StartPointDisp = 10.0;
    head.startStreaming(FrameSpec::ready(4000));
    modes::StartDisplayReading(f->ModeHost());
    ASSERT_EQ(f->MeasurementMode, 6);
    ASSERT_TRUE(f->ReadingThread().Running());

    ASSERT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DisplayWys"), 10.0 - mmOf(4000)); })) << Control<TDisplay>(f, "DisplayWys")->Value();

    // The axis moves: every frame adds 800 counts; the readout follows.
    head.setStreamStep(800);
    ASSERT_TRUE(pumpUntil([&] { return Control<TDisplay>(f, "DisplayWys")->Value() < 10.0 - mmOf(8000); })) << Control<TDisplay>(f, "DisplayWys")->Value();
    EXPECT_FALSE(ReadingStopped.load());

    // A frame without the "no data error" bit.
    head.setStreamStep(0);
    FrameSpec bad = head.streamFrame();
    bad.status &= uint8_t(~testsupport::kStNoDataError);
    head.clearReceived();
    head.setStreamFrame(bad);
    ASSERT_TRUE(pumpUntil([&] { return !f->ReadingThread().Running(); }));
    EXPECT_TRUE(ReadingStopped.load());
    EXPECT_EQ(StopReason.load(), 3);
    auto sent = [&](uint8_t b) {
        const testsupport::Bytes r = head.receivedCommands();
        return std::find(r.begin(), r.end(), b) != r.end();
    };
    EXPECT_TRUE(pumpUntil([&] { return sent('F'); }));
    EXPECT_FALSE(Komunikaty->isVisible());

    // Started again, the head loses its stabilisation.
    head.setStreamFrame(FrameSpec::ready(4000));
    modes::StartDisplayReading(f->ModeHost());
    ASSERT_TRUE(f->ReadingThread().Running());
    FrameSpec notReady = FrameSpec::ready(4000);
    notReady.status &= uint8_t(~testsupport::kStReady);
    head.setStreamFrame(notReady);
    ASSERT_TRUE(pumpUntil([&] { return !f->ReadingThread().Running() && Komunikaty->isVisible(); }))
        << StopReason.load();
    EXPECT_EQ(StopReason.load(), 4);
    EXPECT_EQ(Komunikaty->Label1->text(), Msg("stBladStab"));
}

// Positioning page without a run: the measured position follows the head and a data error
// does not stop the reading (only the idle sequence goes out).
TEST_F(ReadingPathTest, PositioningWithoutRunShowsPositionAndKeepsReading) {
    startWithHead();
    TMainForm* f = form();
    f->MeasurementMode = 0;
    StartPoint = 0.0;
    Control<QToolButton>(f, "SpeedButtonZnak")->setText("-");  // readings keep their sign
    head.startStreaming(FrameSpec::ready(-2000));
    modes::StartLinearReading(f->ModeHost());
    ASSERT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DispWarMierzona"), mmOf(-2000)); }))
        << Control<TDisplay>(f, "DispWarMierzona")->Value();

    FrameSpec bad = head.streamFrame();
    bad.status &= uint8_t(~testsupport::kStNoDataError);
    bad.count = 3000;
    head.setStreamFrame(bad);
    ASSERT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DispWarMierzona"), mmOf(3000)); }));
    EXPECT_TRUE(f->ReadingThread().Running());
    EXPECT_FALSE(ReadingStopped.load());
}

// Closing the window ends a running reading first.
TEST_F(ReadingPathTest, ShutdownEndsTheReading) {
    startWithHead();
    head.startStreaming(FrameSpec::ready(100));
    modes::StartDisplayReading(form()->ModeHost());
    ASSERT_TRUE(pumpUntil([&] { return Control<TDisplay>(form(), "DisplayWys")->Value() != 0.0; }));
    ASSERT_TRUE(form()->ReadingThread().Running());
    ASSERT_TRUE(form()->StopThreadsAndWait(3000));
    EXPECT_FALSE(form()->ReadingThread().Running());
    EXPECT_FALSE(Komunikaty->isVisible());
}

// The environment station: a meteo block of the head reaches the window's environment thread,
// which shows the values ("--" without a calibration) and sets the air correction from the
// fall-back values.
TEST_F(ReadingPathTest, MeteoBlocksSetTheAirCorrection) {
    startWithHead();
    TMainForm* f = form();
    AirCorrection = 1.0;
    head.startStreaming(FrameSpec::ready(0).withMeteo({100, 200, 300, 400, 500, 600}));
    modes::StartDisplayReading(f->ModeHost());
    f->ModeHost().RestartMeteoReading();
    EXPECT_FALSE(MeteoStopped.load());
    ASSERT_TRUE(pumpUntil([] { return AirCorrection != 1.0; }));
    EXPECT_DOUBLE_EQ(AirCorrection, instrument::AirCorrectionFactor(Pressure, AirTemperature, Humidity));
    EXPECT_GT(AirCorrection, 0.999);
    EXPECT_LT(AirCorrection, 1.0);
    if (auto* l = f->findChild<QLabel*>("Label25")) EXPECT_EQ(l->text(), "--");
    ASSERT_TRUE(f->StopThreadsAndWait(3000));
}

// A linear run of two cycles over three listed targets, driven by the head's counts through the
// start button: the axis stops at each target (overrunning the last one before turning), the
// points are accepted, and the backup copy holds them.
TEST_F(ReadingPathTest, LinearRunOfTwoCyclesAcceptsEveryTarget) {
    setMessageDlgHook([this](const MessageDlgRequest& r) {
        messages.push_back(r);
        return int(r.type == TMsgDlgType::mtConfirmation ? mrYes : mrOk);
    });
    startWithHead();
    TMainForm* f = form();
    const QString data = dir.filePath("poz");
    ASSERT_TRUE(QDir().mkpath(data));
    f->PositioningDir = data;
    f->MeasurementMode = 0;
    f->PositioningMethod = 0;
    f->NotebookMainForm->setCurrentIndex(3);
    Control<QToolButton>(f, "SpeedButtonZnak")->setText("-");
    StartPoint = 0.0;
    f->PointsFromList = true;
    f->MenuCommand("PunktyZListy")->setChecked(true);
    f->TargetPoints->Clear();
    for (double t : {0.0, 10.0, 20.0}) f->TargetPoints->Add().Dystans = t;
    f->CycleCount = 2;
    f->PointNumber = 3;
    f->ErrorWindow = 5;
    f->Vibration = 2;
    f->PointDistance = 1000;

    const double mmPerCount = mmOf(1);
    auto countOf = [&](double mm) { return int32_t(std::lround(mm / mmPerCount)); };
    head.startStreaming(FrameSpec::ready(countOf(-5.0)), std::chrono::milliseconds(10));
    modes::StartLinearReading(f->ModeHost());
    ASSERT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DispWarMierzona"), -5.0); }));
    Control<QPushButton>(f, "ButtonPozStart")->click();
    ASSERT_TRUE(MeasurementRunning.load());
    const instrument::AcceptanceState& st = f->Acceptance().state;

    // Stops at `mm` until the acceptance state says the stop counted.
    auto stopAt = [&](double mm, const std::function<bool()>& accepted) {
        head.setStreamCount(countOf(mm));
        return pumpUntil(accepted);
    };
    for (int cycle = 1; cycle <= 2; ++cycle) {
        SCOPED_TRACE(cycle);
        ASSERT_EQ(st.currentCycle, cycle);
        ASSERT_TRUE(stopAt(0.0, [&] { return st.pointIndex == 1; }));
        ASSERT_TRUE(stopAt(10.0, [&] { return st.pointIndex == 2; }));
        ASSERT_TRUE(stopAt(20.0, [&] { return !st.forwardPass; }));
        head.setStreamCount(countOf(25.0));
        ASSERT_TRUE(pumpUntil([&] { return st.lastAcceptedValue > 24.0; }));
        ASSERT_TRUE(stopAt(20.0, [&] { return st.pointIndex == 1; }));
        ASSERT_TRUE(stopAt(10.0, [&] { return st.pointIndex == 0; }));
        // Stopping after each cycle is the default: the cycle's end saves the backup copy and
        // offers the next cycle.
        ASSERT_TRUE(stopAt(0.0, [&] { return !MeasurementRunning.load(); }));
        EXPECT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 3);
        if (cycle == 1) {
            ASSERT_TRUE(Control<QPushButton>(f, "ZakonczeniePozNastepny")->isEnabled());
            Control<QPushButton>(f, "ZakonczeniePozNastepny")->click();
            ASSERT_TRUE(MeasurementRunning.load());
        }
    }
    EXPECT_FALSE(MeasurementRunning.load());

    TCykl back;
    LoadPositioningFile(back, QDir(data).filePath("KopiaZapasowa.dt2"), nullptr);
    ASSERT_EQ(back.Count(), 2);
    for (int c = 0; c < 2; ++c) {
        ASSERT_EQ(back[c].Punkt.Count(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(back[c].Punkt[i].Dystans, 10.0 * i, 1e-9);
            // Deviations in µm: what the counts nearest to each target read beside it.
            const double deviation = (countOf(10.0 * i) * mmPerCount - 10.0 * i) * 1000.0;
            EXPECT_NEAR(back[c].Punkt[i].Xa, deviation, 1e-6);
            EXPECT_NEAR(back[c].Punkt[i].Xr, deviation, 1e-6);
        }
    }
}

}  // namespace
