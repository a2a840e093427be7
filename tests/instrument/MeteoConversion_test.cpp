#include <gtest/gtest.h>

#include <cstring>

#include "foundations/SharedGlobals.h"
#include "instrument/MeteoConversion.h"

using namespace instrument;

namespace {
void setRow(int32_t (&row)[2][10], std::array<int32_t, 7> a, std::array<int32_t, 7> b) {
    std::memset(row, 0, sizeof row);
    for (int i = 0; i < 7; ++i) {
        row[0][i] = a[i];
        row[1][i] = b[i];
    }
}
}  // namespace

TEST(MeteoConversion, SegmentsAndExtrapolation) {
    int32_t t[2][10];
    setRow(t, {1000, 2000, 3000, 4000, 5000, 6000, 7000}, {0, 4, 10, 15, 20, 26, 30});
    struct Case {
        int32_t raw;
        double expected;
    } cases[] = {
        {500, -2.0},    // below A[1]: first segment extended
        {2000, 4.0},    // on a point: the lower segment
        {2500, 7.0},    // second segment
        {6500, 28.0},   // last segment
        {8000, 34.0},   // above A[5]: last segment extended
    };
    for (const auto& c : cases) {
        auto v = ConvertMeteoValue(t, 0, c.raw);
        ASSERT_TRUE(v.has_value()) << c.raw;
        EXPECT_NEAR(*v, c.expected, 1e-9) << c.raw;
    }
}

TEST(MeteoConversion, HundredthsOnlyForTemperatureChannels) {
    int32_t t[2][10];
    setRow(t, {0, 1000, 2000, 3000, 4000, 5000, 6000}, {0, 400, 800, 1200, 1600, 2000, 2500});
    for (int ch = 0; ch < 4; ++ch) EXPECT_NEAR(*ConvertMeteoValue(t, ch, 5000), 20.0, 1e-9) << ch;
    EXPECT_NEAR(*ConvertMeteoValue(t, 4, 5000), 2000.0, 1e-9);
    EXPECT_NEAR(*ConvertMeteoValue(t, 5, 5000), 2000.0, 1e-9);
}

TEST(MeteoConversion, FlatSegmentIsInvalidNotACrash) {
    int32_t empty[2][10] = {};
    EXPECT_FALSE(ConvertMeteoValue(empty, 0, 1234).has_value());
    int32_t t[2][10];
    setRow(t, {1000, 1000, 2000, 3000, 4000, 6000, 6000}, {0, 10, 20, 30, 40, 50, 60});
    EXPECT_FALSE(ConvertMeteoValue(t, 0, 500).has_value());   // first segment has equal raw readings
    EXPECT_FALSE(ConvertMeteoValue(t, 0, 7000).has_value());  // and so has the last
    EXPECT_NEAR(*ConvertMeteoValue(t, 0, 1500), 15.0, 1e-9);

    int32_t all[6][2][10] = {};
    const MeteoReadout r = ComputeMeteoReadout({1, 2, 3, 4, 5, 6}, all, 0, 0, u',');
    EXPECT_EQ(r.airText, "--");
    EXPECT_EQ(r.materialText, "--");
    EXPECT_EQ(r.humidityText, "--");
    EXPECT_EQ(r.pressureText, "--");
    EXPECT_EQ(r.serviceTexts[5], "--");
}

TEST(MeteoConversion, RangeLimitsAreInclusive) {
    EXPECT_TRUE(TemperatureInRange(0.0));
    EXPECT_TRUE(TemperatureInRange(40.0));
    EXPECT_FALSE(TemperatureInRange(-0.01));
    EXPECT_FALSE(TemperatureInRange(40.01));
    EXPECT_TRUE(HumidityInRange(95.0));
    EXPECT_FALSE(HumidityInRange(95.1));
    EXPECT_TRUE(HumidityInRange(5.0));
    EXPECT_FALSE(HumidityInRange(4.9));
    EXPECT_TRUE(PressureInRange(960.0));
    EXPECT_FALSE(PressureInRange(959.9));
    EXPECT_TRUE(PressureInRange(1040.0));
    EXPECT_FALSE(PressureInRange(1040.1));
}

TEST(MeteoConversion, ReadoutTextsMeanAndGlobals) {
    int32_t table[6][2][10];
    for (int c = 0; c < 5; ++c) setRow(table[c], {0, 1000, 2000, 3000, 4000, 5000, 6000}, {0, 10, 20, 30, 40, 50, 60});
    setRow(table[5], {0, 1000, 2000, 3000, 4000, 5000, 6000}, {0, 200, 400, 600, 800, 1000, 1200});

    ResetSharedGlobals();
    MaterialTemperature = 99.0;
    // Air 20.5, material 20.0 / 50.0 (out of range) / 22.0, humidity 50, pressure 1013.
    MeteoReadout r = ComputeMeteoReadout({2050, 2000, 5000, 2200, 5000, 5065}, table, 0, 0, u',');
    EXPECT_EQ(r.airText, QStringLiteral("20,50 °C"));
    EXPECT_EQ(r.materialSensorTexts[0], QStringLiteral("20,00 °C"));
    EXPECT_EQ(r.materialSensorTexts[1], "--");
    EXPECT_EQ(r.materialSensorTexts[2], QStringLiteral("22,00 °C"));
    EXPECT_EQ(r.materialText, QStringLiteral("21,00 °C"));
    EXPECT_EQ(r.humidityText, QStringLiteral("50 %"));
    EXPECT_EQ(r.pressureText, QStringLiteral("1013,0 hPa"));
    EXPECT_EQ(r.serviceTexts[2], QStringLiteral("50,0 °C"));  // service page shows raw conversions
    EXPECT_EQ(r.serviceTexts[5], QStringLiteral("1013 hPa"));
    StoreMeteoReadout(r);
    EXPECT_NEAR(AirTemperature, 20.5, 1e-9);
    EXPECT_NEAR(MaterialTemperature, 21.0, 1e-9);
    EXPECT_NEAR(Humidity, 50.0, 1e-9);
    EXPECT_NEAR(Pressure, 1013.0, 1e-9);

    // Every material sensor out of range: "--" and the global keeps its value; °F and inHg.
    r = ComputeMeteoReadout({2050, 4500, 5000, 6000, 9900, 2000}, table, 1, 2, u'.');
    EXPECT_EQ(r.airText, QStringLiteral("68.90 °F"));
    EXPECT_EQ(r.materialText, "--");
    EXPECT_EQ(r.humidityText, "--");
    EXPECT_EQ(r.pressureText, "--");
    StoreMeteoReadout(r);
    EXPECT_NEAR(MaterialTemperature, 21.0, 1e-9);
    EXPECT_NEAR(Humidity, 50.0, 1e-9);
    EXPECT_NEAR(Pressure, 1013.0, 1e-9);
    ResetSharedGlobals();
}

TEST(MeteoConversion, WindowAveragingAndJumps) {
    MeteoAverager avg;
    auto round = [&](int32_t r, int threshold = 5) {
        MeteoWords w{r, r, r, r, r, r};
        avg.average(w, threshold);
        return w[0];
    };
    EXPECT_EQ(round(100), 100);  // a jump from the empty window fills it
    EXPECT_EQ(round(105), 100);  // (49 × 100 + 105) / 50 = 100.1, truncated
    for (int i = 2; i <= 25; ++i) round(105);
    EXPECT_EQ(round(105), 102);  // 26 × 105 + 24 × 100 = 5130 → 102.6 → 102
    for (int i = 27; i <= 50; ++i) round(105);
    EXPECT_EQ(avg.window(0).front(), 105);  // the last 50 readings only
    EXPECT_EQ(round(105), 105);
    EXPECT_EQ(round(111), 111);  // more than the threshold from the last sample: refilled
    EXPECT_EQ(round(111, 0), 111);
    EXPECT_EQ(round(112, 0), 112);
}
