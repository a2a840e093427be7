#pragma once
// Air refraction correction (Edlén) and the temperature and pressure texts in display units.
#include <QChar>
#include <QString>
#include <cstdint>

#include "foundations/NumberFormat.h"

namespace instrument {

// What the environment thread knows when it picks the values for the correction: for each
// quantity whether the inspector uses the sensor, whether the sensor's last value was in range
// (its label does not show "--"), the measured value and the hand-entered or default value.
struct EnvironmentChoiceInput {
    bool humiditySensorUsed = true;     // CBWilg
    bool humidityValid = true;          // Label23 is not "--"
    double measuredHumidity = 0.0;
    int enteredHumidity = 50;           // SEWilgotnosc

    bool pressureSensorUsed = true;     // CBCis
    bool pressureValid = true;          // Label24 is not "--"
    double measuredPressure = 0.0;
    double defaultPressure = 0.0;

    bool airSensorUsed = true;          // CBTemp
    bool airValid = true;               // Label25 is not "--"
    double measuredAirTemperature = 0.0;
    double defaultAirTemperature = 0.0;

    bool materialSensorsUsed = true;    // CBTMat
    bool materialValid = true;          // Label19 is not "--"
    double measuredMaterialTemperature = 0.0;
    double defaultMaterialTemperature = 0.0;

    double referenceTemperature = 20.0;
};

struct EnvironmentValues {
    double humidity = 0.0;             // %
    double pressure = 0.0;             // hPa
    double airTemperature = 0.0;       // °C
    double materialTemperature = 0.0;  // °C
};

// Picks measured, hand-entered or fallback values (50 %, 1013 hPa, the reference temperature).
EnvironmentValues ChooseEnvironmentValues(const EnvironmentChoiceInput& in);

// hPa to mmHg (1 mmHg = 1.33322 hPa); the same factor serves the correction and the display.
constexpr double kHpaToMmHg = 0.7500637554192107;
constexpr double kMmToInch = 0.03937007874015748;

// Refractivity of air (n - 1) × 10^6 by Edlén, for pressure in hPa, temperature in °C and
// relative humidity in %.
long double EdlenRefractivity(double pressureHpa, double temperature, double humidity);
// The factor 1/n that turns the vacuum wavelength into the wavelength in air.
double AirCorrectionFactor(double pressureHpa, double temperature, double humidity);

// The whole environment step after a cycle: choose the values, store them into the shared
// environment globals (Humidity, Pressure, AirTemperature, MaterialTemperature) and set
// AirCorrection.
void ComputeEdlenFactor(const EnvironmentChoiceInput& in);

// Unit 0 °C, 1 °F; any other unit gives an empty text.
QString FormatTemperature(uint8_t unit, double t, QChar separator = foundations::systemDecimalSeparator());
// Unit 0 hPa, 1 mmHg, 2 inHg; any other unit gives an empty text.
QString FormatPressure(uint8_t unit, double p, QChar separator = foundations::systemDecimalSeparator());

}  // namespace instrument
