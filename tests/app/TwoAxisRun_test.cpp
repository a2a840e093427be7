// The two-axis review after a positioning run made with the simulated head's two-axis detector:
// each accepted point stores the detector's horizontal and vertical readings, and the review
// steps through those cycles and shows their mean.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <cmath>

#include "HeadWindowFixture.h"
#include "app/PositioningRun.h"
#include "foundations/Display.h"
#include "instrument/PointAcceptance.h"

namespace {

using testsupport::FrameSpec;

constexpr int kTargets = 3;
constexpr int kCycles = 2;

class TwoAxisRunTest : public HeadWindowTest {
protected:
    void SetUp() override {
        HeadWindowTest::SetUp();
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            return int(r.type == TMsgDlgType::mtConfirmation ? mrYes : mrOk);
        });
    }
    static double mmPerCount() { return 0.25 * kDefaultLaserWavelength * 1000.0; }
    static int32_t countOf(double mm) { return int32_t(std::lround(mm / mmPerCount())); }
    // The detector's raw words at target k of cycle c: 18 counts a micrometre (the default
    // calibration), horizontal (1 + c) + 2k µm, vertical -(1 + c) µm.
    static FrameSpec frameAt(double mm, int c, int k) {
        return FrameSpec::ready(countOf(mm)).withXy({0, 0, int16_t(18 * (1 + c) + 36 * k), int16_t(-18 * (1 + c))}, 120, 120);
    }
};

TEST_F(TwoAxisRunTest, RunWithTheDetectorIsReviewedCycleByCycleAndAsTheMean) {
    startWithHead();
    TMainForm* f = form();
    f->PosAndStr = true;
    f->PositioningMethod = 0;
    LengthUnit = 0;
    head.startStreaming(FrameSpec::ready(countOf(-5.0)), std::chrono::milliseconds(10));
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    ASSERT_EQ(f->MeasurementMode, 0);
    Control<QToolButton>(f, "SpeedButtonZnak")->setText("-");
    StartPoint = 0.0;
    f->PointsFromList = true;
    f->MenuCommand("PunktyZListy")->setChecked(true);
    f->TargetPoints->Clear();
    for (int k = 0; k < kTargets; ++k) f->TargetPoints->Add().Dystans = 10.0 * k;
    f->CycleCount = kCycles;
    f->PointNumber = 3;
    f->ErrorWindow = 20;
    f->Vibration = 2;
    f->PointDistance = 1000;
    ASSERT_TRUE(pumpUntil([&] {
        return Control<QPushButton>(f, "ButtonPozStart")->isEnabled() && std::abs(Control<TDisplay>(f, "DispWarMierzona")->Value() + 5.0) < 1e-3;
    }));
    Control<QPushButton>(f, "ButtonPozStart")->click();
    ASSERT_TRUE(MeasurementRunning.load());
    const instrument::AcceptanceState& st = f->Acceptance().state;
    for (int c = 0; c < kCycles; ++c) {
        SCOPED_TRACE(c);
        for (int k = 0; k < kTargets; ++k) {
            head.setStreamFrame(frameAt(10.0 * k, c, k));
            if (k < kTargets - 1)
                ASSERT_TRUE(pumpUntil([&] { return st.pointIndex == k + 1; })) << k;
            else
                ASSERT_TRUE(pumpUntil([&] { return !st.forwardPass; }));
        }
        head.setStreamFrame(frameAt(10.0 * (kTargets - 1) + 5.0, c, 0));
        ASSERT_TRUE(pumpUntil([&] { return st.lastAcceptedValue > 10.0 * (kTargets - 1) + 4.0; }));
        for (int k = kTargets - 1; k >= 0; --k) {
            head.setStreamFrame(frameAt(10.0 * k, c, k));
            if (k > 0)
                ASSERT_TRUE(pumpUntil([&] { return st.pointIndex == k - 1; })) << k;
            else
                ASSERT_TRUE(pumpUntil([&] { return !MeasurementRunning.load(); }));
        }
        ASSERT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 3);
        if (c + 1 < kCycles) {
            head.setStreamFrame(FrameSpec::ready(countOf(-5.0)));
            ASSERT_TRUE(pumpUntil([&] { return std::abs(Control<TDisplay>(f, "DispWarMierzona")->Value() + 5.0) < 1e-3; }));
            Control<QPushButton>(f, "ZakonczeniePozNastepny")->click();
            ASSERT_TRUE(MeasurementRunning.load());
        }
    }
    // The detector's readings of every forward point, cycle by cycle.
    ASSERT_EQ(f->CyclesY->Count(), kCycles);
    for (int c = 0; c < kCycles; ++c) {
        ASSERT_EQ((*f->CyclesY)[c].Punkt.Count(), kTargets) << c;
        for (int k = 0; k < kTargets; ++k) {
            EXPECT_NEAR((*f->CyclesY)[c].Punkt[k].Xa, (1 + c) + 2.0 * k, 1e-9) << c << ' ' << k;
            EXPECT_NEAR((*f->CyclesY)[c].Punkt[k].Xr, -(1.0 + c), 1e-9) << c << ' ' << k;
        }
    }

    // From the end page to the second axis, through the cycles and to their mean.
    f->BProst2->click();
    ASSERT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 4);
    f->sbXYFirst->click();
    EXPECT_EQ(f->lOpisXY->text(), "Cykl 1");
    f->sbXYNastepny->click();
    EXPECT_EQ(f->lOpisXY->text(), "Cykl 2");
    f->bRaoprtXY->click();
    EXPECT_EQ(f->lOpisXY->text(), QString::fromUtf8("Średnia"));
    ASSERT_EQ(f->StraightnessPoints->Count(), kTargets);
    EXPECT_NEAR((*f->StraightnessPoints)[2].Xa, 5.5, 1e-9);  // (5 + 6) / 2
    EXPECT_NEAR((*f->StraightnessPoints)[0].Xr, -1.5, 1e-9);
    head.stopStreaming();
}

}  // namespace
