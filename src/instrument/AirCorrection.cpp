#include "instrument/AirCorrection.h"

#include <cmath>

#include "foundations/SharedGlobals.h"

namespace instrument {

EnvironmentValues ChooseEnvironmentValues(const EnvironmentChoiceInput& in) {
    EnvironmentValues v;
    if (!in.humiditySensorUsed)
        v.humidity = in.enteredHumidity;
    else
        v.humidity = in.humidityValid ? in.measuredHumidity : 50.0;

    if (!in.pressureSensorUsed)
        v.pressure = in.defaultPressure;
    else
        v.pressure = in.pressureValid ? in.measuredPressure : 1013.0;

    if (!in.airSensorUsed)
        v.airTemperature = in.defaultAirTemperature;
    else
        v.airTemperature = in.airValid ? in.measuredAirTemperature : in.referenceTemperature;

    if (!in.materialSensorsUsed)
        v.materialTemperature = in.defaultMaterialTemperature;
    else
        v.materialTemperature = in.materialValid ? in.measuredMaterialTemperature : in.referenceTemperature;
    return v;
}

long double EdlenRefractivity(double pressureHpa, double temperature, double humidity) {
    const long double t = temperature;
    const long double pm = static_cast<long double>(pressureHpa) * static_cast<long double>(kHpaToMmHg);
    const long double d = 0.3836391L * pm * (1.0L + 1e-6L * pm * (0.817L - 0.0133L * t)) / (1.0L + 0.003661L * t);
    const long double e = 0.001L * 3.033L * static_cast<long double>(humidity) * std::exp(0.057627L * t);
    return d - e;
}

double AirCorrectionFactor(double pressureHpa, double temperature, double humidity) {
    const long double n = EdlenRefractivity(pressureHpa, temperature, humidity);
    return static_cast<double>(1e6L / (n + 1e6L));
}

void ComputeEdlenFactor(const EnvironmentChoiceInput& in) {
    const EnvironmentValues v = ChooseEnvironmentValues(in);
    Humidity = v.humidity;
    Pressure = v.pressure;
    AirTemperature = v.airTemperature;
    MaterialTemperature = v.materialTemperature;
    const double k = AirCorrectionFactor(v.pressure, v.airTemperature, v.humidity);
    // A factor from absurd typed values must not poison every later reading.
    if (std::isfinite(k) && k > 0.0)
        AirCorrection = k;
}

QString FormatTemperature(uint8_t unit, double t, QChar separator) {
    switch (unit) {
    case 0:
        return foundations::formatFixed(t, 4, 2, separator) + TemperatureUnitNames[0];
    case 1:
        return foundations::formatFixed(t * 9 * 0.2 + 32, 4, 2, separator) + TemperatureUnitNames[1];
    default:
        return {};
    }
}

QString FormatPressure(uint8_t unit, double p, QChar separator) {
    switch (unit) {
    case 0:
        return foundations::formatFixed(p, 5, 1, separator) + PressureUnitNames[0];
    case 1:
        return foundations::formatFixed(p * kHpaToMmHg, 5, 2, separator) + PressureUnitNames[1];
    case 2:
        return foundations::formatFixed(p * kHpaToMmHg * kMmToInch, 5, 3, separator) + PressureUnitNames[2];
    default:
        return {};
    }
}

}  // namespace instrument
