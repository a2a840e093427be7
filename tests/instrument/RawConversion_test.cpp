#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "instrument/RawConversion.h"

using namespace instrument;

namespace {
ConversionSettings base(uint8_t mode) {
    ConversionSettings s;
    s.mode = mode;
    s.wavelength = 6.4e-7;
    s.airCorrection = 1.0;
    s.materialTemperature = s.referenceTemperature = 20.0;
    s.expansionCoefficient = 11.5e-6;
    return s;
}
}  // namespace

TEST(RawConversion, EveryModeAndMethod) {
    struct Case {
        uint8_t mode;
        int method;
        bool r10;
        double expected;
    } cases[] = {
        {kModePositioning, 0, false, 0.16},             // mm
        {kModePositioning, 0, true, 0.01},
        {kModeDistanceReadout, 0, false, 0.16},
        {kModeVelocity, 0, false, 4.0},
        {kModeVelocityReadout, 0, true, 0.25},
        {kModeStraightness, 0, false, 647.4840023411227},  // arc seconds through the arctangent
        {kModeFlatness, 0, true, 40.46788254924144},
        {kModeStraightness, 1, false, 828.4},           // Wollaston: no 10 nm factor
        {kModeStraightness, 1, true, 828.4},
        {kModeStraightness, 2, false, 0.16},            // XY detector: mm
        {kModeStraightness, 2, true, 0.01},
        {kModeAngular, 0, false, 647.4861290955464},   // no arctangent
        {kModeAngleReadout, 0, true, 40.46788306847165},
        {kModeWollastonReadout, 0, false, 828.4},
        {kModeWollastonReadout, 0, true, 828.4},
    };
    for (const auto& c : cases) {
        ConversionSettings s = base(c.mode);
        s.straightnessMethod = c.method;
        s.resolution10 = c.r10;
        double prev = 0.0;
        auto v = ConvertRawCount(1000, s, prev);
        ASSERT_TRUE(v.has_value());
        EXPECT_NEAR(*v, c.expected, std::fabs(c.expected) * 1e-12) << int(c.mode) << "/" << c.method << "/" << c.r10;
        s.signPlus = true;
        EXPECT_NEAR(*ConvertRawCount(1000, s, prev), -c.expected, std::fabs(c.expected) * 1e-12);
        EXPECT_NEAR(*ConvertRawCount(-1000, s, prev), c.expected, std::fabs(c.expected) * 1e-12);
    }
    double prev = 0.0;
    EXPECT_FALSE(ConvertRawCount(1000, base(kModeVibration), prev).has_value());
    EXPECT_FALSE(ConvertRawCount(1000, base(kModeNone), prev).has_value());
}

TEST(RawConversion, AirCorrectionAndMaterialExpansion) {
    ConversionSettings s = base(kModePositioning);
    s.materialTemperature = 30.0;  // D = 1.000115
    double prev = 0.0;
    EXPECT_NEAR(*ConvertRawCount(1000, s, prev), 0.15998160211575668, 1e-15);
    s.airCorrection = 0.9997287654655975;
    EXPECT_NEAR(*ConvertRawCount(1000, s, prev), 0.15993820958039384, 1e-15);
    EXPECT_NEAR(EffectiveWavelengthNm(s), 639.7528383215753, 1e-9);
    s.expansionCoefficient = -0.1;  // D = 0: no reading rather than an infinite one
    EXPECT_FALSE(ConvertRawCount(1000, s, prev).has_value());
}

TEST(RawConversion, FilterSmoothsInsideTheBandAndResetsOnJumps) {
    struct Step {
        double in, out;
    };
    // Threshold 8: a step of 7 moves 1 % of the way, a step of 8 passes whole.
    const std::vector<Step> steps = {{7, 0.07}, {0.07, 0.07}, {8.07, 8.07}, {0, 0.0}, {-7, -0.07}};
    double prev = 0.0;
    for (const auto& st : steps) {
        EXPECT_NEAR(ApplyFilter(prev, st.in, 8), st.out, 1e-12) << st.in;
        EXPECT_NEAR(prev, st.out, 1e-12);
    }
    // The conversion filters where the filter applies, never for velocity.
    ConversionSettings s = base(kModePositioning);
    s.filterOn = true;
    prev = 0.0;
    EXPECT_NEAR(*ConvertRawCount(7, s, prev), 0.07 * 0.25 * 6.4e-7 * 1000, 1e-18);
    EXPECT_NEAR(prev, 0.07, 1e-12);
    s.mode = kModeVelocity;
    prev = 0.0;
    EXPECT_NEAR(*ConvertRawCount(7, s, prev), 7 * 0.25 * 6.4e-7 * 1e6 * 0.025, 1e-12);
    EXPECT_EQ(prev, 0.0);
}

TEST(RawConversion, SignalSmoothingAndColours) {
    double level = 0.0;
    std::vector<std::pair<int, int>> seq = {{100, 100}, {110, 101}, {110, 101}, {130, 130}, {0, 0}, {19, 1}};
    for (auto [b, shown] : seq) EXPECT_EQ(SmoothSignal(static_cast<uint8_t>(b), level), shown) << b;
    EXPECT_EQ(SignalGaugeColour(10), 0x0000FFu);
    EXPECT_EQ(SignalGaugeColour(11), 0x0079FFu);
    EXPECT_EQ(SignalGaugeColour(30), 0x0079FFu);
    EXPECT_EQ(SignalGaugeColour(31), 0x00FF00u);
}

TEST(RawConversion, DisplayUnits) {
    EXPECT_NEAR(*ReadoutDisplayValue(kModeDistanceReadout, 2.0, 0, 0, 1.0), 3.0, 1e-12);
    EXPECT_NEAR(*ReadoutDisplayValue(kModeDistanceReadout, 2.0, 1, 0, 1.0), 3000.0, 1e-9);
    EXPECT_NEAR(*ReadoutDisplayValue(kModeDistanceReadout, 2.0, 4, 0, 1.0), 3.0 * 0.03937007874015748, 1e-12);
    EXPECT_NEAR(*ReadoutDisplayValue(kModeDistanceReadout, 2.0, 5, 0, 1.0), 3000.0 * 0.03937007874015748, 1e-9);
    EXPECT_FALSE(ReadoutDisplayValue(kModeDistanceReadout, 2.0, 2, 0, 1.0).has_value());
    const double vel[] = {10.0, 0.01, 0.6, 600.0, 0.3937007874015748, 23.62204724409449};
    for (int u = 0; u < 6; ++u) EXPECT_NEAR(*ReadoutDisplayValue(kModeVelocityReadout, 10.0, 0, u, 5.0), vel[u], 1e-9) << u;
    EXPECT_FALSE(VelocityInUnit(1.0, 6).has_value());
    EXPECT_EQ(*ReadoutDisplayValue(kModeAngleReadout, -4.0, 9, 9, 5.0), -4.0);
    EXPECT_FALSE(ReadoutDisplayValue(kModePositioning, 1.0, 0, 0, 0.0).has_value());
}

TEST(RawConversion, StopDecisions) {
    struct Case {
        const char* name;
        StopCheckInput in;
        bool reset, stop;
        int32_t reason;
        bool accept;
    };
    auto make = [](uint8_t mode, bool running) {
        StopCheckInput in;
        in.mode = mode;
        in.measurementRunning = running;
        return in;
    };
    std::vector<Case> cases;
    {
        StopCheckInput in = make(kModePositioning, false);
        in.dataErrorActive = true;
        cases.push_back({"idle positioning ignores a data error", in, true, false, 0, false});
    }
    {
        StopCheckInput in = make(kModeVelocity, true);  // velocity mode looks at VelocityRunning
        in.dataErrorActive = true;
        cases.push_back({"velocity idle", in, true, false, 0, false});
        in.velocityRunning = true;
        cases.push_back({"velocity running", in, false, true, 3, false});
    }
    {
        StopCheckInput in = make(kModeDistanceReadout, false);
        in.measureLevelLost = true;
        cases.push_back({"readout beam lost", in, false, true, 2, false});
    }
    {
        StopCheckInput in = make(kModePositioning, true);
        in.dataErrorActive = true;
        in.headReady = false;
        cases.push_back({"later condition wins", in, false, true, 4, false});
        in.headReady = true;
        in.serialFlagBit0 = true;
        cases.push_back({"velocity too high", in, false, true, 5, false});
        in.serialFlagBit2 = true;
        cases.push_back({"zeeman", in, false, true, 6, false});
    }
    {
        StopCheckInput in = make(kModeNone, false);
        in.takeRemoteEvent = true;
        cases.push_back({"head key", in, false, false, 0, true});
        in.takeRemoteEvent = false;
        in.stopReason = 10;
        cases.push_back({"service stop", in, false, true, 10, false});
        in.stopReason = 23;
        cases.push_back({"old reason kept", in, false, false, 23, false});
    }
    {
        StopCheckInput in = make(kModePositioning, true);
        in.headReady = false;
        in.stopReason = kStopLinkLost;
        cases.push_back({"lost link outranks the last frame", in, false, true, kStopLinkLost, false});
    }
    {
        StopCheckInput in = make(kModePositioning, false);
        in.stopReason = 10;
        cases.push_back({"service stop on a page without a run", in, true, true, 10, false});
    }
    for (const auto& c : cases) {
        const StopDecision d = CheckStopConditions(c.in);
        EXPECT_EQ(d.resetHeadFlags, c.reset) << c.name;
        EXPECT_EQ(d.stopReading, c.stop) << c.name;
        EXPECT_EQ(d.stopReason, c.reason) << c.name;
        EXPECT_EQ(d.headAcceptRequest, c.accept) << c.name;
    }
}

TEST(RawConversion, CardFrames) {
    CardFrameReader reader(true);
    std::vector<CardFrameReader::Frame> frames;
    auto feed = [&](std::vector<uint8_t> bytes) {
        for (uint8_t b : bytes)
            if (auto f = reader.feed(b)) frames.push_back(*f);
    };
    // Junk, then -2 (FF FF FF FE, sum 0xFB, checksum 0x05) with signal 0x40 (checksum 0xC0).
    feed({0x12, 0x00, 0xAA, 0x31, 0x08, 0xFF, 0xFF, 0xFF, 0xFE, 0x05, 0x40, 0xC0});
    // 0x01020304 with a bad count checksum but a good signal checksum.
    feed({0xAA, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x00, 0x10, 0xF0});
    // Good count, bad signal checksum.
    feed({0xAA, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0xF6, 0x10, 0x00});
    reader.setStatusByteEnabled(false);
    feed({0xAA, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0xFF});  // 256, no signal bytes
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].status, 0x31);
    EXPECT_EQ(frames[0].flags, 0x08);
    EXPECT_EQ(frames[0].count, -2);
    EXPECT_TRUE(frames[0].countValid);
    EXPECT_TRUE(frames[0].hasSignal);
    EXPECT_EQ(frames[0].signal, 0x40);
    EXPECT_FALSE(frames[1].countValid);
    EXPECT_TRUE(frames[1].hasSignal);
    EXPECT_TRUE(frames[2].countValid);
    EXPECT_EQ(frames[2].count, 0x01020304);
    EXPECT_FALSE(frames[2].hasSignal);
    EXPECT_EQ(frames[3].count, 256);
    EXPECT_TRUE(frames[3].countValid);
    EXPECT_FALSE(frames[3].hasSignal);
}
