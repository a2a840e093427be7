#include <gtest/gtest.h>

#include <QStringList>
#include <string>

#include "instrument/UOdczytSample.h"
#include "support/AcceptanceSinkDouble.h"

using namespace instrument;

namespace {

class Outputs : public SampleOutputs {
public:
    QStringList log;
    void add(const char* what, double v) { log << QStringLiteral("%1 %2").arg(what).arg(v, 0, 'g', 10); }
    void AddServiceCount(int32_t raw) override { add("service", raw); }
    void ShowEffectiveWavelength(double) override {}  // not what these cases check
    void ShowReadout(double v) override { add("readout", v); }
    void ShowMeasuredPosition(double v) override { add("position", v); }
    void ShowVelocity(double v) override { add("velocity", v); }
    void AddVelocitySample() override { log << "store velocity"; }
    void ShowStraightnessValue(double v) override { add("straightness", v); }
    void ShowStraightnessUnit(const QString& u) override { log << "unit " + u; }
    void ShowDetector(double x, double y) override { add("detector", x), add("detector", y); }
    void ShowAngle(double d, double t) override { add("angle", d), add("total", t); }
    void FftSample() override { log << "fft"; }
    void RecordValue(double v) override { add("record", v); }
    void SendValueToExcel() override { log << "excel"; }
    void AddServiceSignal(uint8_t l) override { add("signal", l); }
    void ShowReadoutGauges() override { log << "readout gauges"; }
    void ShowSignalLevel(const QString& g, int v) override { log << QStringLiteral("%1 %2").arg(g).arg(v); }
};

struct Rig {
    testsupport::AcceptanceSinkDouble sink;
    TPunkt targets, angularTargets, angularPoints;
    std::atomic<bool> head{false};
    PointAcceptance acceptance{sink, targets, angularTargets, angularPoints, head};
    Outputs out;
    ConversionSettings conv;
    SampleInputs in;
    double filter = 0.0, current = 123.0;
    Rig(uint8_t mode) {
        conv.mode = mode;
        conv.wavelength = 6.4e-7;  // 1000 counts = 0.16 mm
    }
    void sample(int32_t raw) { ProcessSample(raw, in, conv, filter, current, acceptance, out, head); }
};

}  // namespace

TEST(ProcessSample, ModesReachTheirDisplaysAndAcceptance) {
    {  // positioning with a run: start point added by acceptance and stored back; inch display
        Rig r(kModePositioning);
        r.in.measurementRunning = true;
        r.in.startPoint = r.acceptance.settings.startPoint = 10.0;
        r.in.lengthUnit = 1;
        r.in.servicePanelShown = true;
        r.sample(1000);
        EXPECT_NEAR(r.current, 10.16, 1e-12);
        EXPECT_EQ(r.out.log, (QStringList{"service 1000", QStringLiteral("position %1").arg(10.16 * 0.03937007874015748, 0, 'g', 10)}));
    }
    {  // velocity in m/min
        Rig r(kModeVelocity);
        r.in.velocityChartUnit = 2;
        r.sample(1000);
        EXPECT_EQ(r.out.log, (QStringList{"velocity 0.24", "store velocity"}));
    }
    {  // angular: the absolute angle, also stored back
        Rig r(kModeAngular);
        r.acceptance.state.angleBase = 100.0;
        r.sample(-1000);
        EXPECT_GT(r.current, 0.0);
        EXPECT_EQ(r.out.log.size(), 2);
        EXPECT_TRUE(r.out.log[1].startsWith(QStringLiteral("total 747.48")));
    }
    {  // XY detector straightness in inches
        Rig r(kModeStraightness);
        r.conv.straightnessMethod = 2;
        r.in.lengthUnit = 1;
        r.in.detectorX = 36;
        r.in.detectorY = -18;
        r.sample(1000);
        EXPECT_EQ(r.out.log, (QStringList{"detector 2", "detector -1",
                                          QStringLiteral("straightness %1").arg(0.16 * 0.03937007874015748, 0, 'g', 10), "unit in"}));
    }
    {  // vibration and no mode leave the current value alone
        Rig r(kModeVibration);
        r.in.measurementRunning = true;
        r.sample(1000);
        EXPECT_EQ(r.current, 123.0);
        EXPECT_EQ(r.out.log, (QStringList{"fft"}));
    }
}

TEST(ProcessSample, ReadoutRecordingSpreadsheetAndLostBeam) {
    Rig r(kModeDistanceReadout);
    r.in.startPointDisp = 1.0;
    r.in.displayLengthUnit = 1;  // µm
    r.in.recordingOn = true;
    r.head = true;
    r.sample(1000);
    EXPECT_EQ(r.out.log, (QStringList{"readout 1160", "record 0.16", "excel"}));
    EXPECT_FALSE(r.head);
    r.out.log.clear();
    r.in.measureLevelLost = true;
    r.in.recordingOn = false;
    r.sample(2000);
    EXPECT_TRUE(r.out.log.isEmpty());  // no readout while the beam is lost
    EXPECT_NEAR(r.current, 0.32, 1e-12);
}

TEST(ProcessSample, StatusGoesToTheModesGauge) {
    Outputs out;
    double level = 0.0;
    ShowStatus(100, kModeAngular, true, true, level, out);
    ShowStatus(110, kModeAngular, false, true, level, out);  // smoothed: 100 + 10 × 0.1
    ShowStatus(50, kModeWollastonReadout, false, true, level, out);
    ShowStatus(50, kModeNone, false, true, level, out);
    ShowStatus(50, kModePositioning, true, false, level, out);  // no status byte: nothing
    EXPECT_EQ(out.log, (QStringList{"signal 100", "GaugePodzKat 100", "GaugePodzKat 101", "readout gauges", "Gauge1 50"}));
}
