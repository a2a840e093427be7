#include <gtest/gtest.h>

#include "foundations/SharedGlobals.h"
#include "instrument/AirCorrection.h"

using namespace instrument;

TEST(AirCorrection, EdlenFactorAtKnownConditions) {
    struct Case {
        double p, t, h, expected;
    } cases[] = {
        // With 1 mmHg = 1.33322 hPa; the 1/1.33 factor would give 0.9997281075 for the first row.
        {1013.25, 20.0, 50.0, 0.9997287655},
        {1013.25, 20.0, 0.0, 0.9997282856},
        {960.0, 0.0, 5.0, 0.9997236854},
    };
    for (const auto& c : cases) {
        const double n = 1.0 / AirCorrectionFactor(c.p, c.t, c.h);
        SCOPED_TRACE(c.p);
        EXPECT_NEAR(AirCorrectionFactor(c.p, c.t, c.h), c.expected, 1e-10);
        EXPECT_GT(n, 1.0);
    }
}

TEST(AirCorrection, DryStandardAirMatchesPublishedIndex) {
    // n = 1.000271799 for dry air at 20 °C and 101325 Pa (633 nm).
    const double n = 1.0 / AirCorrectionFactor(1013.25, 20.0, 0.0);
    EXPECT_NEAR((n - 1.0) * 1e6, 271.799, 0.05);
    EXPECT_NEAR(static_cast<double>(EdlenRefractivity(1013.25, 20.0, 0.0)), 271.788, 0.001);
}

TEST(AirCorrection, ValueChoiceAndFallbacks) {
    EnvironmentChoiceInput in;
    in.measuredHumidity = 40.0;
    in.measuredPressure = 1000.0;
    in.measuredAirTemperature = 21.0;
    in.measuredMaterialTemperature = 22.0;
    in.enteredHumidity = 60;
    in.defaultPressure = 990.0;
    in.defaultAirTemperature = 18.0;
    in.defaultMaterialTemperature = 19.0;
    in.referenceTemperature = 20.0;

    EnvironmentValues v = ChooseEnvironmentValues(in);  // all sensors used and valid
    EXPECT_EQ(v.humidity, 40.0);
    EXPECT_EQ(v.pressure, 1000.0);
    EXPECT_EQ(v.airTemperature, 21.0);
    EXPECT_EQ(v.materialTemperature, 22.0);

    EnvironmentChoiceInput dashes = in;  // all labels "--"
    dashes.humidityValid = dashes.pressureValid = dashes.airValid = dashes.materialValid = false;
    v = ChooseEnvironmentValues(dashes);
    EXPECT_EQ(v.humidity, 50.0);
    EXPECT_EQ(v.pressure, 1013.0);
    EXPECT_EQ(v.airTemperature, 20.0);
    EXPECT_EQ(v.materialTemperature, 20.0);

    EnvironmentChoiceInput manual = dashes;  // boxes cleared: typed values win, valid or not
    manual.humiditySensorUsed = manual.pressureSensorUsed = manual.airSensorUsed = manual.materialSensorsUsed = false;
    v = ChooseEnvironmentValues(manual);
    EXPECT_EQ(v.humidity, 60.0);
    EXPECT_EQ(v.pressure, 990.0);
    EXPECT_EQ(v.airTemperature, 18.0);
    EXPECT_EQ(v.materialTemperature, 19.0);
    manual.humidityValid = manual.pressureValid = manual.airValid = manual.materialValid = true;
    v = ChooseEnvironmentValues(manual);
    EXPECT_EQ(v.pressure, 990.0);
    EXPECT_EQ(v.airTemperature, 18.0);
}

TEST(AirCorrection, ComputeStoresChosenValuesAndFactor) {
    ResetSharedGlobals();
    EnvironmentChoiceInput in;
    in.measuredPressure = 1013.25;
    in.measuredAirTemperature = 20.0;
    in.measuredHumidity = 50.0;
    in.measuredMaterialTemperature = 21.5;
    ComputeEdlenFactor(in);
    EXPECT_EQ(Pressure, 1013.25);
    EXPECT_EQ(Humidity, 50.0);
    EXPECT_EQ(AirTemperature, 20.0);
    EXPECT_EQ(MaterialTemperature, 21.5);
    EXPECT_NEAR(AirCorrection, 0.9997287655, 1e-10);
    ResetSharedGlobals();
}

TEST(AirCorrection, Formatters) {
    struct Case {
        bool temperature;
        uint8_t unit;
        double value;
        const char* expected;
    } cases[] = {
        {true, 0, 20.0, "20,00 °C"},
        {true, 1, 20.0, "68,00 °F"},
        {true, 0, -3.456, "-3,46 °C"},
        {true, 2, 20.0, ""},
        {false, 0, 1013.25, "1013,3 hPa"},
        {false, 1, 1013.25, "760,00 mmHg"},
        {false, 2, 1013.25, "29,921 inHg"},
        {false, 3, 1013.25, ""},
    };
    for (const auto& c : cases) {
        const QString s = c.temperature ? FormatTemperature(c.unit, c.value, u',') : FormatPressure(c.unit, c.value, u',');
        EXPECT_EQ(s, QString::fromUtf8(c.expected)) << c.value << " unit " << int(c.unit);
    }
    EXPECT_EQ(FormatPressure(0, 1013.25, u'.'), QStringLiteral("1013.3 hPa"));
}
